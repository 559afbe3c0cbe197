import QtQuick
import QtQuick.Templates as T

// A flat radio button: a 16 px ring, filled with a dot when checked. Its
// ring keeps 3:1 against the panels it sits on; disabled, it fades.
T.RadioButton {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    padding: 4
    spacing: 8
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    font.pixelSize: 13

    indicator: Rectangle {
        objectName: "ring"
        FocusRing {
            control: control
            gap: 1
            cornerRadius: parent.radius
        }
        x: control.leftPadding
        y: control.topPadding + Math.round((control.availableHeight - height) / 2)
        implicitWidth: 16
        implicitHeight: 16
        radius: 8
        color: control.enabled ? Style.panel : Style.surface2
        border.width: 1
        border.color: !control.enabled ? Style.strongLine
                    : control.checked ? Style.accent
                    : control.hovered || control.visualFocus ? Style.text
                    : Style.controlEdge

        Rectangle {
            anchors.centerIn: parent
            width: 8
            height: 8
            radius: 4
            visible: control.checked
            color: control.enabled ? Style.accent : Style.faint
        }
    }

    contentItem: Text {
        textFormat: Text.PlainText
        leftPadding: control.indicator.width + control.spacing
        text: control.text
        font: control.font
        color: control.enabled ? Style.text2 : Style.faint
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
    }
}
