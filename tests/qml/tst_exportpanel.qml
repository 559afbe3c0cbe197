import QtQuick
import QtTest
import Nivra.Media
import NivraPlayer

// The export editor on real simulator cards, driving a real session,
// timeline and export job.
TestCase {
    id: testCase
    name: "ExportPanel"
    when: windowShown
    width: 900
    height: 420

    // Exports go under the build tree, a fresh folder per run so that the
    // written names are the planned ones.
    readonly property string outRoot: simcardRoot + "/../tst_qml_exports/" + Date.now()
    property real day: 0

    CardSession {
        id: session
    }

    ExportJob {
        id: job
    }

    SignalSpy {
        id: finishedSpy
        target: job
        signalName: "finished"
    }

    TimelineItem {
        id: timeline
        card: session
        dayStart: testCase.day
        dayEnd: testCase.day > 0 ? session.dayEndMs(testCase.day) : 0
        width: 880
        height: 60
    }

    ExportPanel {
        id: panel
        y: 70
        width: 880
        card: session
        job: job
        timeline: timeline
        dayStart: testCase.day
        dayEnd: testCase.day > 0 ? session.dayEndMs(testCase.day) : 0
        videoDesc: session.videoCodecName
        audioDesc: session.audioInfo
        g711: session.g711Audio
    }

    // Opens a simulator card on the given day.
    function load(card, year, month, date) {
        verify(session.openPath(simcardRoot + "/" + card), session.errorString)
        day = session.dayStartMs(year, month, date)
        verify(day > 0)
        panel.dayChunks = session.dayChunks(day)
        panel.position = 0
    }

    function clockMs(text) {
        const p = text.split(":").map(Number)
        return day + ((p[0] * 60 + p[1]) * 60 + p[2]) * 1000
    }

    function init() {
        if (job.running) {
            job.cancel()
            tryCompare(job, "running", false, 30000)
        }
        panel.submitted = false
        session.timeMode = 0
        panel.resetForDay()
        panel.freeBytes = -1
        appSettings.exportFormat = 0
        appSettings.exportMerge = false
        appSettings.exportNoAudio = false
        appSettings.exportFolder = outRoot
        timeline.zoom = 0
        finishedSpy.clear()
        appSettings.language = ""
    }

    // The settings object outlives this file; leave it as found.
    function cleanupTestCase() {
        init()
        appSettings.exportFolder = ""
    }

    function test_parseClock_data() {
        return [
            { tag: "minutes need two digits", text: "9:5", clock: "" },
            { tag: "H:MM", text: "9:05", clock: "09:05:00" },
            { tag: "HH:MM", text: "09:05", clock: "09:05:00" },
            { tag: "H:MM:SS", text: "9:05:07", clock: "09:05:07" },
            { tag: "trimmed", text: "  23:59:59 ", clock: "23:59:59" },
            { tag: "hour 24", text: "24:00", clock: "" },
            { tag: "minute 60", text: "12:60", clock: "" },
            { tag: "second 60", text: "12:00:60", clock: "" },
            { tag: "three hour digits", text: "123:00", clock: "" },
            { tag: "letters", text: "ab:cd", clock: "" },
            { tag: "empty", text: "", clock: "" }
        ]
    }

    function test_parseClock(data) {
        load("small", 2024, 3, 5)
        const ms = panel.parseClock(data.text)
        if (data.clock === "") {
            compare(ms, -1)
        } else {
            compare(ms, clockMs(data.clock))
            compare(panel.clock(ms), data.clock)
        }
    }

    function test_typingAndKeys() {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        compare(panel.startText, "11:00:00")
        const field = findChild(panel, "startField")
        verify(field)

        field.input.forceActiveFocus()
        field.input.selectAll()
        keyClick("9"); keyClick(":"); keyClick("5")
        keyClick(Qt.Key_Return)
        compare(field.text, "9:5")
        compare(panel.problem, "Enter a valid time, for example 14:30:00.")
        compare(panel.errorPart, 1)
        verify(field.invalid)
        verify(!panel.canExport)

        // The range follows the typing; the field is rewritten once left.
        field.input.forceActiveFocus()
        field.input.selectAll()
        keyClick("9"); keyClick(":"); keyClick("0"); keyClick("5")
        compare(timeline.selStart, clockMs("09:05:00"))
        compare(panel.errorPart, 0)
        compare(field.text, "9:05")
        panel.forceActiveFocus()
        compare(panel.startText, "09:05:00")

        // Up steps the segment under the caret and selects it; Left moves
        // to the previous segment; Esc puts back the text from the start.
        field.input.forceActiveFocus()
        field.input.cursorPosition = 4
        keyClick(Qt.Key_Up)
        compare(panel.startText, "09:06:00")
        compare(timeline.selStart, clockMs("09:06:00"))
        compare(field.input.selectedText, "06")
        verify(field.editing)
        keyClick(Qt.Key_Left)
        compare(field.input.selectedText, "09")
        keyClick(Qt.Key_Down)
        compare(panel.startText, "08:06:00")
        keyClick(Qt.Key_Escape)
        verify(!field.editing)
        compare(panel.startText, "09:05:00")
        compare(timeline.selStart, clockMs("09:05:00"))
    }

    function test_defaultRange_data() {
        return [
            { tag: "playhead at 14:37", position: "14:37:00", start: "14:00:00", end: "15:00:00" },
            { tag: "playhead on another day", position: "", start: "14:00:00", end: "15:00:00" },
            { tag: "hour without recordings", position: "03:20:00", start: "14:36:30", end: "14:37:30" }
        ]
    }

    function test_defaultRange(data) {
        load("qml_export", 2024, 3, 5)
        panel.position = data.position === "" ? day - 3600000 : clockMs(data.position)
        compare(timeline.zoom, 0)
        verify(panel.openEditor(false))
        verify(panel.open)
        compare(panel.startText, data.start)
        compare(panel.endText, data.end)
        compare(timeline.selStart, clockMs(data.start))
        compare(timeline.zoom, 1)
        compare(timeline.viewSpan, 6 * 3600000)
        verify(timeline.viewStart <= timeline.selStart)
        verify(timeline.selEnd <= timeline.viewStart + timeline.viewSpan)
        verify(panel.height > 0)
        panel.closeEditor()
        compare(panel.height, 0)
    }

    function test_rangeWithoutRecording() {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        verify(panel.canExport)
        panel.typeField(1, "11:10:00")
        tryCompare(panel, "problem", "There is no recording in this range. Adjust the selection.")
        compare(panel.errorPart, 0)
        verify(!panel.canExport)
        verify(!findChild(panel, "exportButton").enabled)
        compare(panel.summary, "")
        panel.typeField(1, "11:00:00")
        tryCompare(panel, "canExport", true)
        compare(panel.problem, "")
        verify(findChild(panel, "exportButton").enabled)
    }

    function test_summaryAndNames() {
        load("qml_export", 2024, 3, 5)
        verify(panel.openEditor(false))
        panel.typeField(1, "14:36:00")
        panel.typeField(2, "14:52:00")
        panel.replan()
        const parts = panel.summary.split("  ·  ")
        compare(parts.length, 5)
        compare(parts[0], "Recorded " + panel.durationText(panel.plan.durationMs))
        compare(parts[1], "Skip gaps 13 min")
        compare(parts[2], "Missing files 1 min")
        compare(parts[3], "2 files")
        compare(panel.names.length, 2)
        verify(panel.names[0].endsWith(".mov"))

        panel.setMode(true)
        compare(panel.summary.split("  ·  ")[3], "1 file")
        compare(panel.names, [panel.plan.mergedName])

        panel.setAudio(false)
        verify(panel.summary.endsWith("  ·  no audio"))
    }

    function test_g711ForcesMov() {
        load("h265-g711", 2024, 6, 1)
        appSettings.exportFormat = 1
        verify(panel.openEditor(false))
        const formatField = findChild(panel, "formatField")
        verify(panel.mp4Blocked)
        compare(panel.format, 0)
        compare(appSettings.exportFormat, 1)
        compare(formatField.currentIndex, 0)
        compare(formatField.options[1].enabled, false)
        verify(panel.names[0].endsWith(".mov"))

        panel.setAudio(false)
        verify(!panel.mp4Blocked)
        compare(panel.format, 1)
        compare(formatField.currentIndex, 1)
        compare(formatField.options[1].enabled, true)
        verify(panel.names[0].endsWith(".mp4"))
    }

    function test_freeSpace_data() {
        const text = "Not enough free space: %1 left on this drive"
        return [
            { tag: "1000 bytes", free: 1000, over: 0, problem: text.arg("0.1 MB") },
            { tag: "1 GB", free: 1073741824, over: 0, problem: "" },
            { tag: "exactly the reserve", free: 0, over: 0, problem: "short" },
            { tag: "one byte over the reserve", free: 0, over: 1, problem: "" },
            { tag: "unknown", free: -1, over: 0, problem: "" },
            // The events' own estimate, far below the range's.
            { tag: "events, exactly the reserve", free: 0, over: 0, problem: "short", events: true },
            { tag: "events, one byte over", free: 0, over: 1, problem: "", events: true }
        ]
    }

    function test_freeSpace(data) {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        verify(panel.hasPlan)
        if (data.events) {
            panel.setEventsMode(true, 5)
            compare(panel.plan.bytes, session.eventExportPlan(panel.dayStart, panel.dayLast, 0x1F, 5, 0).bytes)
        }
        // The reserve is 2 % of the plan and 50 MB more, or half the plan
        // when that is less.
        const reserve = panel.plan.bytes * 1.02 + Math.min(50000000, panel.plan.bytes * 0.5)
        panel.freeBytes = data.free === 0 ? reserve + data.over : data.free
        if (data.problem === "short") {
            const mb = reserve / 1048576
            compare(panel.problem, "Not enough free space: %1 left on this drive"
                                   .arg((reserve < 10485760 ? Math.max(0.1, mb).toFixed(1) : mb.toFixed(0)) + " MB"))
        } else {
            compare(panel.problem, data.problem)
        }
        compare(panel.canExport, panel.problem === "")
    }

    // The hour the autumn change repeats: the editor opened in its first
    // occurrence keeps it, says which each field means, and a typed time in
    // that hour takes the occurrence nearer the field's bound.
    function test_theRepeatedHour() {
        load("qml_clockchange", 2024, 10, 27)
        verify(panel.openEditor(false))
        // 02:30 before the clocks went back, to 02:35 after.
        timeline.setSelection(Date.parse("2024-10-27T00:30:00Z"), Date.parse("2024-10-27T01:35:00Z"))
        compare(panel.startText, "02:30:00")
        compare(panel.endText, "02:35:00")
        compare(findChild(panel, "startField").note, "UTC+02:00")
        compare(findChild(panel, "endField").note, "UTC+01:00")
        verify(panel.commitFields(false))
        compare(timeline.selStart, Date.parse("2024-10-27T00:30:00Z"))
        compare(timeline.selEnd, Date.parse("2024-10-27T01:35:00Z"))
        verify(panel.canExport)
        panel.typeField(1, "02:32:00")
        compare(timeline.selStart, Date.parse("2024-10-27T00:32:00Z"))
        panel.typeField(2, "02:38:00")
        compare(timeline.selEnd, Date.parse("2024-10-27T01:38:00Z"))
        // Outside the repeated hour nothing is said.
        panel.typeField(2, "04:00:00")
        compare(findChild(panel, "endField").note, "")
    }

    // A switch of time mode keeps the moments selected: cut to the day, with
    // a word, where they cross its new midnight; said where none is left.
    function test_aTimeModeSwitchKeepsTheRange_data() {
        return [
            { tag: "inside the day", from: "2024-10-27T22:00:00Z", to: "2024-10-27T22:30:00Z",
              kept: ["2024-10-27T22:00:00Z", "2024-10-27T22:30:00Z"], notice: false },
            { tag: "across its midnight", from: "2024-10-26T22:30:00Z", to: "2024-10-27T01:00:00Z",
              kept: ["2024-10-27T00:00:00Z", "2024-10-27T01:00:00Z"], notice: true },
            { tag: "on the day before", from: "2024-10-26T22:10:00Z", to: "2024-10-26T22:40:00Z",
              kept: null, notice: false }
        ]
    }

    function test_aTimeModeSwitchKeepsTheRange(data) {
        load("qml_clockchange", 2024, 10, 27)
        verify(panel.openEditor(false))
        timeline.setSelection(Date.parse(data.from), Date.parse(data.to))
        // The computer's zone is UTC here; the window re-derives the day.
        session.timeMode = 1
        day = session.dayStartMs(2024, 10, 27)
        panel.followTimeMode()
        if (data.kept) {
            compare(timeline.selStart, Date.parse(data.kept[0]))
            compare(timeline.selEnd, Date.parse(data.kept[1]))
            compare(panel.problem, "")
            verify(panel.canExport)
        } else {
            compare(panel.problem, "In this time mode the range lies on another day: select it again.")
            verify(!panel.canExport)
        }
        compare(findChild(panel, "notice").text !== "", data.notice)
        session.timeMode = 0
    }

    function test_folderOnTheCard() {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        const kept = appSettings.exportFolder
        appSettings.exportFolder = session.path + "/clips"
        compare(panel.problem, "This folder is on the card, which is never written to. Choose a folder elsewhere.")
        verify(!panel.canExport)
        appSettings.exportFolder = kept
        compare(panel.problem, "")
    }

    function test_noFolder() {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        appSettings.exportFolder = ""
        compare(panel.problem, "Choose where to save the exported files.")
        verify(!panel.canExport)
    }

    function test_result_data() {
        return [
            { tag: "done", folder: "done", cancel: false, status: 0 },
            { tag: "cancelled", folder: "cancelled", cancel: true, status: 1 },
            { tag: "failed", folder: "", cancel: false, status: 2 }
        ]
    }

    function test_result(data) {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        // Ten seconds on each side of the gap: two files, kept small.
        panel.typeField(1, "11:00:50")
        panel.typeField(2, "11:02:10")
        panel.setFolder(data.folder === "" ? "/proc/nivra-no-folder" : outRoot + "/" + data.folder)
        panel.replan()
        verify(panel.canExport)
        panel.startExport()
        if (job.running) {
            // Half the row while running, before and after the time left shows.
            // A short export may end before the layout settles: only a
            // running one is judged.
            const track = findChild(panel, "progressTrack")
            const half = Math.round(panel.width * 0.5)
            tryVerify(() => !panel.busy || track.width === half)
            if (panel.busy)
                compare(track.width, half)
        }
        if (data.cancel) {
            verify(job.running)
            job.cancel()
        }
        tryCompare(finishedSpy, "count", 1, 60000)
        const status = finishedSpy.signalArguments[0][0]
        const message = finishedSpy.signalArguments[0][1]
        const files = finishedSpy.signalArguments[0][2]
        compare(status, data.status)
        compare(panel.submitted, false)
        compare(panel.resultStatus, data.status)
        if (status === 0) {
            compare(files, 2)
            compare(panel.resultText, "2 files exported" + (message !== "" ? "\n" + message : ""))
            compare(job.files.map(path => path.split(/[\\/]/).pop()), panel.names)
            // The line follows a new interface language.
            appSettings.language = "de"
            verify(panel.resultText.startsWith("2 Dateien exportiert"), panel.resultText)
        } else if (status === 1) {
            compare(panel.resultText, files > 0 ? "Export cancelled. The %1 finished file%2 kept.".arg(files).arg(files === 1 ? " was" : "s were")
                                                : "Export cancelled")
        } else {
            verify(message !== "")
            compare(panel.resultText, message)
        }
    }

    function test_resultOnlyForOwnJob() {
        load("small", 2024, 3, 5)
        verify(panel.openEditor(false))
        // An export this panel asked for that finds nothing to write.
        panel.submitted = true
        job.start(session, clockMs("11:10:00"), clockMs("11:20:00"), false, true, outRoot + "/nothing", 0, 0)
        tryCompare(finishedSpy, "count", 1, 30000)
        compare(finishedSpy.signalArguments[0][0], 3)
        compare(panel.resultStatus, 3)
        compare(panel.resultText, "Nothing to export in this range")

        // One started elsewhere, failing, leaves that line alone.
        job.start(session, clockMs("11:00:00"), clockMs("11:01:00"), false, true, "/proc/nivra-no-folder", 0, 0)
        tryCompare(finishedSpy, "count", 2, 30000)
        compare(finishedSpy.signalArguments[1][0], 2)
        compare(panel.resultStatus, 3)
        compare(panel.resultText, "Nothing to export in this range")
    }
}
