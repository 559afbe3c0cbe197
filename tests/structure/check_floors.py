#!/usr/bin/env python3
"""Checks every source folder's includes against the floors ARCHITECTURE.md lists.

A file may include headers of its own floor and of the floors below it, never
of one above. Every top-level folder that builds a library or a program must
be on a floor, so that a new folder cannot slip past the check.

Usage: check_floors.py SOURCE_DIR
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_\-]+)/[^"]+"', re.M)
# Folders that are not part of the product's libraries.
OUTSIDE = {"tests", "bench", "cmake", "build", "packaging", "i18n", "icons", "brand", "fonts", "licenses", "scripts"}


def floors(architecture):
    """Returns {folder: floor number} from the ```floors block, lowest first."""
    text = open(architecture, encoding="utf-8").read()
    block = re.search(r"```floors\n(.*?)```", text, re.S)
    if not block:
        sys.exit(f"{architecture}: no ```floors block")
    result = {}
    for number, line in enumerate(l for l in block.group(1).splitlines() if l.strip()):
        for folder in line.split("#")[0].split():
            result[folder] = number
    return result


def main():
    root = sys.argv[1]
    floor = floors(os.path.join(root, "ARCHITECTURE.md"))
    faults = []
    for entry in sorted(os.listdir(root)):
        path = os.path.join(root, entry)
        if entry.startswith(".") or entry in OUTSIDE or not os.path.isdir(path):
            continue
        if not os.path.exists(os.path.join(path, "CMakeLists.txt")):
            continue
        if entry not in floor:
            faults.append(f"{entry}/: a folder with no floor in ARCHITECTURE.md")
    for folder, own in floor.items():
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp", ".c")):
                    continue
                file = os.path.join(base, name)
                text = open(file, encoding="utf-8", errors="replace").read()
                for target in INCLUDE.findall(text):
                    if target in floor and floor[target] > own:
                        faults.append(f"{os.path.relpath(file, root)}: includes {target}/, a floor above {folder}/")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include faults across {len(floor)} folders")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
