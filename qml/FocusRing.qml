import QtQuick

// The keyboard's focus mark: a ring just outside the control it fills,
// shown while the control has the focus from the keyboard.
Rectangle {
    id: ring

    // The control whose keyboard focus it shows.
    required property Item control
    property real gap: 2
    property real cornerRadius: Style.radius

    objectName: "focusRing"
    anchors.fill: parent
    anchors.margins: -(gap + Style.focusRingWidth)
    radius: cornerRadius + gap + Style.focusRingWidth
    color: "transparent"
    border.width: Style.focusRingWidth
    border.color: Style.focusRing
    visible: control.visualFocus === true || (control.visualFocus === undefined && control.activeFocus)
}
