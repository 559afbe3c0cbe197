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
}
