import QtQuick
import QtQuick.Templates as T

// A flat scroll bar, shown whenever the content is larger than its view
// (not only while it is being moved), so that a clipped view says it
// scrolls.
T.ScrollBar {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding)
    padding: 2
    minimumSize: 0.1
    hoverEnabled: true
    visible: policy !== T.ScrollBar.AlwaysOff && (policy === T.ScrollBar.AlwaysOn || size < 1.0)

    contentItem: Rectangle {
        objectName: "thumb"
        implicitWidth: 6
        implicitHeight: 6
        radius: 3
        color: control.pressed ? Style.text : control.hovered ? Style.muted : Style.faint
    }
}
