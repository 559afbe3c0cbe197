import QtQuick
import QtQuick.Templates as T

// The secondary button; quiet ones show only their text until hovered.
T.Button {
    id: control

    property bool quiet: false

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: 28
    leftPadding: 12
    rightPadding: 12
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
        color: control.enabled ? Style.text2 : Style.faint
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        FocusRing {
            control: control
        }
        radius: Style.radius
        color: control.pressed ? Style.bg
             : control.hovered ? Style.subtleFill
             : control.quiet ? "transparent"
             : Style.panel
        border.width: control.quiet && !control.hovered ? 0 : 1
        border.color: Style.borderStrong
    }
}
