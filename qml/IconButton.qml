import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T

// A round button drawing one of the vector glyphs below.
T.AbstractButton {
    id: control

    property string glyph: "play"
    property bool primary: false
    property string tip: ""

    readonly property color glyphColor: primary ? Style.inkOnAccent
                                      : !enabled ? Style.faint
                                      : hovered ? Style.primary
                                      : Style.text2

    implicitWidth: primary ? 34 : 30
    implicitHeight: primary ? 34 : 30
    hoverEnabled: true
    // Reached with Tab (Space then presses it); a click leaves the keyboard
    // where it was, so that Space still plays.
    focusPolicy: Qt.TabFocus

    ToolTip.visible: tip !== "" && hovered
    ToolTip.delay: 600
    ToolTip.text: tip

    background: Rectangle {
        FocusRing {
            control: control
            cornerRadius: width / 2
        }
        radius: width / 2
        color: !control.enabled ? Style.surface3
             : control.primary ? (control.pressed ? Style.primaryDeep
                                  : control.hovered ? Style.primaryHover : Style.primary)
             : control.pressed ? Style.bg : "transparent"
    }

    contentItem: Item {
        Canvas {
            id: canvas
            width: 20
            height: 20
            anchors.centerIn: parent
            renderStrategy: Canvas.Immediate

            property string glyph: control.glyph
            property color ink: control.glyphColor
            onGlyphChanged: requestPaint()
            onInkChanged: requestPaint()

            function polygon(ctx, points) {
                ctx.beginPath()
                ctx.moveTo(points[0], points[1])
                for (let i = 2; i < points.length; i += 2)
                    ctx.lineTo(points[i], points[i + 1])
                ctx.closePath()
            }
            function fillPolygon(ctx, points) {
                polygon(ctx, points)
                ctx.fill()
            }
            function strokeLine(ctx, points) {
                ctx.beginPath()
                ctx.moveTo(points[0], points[1])
                for (let i = 2; i < points.length; i += 2)
                    ctx.lineTo(points[i], points[i + 1])
                ctx.stroke()
            }
            function circle(ctx, cx, cy, r, steps) {
                for (let i = 0; i < steps; ++i) {
                    const a = 2 * Math.PI * i / steps
                    if (i === 0)
                        ctx.moveTo(cx + r * Math.cos(a), cy + r * Math.sin(a))
                    else
                        ctx.lineTo(cx + r * Math.cos(a), cy + r * Math.sin(a))
                }
                ctx.closePath()
            }
            readonly property var speaker: [2, 7, 6, 7, 11, 3, 11, 17, 6, 13, 2, 13]

            onPaint: {
                const ctx = getContext("2d")
                ctx.reset()
                ctx.fillStyle = ink
                ctx.strokeStyle = ink
                ctx.lineWidth = 1.6
                ctx.lineCap = "round"
                ctx.lineJoin = "round"
                switch (glyph) {
                case "play":
                    fillPolygon(ctx, [6, 3, 17, 10, 6, 17])
                    break
                case "pause":
                    ctx.fillRect(5, 3, 4, 14)
                    ctx.fillRect(11, 3, 4, 14)
                    break
                case "prev":
                    fillPolygon(ctx, [17, 3, 6, 10, 17, 17])
                    ctx.fillRect(3, 3, 3, 14)
                    break
                case "next":
                    fillPolygon(ctx, [3, 3, 14, 10, 3, 17])
                    ctx.fillRect(14, 3, 3, 14)
                    break
                case "ff":
                    fillPolygon(ctx, [2, 4, 10, 10, 2, 16])
                    fillPolygon(ctx, [10, 4, 18, 10, 10, 16])
                    break
                case "volume":
                    fillPolygon(ctx, speaker)
                    strokeLine(ctx, [13.5, 7.5, 15, 10, 13.5, 12.5])
                    strokeLine(ctx, [16, 5, 18.5, 10, 16, 15])
                    break
                case "mute":
                    fillPolygon(ctx, speaker)
                    strokeLine(ctx, [13.5, 7, 18.5, 13])
                    strokeLine(ctx, [18.5, 7, 13.5, 13])
                    break
                case "gear": {
                    ctx.beginPath()
                    let first = true
                    for (let tooth = 0; tooth < 8; ++tooth) {
                        const a = tooth * 45
                        const corners = [[a - 15, 6.4], [a - 9, 9.0], [a + 9, 9.0], [a + 15, 6.4]]
                        for (const c of corners) {
                            const rad = c[0] * Math.PI / 180
                            const x = 10 + c[1] * Math.cos(rad)
                            const y = 10 + c[1] * Math.sin(rad)
                            if (first) {
                                ctx.moveTo(x, y)
                                first = false
                            } else {
                                ctx.lineTo(x, y)
                            }
                        }
                    }
                    ctx.closePath()
                    circle(ctx, 10, 10, 2.7, 17)
                    ctx.fillRule = Qt.OddEvenFill
                    ctx.fill()
                    break
                }
                case "step":
                    polygon(ctx, [4.5, 4.5, 13, 10, 4.5, 15.5])
                    ctx.stroke()
                    strokeLine(ctx, [16, 4.5, 16, 15.5])
                    break
                case "bookmark":
                    polygon(ctx, [5.5, 3.5, 14.5, 3.5, 14.5, 16.5, 10, 12.5, 5.5, 16.5])
                    ctx.stroke()
                    break
                case "camera":
                    polygon(ctx, [2.5, 7, 6.5, 7, 8, 4.8, 12, 4.8, 13.5, 7, 17.5, 7, 17.5, 16, 2.5, 16])
                    ctx.stroke()
                    ctx.beginPath()
                    circle(ctx, 10, 11, 3, 21)
                    ctx.stroke()
                    break
                }
            }
        }
    }
}
