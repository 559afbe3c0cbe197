import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// A labelled HH:MM:SS input with a stepper. It only reports what the user
// does; the export panel decides what a step or a commit means.
ColumnLayout {
    id: control

    property string label
    // Shown beside the label: which occurrence a time the clock shows twice
    // is (its UTC offset); empty otherwise.
    property string note
    property alias text: input.text
    property bool invalid: false
    readonly property bool editing: input.activeFocus
    readonly property alias input: input
    // The segment (0 hours, 1 minutes, 2 seconds) under the caret.
    readonly property int caretSegment: Math.max(0, Math.min(2, Math.floor(input.cursorPosition / 3)))

    // Typed text changed.
    signal edited()
    // Step the given segment up (1) or down (-1).
    signal stepRequested(int segment, int direction)
    // Editing ended (reveal: with Enter, so the timeline should show the range).
    signal commitRequested(bool reveal)
    // Esc put back the text from when editing began.
    signal restored()

    spacing: 4
    Layout.preferredWidth: 112
    Layout.minimumWidth: 104
    opacity: enabled ? 1 : 0.55

    function selectSegment(segment) {
        const s = Math.max(0, Math.min(2, segment))
        input.select(s * 3, Math.min(input.length, s * 3 + 2))
    }

    function leave() {
        input.focus = false
        // Hand the keyboard back to the window so that its keys work again.
        if (control.parent)
            control.parent.forceActiveFocus()
    }

    function step(direction) {
        if (!input.activeFocus)
            input.forceActiveFocus()
        control.stepRequested(control.caretSegment, direction)
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 4

        Text {
            textFormat: Text.PlainText
            text: control.label
            font.pixelSize: 11
            color: Style.muted
            elide: Text.ElideRight
            Layout.fillWidth: true
        }

        Text {
            objectName: "note"
            textFormat: Text.PlainText
            visible: text !== ""
            text: control.note
            font.pixelSize: 11
            font.weight: Font.Medium
            color: Style.text2
        }
    }

    Rectangle {
        id: box
        Layout.fillWidth: true
        Layout.preferredHeight: 44
        radius: Style.radius
        color: input.activeFocus ? Style.surface : Style.surface2
        border.width: 1
        border.color: control.invalid ? Style.error
                    : input.activeFocus ? Style.accent
                    : hover.hovered ? Style.strongLine
                    : Style.line

        HoverHandler {
            id: hover
        }

        TextInput {
            id: input

            // The text when editing began, for Esc.
            property string original

            anchors.left: parent.left
            anchors.right: stepper.left
            anchors.leftMargin: 10
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: 13
            font.family: Style.mono
            color: control.enabled ? Style.text : Style.faint
            selectionColor: Style.selected
            selectedTextColor: Style.selectedText
            maximumLength: 8
            inputMethodHints: Qt.ImhPreferNumbers
            selectByMouse: true
            clip: true

            onActiveFocusChanged: {
                if (activeFocus)
                    original = text
                else
                    control.commitRequested(false)
            }
            onTextEdited: control.edited()

            // Esc belongs to the field while it edits, not to the window.
            Keys.onShortcutOverride: (event) => {
                if (event.key === Qt.Key_Escape)
                    event.accepted = true
            }
            Keys.onEscapePressed: (event) => {
                text = original
                control.restored()
                control.leave()
                event.accepted = true
            }
            Keys.onPressed: (event) => {
                if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                    control.commitRequested(true)
                    control.leave()
                    event.accepted = true
                } else if (event.key === Qt.Key_Up || event.key === Qt.Key_Down) {
                    control.stepRequested(control.caretSegment, event.key === Qt.Key_Up ? 1 : -1)
                    event.accepted = true
                } else if ((event.key === Qt.Key_Left || event.key === Qt.Key_Right)
                           && event.modifiers === Qt.NoModifier) {
                    control.selectSegment(control.caretSegment + (event.key === Qt.Key_Left ? -1 : 1))
                    event.accepted = true
                }
            }

            Text {
                textFormat: Text.PlainText
                anchors.fill: parent
                verticalAlignment: Text.AlignVCenter
                text: qsTr("HH:MM:SS")
                font: input.font
                color: Style.faint
                visible: !input.length && !input.preeditText
            }
        }

        Column {
            id: stepper
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.margins: 1
            width: 25

            Repeater {
                model: [1, -1]
                delegate: T.AbstractButton {
                    id: half
                    required property int modelData
                    width: stepper.width
                    height: stepper.height / 2
                    focusPolicy: Qt.NoFocus
                    autoRepeat: true
                    hoverEnabled: true
                    onClicked: control.step(modelData)

                    background: Rectangle {
                        radius: Style.radius - 2
                        color: half.pressed ? Style.surface3
                             : half.hovered ? Style.subtleFill
                             : "transparent"
                    }
                    contentItem: Canvas {
                        property color ink: half.hovered ? Style.text : Style.muted
                        onInkChanged: requestPaint()
                        onPaint: {
                            const ctx = getContext("2d")
                            ctx.reset()
                            ctx.strokeStyle = ink
                            ctx.lineWidth = 1.4
                            ctx.lineCap = "round"
                            ctx.lineJoin = "round"
                            const cx = width / 2
                            const cy = height / 2
                            const d = half.modelData > 0 ? -1 : 1
                            ctx.beginPath()
                            ctx.moveTo(cx - 4, cy - 2 * d)
                            ctx.lineTo(cx, cy + 2 * d)
                            ctx.lineTo(cx + 4, cy - 2 * d)
                            ctx.stroke()
                        }
                    }
                }
            }
        }
    }
}
