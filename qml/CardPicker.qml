import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Asks which card to open when a folder holds several.
FocusPopup {
    id: control

    property string folder
    property var cards: []

    signal picked(string path)

    function show(folderPath, cardPaths) {
        folder = folderPath
        cards = cardPaths
        open()
    }

    function pick(index) {
        if (index < 0 || index >= cards.length)
            return
        const path = cards[index]
        close()
        picked(path)
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - 80 : 560)
    padding: 20
    modal: true

    background: Rectangle {
        radius: 8
        color: Style.panel
        border.color: Style.borderStrong
    }

    contentItem: ColumnLayout {
        spacing: 10

        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: qsTr("This folder holds %n card(s). Which one do you want to open?", "", control.cards.length)
            font.pixelSize: 14
            font.weight: Font.DemiBold
            color: Style.text
            wrapMode: Text.Wrap
        }
        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: control.folder
            font.pixelSize: 12
            color: Style.muted
            elide: Text.ElideMiddle
            readonly property bool elidesWithTip: true
        }
        ListView {
            id: list
            objectName: "cardList"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(contentHeight, 280)
            clip: true
            model: control.cards
            focus: true
            keyNavigationEnabled: true
            currentIndex: 0
            delegate: ItemDelegate {
                id: row
                required property string modelData
                required property int index
                width: ListView.view.width
                height: 36
                highlighted: ListView.isCurrentItem
                onClicked: control.pick(index)
                Keys.onReturnPressed: control.pick(index)
                Keys.onEnterPressed: control.pick(index)
                contentItem: Text {
                    textFormat: Text.PlainText
                    text: row.modelData
                    readonly property bool elidesWithTip: true
                    font.pixelSize: 13
                    color: row.highlighted ? Style.selectedText : Style.text
                    elide: Text.ElideMiddle
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: Style.radius - 2
                    color: row.highlighted || row.hovered ? Style.selected : "transparent"
                }
            }
            Keys.onReturnPressed: control.pick(currentIndex)
            Keys.onEnterPressed: control.pick(currentIndex)
        }
        RowLayout {
            Layout.fillWidth: true
            Item { Layout.fillWidth: true }
            OutlineButton {
                text: qsTr("Cancel")
                onClicked: control.close()
            }
            PrimaryButton {
                text: qsTr("Open")
                onClicked: control.pick(list.currentIndex)
            }
        }
    }
}
