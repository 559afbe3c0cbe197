import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The open-source notices, read from the resources only while shown.
FocusPopup {
    id: control

    parent: Overlay.overlay
    modal: true
    padding: 0
    width: 680
    height: parent ? Math.min(600, parent.height - 60) : 700
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0

    background: Rectangle {
        radius: 8
        color: Style.panel
        border.width: 1
        border.color: Style.borderStrong
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 40
            Layout.margins: 1
            Layout.bottomMargin: 0
            radius: 8
            color: Style.subtleFill

            // Square off the lower corners; only the top is rounded.
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: parent.radius
                color: parent.color
            }

            Text {
                textFormat: Text.PlainText
                anchors.left: parent.left
                anchors.leftMargin: 20
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Open-source licenses")
                font.pixelSize: 14
                color: Style.text
            }
        }

        ScrollView {
            id: licenseScroll
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: 12
            clip: true
            ScrollBar.vertical: FlatScrollBar {
                parent: licenseScroll
                x: licenseScroll.width - width
                height: licenseScroll.availableHeight
            }

            TextArea {
                id: licenseArea
                objectName: "licenseArea"
                readOnly: true
                wrapMode: TextEdit.Wrap
                font.family: Style.mono
                font.pixelSize: 12
                color: Style.text
                selectByMouse: true
                background: null
                text: control.visible ? appSettings.licenseText() : ""
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 16
            Layout.topMargin: 0

            Item {
                Layout.fillWidth: true
            }

            PrimaryButton {
                text: qsTr("Close")
                Layout.minimumWidth: 84
                Layout.preferredHeight: 32
                onClicked: control.close()
            }
        }
    }
}
