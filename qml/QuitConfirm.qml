import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Asked before quitting while an export runs.
FocusPopup {
    id: popup

    signal quitRequested()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 420
    padding: 20
    modal: true

    background: Rectangle {
        radius: 8
        color: Style.panel
        border.color: Style.borderStrong
    }

    contentItem: ColumnLayout {
        spacing: 12
        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: qsTr("An export is running")
            font.pixelSize: 14
            font.bold: true
            color: Style.text
            wrapMode: Text.WordWrap
        }
        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: qsTr("Quitting cancels the export. Files already finished are kept.")
            color: Style.text2
            wrapMode: Text.WordWrap
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            PrimaryButton {
                implicitHeight: 32
                Layout.minimumWidth: 84
                text: qsTr("Cancel export and quit")
                onClicked: popup.confirm()
            }
            OutlineButton {
                implicitHeight: 32
                Layout.minimumWidth: 80
                text: qsTr("Keep exporting")
                onClicked: popup.close()
            }
        }
    }

    function confirm() {
        close()
        quitRequested()
    }
}
