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
        radius: Style.radius
        color: !control.enabled ? Style.strongLine
             : control.pressed ? Style.primaryDeep
             : control.hovered ? Style.primaryHover
             : Style.primary
    }
}
