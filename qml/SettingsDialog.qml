import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Nivra.Media

// The settings page. Every control writes its setting at once; there is
// nothing to apply or cancel.
FocusPopup {
    id: control

    required property ExportJob job

    // The update checker when the program publishes one.
    readonly property var checker: typeof updater !== "undefined" ? updater : null
    readonly property bool updatesConfigured: checker !== null && checker.configured

    readonly property int labelWidth: 170
    readonly property int valueWidth: 720 - 40 - labelWidth - 20
    readonly property real maximumHeight: parent ? parent.height - 40 : 900

    parent: Overlay.overlay
    modal: true
    padding: 0
    width: 720
    height: Math.min(maximumHeight, titleBar.height + grid.implicitHeight + 32 + bottomRow.implicitHeight + 32)
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0

    function openLicenses() {
        open()
        licenses.open()
    }

    function languageName(code) {
        const list = appSettings.languages
        for (let i = 0; i < list.length; ++i) {
            if (list[i].code === code)
                return list[i].name
        }
        return code
    }

    function languageIndex() {
        const list = appSettings.languages
        for (let i = 0; i < list.length; ++i) {
            if (list[i].code === appSettings.language)
                return i + 1
        }
        return 0
    }

    function browseFolder() {
        const folder = appSettings.exportFolder !== "" ? appSettings.exportFolder : job.defaultFolder()
        folderDialog.currentFolder = job.folderUrl(folder)
        folderDialog.open()
    }

    background: Rectangle {
        radius: 8
        color: Style.panel
        border.width: 1
        border.color: Style.borderStrong
    }

    LicensesDialog {
        id: licenses
        objectName: "licenses"
    }

    FolderDialog {
        id: folderDialog
        title: qsTr("Save the exported files to")
        onAccepted: appSettings.exportFolder = control.job.localPath(selectedFolder)
    }

    component RowLabel: Text {
        textFormat: Text.PlainText
        Layout.preferredWidth: control.labelWidth
        Layout.alignment: Qt.AlignTop
        Layout.topMargin: 6
        font.pixelSize: 13
        color: Style.text2
        wrapMode: Text.Wrap
    }

    component Note: Text {
        textFormat: Text.PlainText
        Layout.fillWidth: true
        font.pixelSize: 12
        color: Style.muted
        wrapMode: Text.Wrap
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            id: titleBar
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
                text: qsTr("Settings")
                font.pixelSize: 14
                color: Style.text
            }

            Text {
                textFormat: Text.PlainText
                id: closeMark
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                text: "×"
                font.pixelSize: 18
                color: Style.muted

                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -6
                    cursorShape: Qt.PointingHandCursor
                    onClicked: control.close()
                }
            }
        }

        Flickable {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: grid.implicitHeight + 32
            clip: true
            contentWidth: width
            contentHeight: grid.implicitHeight + 32
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: FlatScrollBar {
                objectName: "settingsScrollBar"
            }

            GridLayout {
                id: grid
                x: 20
                y: 14
                width: 720 - 40
                columns: 2
                columnSpacing: 20
                rowSpacing: 10

                RowLabel {
                    id: languageLabel
                    objectName: "languageLabel"
                    text: qsTr("Interface language")
                }
                ColumnLayout {
                    Layout.preferredWidth: control.valueWidth
                    spacing: 6
                    FlatComboBox {
                        id: languageBox
                        objectName: "languageBox"
                        Layout.preferredWidth: 300
                        model: {
                            const entries = [qsTr("Follow the system (%1)")
                                             .arg(control.languageName(appSettings.systemLanguage))]
                            const list = appSettings.languages
                            for (let i = 0; i < list.length; ++i)
                                entries.push(list[i].name)
                            return entries
                        }
                        // Read the model too: a new model (after a retranslation)
                        // must show the chosen entry again.
                        currentIndex: model, control.languageIndex()
                        onActivated: (index) => {
                            appSettings.language = index === 0 ? "" : appSettings.languages[index - 1].code
                        }
                    }
                    Note {
                        text: qsTr("At first start the system language is used; English when it is not available.")
                    }
                }

                RowLabel {
                    text: qsTr("Appearance")
                }
                FlatComboBox {
                    id: themeBox
                    objectName: "themeBox"
                    Layout.preferredWidth: 300
                    model: [qsTr("Follow the system"), qsTr("Cloud White"), qsTr("Nightfall")]
                    currentIndex: model, appSettings.theme === "light" ? 1 : appSettings.theme === "dark" ? 2 : 0
                    onActivated: (index) => appSettings.theme = ["", "light", "dark"][index]
                }

                RowLabel {
                    text: qsTr("Time display")
                }
                FlatComboBox {
                    id: timeBox
                    objectName: "timeBox"
                    Layout.preferredWidth: 300
                    model: [qsTr("Recording location (recommended)"), qsTr("This computer")]
                    currentIndex: model, appSettings.timeMode
                    onActivated: (index) => appSettings.timeMode = index
                }

                RowLabel {
                    text: qsTr("Date and time format")
                }
                Text {
                    textFormat: Text.PlainText
                    id: formatText
                    objectName: "formatText"
                    Layout.preferredWidth: control.valueWidth
                    Layout.topMargin: 6
                    font.pixelSize: 13
                    color: Style.text
                    wrapMode: Text.Wrap
                    text: qsTr("Follows the system region: %1 · weeks start on %2")
                          .arg(appSettings.formatExample)
                          .arg(Qt.locale(appSettings.localeName).dayName(appSettings.firstDayOfWeek % 7,
                                                                         Locale.LongFormat))
                }

                RowLabel {
                    text: qsTr("Playback")
                }
                ColumnLayout {
                    spacing: 2
                    FlatCheckBox {
                        id: continuousBox
                        text: qsTr("Play next chunk")
                        checked: appSettings.continuous
                        onToggled: appSettings.continuous = checked
                    }
                    FlatCheckBox {
                        id: snapBox
                        text: qsTr("Snap to keyframes (hold Alt to skip)")
                        checked: appSettings.snap
                        onToggled: appSettings.snap = checked
                    }
                    FlatCheckBox {
                        id: analyseBox
                        objectName: "analyseBox"
                        text: qsTr("Analyse recordings in the background")
                        checked: appSettings.analyseInBackground
                        onToggled: appSettings.analyseInBackground = checked
                    }
                }

                RowLabel {
                    text: qsTr("Video decoding")
                }
                ColumnLayout {
                    Layout.preferredWidth: control.valueWidth
                    spacing: 2
                    Repeater {
                        // Windows decodes on the graphics card by default; elsewhere
                        // many machines cannot, so automatic is the default there.
                        model: Qt.platform.os === "windows" ? [
                            { policy: 1, text: qsTr("Graphics card only (recommended)") },
                            { policy: 0, text: qsTr("Graphics card, software if it cannot") },
                            { policy: 2, text: qsTr("Software only") }
                        ] : [
                            { policy: 0, text: qsTr("Automatic (recommended)") },
                            { policy: 1, text: qsTr("Graphics card only") },
                            { policy: 2, text: qsTr("Software only") }
                        ]
                        delegate: FlatRadioButton {
                            required property var modelData
                            objectName: "policy" + modelData.policy
                            text: modelData.text
                            checked: appSettings.decodePolicy === modelData.policy
                            onToggled: {
                                if (checked)
                                    appSettings.decodePolicy = modelData.policy
                            }
                        }
                    }
                    Note {
                        text: qsTr("%1. Takes effect from the next seek; software decoding uses much more processor time.")
                              .arg(appSettings.hardwareDecodeSummary)
                    }
                    Note {
                        visible: Qt.platform.os === "windows" && !appSettings.internalBuild
                        text: qsTr("Software decoding uses the decoders built into Windows; for H.265 they need Microsoft's HEVC Video Extensions.")
                    }
                }

                RowLabel {
                    text: qsTr("Export")
                }
                ColumnLayout {
                    Layout.preferredWidth: control.valueWidth
                    spacing: 8
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        FlatTextField {
                            id: folderField
                            objectName: "folderField"
                            Layout.fillWidth: true
                            text: appSettings.exportFolder
                            placeholderText: control.job ? control.job.nativePath(control.job.defaultFolder()) : ""
                            onEditingFinished: appSettings.exportFolder = text.trim()
                        }
                        OutlineButton {
                            text: qsTr("Browse...")
                            Layout.preferredHeight: 32
                            onClicked: control.browseFolder()
                        }
                    }
                    RowLayout {
                        spacing: 10
                        Text {
                            textFormat: Text.PlainText
                            text: qsTr("Recording gaps")
                            font.pixelSize: 13
                            color: Style.text2
                        }
                        FlatComboBox {
                            id: gapsBox
                            objectName: "gapsBox"
                            Layout.preferredWidth: 220
                            model: [qsTr("Separate files"), qsTr("Merge into one file")]
                            currentIndex: model, appSettings.exportMerge ? 1 : 0
                            onActivated: (index) => appSettings.exportMerge = index === 1
                        }
                    }
                }

                RowLabel {
                    text: qsTr("Updates")
                }
                ColumnLayout {
                    Layout.preferredWidth: control.valueWidth
                    spacing: 4
                    FlatCheckBox {
                        id: updateBox
                        objectName: "updateBox"
                        text: qsTr("Check for updates at start-up")
                        enabled: control.updatesConfigured
                        checked: appSettings.checkUpdates
                        onToggled: appSettings.checkUpdates = checked
                    }
                    RowLayout {
                        spacing: 12
                        Text {
                            textFormat: Text.PlainText
                            text: qsTr("Current version %1 (%2)").arg(appSettings.version).arg(appSettings.platform)
                            font.pixelSize: 13
                            color: Style.text
                        }
                        OutlineButton {
                            id: checkNowButton
                            objectName: "checkNowButton"
                            text: qsTr("Check now")
                            enabled: control.updatesConfigured && !control.checker.checking
                            onClicked: control.checker.checkNow()
                        }
                    }
                    Note {
                        id: updateNote
                        objectName: "updateNote"
                        // The checker's own words, so that its translation is shared.
                        text: !control.updatesConfigured
                              ? qsTranslate("UpdateChecker", "No update address is set in this build.")
                              : control.checker.status
                        visible: text !== ""
                    }
                }

                RowLabel {
                    text: qsTr("Privacy")
                }
                Note {
                    Layout.preferredWidth: control.valueWidth
                    Layout.topMargin: 6
                    font.pixelSize: 13
                    color: Style.text
                    text: qsTr("Recordings are only read on this computer and never uploaded. The network is used only to check for updates.")
                }

                RowLabel {
                    text: qsTr("About")
                }
                ColumnLayout {
                    spacing: 8
                    Text {
                        textFormat: Text.PlainText
                        Layout.topMargin: 6
                        font.pixelSize: 13
                        color: Style.text
                        text: (appSettings.internalBuild ? qsTr("NIVRA Player (internal test build)")
                                                         : qsTr("NIVRA Player"))
                              + "  " + appSettings.version
                    }
                    OutlineButton {
                        text: qsTr("Open-source licenses...")
                        onClicked: licenses.open()
                    }
                }
            }
        }

        RowLayout {
            id: bottomRow
            Layout.fillWidth: true
            Layout.margins: 16

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
