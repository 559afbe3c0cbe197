import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// A labelled drop-down whose menu rows carry a name and a description,
// both wrapped to the menu's width. `options` holds maps {name,
// description, enabled}.
ColumnLayout {
    id: control

    property string label
    property var options: []
    property int currentIndex: 0
    property real minimumPreferred: 150
    property real maximumPreferred: 240
    readonly property bool open: box.open
    readonly property alias box: box
    // The menu is at least 300 wide, whatever the field's width.
    readonly property real menuWidth: Math.max(box.width, 300)
    // Every row is as high as the tallest one, so that the menu's size is
    // known before it opens.
    readonly property real rowContentWidth: menuWidth - 2 * box.menuPadding - 20
    readonly property real rowHeight: {
        let tallest = 0
        for (let i = 0; i < measures.count; ++i) {
            const m = measures.itemAt(i)
            if (m)
                tallest = Math.max(tallest, m.implicitHeight)
        }
        return Math.max(48, Math.ceil(tallest) + 12)
    }

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
        textFormat: Text.PlainText
        text: control.label
        font.pixelSize: 11
        color: Style.muted
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    // The rows' texts laid out at the row width, never shown.
    Item {
        visible: false
        Repeater {
            id: measures
            model: control.options
            delegate: Column {
                required property var modelData
                spacing: 2
                Text {
                    textFormat: Text.PlainText
                    width: control.rowContentWidth
                    text: modelData.name
                    font.pixelSize: 13
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                Text {
                    textFormat: Text.PlainText
                    width: control.rowContentWidth
                    text: modelData.description
                    font.pixelSize: 11
                    wrapMode: Text.Wrap
                }
            }
        }
    }

    FlatComboBox {
        id: box
        Layout.fillWidth: true
        Layout.preferredHeight: 44
        model: control.options
        textRole: "name"
        rowHeight: control.rowHeight
        // A new options list (a description or a row's state changed)
        // resets the box, so the shown row is put back each time.
        currentIndex: control.currentIndex
        onModelChanged: currentIndex = Qt.binding(() => control.currentIndex)
        onCountChanged: currentIndex = Qt.binding(() => control.currentIndex)
        onActivated: (index) => control.activated(index)
        Component.onCompleted: popup.width = Qt.binding(() => control.menuWidth)

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
                    textFormat: Text.PlainText
                    width: parent.width
                    text: row.modelData.name
                    font.pixelSize: 13
                    font.weight: box.currentIndex === row.index ? Font.DemiBold : Font.Normal
                    color: !row.enabled ? Style.faint
                         : row.highlighted || box.currentIndex === row.index ? Style.selectedText
                         : Style.text
                    wrapMode: Text.Wrap
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    text: row.modelData.description
                    font.pixelSize: 11
                    color: row.enabled ? Style.muted : Style.faint
                    wrapMode: Text.Wrap
                }
            }
            background: Rectangle {
                radius: Style.radius - 2
                color: row.highlighted && row.enabled ? Style.selected : "transparent"
            }
        }
    }
}
