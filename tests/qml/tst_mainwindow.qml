import QtQuick
import QtTest
import NivraPlayer

// The window's own functions with a real session and engine: where
// "previous/next recording" go, the time left, the empty views and when the
// timeline's legend turns compact. The small card has two recordings,
// 10:00:00-10:01:00 and 10:02:00-10:03:00 UTC on 5 March 2024.
TestCase {
    id: testCase
    name: "MainWindow"
    when: windowShown

    property var win: null

    Component {
        id: windowComponent
        Main {}
    }

    function utc(text) {
        return Date.parse(text)
    }

    function init() {
        appSettings.decodePolicy = 2
        win = createTemporaryObject(windowComponent, testCase)
        verify(win)
    }

    function openCard(name) {
        verify(win.session.openPath(simcardRoot + "/" + name), win.session.errorString)
        tryVerify(() => win.selYear > 0, 5000)
    }

    // Lands on a time and waits until the engine reports it.
    function land(ms) {
        win.player.seek(ms, false)
        tryCompare(win.player, "position", ms, 5000)
    }

    function test_jumpChunk_data() {
        return [
            { tag: "previous, 2 s into a recording: the one before", from: "2024-03-05T10:02:02Z", dir: -1, to: "2024-03-05T10:00:00Z" },
            { tag: "previous, 5 s into a recording: its start", from: "2024-03-05T10:02:05Z", dir: -1, to: "2024-03-05T10:02:00Z" },
            { tag: "next", from: "2024-03-05T10:00:05Z", dir: 1, to: "2024-03-05T10:02:00Z" },
            { tag: "next, at the last", from: "2024-03-05T10:02:05Z", dir: 1, to: "", toast: "No more recordings" },
            { tag: "previous, at the first", from: "2024-03-05T10:00:02Z", dir: -1, to: "", toast: "This is the first recording" }
        ]
    }

    function test_jumpChunk(data) {
        openCard("small")
        land(utc(data.from))
        const before = win.player.lastSeekTarget
        win.jumpChunk(data.dir)
        if (data.to.length > 0) {
            compare(win.player.lastSeekTarget, utc(data.to))
        } else {
            compare(win.player.lastSeekTarget, before)
            compare(win.videoPanel.toastText, data.toast)
        }
    }

    function test_remainingText() {
        openCard("small")
        land(utc("2024-03-05T10:02:05Z"))
        compare(win.remainingText(), "55 s left")
        land(utc("2024-03-05T10:00:00Z"))
        compare(win.remainingText(), "1 min left")
        // Another day selected: the position is not in it.
        win.selectDate(2024, 3, 6)
        compare(win.remainingText(), "")
    }

    function test_emptyViews() {
        const title = findChild(win.videoPanel, "emptyTitle")
        verify(title)
        compare(title.text, "Every moment that matters, all in one place")
        verify(!win.session.openPath(simcardRoot + "/no-such-card"))
        compare(title.text, "Could not open the recordings")

        openCard("qml_eventday")
        win.pickDay(2024, 1, 14)
        compare(title.text, "Recording files are missing")
        compare(win.videoPanel.toastText, "The recording files for this day are not in this folder")
        win.pickDay(2024, 1, 20)
        compare(title.text, "No recordings on this day")
        compare(win.videoPanel.toastText, "No recordings on this day")
    }

    // The legend shows only swatches when its texts would not fit beside
    // the zoom buttons and the check box, and it always stays inside.
    function test_compactLegend_data() {
        return [{ tag: "minimum", width: 1100, compact: true }, { tag: "wide", width: 1900, compact: false }]
    }

    function test_compactLegend(data) {
        win.width = data.width
        const legend = findChild(win.contentItem, "timelineLegend")
        verify(legend)
        tryCompare(legend, "compact", data.compact)
        waitForRendering(win.contentItem)
        const right = legend.mapToItem(null, legend.width, 0).x
        verify(right <= win.width - 24, "legend ends at " + right)
    }

    // Hovering recorded time shows the key frame's picture above the time.
    function test_hoverPreview() {
        openCard("small")
        const timeline = win.timeline
        timeline.zoom = 3
        timeline.viewStart = utc("2024-03-05T09:58:00Z")
        const at = utc("2024-03-05T10:00:30Z")
        mouseMove(timeline, (at - timeline.viewStart) / timeline.viewSpan * timeline.width, timeline.height / 2)
        tryVerify(() => timeline.hoverText.length > 0, 2000)
        const preview = win.timelinePanel.hoverPreview
        verify(preview)
        tryCompare(preview, "ready", true, 5000)
        verify(preview.visible)
        // Two-second key frames: the one at or before 10:00:30.
        compare(preview.shownKeyframeMs, utc("2024-03-05T10:00:30Z"))
        mouseMove(timeline, 2, timeline.height / 2) // 09:58, nothing recorded
        tryCompare(preview, "timeMs", -1)
    }

    // A language switch rebuilds the boxes' translated entries; the chosen
    // time mode and filter must stay shown.
    function test_boxesKeepTheirEntryAcrossLanguages() {
        openCard("small")
        const timeMode = findChild(win.contentItem, "timeModeBox")
        const filter = findChild(win.contentItem, "filterBox")
        appSettings.timeMode = 1
        win.eventList.typeFilter = 0x08
        compare(timeMode.currentIndex, 1)
        compare(filter.currentIndex, 4)
        appSettings.language = "de"
        compare(timeMode.currentIndex, 1)
        compare(filter.currentIndex, 4)
        compare(filter.displayText, "PIR")
    }

    // Settings are shared by the whole run.
    function cleanup() {
        appSettings.language = ""
        appSettings.timeMode = 0
    }
}
