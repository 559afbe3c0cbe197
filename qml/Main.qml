import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Dialogs
import Nivra.Media
import NivraPlayer
import "Format.js" as Format

// The player window: owns the session, the playback engine and the export
// job of this run, keeps the selected day and composes the panels.
ApplicationWindow {
    id: window

    width: 1440
    height: 920
    minimumWidth: 1100
    minimumHeight: 700
    visible: true
    title: appSettings.internalBuild ? qsTr("NIVRA Player (internal test build)") : qsTr("NIVRA Player")
    color: Style.bg
    font.family: appSettings.fontFamily
    font.pixelSize: 13

    palette.window: Style.bg
    palette.windowText: Style.text
    palette.base: Style.panel
    palette.alternateBase: Style.subtleFill
    palette.text: Style.text
    palette.button: Style.panel
    palette.buttonText: Style.text2
    palette.highlight: Style.primary
    palette.highlightedText: Style.inkOnAccent
    palette.placeholderText: Style.faint
    palette.light: Style.panel
    palette.midlight: Style.border
    palette.mid: Style.borderStrong
    palette.dark: Style.faint
    palette.toolTipBase: Style.video
    palette.toolTipText: "white"

    background: Rectangle {
        color: Style.bg
    }

    // The selected date; 0 = none.
    property int selYear: 0
    property int selMonth: 0
    property int selDay: 0
    readonly property real dayStart: card.isOpen && selYear > 0
        ? (card.timeMode, card.chunks, card.dayStartMs(selYear, selMonth, selDay)) : 0
    readonly property real dayEnd: dayStart + 86400000
    readonly property var dayChunks: card.isOpen && dayStart > 0 ? (card.chunks, card.dayChunks(dayStart)) : []
    readonly property bool dayHasPlayable: dayChunks.some(c => c.playable)
    readonly property bool dayHasMissing: dayChunks.some(c => !c.playable)
    readonly property var currentChunk: {
        const position = engine.position
        const list = card.chunks
        for (let i = 0; i < list.length; ++i) {
            const c = list[i]
            if (c.playable && c.startMs <= position && position <= c.endMs)
                return c
        }
        return null
    }
    readonly property string videoDesc: card.videoCodecName
        + (engine.videoSize.width > 0 ? " " + engine.videoSize.width + "\u00d7" + engine.videoSize.height : "")
    readonly property bool darkTheme: Style.dark
    property bool quitAfterExport: false
    readonly property bool menuOpen: toolBar.timeModeOpen || transportBar.speedOpen
                                     || sidePanel.filterOpen || exportPanel.menuOpen
    readonly property bool exporting: exportJob.running

    // The parts other files and script mode reach.
    readonly property alias session: card
    readonly property alias player: engine
    readonly property alias job: exportJob
    readonly property alias timeline: timelinePanel.timeline
    readonly property alias exportPanel: timelinePanel.exportPanel
    readonly property alias calendar: sidePanel.calendar
    readonly property alias eventList: sidePanel.eventList
    readonly property alias settingsDialog: settingsDialog
    readonly property alias videoPanel: videoPanel
    readonly property alias timelinePanel: timelinePanel

    CardSession {
        id: card
        timeMode: appSettings.timeMode
        onChanged: {
            window.exportPanel.resetForDay()
            if (card.isOpen && window.selYear === 0)
                Qt.callLater(window.openLatestDay)
        }
        // Later, once the day's start has been re-derived for the new mode.
        onTimeModeChanged: {
            if (engine.position > 0)
                Qt.callLater(() => window.followDay(engine.position))
        }
    }

    PlaybackEngine {
        id: engine
        card: card
        continuous: appSettings.continuous
        videoSink: videoPanel.videoSink
        onGapSkipped: (fromMs, toMs) => window.toast(qsTr("Skipped empty %1 \u2192 %2")
                                                     .arg(card.formatClock(fromMs, true))
                                                     .arg(card.formatClock(toMs, true)))
        onChunkEnded: atMs => window.toast(qsTr("End of recording at %1").arg(card.formatClock(atMs, true)))
        onEnded: window.toast(qsTr("No more recordings"))
        onReadFailed: window.toast(qsTr("Reading the recordings failed. Is the card still connected?"))
        onSeeked: landedMs => {
            window.timeline.landing = landedMs
            window.followDay(landedMs)
        }
        onPositionChanged: {
            if (engine.playing)
                window.followDay(engine.position)
        }
    }

    ExportJob {
        id: exportJob
        onFinished: {
            if (window.quitAfterExport)
                Qt.quit()
        }
    }

    function toast(text) {
        videoPanel.showToast(text)
    }

    function selectDate(y, m, d) {
        if (y !== selYear || m !== selMonth || d !== selDay)
            exportPanel.resetForDay()
        selYear = y
        selMonth = m
        selDay = d
        calendar.showMonth(y, m)
    }

    // Keeps the selected day on the one being shown (midnight crossings,
    // seeks into another day); never while an export holds the range.
    function followDay(ms) {
        if (exportJob.running || (ms >= dayStart && ms < dayEnd))
            return
        const date = card.dateOf(ms)
        selectDate(date.year, date.month, date.day)
    }

    function firstOfDay() {
        const list = card.chunks
        for (let i = 0; i < list.length; ++i) {
            const c = list[i]
            if (c.playable && c.endMs >= dayStart && c.startMs < dayEnd)
                return Math.max(c.startMs, dayStart)
        }
        return -1
    }

    function seekInDay(ms) {
        const kf = card.keyframeAtOrBefore(ms)
        // A key frame on the previous day would show that day's picture.
        const exact = ms >= dayStart && kf >= 0 && kf < dayStart
        engine.seek(ms, !exact)
    }

    function openLatestDay() {
        const last = card.lastPlayableMs
        if (last <= 0)
            return
        const date = card.dateOf(last)
        selectDate(date.year, date.month, date.day)
        const first = firstOfDay()
        if (first >= 0)
            seekInDay(first)
    }

    function noPlayableText() {
        return dayHasMissing ? qsTr("The recording files for this day are not in this folder")
                             : qsTr("No recordings on this day")
    }

    function pickDay(y, m, d) {
        selectDate(y, m, d)
        const first = firstOfDay()
        if (first >= 0) {
            seekInDay(first)
        } else {
            engine.pause()
            toast(noPlayableText())
        }
    }

    function jumpChunk(dir) {
        const list = card.chunks
        const position = engine.position
        if (dir > 0) {
            for (let i = 0; i < list.length; ++i) {
                if (list[i].playable && list[i].startMs > position + 500) {
                    engine.seek(list[i].startMs, true)
                    return
                }
            }
            toast(qsTr("No more recordings"))
        } else {
            // A chunk that began under 3 s ago counts as not yet started,
            // so a second press goes back one more.
            for (let j = list.length - 1; j >= 0; --j) {
                if (list[j].playable && list[j].startMs < position - 3000) {
                    engine.seek(list[j].startMs, true)
                    return
                }
            }
            toast(qsTr("This is the first recording"))
        }
    }

    function durationText(ms) {
        return Format.durationText(ms)
    }

    function remainingText() {
        const position = engine.position
        if (!dayHasPlayable || position < dayStart || position >= dayEnd || !currentChunk)
            return ""
        return qsTr("%1 left").arg(durationText(Math.max(0, currentChunk.endMs - position)))
    }

    function openExport() {
        if (!exportPanel.openEditor(timeline.selStart >= 0))
            toast(noPlayableText())
    }

    function openFolderDialog() {
        folderDialog.open()
    }

    function openSettings() {
        settingsDialog.open()
    }

    // What "Cancel export and quit" does, for script mode.
    function confirmQuit() {
        if (quitConfirm.visible)
            quitConfirm.confirm()
    }

    function refresh() {
        const position = engine.position
        card.reload()
        if (position > 0)
            engine.seek(position, true)
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        UpdateBanner {
            Layout.fillWidth: true
        }

        AppToolBar {
            id: toolBar
            Layout.fillWidth: true
            win: window
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            Layout.topMargin: 20
            Layout.bottomMargin: 12
            spacing: 20

            SidePanel {
                id: sidePanel
                win: window
                Layout.preferredWidth: window.width >= 1650 ? 340 : window.width > 1200 ? 320 : 300
                Layout.fillHeight: true
            }

            ColumnLayout {
                id: rightColumn
                Layout.fillWidth: true
                Layout.fillHeight: true
                spacing: 14

                VideoPanel {
                    id: videoPanel
                    win: window
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }

                TransportBar {
                    id: transportBar
                    win: window
                    Layout.fillWidth: true
                }

                TimelinePanel {
                    id: timelinePanel
                    win: window
                    Layout.fillWidth: true
                    // The video keeps at least 240 px; the export editor
                    // scrolls within what is left.
                    maxHeight: rightColumn.height - 240 - transportBar.implicitHeight - 2 * rightColumn.spacing
                }
            }
        }

        AppStatusBar {
            Layout.fillWidth: true
            win: window
        }
    }

    FolderDialog {
        id: folderDialog
        title: qsTr("Choose the SD card or the recording folder")
        onAccepted: {
            window.selYear = 0
            card.open(selectedFolder)
        }
    }

    SettingsDialog {
        id: settingsDialog
        job: exportJob
    }

    QuitConfirm {
        id: quitConfirm
        // The export may have ended while the question was open; then
        // nothing will report "finished" any more.
        onQuitRequested: {
            window.quitAfterExport = true
            if (exportJob.running)
                exportJob.cancel()
            else
                Qt.quit()
        }
    }

    onClosing: close => {
        if (exportJob.running) {
            close.accepted = false
            quitConfirm.open()
        }
    }

    Shortcut {
        sequence: "Space"
        onActivated: engine.togglePlay()
    }
    Shortcut {
        sequence: "Right"
        enabled: !(window.timeline.activeFocus && window.timeline.selectionVisible)
        onActivated: engine.seek(engine.position + 5000, false)
    }
    Shortcut {
        sequence: "Left"
        enabled: !(window.timeline.activeFocus && window.timeline.selectionVisible)
        onActivated: engine.seek(Math.max(0, engine.position - 5000), false)
    }
    Shortcut {
        sequence: "."
        onActivated: engine.stepFrame()
    }
    Shortcut {
        sequence: ","
        onActivated: engine.stepBackFrame()
    }
    Shortcut {
        sequences: ["+", "="]
        onActivated: window.timeline.zoomIn()
    }
    Shortcut {
        sequence: "-"
        onActivated: window.timeline.zoomOut()
    }
    Shortcut {
        sequence: "Esc"
        enabled: exportPanel.open && !exportJob.running && !settingsDialog.visible && !window.menuOpen
        onActivated: exportPanel.closeEditor()
    }

    // The first automatic update check, left out while a script runs.
    Timer {
        id: updateTimer
        interval: 4000
        onTriggered: updater.startupCheck()
    }

    ScriptRunner {
        id: scriptRunner
        win: window
    }

    Component.onCompleted: {
        if (initialPath.length > 0)
            card.openPath(initialPath)
        if (autotestScript.length > 0)
            scriptRunner.start(autotestScript)
        else
            updateTimer.start()
    }
}
