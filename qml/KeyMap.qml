import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Nivra.Media
import NivraPlayer

// The window's keys. None acts while a text field has the keyboard; Space
// and Enter on a focused button, and the arrows on a control that moves
// with them (a slider, the calendar, a menu), are that control's own.
Item {
    id: keys

    // The whole window: the keys act on all of it, through the window's own
    // functions and the parts below.
    required property ApplicationWindow win
    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    required property TimelineItem timeline
    required property ExportPanel exportPanel
    required property EventList eventList
    required property EventsOnly eventsOnly
    required property TransportBar transportBar
    required property VideoPanel videoPanel
    required property Lazy settingsDialog
    required property Lazy shortcutSheet

    readonly property Item focusItem: win.activeFocusItem
    readonly property bool typing: focusItem !== null && (focusItem instanceof TextInput || focusItem instanceof TextEdit)
    readonly property bool onButton: focusItem !== null && (focusItem instanceof T.AbstractButton
                                                          || focusItem instanceof T.ComboBox)
    readonly property bool arrowsTaken: typing || (focusItem !== null && (focusItem instanceof T.Slider
                                                   || focusItem instanceof T.ComboBox
                                                   || focusItem instanceof ListView
                                                   || focusItem.objectName === "dayGrid"))
                                        || (timeline.activeFocus && timeline.selectionVisible)
    readonly property bool free: !typing

    readonly property var speeds: [1, 2, 4, 8, 16]

    signal bookmarkRequested()

    // Every key, as the shortcut sheet lists it.
    readonly property var table: [
        { keys: qsTr("Space") + " / K", text: qsTr("Play or pause (K: pause at 1×)") },
        { keys: "L", text: qsTr("Play; again: twice as fast, up to 16×") },
        { keys: "J", text: qsTr("Rewind; again: twice as fast, up to 16×") },
        { keys: "[  ]", text: qsTr("Slower, faster") },
        { keys: "←  →", text: qsTr("Back, forward 5 s") },
        { keys: ",  .", text: qsTr("Back, forward one picture") },
        { keys: qsTr("Page Up") + " / " + qsTr("Page Down"), text: qsTr("Previous, next event") },
        { keys: qsTr("Home") + " / " + qsTr("End"), text: qsTr("First, last recording of the day") },
        { keys: "E", text: qsTr("Events only on or off") },
        { keys: "B", text: qsTr("Bookmark the shown picture") },
        { keys: "I  O", text: qsTr("Export from, to the shown picture") },
        { keys: "S", text: qsTr("Save a screenshot") },
        { keys: "M", text: qsTr("Mute or unmute") },
        { keys: "F / F11", text: qsTr("Full screen (Esc leaves it)") },
        { keys: "+  −", text: qsTr("Zoom the timeline in, out") },
        { keys: "0", text: qsTr("Whole picture (after zooming it)") },
        { keys: "Esc", text: qsTr("Close the export editor, a menu or a dialog") },
        { keys: "Esc", text: qsTr("End the search in an area") },
        { keys: "Tab", text: qsTr("Next control (Shift+Tab: previous)") },
        { keys: qsTr("Ctrl+O"), text: qsTr("Open an SD card or folder") },
        { keys: qsTr("Ctrl+,"), text: qsTr("Settings") },
        { keys: qsTr("Ctrl+Q"), text: qsTr("Quit") },
        { keys: "?", text: qsTr("This list") }
    ]

    // ---- Rewinding: key frames further back, faster with each J ----------------------

    property real rewindRate: 0
    property real rewindAt: -1

    function stopRewind() {
        rewindRate = 0
        rewindAt = -1
    }

    Timer {
        interval: 250
        repeat: true
        running: keys.rewindRate > 0
        onTriggered: {
            const card = keys.card
            const first = card.firstPlayableMs
            let target = keys.rewindAt - interval * keys.rewindRate
            // Across a gap: on at the recording before it.
            const key = card.keyframeAtOrBefore(target)
            if (key >= 0)
                target = Math.min(target, key)
            if (target <= first) {
                keys.engine.seek(first, true)
                keys.stopRewind()
                return
            }
            keys.rewindAt = target
            keys.engine.seek(target, true)
        }
    }

    Connections {
        target: keys.engine
        function onPlayingChanged() {
            if (keys.engine.playing)
                keys.stopRewind()
        }
    }

    function rewind() {
        if (engine.playing)
            engine.pause()
        if (rewindRate > 0) {
            rewindRate = Math.min(16, rewindRate * 2)
        } else {
            rewindAt = engine.position
            rewindRate = 1
        }
    }

    function forward() {
        if (rewindRate > 0) {
            stopRewind()
            engine.speed = 1
            engine.play()
        } else if (engine.playing) {
            engine.speed = Math.min(16, engine.speed * 2)
        } else {
            engine.play()
        }
    }

    function stepSpeed(direction) {
        const i = speeds.indexOf(engine.speed)
        engine.speed = speeds[Math.max(0, Math.min(speeds.length - 1, (i < 0 ? 0 : i) + direction))]
    }

    // ---- Events and the day ------------------------------------------------------------

    // The event list's events (its types) in time order.
    function dayEvents() {
        return keys.eventList.model.filter(e => e.playable).map(e => e.startMs).sort((a, b) => a - b)
    }

    function jumpEvent(direction) {
        const starts = dayEvents()
        const p = engine.position
        let target = -1
        if (direction > 0) {
            for (const s of starts) {
                if (s > p + 500) {
                    target = s
                    break
                }
            }
        } else {
            // One that began under 3 s ago counts as not yet left.
            for (let i = starts.length - 1; i >= 0; --i) {
                if (starts[i] < p - 3000) {
                    target = starts[i]
                    break
                }
            }
        }
        if (target < 0) {
            win.toast(direction > 0 ? qsTr("No more events") : qsTr("This is the first event"))
            return
        }
        win.seekInDay(target)
    }

    function dayEdge(last) {
        const day = keys.day
        if (!last) {
            if (day.firstPlayable >= 0)
                win.seekInDay(day.firstPlayable)
            else
                win.toast(win.noPlayableText())
            return
        }
        let end = -1
        for (const c of day.chunks) {
            if (c.playable)
                end = Math.max(end, Math.min(c.endMs, day.dayEnd - 1))
        }
        if (end < 0) {
            win.toast(win.noPlayableText())
            return
        }
        engine.pause()
        engine.seek(end, false)
    }

    // The export selection's start (I) or end (O) at the shown picture; the
    // other end stays where it is when it still lies on its side.
    function markExport(isEnd) {
        if (!exportPanel.open)
            win.openExport()
        if (!exportPanel.open)
            return
        const p = engine.position
        const start = timeline.selStart
        const end = timeline.selEnd
        if (isEnd)
            timeline.setSelection(start >= 0 && start < p - 1000 ? start : Math.max(exportPanel.dayStart, p - 60000), p)
        else
            timeline.setSelection(p, end > p + 1000 ? end : Math.min(exportPanel.dayLast, p + 60000))
    }

    // ---- The keys ----------------------------------------------------------------------

    Shortcut {
        sequence: "Space"
        enabled: keys.free && !keys.onButton
        onActivated: {
            keys.stopRewind()
            keys.engine.togglePlay()
        }
    }
    Shortcut {
        sequence: "K"
        enabled: keys.free
        onActivated: {
            keys.stopRewind()
            keys.engine.pause()
            keys.engine.speed = 1
        }
    }
    Shortcut {
        sequence: "L"
        enabled: keys.free
        onActivated: keys.forward()
    }
    Shortcut {
        sequence: "J"
        enabled: keys.free
        onActivated: keys.rewind()
    }
    Shortcut {
        sequence: "["
        enabled: keys.free
        onActivated: keys.stepSpeed(-1)
    }
    Shortcut {
        sequence: "]"
        enabled: keys.free
        onActivated: keys.stepSpeed(1)
    }
    Shortcut {
        sequence: "B"
        enabled: keys.free && keys.card.isOpen
        onActivated: keys.bookmarkRequested()
    }
    Shortcut {
        sequence: "E"
        enabled: keys.free
        onActivated: keys.eventsOnly.active = !keys.eventsOnly.active
    }
    Shortcut {
        sequence: "Right"
        enabled: !keys.arrowsTaken
        onActivated: keys.engine.seek(keys.engine.position + 5000, false)
    }
    Shortcut {
        sequence: "Left"
        enabled: !keys.arrowsTaken
        onActivated: keys.engine.seek(Math.max(0, keys.engine.position - 5000), false)
    }
    Shortcut {
        sequence: "."
        enabled: keys.free
        onActivated: keys.engine.stepFrame()
    }
    Shortcut {
        sequence: ","
        enabled: keys.free
        onActivated: keys.engine.stepBackFrame()
    }
    Shortcut {
        sequence: "PgDown"
        enabled: keys.free
        onActivated: keys.jumpEvent(1)
    }
    Shortcut {
        sequence: "PgUp"
        enabled: keys.free
        onActivated: keys.jumpEvent(-1)
    }
    Shortcut {
        sequence: "Home"
        enabled: keys.free
        onActivated: keys.dayEdge(false)
    }
    Shortcut {
        sequence: "End"
        enabled: keys.free
        onActivated: keys.dayEdge(true)
    }
    Shortcut {
        sequence: "I"
        enabled: keys.free
        onActivated: keys.markExport(false)
    }
    Shortcut {
        sequence: "O"
        enabled: keys.free
        onActivated: keys.markExport(true)
    }
    Shortcut {
        sequence: "M"
        enabled: keys.free
        onActivated: keys.engine.muted = !keys.engine.muted
    }
    Shortcut {
        sequence: "S"
        enabled: keys.free
        onActivated: keys.transportBar.takeSnapshot()
    }
    Shortcut {
        sequences: ["F", "F11"]
        enabled: keys.free
        onActivated: keys.win.setVideoOnly(!keys.win.videoOnly)
    }
    Shortcut {
        sequence: "0"
        enabled: keys.free
        onActivated: keys.videoPanel.resetZoom()
    }
    Shortcut {
        sequences: ["+", "="]
        enabled: keys.free
        onActivated: keys.timeline.zoomIn()
    }
    Shortcut {
        sequence: "-"
        enabled: keys.free
        onActivated: keys.timeline.zoomOut()
    }
    Shortcut {
        sequence: "Esc"
        enabled: keys.win.videoOnly || ((keys.exportPanel.open && !keys.win.exporting
                                         || keys.videoPanel.picking || keys.videoPanel.searching)
                                        && !keys.settingsDialog.showing && !keys.win.menuOpen)
        onActivated: {
            if (keys.win.videoOnly)
                keys.win.setVideoOnly(false)
            else if (keys.videoPanel.picking || keys.videoPanel.searching)
                keys.videoPanel.endAreaSearch()
            else
                keys.exportPanel.closeEditor()
        }
    }
    Shortcut {
        sequence: StandardKey.Open
        onActivated: keys.win.openFolderDialog()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: keys.win.close()
    }
    Shortcut {
        sequence: "Ctrl+,"
        onActivated: keys.win.openSettings()
    }
    Shortcut {
        sequences: ["?", "F1"]
        enabled: keys.free
        onActivated: keys.shortcutSheet.get().open()
    }
}
