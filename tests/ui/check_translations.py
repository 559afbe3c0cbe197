#!/usr/bin/env python3
"""Checks the translation sources: every message finished, not empty, not
obsolete, with the same placeholders as its source, and no source text of the
program missing from a file.

  check_translations.py [--lupdate LUPDATE --root DIR --dirs D1,D2,...] TS...
  check_translations.py --self-test
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%(?:[1-9]|n)")

# QDate format strings: the translation must still be a format, not a date.
DATE_FORMATS = {"MMMM yyyy": ("yyyy", "M")}

# Plural forms Qt uses per language (the TS file's language): Japanese and
# Chinese have one, the European languages of the program two.
PLURAL_FORMS = {"ja": 1, "zh": 1, "de": 2, "en": 2, "es": 2, "fr": 2, "it": 2, "nl": 2}


def plural_forms(language):
    return PLURAL_FORMS.get((language or "").split("_")[0])


def placeholders(text):
    return sorted(set(PLACEHOLDER.findall(text or "")))


def message_faults(context, message, forms_expected=None):
    """Returns the faults of one <message> element as texts; forms_expected
    is the language's number of plural forms, when known."""
    source = message.findtext("source") or ""
    where = "%s: %r" % (context, source)
    translation = message.find("translation")
    if translation is None:
        return [where + " has no translation"]
    kind = translation.get("type")
    if kind in ("unfinished", "obsolete", "vanished"):
        return ["%s is %s" % (where, kind)]
    if message.get("numerus") == "yes":
        forms = [f.text or "" for f in translation.findall("numerusform")]
    else:
        forms = [translation.text or ""]
    faults = []
    if message.get("numerus") == "yes" and forms_expected and len(forms) != forms_expected:
        faults.append("%s has %d plural forms, the language %d" % (where, len(forms), forms_expected))
    if not forms or any(not f.strip() for f in forms):
        faults.append(where + " has an empty translation")
    for form in forms:
        if form.strip() and placeholders(form) != placeholders(source):
            faults.append("%s: placeholders %s in %r" % (where, placeholders(form), form))
    for token in DATE_FORMATS.get(source, ()):
        if token not in "".join(forms):
            faults.append("%s: date format %r lacks %r" % (where, forms[0], token))
    return faults


def file_faults(path):
    faults = []
    root = ET.parse(path).getroot()
    expected = plural_forms(root.get("language"))
    for context in root.iter("context"):
        name = context.findtext("name") or ""
        for message in context.iter("message"):
            faults.extend(message_faults(name, message, expected))
    return faults


def sources(path):
    root = ET.parse(path).getroot()
    return {(c.findtext("name"), m.findtext("source"))
            for c in root.iter("context") for m in c.iter("message")}


def missing_sources(path, lupdate, root, dirs):
    """Source texts that lupdate finds in the program but the file lacks; for
    the source language's own file (English), its plural texts only."""
    tree = ET.parse(path).getroot()
    plural_only = ["-pluralonly"] if tree.get("language") == tree.get("sourcelanguage") else []
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(path))
        shutil.copy(path, copy)
        subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete"] + plural_only + ["-I", root]
                       + dirs + ["-ts", copy], cwd=root, check=True)
        return sorted(sources(copy) - sources(path))


SELF_TEST = [
    # (translation XML of one message, number of faults expected[, plural
    # forms of the language])
    ('<source>Open %1</source><translation>Öffnen %1</translation>', 0),
    ('<source>Open %1</source><translation type="unfinished"></translation>', 1),
    ('<source>Open %1</source><translation type="unfinished">Öffnen %1</translation>', 1),
    ('<source>Open</source><translation type="vanished">Öffnen</translation>', 1),
    ('<source>Open</source><translation type="obsolete">Öffnen</translation>', 1),
    ('<source>Open</source><translation> </translation>', 1),
    ('<source>Open %1</source><translation>Öffnen</translation>', 1),
    ('<source>%1 of %2</source><translation>%2 中 %1</translation>', 0),
    ('<source>%1 of %2</source><translation>%1 von %1</translation>', 1),
    ('<source>%1 files</source><translation>%1 Dateien %3</translation>', 1),
    ('<source>Done</source>', 1),
    ('<source>%n files</source><translation><numerusform>%n Datei</numerusform>'
     '<numerusform>%n Dateien</numerusform></translation>', 0),
    ('<source>%n files</source><translation><numerusform>eine Datei</numerusform>'
     '<numerusform>%n Dateien</numerusform></translation>', 1),
    ('<source>%n files</source><translation><numerusform>%n Datei</numerusform>'
     '<numerusform></numerusform></translation>', 1),
    ('<source>%n files</source><translation><numerusform>%n ファイル</numerusform></translation>', 0, 1),
    ('<source>%n files</source><translation><numerusform>%n ファイル</numerusform>'
     '<numerusform>%n ファイル</numerusform></translation>', 1, 1),
    ('<source>%n files</source><translation><numerusform>%n Dateien</numerusform></translation>', 1, 2),
    ('<source>MMMM yyyy</source><translation>yyyy年M月</translation>', 0),
    ('<source>MMMM yyyy</source><translation>2026年1月</translation>', 2),
]


def self_test():
    failed = 0
    for case in SELF_TEST:
        body, expected = case[0], case[1]
        numerus = ' numerus="yes"' if "numerusform" in body else ""
        message = ET.fromstring("<message%s>%s</message>" % (numerus, body))
        faults = message_faults("Test", message, case[2] if len(case) > 2 else None)
        if len(faults) != expected:
            failed += 1
            print("self-test: %s gave %d faults, expected %d: %s" % (body, len(faults), expected, faults))
    print("self-test: %d of %d cases wrong" % (failed, len(SELF_TEST)))
    return 1 if failed else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--lupdate")
    parser.add_argument("--root")
    parser.add_argument("--dirs", default="")
    parser.add_argument("ts", nargs="*")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    count = 0
    for path in args.ts:
        name = os.path.basename(path)
        faults = file_faults(path)
        if args.lupdate:
            dirs = [d for d in args.dirs.split(",") if d]
            faults += ["%s: %r is not in the file" % (c, s)
                       for c, s in missing_sources(path, args.lupdate, args.root, dirs)]
        total = len(ET.parse(path).getroot().findall(".//message"))
        for fault in faults:
            print("%s: %s" % (name, fault))
        print("%s: %d messages, %d faults" % (name, total, len(faults)))
        count += len(faults)
    return 1 if count or not args.ts else 0


if __name__ == "__main__":
    sys.exit(main())
