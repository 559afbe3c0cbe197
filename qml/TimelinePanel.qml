import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import NivraPlayer
import Nivra.Media

// The day timeline with its header, zoom row, legend, help line and the
// export editor underneath.
Rectangle {
    id: panel

    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    required property ExportJob job
    required property ActivityModel activity
    property Bookmarks bookmarks: null
    // Codec and picture size, for the export editor.
    required property string videoDesc
    // The event types the event list shows, which an events export takes.
    property int eventKinds: 0
    readonly property bool exporting: job.running
    readonly property alias timeline: timeline
    readonly property alias exportPanel: exportPanel
    readonly property alias legend: legend
    readonly property alias hoverPreview: preview

    signal exportRequested()
    signal toastRequested(string text)

    FolderSpace {
        id: space
        folder: appSettings.exportFolder
    }
    // An export fills the drive; measured again as it starts and ends.
    Connections {
        target: panel.job
        function onRunningChanged() {
            space.refresh()
        }
    }
    // The most the panel may take; the export editor scrolls inside it
    // rather than squeeze the video (the window sets it).
    property real maxHeight: Infinity
    // Everything but the editor: margins, header, timeline, zoom row and
    // the spacing between them and before the editor.
    readonly property real zoomRowHeight: zoomRow.implicitHeight + column.spacing
    readonly property real headerHeight: header.visible ? header.implicitHeight + column.spacing : 0
    readonly property real fixedHeight: 16 + headerHeight + timeline.Layout.preferredHeight
                                        + column.spacing + (zoomRow.visible ? zoomRowHeight : 0)
    // A short window with the editor open (1100 × 700): the timeline's
    // header and some of its height make way, so that a row of the
    // editor's fields and its button show whole.
    readonly property bool squeezed: exportPanel.open && maxHeight < 330
    readonly property real editorRoom: Math.max(0, maxHeight - fixedHeight)
    // In a short window the zoom buttons make way for the editor (the wheel
    // and the + and - keys still zoom) rather than have it scroll.
    readonly property bool zoomRowFits: !exportPanel.open
        || maxHeight - (16 + headerHeight + timeline.Layout.preferredHeight + column.spacing
                        + zoomRowHeight) >= exportPanel.implicitHeight

    implicitHeight: column.implicitHeight + 16
    radius: Style.panelRadius
    color: Style.panel
    border.color: Style.border
    clip: true

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 8
        spacing: 6

        RowLayout {
            id: header
            visible: !panel.squeezed
            Layout.fillWidth: true
            Layout.preferredHeight: 28
            implicitHeight: 28
            spacing: 10

            Label {
                textFormat: Text.PlainText
                text: qsTr("Recording timeline")
                font.pixelSize: 12
                font.weight: Font.DemiBold
                color: Style.text
            }
            Label {
                textFormat: Text.PlainText
                id: dateLabel
                // Elides by design, with the full text as a tooltip.
                readonly property bool elidesWithTip: true
                Layout.fillWidth: true
                font.pixelSize: 11
                color: Style.muted
                elide: Text.ElideRight
                text: panel.day.year > 0
                      ? panel.card.formatDate(panel.day.dayStart + 43200000) + " · "
                        + (panel.card.timeMode === 0 ? qsTr("Camera time") : qsTr("This computer"))
                      : ""
                HoverHandler {
                    id: dateHover
                }
                ToolTip.visible: dateHover.hovered && truncated
                ToolTip.text: text
            }
            Label {
                textFormat: Text.PlainText
                objectName: "analysing"
                visible: panel.activity.analysing
                text: qsTr("Analysing… %1 %").arg(panel.activity.progress)
                font.pixelSize: 11
                color: Style.muted
            }
            Label {
                textFormat: Text.PlainText
                text: qsTr("Current time")
                font.pixelSize: 11
                color: Style.muted
            }
            Label {
                textFormat: Text.PlainText
                objectName: "currentTime"
                // Naming the time mode re-reads the clock when it changes.
                text: panel.day.hasPlayable && panel.engine.position > 0
                      ? panel.day.positionClock : "--:--:--"
                font.pixelSize: 12
                font.family: Style.mono
                font.weight: Font.Medium
                color: Style.text
            }
            OutlineButton {
                implicitHeight: 32
                Layout.minimumWidth: 110
                text: panel.exporting ? qsTr("Exporting…")
                    : exportPanel.open ? qsTr("Close export") : qsTr("Export")
                enabled: panel.day.hasPlayable && !panel.exporting
                onClicked: exportPanel.open ? exportPanel.closeEditor() : panel.exportRequested()
            }
        }

        TimelineItem {
            id: timeline
            Layout.fillWidth: true
            // Its marker reaches 92 px down, the landing's diamond 106.
            Layout.preferredHeight: panel.squeezed ? 94 : 110
            card: panel.card
            activity: panel.activity
            bookmarks: panel.bookmarks
            dayStart: panel.day.dayStart
            dayEnd: panel.day.dayEnd
            position: panel.engine.position

            FocusRing {
                control: timeline
                cornerRadius: 4
            }
            darkTheme: Style.dark
            selectionVisible: exportPanel.open && !exportPanel.eventsMode
            selectionEditable: !panel.exporting
            selectionLabel: selStart >= 0 ? exportPanel.durationText(selEnd - selStart) : ""
            snapEnabled: snapBox.checked
            onSeekRequested: (ms, snap) => panel.engine.seek(ms, snap)
            onMissingClicked: ms => panel.toastRequested(qsTr("The recording file for %1 is not in this folder")
                                                         .arg(panel.card.formatClock(ms, true)))
            onNothingAfter: panel.toastRequested(qsTr("No recordings after this time"))

            ToolTip {
                id: hoverTip
                // The time under the pointer, as the timeline maps it.
                readonly property real hoverMs: timeline.viewStart
                    + Math.round(timeline.viewSpan * timeline.hoverX / Math.max(timeline.width, 1))
                objectName: "hoverTip"
                visible: timeline.hoverText.length > 0
                delay: 0
                text: timeline.hoverText
                // Inside the timeline, beside the pointer (right of it, or
                // left where there is no room): above it, the picture covered
                // the transport bar's controls.
                readonly property real gap: 12
                y: Math.max(0, Math.round((timeline.height - height) / 2))
                x: timeline.hoverX + gap + width <= timeline.width ? timeline.hoverX + gap
                   : Math.max(0, timeline.hoverX - gap - width)
                padding: 3
                background: Rectangle {
                    radius: 6
                    color: Style.video
                    border.color: Style.borderStrong
                }
                contentItem: Column {
                    spacing: 2
                    // A small picture of the key frame there, over recorded time.
                    TimelinePreview {
                        id: preview
                        anchors.horizontalCenter: parent.horizontalCenter
                        card: panel.card
                        timeMs: hoverTip.visible && panel.card.isOpen && panel.card.kindAt(hoverTip.hoverMs) === 0
                                ? hoverTip.hoverMs : -1
                        visible: timeMs >= 0 && shownKeyframeMs >= 0
                        // Small enough that the tip stays within the timeline's height.
                        width: 128
                        height: 72
                        // The previous picture, dimmed, until the new one is in.
                        opacity: ready ? 1 : 0.5
                    }
                    Label {
                        textFormat: Text.PlainText
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: hoverTip.text
                        font.pixelSize: 11
                        color: hoverTip.palette.toolTipText
                    }
                }
            }
        }

        RowLayout {
            id: zoomRow
            Layout.fillWidth: true
            visible: panel.zoomRowFits
            spacing: 4

            Repeater {
                model: ["24h", "6h", "1h", "10m", "1m"]
                delegate: Button {
                    id: zoomButton
                    required property int index
                    required property string modelData
                    readonly property bool current: timeline.zoom === index
                    implicitWidth: 40
                    implicitHeight: 22
                    padding: 0
                    hoverEnabled: true
                    focusPolicy: Qt.TabFocus
                    text: modelData
                    onClicked: timeline.zoom = index
                    contentItem: Text {
                        textFormat: Text.PlainText
                        text: zoomButton.text
                        font.pixelSize: 12
                        font.family: zoomButton.font.family
                        color: zoomButton.current ? Style.inkOnAccent : Style.text2
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }
                    background: Rectangle {
                        FocusRing {
                            control: zoomButton
                            cornerRadius: 3
                        }
                        radius: 3
                        color: zoomButton.current ? Style.primary
                             : zoomButton.hovered ? Style.subtleFill : Style.panel
                        border.width: zoomButton.current ? 0 : 1
                        border.color: Style.borderStrong
                    }
                }
            }
            Item {
                Layout.fillWidth: true
            }
            FlatCheckBox {
                id: snapBox
                objectName: "snapBox"
                font.pixelSize: 12
                text: qsTr("Snap to keyframes")
                checked: appSettings.snap
                onToggled: appSettings.snap = checked
                ToolTip.visible: hovered
                ToolTip.delay: 600
                ToolTip.text: qsTr("Hold Alt while dragging to skip snapping")
            }
            Legend {
                id: legend
                objectName: "timelineLegend"
                Layout.leftMargin: 8
                // Swatches only when the full legend would not fit beside
                // the buttons and the check box.
                compact: column.width - (5 * 40 + 4 * 4 + 2 * 4 + Math.ceil(snapBox.implicitWidth) + 4 + 8) < lineWidth
                items: [
                    { text: qsTr("Recording"), color: Style.recording, shape: "box", border: false },
                    { text: qsTr("Event"), color: Style.event, shape: "box", border: false },
                    { text: qsTr("No recording"), color: Style.track, shape: "box", border: true },
                    { text: qsTr("File missing"), color: Style.missing, shape: "hatch", border: false }
                ]
            }
        }

        Label {
            textFormat: Text.PlainText
            id: helpLine
            // Elides by design, with the full text as a tooltip.
            readonly property bool elidesWithTip: true
            Layout.fillWidth: true
            visible: !exportPanel.open
            font.pixelSize: 11
            color: Style.muted
            elide: Text.ElideRight
            text: qsTr("Wheel: zoom · drag: seek · click empty space: next recording")
            HoverHandler {
                id: helpHover
            }
            ToolTip.visible: helpHover.hovered
            ToolTip.delay: 400
            ToolTip.text: (helpLine.truncated ? helpLine.text + "\n" : "") + qsTr("Shift+drag: select a range to export")
                          + "\n" + qsTr(". and ,: one frame forward or back")
        }

        Flickable {
            id: editorScroller
            objectName: "editorScroller"
            readonly property bool scrolls: contentHeight > height + 0.5
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(exportPanel.implicitHeight, panel.editorRoom)
            visible: exportPanel.open
            clip: true
            contentWidth: width
            contentHeight: exportPanel.implicitHeight
            flickableDirection: Flickable.VerticalFlick
            boundsBehavior: Flickable.StopAtBounds
            interactive: scrolls
            ScrollBar.vertical: FlatScrollBar {}

            ExportPanel {
                id: exportPanel
                width: editorScroller.width - (editorScroller.scrolls ? 12 : 0)
                compact: panel.squeezed
                roomWidth: editorScroller.width
                card: panel.card
                job: panel.job
                timeline: timeline
                dayStart: panel.day.dayStart
                dayEnd: panel.day.dayEnd
                dayChunks: panel.day.chunks
                position: panel.engine.position
                videoDesc: panel.videoDesc
                freeBytes: space.bytes
                eventKinds: panel.eventKinds
                audioDesc: panel.card.audioInfo
                g711: panel.card.g711Audio
            }
        }
    }
}
