import QtQuick
import QtQuick.Templates as T

// A flat single-line input; `invalid` draws the error border.
T.TextField {
    id: control

    property bool invalid: false

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            placeholder.implicitWidth + leftPadding + rightPadding)
    implicitHeight: 32
    leftPadding: 10
    rightPadding: 10
    topPadding: 0
    bottomPadding: 0
    hoverEnabled: true
    selectByMouse: true
    font.pixelSize: 13
    verticalAlignment: TextInput.AlignVCenter
    color: enabled ? Style.text : Style.faint
    placeholderTextColor: Style.faint
    selectionColor: Style.selected
    selectedTextColor: Style.selectedText

    Text {
        textFormat: Text.PlainText
        id: placeholder
        x: control.leftPadding
        y: control.topPadding
        width: control.width - (control.leftPadding + control.rightPadding)
        height: control.height - (control.topPadding + control.bottomPadding)
        text: control.placeholderText
        font: control.font
        color: control.placeholderTextColor
        verticalAlignment: control.verticalAlignment
        elide: Text.ElideRight
        visible: !control.length && !control.preeditText
    }

    background: Rectangle {
        FocusRing {
            control: control
            visible: control.activeFocus && control.focusReason === Qt.TabFocusReason
        }
        implicitWidth: 120
        implicitHeight: 32
        radius: Style.radius
        opacity: control.enabled ? 1 : 0.6
        color: control.activeFocus ? Style.surface
             : control.hovered && control.enabled ? Style.surface3
             : Style.surface2
        border.width: 1
        border.color: control.invalid ? Style.error
                    : !control.enabled ? Style.line
                    : control.activeFocus ? Style.accent
                    : control.hovered ? Style.strongLine
                    : Style.line
    }
}
