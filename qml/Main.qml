import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Dialogs
import Nivra.Media
import NivraPlayer
import "Format.js" as Format

// The player window: owns the session, the day model, the playback engine
// and the export job of this run, and composes the panels, giving each only
// what it needs.
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

    // Drawn although it is the clear colour too: screenshots grab the
    // items, not the window, and would show the margins black.
    background: Rectangle {
        color: Style.bg
    }

    // Every attached tooltip of the window is one shared instance: it takes
    // the style's shape instead of the base style's.
    Rectangle {
        id: tipBackground
        visible: false
        radius: 6
        color: Style.video
        border.color: Style.borderStrong
    }
    function styleToolTips() {
        const tip = tipBackground.ToolTip.toolTip
        tip.background = tipBackground
        tipBackground.visible = true
        tip.padding = 7
        // Tooltips show card paths and file names: never as markup.
        if (tip.contentItem && tip.contentItem.textFormat !== undefined)
            tip.contentItem.textFormat = Text.PlainText
    }

    // The selected date; 0 = none.
    readonly property int selYear: day.year
    readonly property int selMonth: day.month
    readonly property int selDay: day.day
    readonly property string videoDesc: card.videoCodecName
        + (engine.videoSize.width > 0 ? " " + engine.videoSize.width + "\u00d7" + engine.videoSize.height : "")
    readonly property bool darkTheme: Style.dark
    property bool quitAfterExport: false
    readonly property bool menuOpen: toolBar.timeModeOpen || toolBar.recentOpen || transportBar.speedOpen
                                     || sidePanel.filterOpen || timelinePanel.exportPanel.menuOpen
    readonly property bool exporting: exportJob.running

    // Full screen with the video alone (F, F11; Esc leaves it).
    property bool videoOnly: false
    property int visibilityBeforeVideoOnly: Window.Windowed

    function setVideoOnly(on) {
        if (on === videoOnly)
            return
        if (on) {
            visibilityBeforeVideoOnly = visibility
            videoOnly = true
            showFullScreen()
        } else {
            videoOnly = false
            visibility = visibilityBeforeVideoOnly === Window.FullScreen ? Window.Windowed : visibilityBeforeVideoOnly
        }
    }

    CardSession {
        id: card
        objectName: "session"
        timeMode: appSettings.timeMode
        onChanged: {
            timelinePanel.exportPanel.resetForDay()
            if (card.isOpen)
                appSettings.addRecentCard(card.path)
            if (card.isOpen && day.year === 0)
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
        objectName: "player"
        card: card
        continuous: appSettings.continuous
        videoSink: videoPanel.videoSink
        onGapSkipped: (fromMs, toMs) => window.toast(qsTr("Skipped empty %1 \u2192 %2")
                                                     .arg(card.formatClock(fromMs, true))
                                                     .arg(card.formatClock(toMs, true)))
        onChunkEnded: atMs => window.toast(qsTr("End of recording at %1").arg(card.formatClock(atMs, true)))
        onEnded: window.toast(qsTr("No more recordings"))
        onReadFailed: window.toast(qsTr("Reading the recordings failed. Is the card still connected?"))
        // Once when it goes; the engine tries again on the next seek or play.
        onSoundAvailableChanged: {
            if (!engine.soundAvailable)
                window.toast(qsTr("Sound output is not available"))
        }
        onSeeked: landedMs => {
            timelinePanel.timeline.landing = landedMs
            window.followDay(landedMs)
        }
        onPositionChanged: {
            if (engine.playing)
                window.followDay(engine.position)
        }
    }

    DayModel {
        id: day
        card: card
        position: engine.position
        // An export holds its day's range.
        frozen: exportJob.running
        onSelectionChanged: timelinePanel.exportPanel.resetForDay()
    }

    EventsOnly {
        id: eventsOnly
        objectName: "eventsOnly"
        card: card
        engine: engine
        day: day
        typeFilter: sidePanel.eventList.typeFilter
        continuous: appSettings.continuous
        onToastRequested: text => window.toast(text)
    }

    ActivityModel {
        id: activity
        objectName: "activity"
        card: card
        dayStart: day.dayStart
        dayEnd: day.dayEnd
        enabled: appSettings.analyseInBackground
    }

    Bookmarks {
        id: bookmarks
        objectName: "bookmarks"
        card: card
        onWarning: text => window.toast(text)
    }

    // A bookmark at the shown picture, with its note asked for.
    function addBookmark() {
        if (!card.isOpen || engine.position <= 0)
            return
        bookmarkPopup.get().openFor(-1, engine.position, card.formatClock(engine.position, true), "")
    }

    SkipStill {
        id: skipStill
        objectName: "skipStill"
        activity: activity
        engine: engine
        yielding: eventsOnly.active
        onToastRequested: text => window.toast(text)
    }

    ExportJob {
        id: exportJob
        bookmarks: bookmarks
        onFinished: {
            if (window.quitAfterExport)
                Qt.quit()
        }
    }

    function toast(text) {
        videoPanel.showToast(text)
    }

    function selectDate(y, m, d) {
        day.select(y, m, d)
        sidePanel.calendar.showMonth(y, m)
    }

    // Keeps the selected day on the one being shown (midnight crossings,
    // seeks into another day); never while an export holds the range.
    function followDay(ms) {
        if (day.follow(ms))
            sidePanel.calendar.showMonth(day.year, day.month)
    }

    function seekInDay(ms) {
        engine.seek(ms, day.snapsAt(ms))
    }

    function openLatestDay() {
        if (!day.selectLatest())
            return
        sidePanel.calendar.showMonth(day.year, day.month)
        if (day.firstPlayable >= 0)
            seekInDay(day.firstPlayable)
    }

    function noPlayableText() {
        return day.hasMissing ? qsTr("The recording files for this day are not in this folder")
                              : qsTr("No recordings on this day")
    }

    function pickDay(y, m, d) {
        selectDate(y, m, d)
        if (day.firstPlayable >= 0) {
            seekInDay(day.firstPlayable)
        } else {
            engine.pause()
            toast(noPlayableText())
        }
    }

    function jumpChunk(dir) {
        const target = day.chunkJump(dir)
        if (target >= 0)
            engine.seek(target, true)
        else
            toast(dir > 0 ? qsTr("No more recordings") : qsTr("This is the first recording"))
    }

    function remainingText() {
        return day.remainingMs >= 0 ? qsTr("%1 left").arg(TextRules.durationText(day.remainingMs)) : ""
    }

    function openExport() {
        if (!timelinePanel.exportPanel.openEditor(timelinePanel.timeline.selStart >= 0))
            toast(noPlayableText())
    }

    function openFolderDialog() {
        folderDialog.get().open()
    }

    // Opens a card as choosing its folder does, wherever the folder comes
    // from (the chooser, the recent list, a drop, script mode): the card
    // shows its latest day. A folder of several cards asks which; one with
    // none leaves the open card open.
    function openCard(path) {
        const cards = card.findCards(path)
        if (cards.length === 0 && card.isOpen) {
            toast(qsTr("No recordings found in %1").arg(path))
            return
        }
        if (cards.length > 1) {
            cardPicker.get().show(path, cards)
            return
        }
        day.clear()
        card.openPath(path)
    }

    // The folder a drop brings: its one URL, when that names a folder on
    // this computer; empty otherwise.
    function droppedFolder(urls) {
        return urls.length === 1 ? appSettings.localFolder(urls[0]) : ""
    }

    function openSettings() {
        settingsDialog.get().open()
    }

    // What "Cancel export and quit" does, for script mode.
    function confirmQuit() {
        if (quitConfirm.showing)
            quitConfirm.item.confirm()
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
            hidden: window.videoOnly
        }

        AppToolBar {
            id: toolBar
            visible: !window.videoOnly
            Layout.fillWidth: true
            card: card
            engine: engine
            videoDesc: window.videoDesc
            exporting: window.exporting
            onOpenFolderRequested: window.openFolderDialog()
            onRecentCardRequested: path => window.openCard(path)
            onRefreshRequested: window.refresh()
            onSettingsRequested: window.openSettings()
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.leftMargin: window.videoOnly ? 0 : 24
            Layout.rightMargin: window.videoOnly ? 0 : 24
            Layout.topMargin: window.videoOnly ? 0 : 20
            Layout.bottomMargin: window.videoOnly ? 0 : 12
            spacing: 20

            SidePanel {
                id: sidePanel
                objectName: "sidePanel"
                visible: !window.videoOnly
                card: card
                engine: engine
                day: day
                exporting: window.exporting
                onDayPicked: (y, m, d) => window.pickDay(y, m, d)
                onEventPicked: startMs => {
                    window.seekInDay(startMs)
                    engine.play()
                }
                activity: activity
                area: videoPanel.area
                // The first picture that shows the change, to look at.
                onChangePicked: startMs => engine.seek(startMs, false)
                onAreaClosed: videoPanel.endAreaSearch()
                bookmarks: bookmarks
                onBookmarkEditRequested: (id, note) => {
                    const entry = bookmarks.inRange(0, 8.64e15).find(b => b.id === id)
                    if (entry)
                        bookmarkPopup.get().openFor(id, entry.ms, card.formatClock(entry.ms, true), note)
                }
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
                    objectName: "videoPanel"
                    alone: window.videoOnly
                    card: card
                    engine: engine
                    day: day
                    onOpenFolderRequested: window.openFolderDialog()
                    onLatestDayRequested: window.openLatestDay()
                    onSettingsRequested: window.openSettings()
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }

                TransportBar {
                    id: transportBar
                    visible: !window.videoOnly
                    engine: engine
                    day: day
                    remainingText: window.remainingText()
                    eventsOnly: eventsOnly.active
                    onEventsOnlyToggled: on => eventsOnly.active = on
                    skipStill: skipStill.active
                    onSkipStillToggled: on => skipStill.active = on
                    onBookmarkRequested: window.addBookmark()
                    onChunkJumpRequested: dir => window.jumpChunk(dir)
                    onToastRequested: text => window.toast(text)
                    Layout.fillWidth: true
                }

                TimelinePanel {
                    id: timelinePanel
                    objectName: "timelinePanel"
                    visible: !window.videoOnly
                    card: card
                    engine: engine
                    day: day
                    job: exportJob
                    activity: activity
                    bookmarks: bookmarks
                    videoDesc: window.videoDesc
                    eventKinds: sidePanel.eventList.typeFilter & 0x1F
                    onExportRequested: window.openExport()
                    onToastRequested: text => window.toast(text)
                    Layout.fillWidth: true
                    // The video keeps at least 240 px; the export editor
                    // scrolls within what is left.
                    maxHeight: rightColumn.height - 240 - transportBar.implicitHeight - 2 * rightColumn.spacing
                }
            }
        }

        AppStatusBar {
            visible: !window.videoOnly
            Layout.fillWidth: true
            card: card
            engine: engine
            day: day
            eventTotal: sidePanel.eventList.total
            eventPlayable: sidePanel.eventList.playableTotal
        }
    }

    // A folder dropped anywhere on the window opens like a chosen one;
    // the window's edge lights up while one is held over it.
    DropArea {
        id: dropArea
        anchors.fill: parent
        enabled: !window.exporting
        keys: ["text/uri-list"]
        onEntered: drag => drag.accepted = window.droppedFolder(drag.urls).length > 0
        onDropped: drop => {
            const folder = window.droppedFolder(drop.urls)
            if (folder.length === 0)
                return
            drop.acceptProposedAction()
            window.openCard(folder)
        }

        Rectangle {
            anchors.fill: parent
            visible: dropArea.containsDrag
            color: "transparent"
            border.width: 3
            border.color: Style.accent
        }
    }

    // The dialogs and popups are made when first opened.
    Lazy {
        id: folderDialog
        sourceComponent: FolderDialog {
            title: qsTr("Choose the SD card or the recording folder")
            onAccepted: window.openCard(appSettings.localFolder(selectedFolder))
        }
    }

    Lazy {
        id: settingsDialog
        objectName: "settingsDialogLoader"
        sourceComponent: SettingsDialog {
            objectName: "settingsDialog"
            job: exportJob
        }
    }

    Lazy {
        id: shortcutSheet
        objectName: "shortcutSheetLoader"
        sourceComponent: ShortcutSheet {
            objectName: "shortcutSheet"
            rows: keyMap.table
        }
    }

    Lazy {
        id: cardPicker
        objectName: "cardPickerLoader"
        sourceComponent: CardPicker {
            objectName: "cardPicker"
            onPicked: path => {
                day.clear()
                card.openPath(path)
            }
        }
    }

    Lazy {
        id: bookmarkPopup
        objectName: "bookmarkPopupLoader"
        sourceComponent: BookmarkPopup {
            objectName: "bookmarkPopup"
            onAccepted: (id, ms, note) => {
                if (id < 0)
                    bookmarks.add(ms, note)
                else
                    bookmarks.setNote(id, note)
            }
        }
    }

    Lazy {
        id: quitConfirm
        sourceComponent: QuitConfirm {
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
    }

    onClosing: close => {
        if (exportJob.running) {
            close.accepted = false
            quitConfirm.get().open()
        }
    }

    KeyMap {
        id: keyMap
        win: window
        card: card
        engine: engine
        day: day
        timeline: timelinePanel.timeline
        exportPanel: timelinePanel.exportPanel
        eventList: sidePanel.eventList
        eventsOnly: eventsOnly
        videoPanel: videoPanel
        settingsDialog: settingsDialog
        shortcutSheet: shortcutSheet
        transportBar: transportBar
        onBookmarkRequested: window.addBookmark()
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
        card: card
        engine: engine
        day: day
        timeline: timelinePanel.timeline
        exportPanel: timelinePanel.exportPanel
        eventList: sidePanel.eventList
        eventsOnly: eventsOnly
        videoPanel: videoPanel
        settingsDialog: settingsDialog
        shortcutSheet: shortcutSheet
        job: exportJob
        calendar: sidePanel.calendar
        timelinePanel: timelinePanel
        toolBar: toolBar
        cardPicker: cardPicker
        activity: activity
        skipStill: skipStill
        sidePanel: sidePanel
        bookmarks: bookmarks
        bookmarkPopup: bookmarkPopup
    }

    Component.onCompleted: {
        styleToolTips()
        if (initialPath.length > 0)
            openCard(initialPath)
        if (autotestScript.length > 0)
            scriptRunner.start(autotestScript)
        else
            updateTimer.start()
    }
}
