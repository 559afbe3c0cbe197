import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media
import NivraPlayer

// The search in an area of the picture: the changes the activity index
// finds there on the selected day, newest first, with the sensitivity and
// the lighting changes at hand. Takes the place of the event list.
ColumnLayout {
    id: view

    required property CardSession card
    required property ActivityModel activity
    // The area, in fractions of the picture.
    required property rect area
    required property double position
    property alias sensitivity: sensitivitySlider.value
    property alias lighting: lightingBox.checked
    readonly property alias list: list
    readonly property int count: list.count

    signal changeClicked(double startMs)
    signal closeRequested()

    // The slider's middle is nivra-card's own threshold (2 % of the area);
    // each end is 16 times more or less sensitive.
    readonly property real threshold: 0.32 * Math.pow(256, -sensitivity)

    readonly property var rows: {
        activity.revision
        if (area.width <= 0 || area.height <= 0)
            return []
        return activity.findChanges(area.x, area.y, area.width, area.height, threshold, lighting)
    }

    function changeText(row) {
        return row.lighting ? qsTr("Lighting change") : qsTr("Change")
    }
    function detailText(row) {
        const duration = TextRules.durationText(Math.max(1000, row.endMs - row.startMs))
        return row.lighting ? qsTr("Duration %1").arg(duration)
                            : qsTr("%1 % of the area · %2").arg(Math.max(1, Math.round(row.area * 100))).arg(duration)
    }

    spacing: 8

    RowLayout {
        Layout.fillWidth: true
        Layout.topMargin: 4
        spacing: 8

        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            objectName: "areaTitle"
            text: qsTr("Changes in the area (%1)").arg(list.count)
            font.pixelSize: 14
            font.weight: Font.DemiBold
            color: Style.text
            // Two lines where the language needs them.
            wrapMode: Text.WordWrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }
        OutlineButton {
            objectName: "areaClose"
            implicitHeight: 30
            text: qsTr("Close")
            onClicked: view.closeRequested()
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Label {
            textFormat: Text.PlainText
            text: qsTr("Sensitivity")
            font.pixelSize: 11
            color: Style.muted
        }
        FlatSlider {
            id: sensitivitySlider
            objectName: "sensitivity"
            Layout.fillWidth: true
            from: 0
            to: 1
            value: 0.5
            stepSize: 0.05
        }
        FlatCheckBox {
            id: lightingBox
            objectName: "lightingBox"
            text: qsTr("Lighting")
            font.pixelSize: 11
        }
    }

    ListView {
        id: list
        Layout.fillWidth: true
        Layout.fillHeight: true
        spacing: 2
        clip: true
        cacheBuffer: 2 * 56
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: FlatScrollBar {}
        model: view.rows

        delegate: AbstractButton {
            id: row

            required property var modelData
            required property int index

            objectName: "change" + index
            width: list.width - 10
            height: 54
            leftPadding: 8
            rightPadding: 8
            hoverEnabled: true
            focusPolicy: Qt.TabFocus
            onClicked: view.changeClicked(modelData.startMs)
            onActiveFocusChanged: {
                if (activeFocus)
                    list.positionViewAtIndex(index, ListView.Contain)
            }

            background: Rectangle {
                FocusRing {
                    control: row
                    gap: -1
                }
                radius: Style.radius
                color: row.hovered || (row.modelData.startMs <= view.position && view.position <= row.modelData.endMs)
                       ? Style.selected : "transparent"
            }

            contentItem: RowLayout {
                spacing: 10

                // The first picture that shows the change.
                Rectangle {
                    Layout.preferredWidth: 48
                    Layout.preferredHeight: 27
                    radius: 5
                    color: Style.surface2

                    EventThumb {
                        id: thumb
                        anchors.fill: parent
                        card: view.card
                        timeMs: row.modelData.startMs
                    }
                    Rectangle {
                        anchors.centerIn: parent
                        visible: !thumb.ready
                        width: 7
                        height: 7
                        radius: 3.5
                        color: Style.activity
                    }
                }

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Text {
                            textFormat: Text.PlainText
                            text: (view.card.timeMode, view.card.formatClock(row.modelData.startMs, true))
                            font.family: Style.mono
                            font.pixelSize: 12
                            font.weight: Font.Medium
                            color: Style.text
                        }
                        Text {
                            textFormat: Text.PlainText
                            // Elides by design in a narrow column, with the
                            // full text as a tooltip.
                            readonly property bool elidesWithTip: true
                            Layout.fillWidth: true
                            text: view.changeText(row.modelData)
                            font.pixelSize: 12
                            color: Style.text
                            elide: Text.ElideRight
                            ToolTip.visible: truncated && row.hovered
                            ToolTip.delay: 500
                            ToolTip.text: text
                        }
                    }
                    Text {
                        textFormat: Text.PlainText
                        Layout.fillWidth: true
                        objectName: "detail"
                        text: view.detailText(row.modelData)
                        font.pixelSize: 10
                        color: Style.muted
                        elide: Text.ElideRight
                    }
                }

                Text {
                    textFormat: Text.PlainText
                    text: "›"
                    font.pixelSize: 20
                    color: Style.muted
                }
            }
        }

        Text {
            textFormat: Text.PlainText
            objectName: "areaEmpty"
            anchors.centerIn: parent
            width: Math.min(260, list.width)
            visible: list.count === 0
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            font.pixelSize: 12
            color: Style.muted
            text: view.activity.dayAnalysed ? qsTr("Nothing changed in this area. Raise the sensitivity to see smaller changes")
                                            : qsTr("Analysing… %1 %").arg(view.activity.progress)
        }
    }
}
