import QtQuick
import QtQuick.Templates as T

// A flat horizontal slider: a thin track, filled in the accent colour up
// to a round handle. Disabled, track and handle turn to the line colours.
T.Slider {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitHandleWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitHandleHeight + topPadding + bottomPadding)
    padding: 2
    hoverEnabled: true
    focusPolicy: Qt.TabFocus

    background: Rectangle {
        objectName: "track"
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        implicitWidth: 80
        implicitHeight: 4
        width: control.availableWidth
        height: implicitHeight
        radius: 2
        color: control.enabled ? Style.faint : Style.line

        Rectangle {
            width: control.visualPosition * parent.width
            height: parent.height
            radius: parent.radius
            color: control.enabled ? Style.accent : Style.strongLine
        }
    }

    handle: Rectangle {
        objectName: "handle"
        FocusRing {
            control: control
            gap: 1
            cornerRadius: 7
        }
        x: control.leftPadding + control.visualPosition * (control.availableWidth - width)
        y: control.topPadding + (control.availableHeight - height) / 2
        implicitWidth: 14
        implicitHeight: 14
        radius: 7
        color: !control.enabled ? Style.strongLine
             : control.pressed ? Style.primaryDeep
             : control.hovered ? Style.primaryHover
             : Style.accent
    }
}
