import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Every key of the window, with what it does ("?" opens it).
FocusPopup {
    id: control

    // { keys, text } rows, in the order shown.
    property var rows: []

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(640, parent ? parent.width - 60 : 640)
    height: Math.min(implicitHeight, parent ? parent.height - 40 : 700)
    padding: 20
    modal: true

    background: Rectangle {
        radius: 8
        color: Style.panel
        border.color: Style.borderStrong
    }

    contentItem: ColumnLayout {
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: qsTr("Keyboard shortcuts")
                font.pixelSize: 16
                font.weight: Font.DemiBold
                color: Style.text
                elide: Text.ElideRight
            }
            OutlineButton {
                objectName: "closeSheet"
                text: qsTr("Close")
                onClicked: control.close()
            }
        }

        Flickable {
            id: flick
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: grid.implicitHeight
            contentHeight: grid.implicitHeight
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: FlatScrollBar {}

            GridLayout {
                id: grid
                width: flick.width - 12
                columns: 2
                columnSpacing: 20
                rowSpacing: 7

                Repeater {
                    model: control.rows.length * 2
                    Label {
                        required property int index
                        readonly property var row: control.rows[Math.floor(index / 2)]
                        readonly property bool isKeys: index % 2 === 0
                        textFormat: Text.PlainText
                        Layout.alignment: Qt.AlignTop
                        Layout.fillWidth: !isKeys
                        Layout.maximumWidth: isKeys ? 190 : -1
                        text: isKeys ? row.keys : row.text
                        font.pixelSize: 13
                        font.family: isKeys ? Style.mono : appSettings.fontFamily
                        font.weight: isKeys ? Font.Medium : Font.Normal
                        color: isKeys ? Style.text : Style.text3
                        wrapMode: Text.Wrap
                    }
                }
            }
        }
    }
}
