import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T

// A flat drop-down. Rows have a fixed height so that the menu's size is
// known before it is filled, which is what placing it above or below needs.
T.ComboBox {
    id: control

    readonly property bool open: popup.visible
    property int rowHeight: 32
    readonly property int rowSpacing: 2
    property int maxVisibleRows: 10
    readonly property int menuPadding: 4
    readonly property int menuRows: Math.min(count, maxVisibleRows)
    readonly property real menuHeight: menuRows > 0
        ? menuRows * rowHeight + (menuRows - 1) * rowSpacing + 2 * menuPadding
        : 2 * menuPadding

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: 32
    leftPadding: 10
    rightPadding: 30
    topPadding: 0
    bottomPadding: 0
    hoverEnabled: true
    // Reached with Tab; a click opens the menu without keeping the keyboard,
    // which the menu takes while open (Esc closes it) and gives back.
    focusPolicy: Qt.TabFocus
    font.pixelSize: 13

    delegate: T.ItemDelegate {
        id: row
        required property int index
        width: ListView.view ? ListView.view.width : control.width
        height: control.rowHeight
        leftPadding: 10
        rightPadding: 10
        topPadding: 6
        bottomPadding: 6
        hoverEnabled: control.hoverEnabled
        highlighted: control.highlightedIndex === index
        enabled: control.enabled

        contentItem: Text {
            textFormat: Text.PlainText
            text: control.textAt(row.index)
            font.pixelSize: control.font.pixelSize
            font.family: control.font.family
            font.weight: control.currentIndex === row.index ? Font.DemiBold : Font.Normal
            color: !control.enabled ? Style.faint
                 : row.highlighted || control.currentIndex === row.index ? Style.selectedText
                 : Style.text
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: Style.radius - 2
            color: row.highlighted ? Style.selected : "transparent"
        }
    }

    indicator: Canvas {
        x: control.width - width - 11
        y: (control.height - height) / 2
        width: 10
        height: 6
        rotation: control.open ? 180 : 0
        property color ink: !control.enabled ? Style.faint
                          : control.open || control.hovered ? Style.text
                          : Style.muted
        onInkChanged: requestPaint()
        onPaint: {
            const ctx = getContext("2d")
            ctx.reset()
            ctx.strokeStyle = ink
            ctx.lineWidth = 1.4
            ctx.lineCap = "round"
            ctx.lineJoin = "round"
            ctx.beginPath()
            ctx.moveTo(1, 1)
            ctx.lineTo(5, 5)
            ctx.lineTo(9, 1)
            ctx.stroke()
        }
    }

    contentItem: Text {
        textFormat: Text.PlainText
        text: control.displayText
        font: control.font
        color: control.enabled ? Style.text : Style.faint
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        FocusRing {
            control: control
        }
        implicitWidth: 120
        implicitHeight: 32
        radius: Style.radius
        opacity: control.enabled ? 1 : 0.6
        color: !control.enabled ? Style.surface2
             : control.open ? Style.surface
             : control.hovered ? Style.surface3
             : Style.surface2
        border.width: 1
        border.color: !control.enabled ? Style.line
                    : control.open || control.visualFocus ? Style.accent
                    : control.hovered ? Style.strongLine
                    : Style.line
    }

    popup: T.Popup {
        // Opens upwards when the room below the field is too small and
        // there is more room above; decided as it opens, since where the
        // field sits in the window is not something a binding can follow.
        property bool above: false
        // What had the keyboard before the menu opened: the field takes it
        // (arrows, Enter and Esc work the menu), then gives it back.
        property Item opener: null
        onClosed: {
            const item = opener
            opener = null
            if (item && item !== control && item.visible)
                item.forceActiveFocus()
        }
        onAboutToShow: {
            const window = control.Window.window
            opener = window ? window.activeFocusItem : null
            if (!control.activeFocus)
                control.forceActiveFocus()
            if (!window) {
                above = false
                return
            }
            const fieldTop = control.mapToItem(null, 0, 0).y
            const roomBelow = window.height - (fieldTop + control.height) - 8
            const roomAbove = fieldTop - 8
            above = roomBelow < control.menuHeight + 4 && roomAbove > roomBelow
        }

        y: above ? -control.menuHeight - 4 : control.height + 4
        width: Math.max(control.width, implicitContentWidth + leftPadding + rightPadding)
        height: control.menuHeight
        padding: control.menuPadding
        margins: 8

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            implicitWidth: contentItem.childrenRect.width
            spacing: control.rowSpacing
            boundsBehavior: Flickable.StopAtBounds
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
            highlightMoveDuration: 0
            ScrollIndicator.vertical: ScrollIndicator {
                id: indicator
                // Shown while the list moves, when it is longer than the menu.
                contentItem: Rectangle {
                    implicitWidth: 4
                    implicitHeight: 4
                    radius: 2
                    color: Style.faint
                    visible: indicator.size < 1.0
                    opacity: indicator.active ? 1 : 0
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
