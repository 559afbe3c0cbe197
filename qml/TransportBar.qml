import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media

// Play controls, speed, step, snapshot, volume, the time left, continuous
// play and events only.
Rectangle {
    id: bar

    required property PlaybackEngine engine
    required property DayModel day
    // What is left of the recording playing, or nothing.
    required property string remainingText
    required property bool eventsOnly
    required property bool skipStill
    readonly property bool speedOpen: speedBox.open
    readonly property var speeds: [1, 2, 4, 8, 16]
    readonly property bool remainingShown: remaining.visible && remaining.text.length > 0

    signal chunkJumpRequested(int direction)
    signal toastRequested(string text)
    signal eventsOnlyToggled(bool on)
    signal skipStillToggled(bool on)
    signal bookmarkRequested()

    // One of the stacked toggles at the bar's end.
    component BarToggle: FlatCheckBox {
        property string tip
        Layout.fillWidth: true
        Layout.fillHeight: true
        topPadding: 0
        bottomPadding: 0
        leftPadding: 7
        rightPadding: 9
        font.pixelSize: 12
        ToolTip.visible: hovered
        ToolTip.delay: 600
        ToolTip.text: tip
    }

    // The button's and the S key's screenshot.
    function takeSnapshot() {
        const path = bar.engine.saveSnapshot()
        bar.toastRequested(path.length > 0 ? qsTr("Screenshot saved: %1").arg(path) : qsTr("Screenshot failed"))
    }

    implicitHeight: 84
    radius: Style.panelRadius
    color: Style.panel
    border.color: Style.border

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        // The three toggles stack in the bar's height.
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 8
        enabled: bar.day.hasPlayable

        IconButton {
            glyph: "prev"
            tip: qsTr("Previous recording")
            onClicked: bar.chunkJumpRequested(-1)
        }
        IconButton {
            objectName: "playButton"
            implicitWidth: 40
            implicitHeight: 40
            primary: true
            glyph: bar.engine.playing ? "pause" : "play"
            tip: bar.engine.playing ? qsTr("Pause (Space)") : qsTr("Play (Space)")
            onClicked: bar.engine.togglePlay()
        }
        IconButton {
            glyph: "next"
            tip: qsTr("Next recording")
            onClicked: bar.chunkJumpRequested(1)
        }
        FlatComboBox {
            id: speedBox
            objectName: "speedBox"
            Layout.leftMargin: 8
            implicitHeight: 30
            Layout.preferredWidth: 80
            model: ["1\u00d7", "2\u00d7", "4\u00d7", "8\u00d7", "16\u00d7"]
            currentIndex: Math.max(0, bar.speeds.indexOf(bar.engine.speed))
            onActivated: index => bar.engine.speed = bar.speeds[index]
        }
        IconButton {
            Layout.leftMargin: 4
            glyph: "step"
            // The second line names the step back, which has no button.
            tip: qsTr("Pause and show the next frame (.)") + "\n" + qsTr("Back one frame (,)")
            onClicked: bar.engine.stepFrame()
        }
        IconButton {
            objectName: "snapshotButton"
            glyph: "camera"
            tip: qsTr("Screenshot")
            onClicked: bar.takeSnapshot()
        }
        IconButton {
            objectName: "bookmarkButton"
            glyph: "bookmark"
            tip: qsTr("Bookmark (B)")
            onClicked: bar.bookmarkRequested()
        }
        IconButton {
            Layout.leftMargin: 4
            glyph: bar.engine.muted ? "mute" : "volume"
            tip: bar.engine.muted ? qsTr("Unmute") : qsTr("Mute")
            onClicked: bar.engine.muted = !bar.engine.muted
        }
        FlatSlider {
            objectName: "volumeSlider"
            Layout.preferredWidth: 80
            from: 0
            to: 1
            value: bar.engine.volume
            onMoved: bar.engine.volume = value
        }
        // Hidden rather than cut when the bar is too short for it.
        Item {
            Layout.leftMargin: 10
            Layout.fillWidth: true
            Layout.fillHeight: true
            Label {
                textFormat: Text.PlainText
                id: remaining
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width
                visible: parent.width + 0.5 >= implicitWidth
                text: bar.remainingText
                font.pixelSize: 13
                color: Style.muted
            }
        }
        // Stacked rather than side by side: together they would crowd
        // out the time left in the smallest window.
        Rectangle {
            readonly property real natural: Math.ceil(Math.max(continuousBox.implicitWidth,
                                                               eventsOnlyBox.implicitWidth,
                                                               skipStillBox.implicitWidth))
            Layout.preferredWidth: natural
            Layout.maximumWidth: natural
            Layout.minimumWidth: Math.min(natural, 96)
            Layout.fillHeight: true
            radius: Style.radius
            color: Style.surface2
            border.color: Style.borderStrong

            ColumnLayout {
                anchors.fill: parent
                anchors.topMargin: 2
                anchors.bottomMargin: 2
                spacing: 0

                BarToggle {
                    id: continuousBox
                    objectName: "continuousBox"
                    text: qsTr("Continuous play")
                    tip: qsTr("Play next chunk")
                    checked: appSettings.continuous
                    onToggled: appSettings.continuous = checked
                }
                BarToggle {
                    id: eventsOnlyBox
                    objectName: "eventsOnlyBox"
                    text: qsTr("Events only")
                    tip: qsTr("Play only the events, one after another (E)")
                    checked: bar.eventsOnly
                    // The box shows the mode, also when the mode ends by
                    // itself (after the last event): the click's own value
                    // gives way to the binding again.
                    onToggled: {
                        bar.eventsOnlyToggled(checked)
                        checked = Qt.binding(() => bar.eventsOnly)
                    }
                }
                // Beside events only: the other way through a long day.
                BarToggle {
                    id: skipStillBox
                    objectName: "skipStillBox"
                    text: qsTr("Skip still parts")
                    tip: qsTr("Jump over the stretches where nothing moves or sounds")
                    checked: bar.skipStill
                    onToggled: {
                        bar.skipStillToggled(checked)
                        checked = Qt.binding(() => bar.skipStill)
                    }
                }
            }
        }
    }
}
