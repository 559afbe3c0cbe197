import QtQuick
import QtQuick.Controls

// A row of colour swatches with their texts, wrapping when narrow. When
// compact only the swatches show and the texts become tooltips.
Item {
    id: legend

    // Maps with text, color, shape ("box", "dot" or "hatch") and border.
    property var items: []
    property bool compact: false

    // Both widths are those of the legend laid out on one line, whatever
    // width it is given, so a parent can choose compact without a loop.
    readonly property int lineWidth: d.lineWidth
    readonly property int compactWidth: items.length > 0 ? items.length * 12 + (items.length - 1) * 8 : 0

    implicitWidth: compact ? compactWidth : lineWidth
    implicitHeight: flow.implicitHeight

    // The sum of the full items' widths, taken from their labels' natural
    // widths; the labels keep those while hidden.
    function refreshLineWidth() {
        let sum = 0
        for (let i = 0; i < repeater.count; ++i) {
            const item = repeater.itemAt(i)
            if (item)
                sum += item.fullWidth + (i > 0 ? 12 : 0)
        }
        d.lineWidth = Math.ceil(sum)
    }

    QtObject {
        id: d
        property int lineWidth: 0
    }

    Flow {
        id: flow
        width: legend.width
        spacing: legend.compact ? 8 : 12

        Repeater {
            id: repeater
            model: legend.items
            onItemAdded: legend.refreshLineWidth()
            onItemRemoved: Qt.callLater(legend.refreshLineWidth)

            Row {
                id: entry

                required property var modelData
                readonly property real fullWidth: 12 + 5 + label.implicitWidth

                objectName: "legendItem"
                spacing: 5
                onFullWidthChanged: legend.refreshLineWidth()

                Item {
                    id: swatch
                    objectName: "swatch"
                    width: 12
                    height: 12

                    Rectangle {
                        objectName: "swatchShape"
                        anchors.centerIn: parent
                        width: entry.modelData.shape === "dot" ? 6 : 12
                        height: entry.modelData.shape === "dot" ? 6 : 10
                        radius: entry.modelData.shape === "dot" ? 3 : 2
                        color: entry.modelData.color
                        border.width: entry.modelData.border ? 1 : 0
                        border.color: Style.borderStrong
                        clip: true

                        Repeater {
                            model: entry.modelData.shape === "hatch" ? 4 : 0

                            Rectangle {
                                required property int index
                                x: index * 4 - width / 2
                                y: (parent.height - height) / 2
                                width: 1.2
                                height: 18
                                rotation: 45
                                color: Style.faint
                            }
                        }
                    }

                    HoverHandler {
                        id: swatchHover
                        enabled: legend.compact
                    }

                    ToolTip.visible: legend.compact && swatchHover.hovered
                    ToolTip.delay: 200
                    ToolTip.text: entry.modelData.text
                }

                Label {
                    textFormat: Text.PlainText
                    id: label
                    objectName: "label"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: !legend.compact
                    text: entry.modelData.text
                    font.pixelSize: 12
                    color: Style.text3
                }
            }
        }
    }
}
