import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The notice of a newer version, above the toolbar.
Rectangle {
    id: banner

    // Out of the way while the video is shown alone.
    property bool hidden: false
    visible: updater.available && !hidden
    implicitHeight: 36
    color: "#fef3c7"

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: "#fde68a"
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 12
        spacing: 10

        Label {
            id: message
            Layout.fillWidth: true
            font.pixelSize: 13
            color: "#92400e"
            elide: Text.ElideRight
            // The server's words are never markup: no pictures fetched from
            // elsewhere, no layout that pushes the buttons away.
            textFormat: Text.PlainText
            maximumLineCount: 1
            text: {
                const notes = updater.notes
                const head = qsTr("NIVRA Player %1 is available.").arg(updater.latestVersion)
                return notes.length > 0 ? head + "  " + notes.split("\n")[0] : head
            }
            HoverHandler {
                id: messageHover
            }
            ToolTip {
                id: notesTip
                visible: messageHover.hovered && updater.notes.length > 0
                width: Math.min(implicitWidth, banner.width - 32)
                contentItem: Text {
                    text: updater.notes
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: notesTip.font
                    color: notesTip.palette.toolTipText
                }
            }
        }
        PrimaryButton {
            implicitHeight: 26
            text: qsTr("Download...")
            onClicked: updater.openDownloadPage()
        }
        OutlineButton {
            implicitHeight: 26
            quiet: true
            text: qsTr("Skip this version")
            onClicked: updater.skipThisVersion()
        }
        OutlineButton {
            implicitHeight: 26
            quiet: true
            text: "\u00d7"
            onClicked: updater.dismiss()
        }
    }
}
