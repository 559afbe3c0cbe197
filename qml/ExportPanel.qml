import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import "Format.js" as Format
import Nivra.Media
import NivraPlayer

// The export editor under the timeline. The timeline owns the range; this
// panel types and steps it, asks the session what it would write, starts
// the export job and keeps the result of the last export it started.
Item {
    id: panel

    // Inputs from the main window.
    property CardSession card: null
    property ExportJob job: null
    property TimelineItem timeline: null
    property real dayStart: 0
    // The next day's start: 23, 24 or 25 hours after dayStart.
    property real dayEnd: 0
    property var dayChunks: []
    property real position: 0
    property string videoDesc
    property string audioDesc
    property bool g711: false
    // The event types the event list shows (bits; 0 = every type).
    property int eventKinds: 0

    // State.
    property bool open: false
    property bool moreOpen: false
    property var plan: ({})
    property string fieldError
    property int errorPart: 0
    property int resultStatus: -1
    property int resultFiles: 0
    property bool resultEvents: false
    // Bumped by every result, so that the text below is made again for it.
    property int resultSerial: 0
    // Made from the result, not stored: a change of language says it again.
    readonly property string resultText: {
        void resultSerial
        const details = job && resultStatus >= 0 ? job.outcomeText() : ""
        switch (resultStatus) {
        case 0:
            return qsTr("%n file(s) exported", "", resultFiles) + (details !== "" ? "\n" + details : "")
        case 1:
            return resultFiles > 0 ? qsTr("Export cancelled. The %n finished file(s) were kept.", "", resultFiles)
                                   : qsTr("Export cancelled")
        case 3:
            return resultEvents ? qsTr("No events of the chosen types on this day.")
                                : qsTr("Nothing to export in this range")
        case 2:
            return details
        default:
            return ""
        }
    }
    property bool submitted: false
    // A word on the selection that is no problem (the range was cut to the day).
    property string notice
    // Each event of the day as a file of its own instead of the range,
    // padded by eventPad seconds before and after.
    property bool eventsMode: false
    // A short window: the summary goes to the title's tooltip and the editor
    // closes from its own header (the timeline's header makes way).
    property bool compact: false
    // The width the editor has without a scroll bar beside it: the fields'
    // columns are chosen for it, so that a scroll bar that only the taller
    // layout needs does not bring that layout about.
    property real roomWidth: width
    property int eventPad: 5
    readonly property var padChoices: [0, 5, 10, 30]

    // Free bytes on the drive of the export folder; -1 when unknown.
    property real freeBytes: -1

    readonly property bool busy: job ? job.running : false
    readonly property bool hasPlan: plan.ok === true
    readonly property int runCount: hasPlan && plan.runs ? plan.runs.length : 0
    readonly property bool merging: !eventsMode && (appSettings.exportMerge || sharing) && runCount > 1
    // A plan of the other mode (for a moment, while the mode changes) counts as none.
    readonly property int fileCount: eventsMode ? (hasPlan && plan.pieces ? plan.pieces.length : 0)
                                                : merging ? 1 : runCount
    readonly property real dayLast: (dayEnd > dayStart ? dayEnd : card ? card.dayEndMs(dayStart) : dayStart) - 1
    readonly property real selStart: timeline ? timeline.selStart : -1
    readonly property real selEnd: timeline ? timeline.selEnd : -1
    readonly property bool hasRange: selStart >= 0 && selEnd > selStart
    readonly property bool hasAudio: audioDesc !== ""
    readonly property bool audioLeftOut: appSettings.exportNoAudio && hasAudio
    // Re-coded copies: the clock burned in, the smaller copy for sharing
    // (always one MP4 with AAC sound, so G.711 no longer blocks MP4).
    readonly property bool recodeAvailable: job !== null && job.recodeAvailable
    readonly property bool burning: appSettings.exportBurnTime && recodeAvailable
    readonly property bool sharing: appSettings.exportShare && recodeAvailable
    readonly property bool mp4Blocked: g711 && !audioLeftOut && !burning && !sharing
    readonly property int format: sharing ? 1 : mp4Blocked ? 0 : appSettings.exportFormat

    // Recorded and missing time of the day's chunks inside the range.
    readonly property var coverage: {
        let covered = 0
        let missing = 0
        if (hasRange && dayChunks) {
            for (let i = 0; i < dayChunks.length; ++i) {
                const c = dayChunks[i]
                const overlap = Math.min(selEnd, c.endMs) - Math.max(selStart, c.startMs)
                if (overlap > 0) {
                    covered += overlap
                    if (!c.playable)
                        missing += overlap
                }
            }
        }
        return { covered: covered, missing: missing }
    }
    readonly property real gapMs: hasRange ? Math.max(0, selEnd - selStart - coverage.covered) : 0
    readonly property real missingMs: coverage.missing

    // What will be written (the range's plan, or the events' in events
    // mode) with 2 % and a reserve: 50 MB, or half the plan for a small one,
    // so that a few MB of clips still fit where a few MB are free.
    readonly property real spaceNeeded: hasPlan ? plan.bytes * 1.02 + Math.min(50000000, plan.bytes * 0.5) : 0
    readonly property bool enoughSpace: !hasPlan || freeBytes < 0 || freeBytes > spaceNeeded
    readonly property bool folderOnCard: card !== null && card.isOpen && appSettings.exportFolder !== ""
                                         && card.holdsFolder(appSettings.exportFolder)
    readonly property string problem: fieldError !== "" ? fieldError
        : !hasPlan ? ""
        : appSettings.exportFolder === "" ? qsTr("Choose where to save the exported files.")
        : folderOnCard ? job.folderOnCardText()
        : !enoughSpace ? qsTr("Not enough free space: %1 left on this drive").arg(Format.sizeText(freeBytes))
        : sharing && !eventsMode ? shareRefusal
        : ""
    // Why the range is too long for the share copy's size; empty when it fits.
    readonly property string shareRefusal: {
        if (!sharing || !hasPlan)
            return ""
        return job.shareRefusal(plan.durationMs, appSettings.exportShareMb)
    }
    readonly property bool canExport: open && (hasRange || eventsMode) && hasPlan && problem === "" && !busy
    readonly property var names: merging ? [plan.mergedName] : (hasPlan && plan.names ? plan.names : [])
    readonly property bool menuOpen: formatField.open || gapsField.open || padField.open || shareSizeBox.open
    readonly property string summary: {
        if (eventsMode && hasPlan && plan.pieces) {
            const parts = [qsTr("%n event(s)", "", plan.events), qsTr("%n file(s)", "", fileCount),
                           qsTr("about %1").arg(Format.sizeText(plan.bytes))]
            if (audioLeftOut)
                parts.push(qsTr("no audio"))
            return parts.join("  ·  ")
        }
        if (eventsMode || !hasRange || fieldError !== "" || !hasPlan)
            return ""
        const parts = [qsTr("Recorded %1").arg(durationText(plan.durationMs))]
        if (gapMs >= 1000)
            parts.push(qsTr("Skip gaps %1").arg(durationText(gapMs)))
        if (missingMs >= 1000)
            parts.push(qsTr("Missing files %1").arg(durationText(missingMs)))
        parts.push(qsTr("%n file(s)", "", fileCount))
        parts.push(qsTr("about %1").arg(Format.sizeText(plan.bytes)))
        if (audioLeftOut)
            parts.push(qsTr("no audio"))
        return parts.join("  ·  ")
    }

    // For script mode: the two fields as they read now.
    readonly property string startText: startField.text
    readonly property string endText: endField.text

    // Set while the "no recording" line is the field error, so that a plan
    // found again clears that line and no other.
    property bool noRecordingShown: false

    // The last range the editor held, so that a time-mode switch (which
    // gives the day a new start and so clears the timeline's selection)
    // keeps the range and shows it in the new mode's clock.
    property real keptStart: -1
    property real keptEnd: -1

    // The same moments stay selected in the new time mode; what of them no
    // longer falls on the day is cut off, and that is said.
    function followTimeMode() {
        if (!open || !timeline)
            return
        if (!hasRange && keptEnd > keptStart) {
            const a = Math.max(keptStart, dayStart)
            const b = Math.min(keptEnd, dayLast)
            if (b - a >= 1000) {
                const cut = a !== keptStart || b !== keptEnd
                timeline.setSelection(a, b)
                notice = cut ? qsTr("In this time mode the range crosses midnight: the part on this day stays selected.")
                             : ""
            } else if (!eventsMode) {
                setError(qsTr("In this time mode the range lies on another day: select it again."), 3)
            }
        }
        syncFields(true)
        replan()
    }

    implicitHeight: open ? column.implicitHeight + 10 : 0
    visible: open
    clip: true

    onFormatChanged: {
        if (open && !busy) {
            clearResult()
            replan()
        }
    }

    function durationText(ms) {
        return TextRules.durationText(ms)
    }


    function clearResult() {
        resultStatus = -1
    }

    function setError(text, part) {
        fieldError = text
        errorPart = part
        noRecordingShown = false
    }

    function firstPlayableChunk() {
        if (!dayChunks)
            return null
        for (let i = 0; i < dayChunks.length; ++i) {
            if (dayChunks[i].playable)
                return dayChunks[i]
        }
        return null
    }

    function clock(ms) {
        if (ms < 0 || !card)
            return ""
        return card.formatInputTime(ms).slice(-8)
    }

    // The UTC offset of a time the clock shows twice (the hour a clock
    // change repeats), so that the user sees which one is meant.
    function offsetNote(ms) {
        return card && card.isOpen && ms >= 0 && card.isRepeatedTime(ms) ? card.offsetLabel(ms) : ""
    }

    // A typed HH:MM[:SS] of the day; a time the clock shows twice means the
    // occurrence nearer near (the bound the field showed).
    function parseClock(s, near) {
        if (!card)
            return -1
        const m = /^(\d{1,2}):(\d{2})(?::(\d{2}))?$/.exec(String(s).trim())
        if (!m)
            return -1
        const h = parseInt(m[1], 10)
        const min = parseInt(m[2], 10)
        const sec = m[3] === undefined ? 0 : parseInt(m[3], 10)
        if (h >= 24 || min >= 60 || sec >= 60)
            return -1
        const date = card.formatInputTime(dayStart + 43200000).slice(0, 10)
        const hh = (h < 10 ? "0" : "") + h
        return card.parseInputTimeNear(date + " " + hh + ":" + m[2] + ":" + (m[3] === undefined ? "00" : m[3]),
                                       near === undefined ? -1 : near)
    }

    function syncFields(force) {
        if (!timeline)
            return
        if (force || !startField.editing)
            startField.text = clock(timeline.selStart)
        if (force || !endField.editing)
            endField.text = clock(timeline.selEnd)
    }

    function validateFields() {
        const a = parseClock(startField.text, selStart)
        const b = parseClock(endField.text, selEnd)
        if (a < 0 || b < 0) {
            setError(qsTr("Enter a valid time, for example 14:30:00."), (a < 0 ? 1 : 0) | (b < 0 ? 2 : 0))
            return false
        }
        if (b <= a) {
            setError(qsTr("End time must be later than start time."), 2)
            return false
        }
        setError("", 0)
        return true
    }

    function liveEdit() {
        const a = parseClock(startField.text, selStart)
        const b = parseClock(endField.text, selEnd)
        if (a >= 0 && b > a) {
            setError("", 0)
            timeline.setSelection(a, b)
        }
    }

    function commitFields(reveal) {
        if (!validateFields())
            return false
        timeline.setSelection(parseClock(startField.text, selStart), parseClock(endField.text, selEnd))
        syncFields(true)
        if (reveal)
            revealRange()
        return true
    }

    function stepField(part, segment, direction) {
        liveEdit()
        const unit = segment === 0 ? 3600000 : segment === 1 ? 60000 : 1000
        timeline.nudgeSelection(part, direction * unit)
        // The field keeps the focus, so the selection's own update skips it.
        const field = part === 1 ? startField : endField
        field.text = clock(part === 1 ? timeline.selStart : timeline.selEnd)
        field.selectSegment(segment)
    }

    function revealRange() {
        if (timeline && hasRange)
            timeline.revealRange(selStart, selEnd)
    }

    function setDefaultRange() {
        if (!card || !card.isOpen || !timeline || !(dayStart > 0))
            return false
        const first = firstPlayableChunk()
        let p
        if (position >= dayStart && position <= dayLast)
            p = position
        else if (first)
            p = Math.max(first.startMs, dayStart)
        else
            return false
        let a = dayStart + Math.floor((p - dayStart) / 3600000) * 3600000
        let b = Math.min(dayLast, a + 3600000)
        if (card.exportPlan(a, b).ok !== true) {
            if (!first)
                return false
            a = Math.floor(Math.max(first.startMs, dayStart) / 1000) * 1000
            b = Math.min(Math.ceil(first.endMs / 1000) * 1000, dayLast, a + 3600000)
        }
        timeline.setSelection(a, Math.max(a + 1000, b))
        if (timeline.zoom === 0)
            timeline.zoom = 1
        revealRange()
        return true
    }

    function openEditor(useExisting) {
        if (!card || !card.isOpen || !firstPlayableChunk())
            return false
        if (!(useExisting && hasRange) && !setDefaultRange())
            return false
        if (appSettings.exportFolder === "" && job)
            appSettings.exportFolder = job.nativePath(job.defaultFolder())
        if (!busy)
            clearResult()
        setError("", 0)
        open = true
        keptStart = selStart
        keptEnd = selEnd
        syncFields(true)
        replan()
        return true
    }

    function closeEditor() {
        if (busy)
            return
        replanTimer.stop()
        keptStart = -1
        keptEnd = -1
        notice = ""
        open = false
        moreOpen = false
        clearResult()
    }

    function resetForDay() {
        if (busy)
            return
        replanTimer.stop()
        keptStart = -1
        keptEnd = -1
        open = false
        moreOpen = false
        eventsMode = false
        clearResult()
        plan = ({})
        setError("", 0)
        if (timeline)
            timeline.clearSelection()
    }

    function replan() {
        replanTimer.stop()
        if (eventsMode) {
            plan = card ? card.eventExportPlan(dayStart, dayLast, eventKinds === 0 ? 0x1F : eventKinds,
                                               eventPad, format) : ({})
            if (plan.ok === true)
                setError("", 0)
            else
                setError(qsTr("No events of the chosen types on this day."), 0)
            return
        }
        const next = hasRange && card ? card.exportPlan(selStart, selEnd, format) : ({})
        plan = next
        if (next.ok === true) {
            if (noRecordingShown)
                setError("", 0)
        } else if (hasRange && fieldError === "") {
            setError(qsTr("There is no recording in this range. Adjust the selection."), 0)
            noRecordingShown = true
        }
    }

    function startExport() {
        if (busy || (!eventsMode && !commitFields(false)))
            return
        replan()
        if (!canExport)
            return
        clearResult()
        submitted = true
        // An evidence package always carries the camera's time on the clip.
        const evidence = appSettings.exportEvidence && job.evidenceAvailable
        const timeTrack = appSettings.exportTimeTrack || evidence
        job.evidence = evidence
        job.burnTime = burning
        job.shareCopy = sharing
        job.shareMb = appSettings.exportShareMb
        const started = eventsMode
            ? job.startEvents(card, dayStart, dayLast, eventKinds === 0 ? 0x1F : eventKinds, eventPad,
                              !audioLeftOut, appSettings.exportFolder, format, timeTrack)
            : job.start(card, selStart, selEnd, appSettings.exportMerge, !audioLeftOut,
                        appSettings.exportFolder, plan.bytes, format, timeTrack)
        if (!started)
            submitted = false
    }

    // Switches between the range and the events of the day.
    function setEventsMode(on, pad) {
        if (pad !== undefined)
            eventPad = pad
        eventsMode = on
        if (!busy)
            clearResult()
        setError("", 0)
        replan()
    }

    onEventKindsChanged: {
        if (eventsMode && open && !busy)
            replan()
    }

    function setMode(merge) {
        appSettings.exportMerge = merge
        clearResult()
        replan()
    }

    function setFolder(path) {
        appSettings.exportFolder = path
    }

    function setAudio(on) {
        appSettings.exportNoAudio = !on
    }

    function openMenu(which) {
        if (which === "gaps")
            gapsField.openMenu()
        else if (which === "pad")
            padField.openMenu()
        else
            formatField.openMenu()
    }

    function typeField(part, text) {
        const field = part === 1 ? startField : endField
        field.text = text
        commitFields(true)
    }

    Timer {
        id: replanTimer
        interval: 120
        onTriggered: panel.replan()
    }

    Connections {
        target: panel.timeline
        function onSelectionChanged() {
            if (panel.hasRange) {
                panel.keptStart = panel.selStart
                panel.keptEnd = panel.selEnd
            }
            panel.syncFields(false)
            if (panel.open) {
                panel.setError("", 0)
                panel.notice = ""
                if (!panel.busy)
                    panel.clearResult()
                replanTimer.restart()
            }
        }
        function onSelectionFinished() {
            if (!panel.open)
                panel.openEditor(true)
            else
                replanTimer.restart()
        }
    }

    Connections {
        target: panel.card
        // Later, once the day's start has been re-derived for the new mode.
        function onTimeModeChanged() {
            Qt.callLater(panel.followTimeMode)
        }
    }

    Connections {
        target: panel.job
        function onFinished(status, message, files) {
            if (!panel.submitted)
                return
            panel.submitted = false
            panel.resultFiles = files
            panel.resultEvents = panel.eventsMode
            panel.resultStatus = status
            panel.resultSerial++
        }
    }

    Lazy {
        id: folderDialog
        sourceComponent: FolderDialog {
            title: qsTr("Save the exported files to")
            onAccepted: appSettings.exportFolder = panel.job.localPath(selectedFolder)
        }
    }

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        spacing: 8

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Style.border
        }

        RowLayout {
            id: heading
            Layout.fillWidth: true
            spacing: 12

            readonly property bool summaryFits:
                width - title.implicitWidth - eventsBox.implicitWidth - moreButton.implicitWidth
                - (panel.compact ? closeButton.implicitWidth + spacing : 0) - 3 * spacing
                >= summaryMetrics.advanceWidth + 1

            TextMetrics {
                id: summaryMetrics
                font.pixelSize: 11
                text: panel.summary
            }

            Text {
                textFormat: Text.PlainText
                id: title
                text: qsTr("Export video")
                font.pixelSize: 13
                font.weight: Font.DemiBold
                color: Style.text
                HoverHandler {
                    id: titleHover
                }
                ToolTip.visible: panel.compact && !heading.summaryFits && titleHover.hovered && panel.summary !== ""
                ToolTip.text: panel.summary
            }

            FlatCheckBox {
                id: eventsBox
                objectName: "eventsBox"
                font.pixelSize: 12
                text: qsTr("Events of this day")
                checked: panel.eventsMode
                enabled: !panel.busy
                onToggled: panel.setEventsMode(checked)
                ToolTip.visible: hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Each event of the types the event list shows, as a file of its own")
            }

            Text {
                textFormat: Text.PlainText
                // Only the room the title, the check box and the button leave.
                Layout.fillWidth: true
                Layout.preferredWidth: 0
                text: heading.summaryFits ? panel.summary : ""
                font.pixelSize: 11
                color: Style.muted
                horizontalAlignment: Text.AlignRight
            }

            OutlineButton {
                id: moreButton
                quiet: true
                implicitHeight: 26
                font.pixelSize: 12
                text: panel.moreOpen ? qsTr("Fewer options") : qsTr("More options")
                enabled: !panel.busy
                onClicked: panel.moreOpen = !panel.moreOpen
            }

            OutlineButton {
                id: closeButton
                objectName: "compactClose"
                // Always in the layout, without width when not compact: a
                // button made visible by a resize was left where the layout
                // first put it, over the title.
                Layout.preferredWidth: panel.compact ? implicitWidth : 0
                opacity: panel.compact ? 1 : 0
                implicitHeight: 26
                font.pixelSize: 12
                text: qsTr("Close export")
                enabled: panel.compact && !panel.busy
                onClicked: panel.closeEditor()
            }
        }

        Text {
            textFormat: Text.PlainText
            id: summaryLine
            Layout.fillWidth: true
            visible: !heading.summaryFits && panel.summary !== "" && !panel.compact
            text: panel.summary
            font.pixelSize: 11
            color: Style.muted
            elide: Text.ElideRight
            ToolTip.visible: truncated && summaryHover.hovered
            ToolTip.text: panel.summary
            HoverHandler {
                id: summaryHover
            }
        }

        GridLayout {
            id: fields
            Layout.fillWidth: true
            // All in one row where they fit; else three to a row, never cut
            // (the narrow window with a scroll bar beside the editor).
            readonly property real rowWidth: startField.Layout.preferredWidth + endField.Layout.preferredWidth
                                             + formatField.Layout.preferredWidth + gapsField.Layout.preferredWidth
                                             + exportButton.Layout.minimumWidth + 4 * columnSpacing
            columns: panel.roomWidth >= rowWidth ? 5 : panel.roomWidth >= 500 ? 3 : 2
            // Closer together in a short window, so that one row holds them.
            columnSpacing: panel.compact ? 8 : 10
            rowSpacing: 10
            enabled: !panel.busy

            OptionField {
                id: padField
                objectName: "padField"
                visible: panel.eventsMode
                label: qsTr("Before and after each event")
                // Wide enough for its label, which is longer than its choices.
                minimumPreferred: Math.ceil(padLabel.advanceWidth) + 2
                maximumPreferred: Math.max(240, minimumPreferred)
                Layout.fillWidth: fields.columns !== 5

                TextMetrics {
                    id: padLabel
                    font.pixelSize: 11
                    text: padField.label
                }
                options: panel.padChoices.map(s => ({
                    name: s === 0 ? qsTr("No padding") : qsTr("%1 s").arg(s),
                    description: s === 0 ? qsTr("Just the events") : qsTr("%1 s before and after").arg(s),
                    enabled: true }))
                currentIndex: Math.max(0, panel.padChoices.indexOf(panel.eventPad))
                onActivated: (index) => panel.setEventsMode(true, panel.padChoices[index])
            }

            TimeField {
                id: startField
                objectName: "startField"
                visible: !panel.eventsMode
                label: qsTr("Start time")
                note: panel.offsetNote(panel.selStart)
                Layout.preferredWidth: panel.compact ? 104 : 112
                invalid: (panel.errorPart & 1) !== 0
                Layout.fillWidth: fields.columns !== 5
                onEdited: panel.liveEdit()
                onStepRequested: (segment, direction) => panel.stepField(1, segment, direction)
                // Closing the editor takes the focus too; that is no commit.
                onCommitRequested: (reveal) => {
                    if (panel.open)
                        panel.commitFields(reveal)
                }
                onRestored: {
                    panel.liveEdit()
                    panel.validateFields()
                }
            }

            TimeField {
                id: endField
                objectName: "endField"
                visible: !panel.eventsMode
                label: qsTr("End time")
                note: panel.offsetNote(panel.selEnd)
                Layout.preferredWidth: panel.compact ? 104 : 112
                invalid: (panel.errorPart & 2) !== 0
                Layout.fillWidth: fields.columns !== 5
                onEdited: panel.liveEdit()
                onStepRequested: (segment, direction) => panel.stepField(2, segment, direction)
                // Closing the editor takes the focus too; that is no commit.
                onCommitRequested: (reveal) => {
                    if (panel.open)
                        panel.commitFields(reveal)
                }
                onRestored: {
                    panel.liveEdit()
                    panel.validateFields()
                }
            }

            OptionField {
                id: formatField
                objectName: "formatField"
                label: qsTr("Format")
                Layout.fillWidth: fields.columns !== 5
                options: [
                    { name: qsTr("MOV · Recommended"),
                      description: qsTr("Supports AAC, G.711 and silent recordings"),
                      enabled: true },
                    { name: qsTr("MP4"),
                      description: panel.mp4Blocked ? qsTr("MP4 is unavailable for this G.711 audio recording")
                                                     : qsTr("For AAC audio or silent recordings"),
                      enabled: !panel.mp4Blocked }
                ]
                currentIndex: panel.format
                // The share copy is always one MP4.
                enabled: !panel.sharing
                onActivated: (index) => {
                    appSettings.exportFormat = index
                    panel.clearResult()
                }
            }

            OptionField {
                id: gapsField
                objectName: "gapsField"
                // The share copy is always one file, which its line says.
                visible: !panel.eventsMode && !panel.sharing
                label: qsTr("Recording gaps")
                minimumPreferred: 128
                Layout.fillWidth: fields.columns !== 5
                options: [
                    { name: qsTr("Separate files"),
                      description: qsTr("Save each recorded interval as a separate file"),
                      enabled: true },
                    { name: qsTr("Merge into one file"),
                      description: qsTr("Skip gaps and merge recordings in chronological order"),
                      enabled: true }
                ]
                currentIndex: appSettings.exportMerge ? 1 : 0
                onActivated: (index) => panel.setMode(index === 1)
            }

            PrimaryButton {
                id: exportButton
                objectName: "exportButton"
                text: qsTr("Export video")
                font.pixelSize: 13
                font.weight: Font.DemiBold
                Layout.preferredHeight: 44
                Layout.minimumWidth: Math.max(116, implicitWidth)
                Layout.alignment: Qt.AlignBottom
                enabled: panel.canExport
                ToolTip.visible: hovered
                ToolTip.delay: 600
                ToolTip.text: panel.eventsMode ? qsTr("Export each event as a file of its own")
                                               : qsTr("Export the selected recording range")
                onClicked: panel.startExport()
            }
        }

        Text {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            visible: panel.problem !== "" && !panel.busy
            text: panel.problem
            font.pixelSize: 11
            color: Style.error
            wrapMode: Text.Wrap
        }

        Text {
            objectName: "notice"
            textFormat: Text.PlainText
            Layout.fillWidth: true
            visible: panel.notice !== "" && panel.problem === "" && !panel.busy
            text: panel.notice
            font.pixelSize: 11
            color: Style.muted
            wrapMode: Text.Wrap
        }

        Text {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            visible: panel.mp4Blocked && panel.problem === "" && !panel.busy
            text: qsTr("MOV is required to preserve the G.711 audio in this recording.")
            font.pixelSize: 11
            color: Style.muted
            wrapMode: Text.Wrap
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            visible: panel.busy || panel.resultStatus >= 0

            Rectangle {
                id: progressTrack
                objectName: "progressTrack"
                visible: panel.busy || panel.resultStatus === 0
                // Half the row while an export runs, whatever the text beside
                // it says (the time left comes after a moment).
                Layout.preferredWidth: panel.busy ? Math.round(panel.width * 0.5) : 160
                Layout.maximumWidth: Layout.preferredWidth
                Layout.preferredHeight: 6
                radius: 3
                color: Style.track

                Rectangle {
                    height: parent.height
                    radius: parent.radius
                    width: parent.width * (panel.busy ? Math.max(0, Math.min(1, panel.job.progress)) : 1)
                    color: Style.primary
                }
            }

            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                font.pixelSize: 12
                color: panel.resultStatus === 2 && !panel.busy ? Style.error : Style.text2
                wrapMode: Text.Wrap
                text: {
                    if (!panel.busy)
                        return panel.resultText
                    let line = qsTr("%1 of %2").arg(Format.sizeText(panel.job.doneBytes))
                                               .arg(Format.sizeText(panel.job.totalBytes))
                    if (panel.job.etaSec >= 0)
                        line += "  ·  " + qsTr("about %1 left").arg(panel.durationText(panel.job.etaSec * 1000))
                    return line
                }
            }

            OutlineButton {
                visible: panel.busy
                text: qsTr("Cancel export")
                onClicked: panel.job.cancel()
            }

            OutlineButton {
                visible: !panel.busy && (panel.resultStatus === 0 || panel.resultStatus === 1)
                         && panel.job !== null && panel.job.files.length > 0
                text: qsTr("Show in folder")
                onClicked: panel.job.reveal(panel.job.files[panel.job.files.length - 1])
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            visible: panel.moreOpen
            enabled: !panel.busy
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                spacing: 10

                Text {
                    textFormat: Text.PlainText
                    text: qsTr("Save to")
                    font.pixelSize: 11
                    color: Style.text2
                }

                FlatTextField {
                    id: folderField
                    Layout.fillWidth: true
                    implicitHeight: 30
                    font.pixelSize: 12
                    text: appSettings.exportFolder
                    placeholderText: panel.job ? panel.job.nativePath(panel.job.defaultFolder()) : ""
                    onEditingFinished: appSettings.exportFolder = text.trim()
                }

                OutlineButton {
                    text: qsTr("Browse...")
                    implicitHeight: 30
                    onClicked: {
                        const folder = appSettings.exportFolder !== "" ? appSettings.exportFolder
                                                                      : panel.job.defaultFolder()
                        const dialog = folderDialog.get()
                        dialog.currentFolder = panel.job.folderUrl(folder)
                        dialog.open()
                    }
                }
            }

            FlatCheckBox {
                objectName: "noAudioBox"
                visible: panel.hasAudio
                text: qsTr("Leave the audio out")
                checked: appSettings.exportNoAudio
                onToggled: appSettings.exportNoAudio = checked
            }

            // Stream copy still: a subtitle track beside the pictures, which
            // players show and can hide.
            FlatCheckBox {
                objectName: "timeTrackBox"
                text: qsTr("Camera time as subtitles")
                checked: appSettings.exportTimeTrack || evidenceBox.checked
                enabled: !evidenceBox.checked
                onToggled: {
                    appSettings.exportTimeTrack = checked
                    checked = Qt.binding(() => appSettings.exportTimeTrack || evidenceBox.checked)
                }
            }

            // Hashes of the clips and of the card's files, and a report.
            FlatCheckBox {
                id: evidenceBox
                objectName: "evidenceBox"
                visible: panel.job && panel.job.evidenceAvailable
                text: qsTr("Evidence package (report and SHA-256 hashes)")
                checked: appSettings.exportEvidence && visible
                onToggled: {
                    appSettings.exportEvidence = checked
                    checked = Qt.binding(() => appSettings.exportEvidence && visible)
                }
            }

            // Re-coded copies: slower than a copy, and said so below.
            Flow {
                Layout.fillWidth: true
                visible: panel.recodeAvailable
                spacing: 16

                FlatCheckBox {
                    objectName: "burnTimeBox"
                    text: qsTr("Burn in the time")
                    checked: appSettings.exportBurnTime
                    onToggled: appSettings.exportBurnTime = checked
                }

                RowLayout {
                    spacing: 8
                    FlatCheckBox {
                        objectName: "shareBox"
                        text: qsTr("Smaller copy for sharing")
                        checked: appSettings.exportShare
                        onToggled: appSettings.exportShare = checked
                    }
                    FlatComboBox {
                        id: shareSizeBox
                        objectName: "shareSizeBox"
                        readonly property var sizes: panel.job ? panel.job.shareSizes() : []
                        enabled: panel.sharing
                        implicitHeight: 28
                        // As wide as the longest entry in the language shown.
                        Layout.preferredWidth: Math.ceil(sizeMetrics.advanceWidth) + leftPadding + rightPadding + 4
                        font.pixelSize: 11
                        TextMetrics {
                            id: sizeMetrics
                            font: shareSizeBox.font
                            text: shareSizeBox.model.reduce((a, b) => a.length >= b.length ? a : b, "")
                        }
                        model: sizes.map(mb => qsTr("under %1 MB").arg(mb))
                        currentIndex: model, Math.max(0, sizes.indexOf(appSettings.exportShareMb))
                        onActivated: index => appSettings.exportShareMb = sizes[index]
                    }
                }
            }

            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                font.pixelSize: 11
                color: Style.muted
                wrapMode: Text.Wrap
                text: {
                    if (panel.sharing)
                        return qsTr("Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB")
                            .arg(appSettings.exportShareMb)
                            + (panel.burning ? "  ·  " + qsTr("the time drawn in") : "")
                    if (panel.burning)
                        return qsTr("Re-coded as H.264 with the time drawn in; this takes longer than a copy")
                    const streams = [panel.videoDesc]
                    if (panel.hasAudio && !panel.audioLeftOut)
                        streams.push(panel.audioDesc)
                    let line = qsTr("Copied as recorded (%1), not converted")
                        .arg(streams.filter(s => s !== "").join(", "))
                    if (!panel.eventsMode && panel.hasPlan && panel.plan.startMs >= panel.selStart + 1000
                            && panel.gapMs < 1000 && panel.missingMs < 1000)
                        line += "  ·  " + qsTr("Starts at the key frame %1").arg(panel.clock(panel.plan.startMs))
                    return line
                }
            }

            Text {
                textFormat: Text.PlainText
                id: namesLine
                Layout.fillWidth: true
                visible: panel.names.length > 0
                font.pixelSize: 11
                color: Style.muted
                elide: Text.ElideRight
                text: {
                    const n = panel.names
                    let line = qsTr("File names") + ":  " + n.slice(0, 2).join(",  ")
                    if (n.length > 2)
                        line += "  " + qsTr("… and %n more", "", n.length - 2)
                    return line
                }
                ToolTip.visible: (truncated || panel.names.length > 2) && namesHover.hovered
                ToolTip.text: panel.names.join("\n")
                HoverHandler {
                    id: namesHover
                }
            }
        }
    }
}
