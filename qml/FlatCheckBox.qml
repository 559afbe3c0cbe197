import QtQuick
import QtQuick.Templates as T

// A flat check box: a 16 px box with a check mark. Its edge keeps 3:1
// against the panels it sits on; disabled, box, mark and text fade.
T.CheckBox {
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
        objectName: "box"
        FocusRing {
            control: control
            gap: 1
            cornerRadius: parent.radius
        }
        x: control.leftPadding
        y: control.topPadding + Math.round((control.availableHeight - height) / 2)
        implicitWidth: 16
        implicitHeight: 16
        radius: 4
        color: !control.checked ? (control.enabled ? Style.panel : Style.surface2)
             : control.enabled ? Style.accent : Style.surface3
        border.width: 1
        border.color: !control.enabled ? Style.strongLine
                    : control.checked ? Style.accent
                    : control.hovered || control.visualFocus ? Style.text
                    : Style.controlEdge

        Canvas {
            anchors.fill: parent
            visible: control.checked
            property color ink: control.enabled ? Style.inkOnAccent : Style.faint
            onInkChanged: requestPaint()
            onPaint: {
                const ctx = getContext("2d")
                ctx.reset()
                ctx.strokeStyle = ink
                ctx.lineWidth = 1.8
                ctx.lineCap = "round"
                ctx.lineJoin = "round"
                ctx.beginPath()
                ctx.moveTo(4, 8.2)
                ctx.lineTo(6.8, 11)
                ctx.lineTo(12, 5.2)
                ctx.stroke()
            }
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
