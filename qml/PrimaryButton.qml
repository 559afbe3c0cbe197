import QtQuick
import QtQuick.Templates as T

// The filled call-to-action button.
T.Button {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: 28
    leftPadding: 14
    rightPadding: 14
    topPadding: 0
    bottomPadding: 0
    hoverEnabled: true
    // Reached with Tab (Space then presses it); a click leaves the keyboard
    // where it was, so that Space still plays.
    focusPolicy: Qt.TabFocus

    contentItem: Text {
        textFormat: Text.PlainText
        text: control.text
        font: control.font
        color: Style.inkOnAccent
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        FocusRing {
            control: control
        }
        radius: Style.radius
        color: !control.enabled ? Style.strongLine
             : control.pressed ? Style.primaryDeep
             : control.hovered ? Style.primaryHover
             : Style.primary
    }
}
