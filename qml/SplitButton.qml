import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Templates as T

// The filled call-to-action button with an arrow part on its right: the
// button does what it says, the arrow opens a short menu under a title.
// Each row is { text, enabled, note }; an unavailable row shows why.
Item {
    id: control

    property alias text: main.text
    property string title: ""
    // What the menu says when it has no rows.
    property string emptyText: ""
    property string arrowTip: ""
    // A last row that is no choice ("Clear list"); empty: none.
    property string footerText: ""
    // Filled by the owner on menuAboutToShow, so the rows are current.
    property var entries: []
    readonly property bool open: menu.visible
    // Script mode and the layout check open the menu through it.
    readonly property alias popup: menu

    signal clicked()
    signal chosen(int index)
    signal menuAboutToShow()
    signal footerClicked()

    implicitWidth: main.implicitWidth + arrow.implicitWidth
    implicitHeight: 28

    // The half of the shape next to the other part: square corners there.
    component Half: Rectangle {
        property bool leftHalf: true
        radius: Style.radius
        Rectangle {
            x: parent.leftHalf ? parent.width - width : 0
            width: parent.radius
            height: parent.height
            color: parent.color
        }
    }

    function fill(button) {
        return !button.enabled ? Style.strongLine
             : button.pressed || (button === arrow && control.open) ? Style.primaryDeep
             : button.hovered ? Style.primaryHover
             : Style.primary
    }

    T.Button {
        id: main
        width: control.width - arrow.width
        height: control.height
        implicitWidth: implicitContentWidth + leftPadding + rightPadding
        leftPadding: 14
        rightPadding: 12
        topPadding: 0
        bottomPadding: 0
        hoverEnabled: true
        focusPolicy: Qt.TabFocus
        onClicked: control.clicked()

        contentItem: Text {
            textFormat: Text.PlainText
            text: main.text
            font: main.font
            color: Style.inkOnAccent
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        background: Half {
            leftHalf: true
            color: control.fill(main)
            FocusRing {
                control: main
            }
        }
    }

    T.AbstractButton {
        id: arrow
        objectName: "menuArrow"
        x: main.width
        width: implicitWidth
        height: control.height
        implicitWidth: 30
        hoverEnabled: true
        focusPolicy: Qt.TabFocus
        onClicked: menu.visible ? menu.close() : menu.open()
        ToolTip.visible: control.arrowTip.length > 0 && hovered && !control.open
        ToolTip.delay: 600
        ToolTip.text: control.arrowTip

        background: Half {
            leftHalf: false
            color: control.fill(arrow)
            FocusRing {
                control: arrow
            }
            // The seam between the parts.
            Rectangle {
                width: 1
                height: parent.height - 14
                anchors.verticalCenter: parent.verticalCenter
                color: Style.inkOnAccent
                opacity: 0.35
            }
        }
        contentItem: Canvas {
            property color ink: Style.inkOnAccent
            onInkChanged: requestPaint()
            rotation: control.open ? 180 : 0
            onPaint: {
                const ctx = getContext("2d")
                ctx.reset()
                ctx.strokeStyle = ink
                ctx.lineWidth = 1.6
                ctx.lineCap = "round"
                ctx.lineJoin = "round"
                const x = width / 2, y = height / 2
                ctx.beginPath()
                ctx.moveTo(x - 4, y - 2)
                ctx.lineTo(x, y + 2)
                ctx.lineTo(x + 4, y - 2)
                ctx.stroke()
            }
        }
    }

    T.Popup {
        id: menu
        objectName: "menu"
        y: control.height + 4
        width: Math.max(control.width, 420)
        implicitHeight: implicitContentHeight + topPadding + bottomPadding
        padding: 4
        margins: 8
        // The keyboard goes to the menu however it opened (Esc closes it
        // after a click too) and back to what had it when it closes.
        property Item opener: null
        focus: true
        onAboutToShow: {
            opener = control.Window.window ? control.Window.window.activeFocusItem : null
            control.menuAboutToShow()
        }
        onClosed: {
            const item = opener
            opener = null
            if (item && item.visible)
                item.forceActiveFocus()
        }

        contentItem: Column {
            spacing: 2

            Text {
                textFormat: Text.PlainText
                width: parent.width
                height: 26
                leftPadding: 10
                rightPadding: 10
                text: control.title
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: Style.muted
                elide: Text.ElideRight
                verticalAlignment: Text.AlignVCenter
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                height: 32
                leftPadding: 10
                rightPadding: 10
                visible: control.entries.length === 0
                text: control.emptyText
                font.pixelSize: 13
                color: Style.faint
                elide: Text.ElideRight
                verticalAlignment: Text.AlignVCenter
            }
            Repeater {
                model: control.entries

                T.ItemDelegate {
                    id: row
                    required property var modelData
                    required property int index
                    objectName: "menuRow" + index
                    width: parent.width
                    height: 32
                    leftPadding: 10
                    rightPadding: 10
                    topPadding: 0
                    bottomPadding: 0
                    hoverEnabled: true
                    enabled: modelData.enabled
                    highlighted: hovered
                    onClicked: {
                        menu.close()
                        control.chosen(index)
                    }
                    ToolTip.visible: hovered && label.truncated
                    ToolTip.delay: 400
                    ToolTip.text: modelData.text

                    contentItem: RowLayout {
                        spacing: 12
                        Text {
                            textFormat: Text.PlainText
                            id: label
                            // Long paths lose their middle; the tooltip has them whole.
                            readonly property bool elidesWithTip: true
                            Layout.fillWidth: true
                            text: row.modelData.text
                            font.pixelSize: 13
                            color: !row.enabled ? Style.faint : row.highlighted ? Style.selectedText : Style.text
                            elide: Text.ElideMiddle
                            verticalAlignment: Text.AlignVCenter
                        }
                        Text {
                            textFormat: Text.PlainText
                            visible: text.length > 0
                            text: row.modelData.note
                            font.pixelSize: 11
                            color: Style.faint
                            verticalAlignment: Text.AlignVCenter
                        }
                    }
                    background: Rectangle {
                        radius: Style.radius - 2
                        color: row.highlighted ? Style.selected : "transparent"
                    }
                }
            }

            T.ItemDelegate {
                id: footer
                objectName: "menuFooter"
                visible: control.footerText !== "" && control.entries.length > 0
                width: parent.width
                height: 32
                leftPadding: 10
                rightPadding: 10
                topPadding: 0
                bottomPadding: 0
                hoverEnabled: true
                highlighted: hovered || visualFocus
                onClicked: {
                    menu.close()
                    control.footerClicked()
                }
                contentItem: Text {
                    textFormat: Text.PlainText
                    text: control.footerText
                    font.pixelSize: 13
                    color: footer.highlighted ? Style.selectedText : Style.accent
                    elide: Text.ElideRight
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: Style.radius - 2
                    color: footer.highlighted ? Style.selected : "transparent"
                    // A line between the cards and the action on them.
                    Rectangle {
                        width: parent.width
                        height: 1
                        color: Style.line
                    }
                }
            }
        }

        background: Rectangle {
            radius: Style.radius
            color: Style.surface
            border.width: 1
            border.color: Style.dark ? Style.line : Style.strongLine
        }
    }
}
