import QtQuick
import QtTest
import NivraPlayer

TestCase {
    name: "Format"

    function test_durationText_data() {
        return [
            { tag: "zero", ms: 0, text: "0 s" },
            { tag: "negative", ms: -5000, text: "0 s" },
            { tag: "59 s", ms: 59000, text: "59 s" },
            { tag: "59.6 s rounds up", ms: 59600, text: "1 min" },
            { tag: "60 s", ms: 60000, text: "1 min" },
            { tag: "61 s", ms: 61000, text: "1 min 1 s" },
            { tag: "3600 s", ms: 3600000, text: "1h" },
            { tag: "3660 s", ms: 3660000, text: "1h1m" },
            { tag: "3661 s drops seconds", ms: 3661000, text: "1h1m" },
            { tag: "3599.4 s", ms: 3599400, text: "59 min 59 s" },
            { tag: "3599.6 s rounds to the hour", ms: 3599600, text: "1h" }
        ]
    }

    function test_durationText(data) {
        // The one rule, as the window, the export editor and the export job's
        // messages all read it.
        compare(TextRules.durationText(data.ms), data.text)
    }

    // Every colour of the Style comes from the one table, in both themes: a
    // token the table lacks would come back as no colour at all.
    function test_styleColoursAreTheTables() {
        const tokens = ["yellow", "purple", "plum", "canvas", "surface", "surface2", "surface3",
                        "foreground", "secondary", "line", "strongLine", "accent", "inkOnAccent",
                        "selected", "selectedText", "record", "recordFine", "track", "videoSurface",
                        "error", "faint", "primaryHover", "primaryDeep", "eventText", "focusRing"]
        for (const token of tokens) {
            verify(Qt.colorEqual(Style[token], Theme.colour(token, Style.dark)), token)
            for (const dark of [true, false])
                compare(Theme.colour(token, dark).a, 1, token)
        }
        compare(Theme.colour("no such token", true), undefined)
        verify(Qt.colorEqual(Theme.colour("canvas", true), "#17171f"))
        verify(Qt.colorEqual(Theme.colour("canvas", false), "#f6f6f5"))
    }
}
