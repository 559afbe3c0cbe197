import QtQuick
import QtTest
import Nivra.Media
import NivraPlayer

// The settings dialog against the program's settings object and update
// checker (built here without an update address).
TestCase {
    name: "SettingsDialog"
    when: windowShown
    width: 900
    height: 900

    ExportJob {
        id: job
    }

    SettingsDialog {
        id: dialog
        job: job
    }

    function child(name) {
        const item = findChild(dialog.contentItem, name)
        verify(item, name)
        return item
    }

    function init() {
        dialog.open()
        tryCompare(dialog, "opened", true)
    }

    function cleanup() {
        dialog.close()
        tryCompare(dialog, "visible", false)
        appSettings.language = ""
        appSettings.theme = ""
        appSettings.timeMode = 0
        appSettings.exportMerge = false
    }

    function test_languageRetranslatesOpenDialog() {
        const note = child("updateNote")
        const box = child("languageBox")
        compare(note.text, "No update address is set in this build.")
        compare(box.currentIndex, 0)

        appSettings.language = "de"
        verify(dialog.visible)
        compare(note.text, "In diesem Build ist keine Update-Adresse hinterlegt.")
        const codes = appSettings.languages.map(l => l.code)
        compare(box.currentIndex, codes.indexOf("de") + 1)

        box.activated(0)
        compare(appSettings.language, "")
        compare(note.text, "No update address is set in this build.")
        compare(box.currentIndex, 0)
    }

    function test_noUpdateAddress() {
        verify(!updater.configured)
        compare(child("updateBox").enabled, false)
        compare(child("checkNowButton").enabled, false)
        verify(child("updateNote").visible)
        compare(child("updateNote").text, "No update address is set in this build.")
    }

    function test_firstDayOfWeek() {
        // The test runs in an English locale; Qt counts Monday 1 .. Sunday 7.
        verify(appSettings.localeName.startsWith("en"))
        const days = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]
        compare(child("formatText").text, "Follows the system region: %1 · weeks start on %2"
                .arg(appSettings.formatExample).arg(days[appSettings.firstDayOfWeek % 7]))
    }

    function test_choiceWritesSetting_data() {
        return [
            { tag: "dark theme", box: "themeBox", index: 2, key: "theme", value: "dark", reset: "" },
            { tag: "light theme", box: "themeBox", index: 1, key: "theme", value: "light", reset: "" },
            { tag: "system theme", box: "themeBox", index: 0, key: "theme", value: "", reset: "dark" },
            { tag: "computer time", box: "timeBox", index: 1, key: "timeMode", value: 1, reset: 0 },
            { tag: "merge gaps", box: "gapsBox", index: 1, key: "exportMerge", value: true, reset: false },
            { tag: "separate gaps", box: "gapsBox", index: 0, key: "exportMerge", value: false, reset: true }
        ]
    }

    function test_choiceWritesSetting(data) {
        const box = child(data.box)
        appSettings[data.key] = data.reset
        box.activated(data.index)
        compare(appSettings[data.key], data.value)
        compare(box.currentIndex, data.index)
        // And the box follows a change made elsewhere.
        appSettings[data.key] = data.reset
        verify(box.currentIndex !== data.index)
        appSettings[data.key] = data.value
        compare(box.currentIndex, data.index)
    }

    // On Linux the first choice is automatic decoding, the default until
    // the user picks one; each button shows and sets its policy.
    function test_decodingChoices() {
        const texts = { 0: "Automatic (recommended)", 1: "Graphics card only", 2: "Software only" }
        const before = appSettings.decodePolicy
        for (const policy of [0, 1, 2]) {
            const button = child("policy" + policy)
            compare(button.text, texts[policy])
            appSettings.decodePolicy = policy
            verify(button.checked)
        }
        compare(child("policy0").parent.children[0], child("policy0"))
        appSettings.decodePolicy = before
    }

    function test_openLicenses() {
        dialog.close()
        tryCompare(dialog, "visible", false)
        dialog.openLicenses()
        const licenses = findChild(dialog.contentItem, "licenses")
        verify(licenses)
        tryCompare(licenses, "opened", true)
        verify(dialog.visible)
        const area = findChild(licenses.contentItem, "licenseArea")
        verify(area)
        verify(area.text.indexOf("GNU") >= 0)
        licenses.close()
        tryCompare(licenses, "visible", false)
        compare(area.text, "")
    }
}
