import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// A labelled drop-down whose menu rows carry a name and a one-line
// description. `options` holds maps {name, description, enabled}.
ColumnLayout {
    id: control

    property string label
    property var options: []
    property int currentIndex: 0
    property real minimumPreferred: 150
    property real maximumPreferred: 240
    readonly property bool open: box.open
    readonly property alias box: box

    signal activated(int index)

    function openMenu() {
        box.popup.open()
    }

    spacing: 4
    Layout.preferredWidth: Math.max(minimumPreferred,
                                    Math.min(maximumPreferred,
                                             longest.advanceWidth + box.leftPadding + box.rightPadding + 2))

    TextMetrics {
        id: longest
        font: box.font
        text: {
            let best = ""
            for (let i = 0; i < control.options.length; ++i) {
                const name = control.options[i].name
                if (name.length > best.length)
                    best = name
            }
            return best
        }
    }

    Text {
        text: control.label
        font.pixelSize: 11
        color: Style.muted
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    FlatComboBox {
        id: box
        Layout.fillWidth: true
        Layout.preferredHeight: 44
        model: control.options
        textRole: "name"
        rowHeight: 48
        // A new options list (a description or a row's state changed)
        // resets the box, so the shown row is put back each time.
        currentIndex: control.currentIndex
        onModelChanged: currentIndex = Qt.binding(() => control.currentIndex)
        onCountChanged: currentIndex = Qt.binding(() => control.currentIndex)
        onActivated: (index) => control.activated(index)
        // The two-line menu is at least 300 wide, whatever the field's width.
        Component.onCompleted: popup.width = Qt.binding(() => Math.max(box.width, 300))

        delegate: T.ItemDelegate {
            id: row
            required property int index
            required property var modelData
            width: ListView.view ? ListView.view.width : box.width
            height: box.rowHeight
            leftPadding: 10
            rightPadding: 10
            topPadding: 6
            bottomPadding: 6
            hoverEnabled: box.hoverEnabled
            highlighted: box.highlightedIndex === index
            enabled: box.enabled && modelData.enabled !== false

            contentItem: Column {
                spacing: 2
                Text {
                    width: parent.width
                    text: row.modelData.name
                    font.pixelSize: 13
                    font.weight: box.currentIndex === row.index ? Font.DemiBold : Font.Normal
                    color: !row.enabled ? Style.faint
                         : row.highlighted || box.currentIndex === row.index ? Style.selectedText
                         : Style.text
                    elide: Text.ElideRight
                }
                Text {
                    width: parent.width
                    text: row.modelData.description
                    font.pixelSize: 11
                    color: row.enabled ? Style.muted : Style.faint
                    elide: Text.ElideRight
                }
            }
            background: Rectangle {
                radius: Style.radius - 2
                color: row.highlighted && row.enabled ? Style.selected : "transparent"
            }
        }
    }
}
