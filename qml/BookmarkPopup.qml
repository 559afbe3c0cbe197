import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The note of a bookmark, new or kept: one line, Enter keeps it, Esc
// cancels.
FocusPopup {
    id: popup

    // The bookmark's id; -1 for a new one at timeMs.
    property int bookmarkId: -1
    property double timeMs: 0
    property string timeText: ""
    property alias note: noteField.text

    signal accepted(int bookmarkId, double timeMs, string note)

    function openFor(id, ms, text, note) {
        bookmarkId = id
        timeMs = ms
        timeText = text
        noteField.text = note
        open()
        noteField.forceActiveFocus()
        noteField.selectAll()
    }

    function keep() {
        const id = bookmarkId
        close()
        accepted(id, timeMs, noteField.text)
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(420, parent ? parent.width - 40 : 420)
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
            objectName: "bookmarkTitle"
            Layout.fillWidth: true
            text: (popup.bookmarkId < 0 ? qsTr("Bookmark at %1") : qsTr("Note of the bookmark at %1"))
                  .arg(popup.timeText)
            font.pixelSize: 14
            font.bold: true
            color: Style.text
            wrapMode: Text.WordWrap
        }
        FlatTextField {
            id: noteField
            objectName: "bookmarkNote"
            Layout.fillWidth: true
            maximumLength: 500
            placeholderText: qsTr("Note (optional)")
            onAccepted: popup.keep()
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            PrimaryButton {
                implicitHeight: 32
                Layout.minimumWidth: 84
                text: popup.bookmarkId < 0 ? qsTr("Add bookmark") : qsTr("Keep note")
                onClicked: popup.keep()
            }
            OutlineButton {
                implicitHeight: 32
                Layout.minimumWidth: 80
                text: qsTr("Cancel")
                onClicked: popup.close()
            }
        }
    }
}
