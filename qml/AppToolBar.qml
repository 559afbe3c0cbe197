import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media

// Logo, open (with the recently opened cards) and refresh, the card
// summary, the time mode and settings.
Rectangle {
    id: bar

    required property CardSession card
    required property PlaybackEngine engine
    // Codec and picture size, for the summary.
    required property string videoDesc
    required property bool exporting
    readonly property bool timeModeOpen: timeModeBox.open
    readonly property bool recentOpen: openButton.open

    signal openFolderRequested()
    signal recentCardRequested(string path)
    signal refreshRequested()
    signal settingsRequested()

    implicitHeight: 60
    color: Style.panel

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Style.border
    }

    // "UTC+08:00" reads "UTC+8"; offsets with minutes stay as they are.
    function shortOffset(label) {
        const m = /^(.*[+-])0?(\d+):00$/.exec(label)
        return m ? m[1] + m[2] : label
    }

    // The recent cards as the menu lists them; folders gone since are
    // listed but cannot be chosen; the open one says so.
    function recentEntries() {
        return appSettings.recentCards.map(path => {
            const present = appSettings.folderExists(path)
            const isOpen = present && bar.card.isOpen && path === bar.card.path
            return { text: path, enabled: present, current: isOpen,
                     note: !present ? qsTr("not found") : isOpen ? qsTr("open now") : "" }
        })
    }

    function summary() {
        const card = bar.card
        card.timeMode // the dates follow the time mode
        if (!card.isOpen)
            return card.errorString
        const info = card.info
        const parts = [card.path]
        if (info.formatMs > 0)
            parts.push(qsTr("formatted %1").arg(card.formatDate(info.formatMs)))
        parts.push(qsTr("%n segments \u00d7 %1 MB", "", info.segCount).arg(info.segSizeMb))
        if (info.firstMs > 0)
            parts.push(qsTr("recordings %1 ~ %2").arg(card.formatDate(info.firstMs)).arg(card.formatDate(info.lastMs)))
        parts.push(bar.videoDesc)
        parts.push(card.hasAudio ? card.audioInfo : qsTr("no audio"))
        return parts.join("  \u00b7  ")
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        spacing: 16

        Image {
            Layout.preferredWidth: 116
            Layout.preferredHeight: 31
            fillMode: Image.PreserveAspectFit
            sourceSize.width: 232
            source: Style.dark ? "qrc:/brand/nivra-logo-white.svg" : "qrc:/brand/nivra-logo.svg"
        }
        Rectangle {
            Layout.preferredWidth: 1
            Layout.preferredHeight: 22
            color: Style.border
        }
        Label {
            textFormat: Text.PlainText
            Layout.rightMargin: 16
            text: "Player"
            font.pixelSize: 14
            font.weight: Font.Medium
            color: Style.text
        }
        SplitButton {
            id: openButton
            objectName: "openButton"
            implicitHeight: 36
            text: qsTr("Open SD card / folder")
            title: qsTr("Recently opened")
            arrowTip: qsTr("Recently opened")
            emptyText: qsTr("No cards opened yet")
            enabled: !bar.exporting
            onClicked: bar.openFolderRequested()
            onMenuAboutToShow: entries = bar.recentEntries()
            footerText: qsTr("Clear list")
            onChosen: index => bar.recentCardRequested(entries[index].text)
            onFooterClicked: appSettings.clearRecentCards()
        }
        OutlineButton {
            text: qsTr("Refresh")
            enabled: bar.card.path.length > 0 && !bar.exporting
            onClicked: bar.refreshRequested()
        }
        Label {
            textFormat: Text.PlainText
            id: summaryLabel
            // Elides by design, with the full text as a tooltip.
            readonly property bool elidesWithTip: true
            Layout.fillWidth: true
            font.pixelSize: 13
            elide: Text.ElideRight
            color: bar.card.isOpen ? Style.text3 : Style.error
            text: bar.summary()
            HoverHandler {
                id: summaryHover
            }
            ToolTip.visible: summaryHover.hovered && summaryLabel.truncated
            ToolTip.delay: 400
            ToolTip.text: summaryLabel.text
        }
        FlatComboBox {
            id: timeModeBox
            objectName: "timeModeBox"
            implicitHeight: 30
            Layout.preferredWidth: 250
            // The offset goes into the shown text only: changing the model
            // would reset the current entry.
            model: [qsTr("Time: recording location"), qsTr("Time: this computer")]
            displayText: {
                const card = bar.card
                const position = bar.engine.position
                card.timeMode // the offset is the new mode's
                const name = currentIndex >= 0 ? model[currentIndex] : ""
                return card.isOpen && position > 0 ? name + " (" + bar.shortOffset(card.offsetLabel(position)) + ")" : name
            }
            // Naming the model makes a retranslated model re-apply the entry.
            currentIndex: model, bar.card.timeMode
            onActivated: index => appSettings.timeMode = index
        }
        IconButton {
            objectName: "settingsButton"
            glyph: "gear"
            tip: qsTr("Settings")
            onClicked: bar.settingsRequested()
        }
    }
}
