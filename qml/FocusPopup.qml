import QtQuick
import QtQuick.Controls

// A popup that takes the keyboard when it opens, however it was opened (so
// that Esc closes it after a mouse click too), and gives it back to what had
// it: the button that opened it.
Popup {
    id: control

    // What had the keyboard when the popup opened.
    property Item opener: null

    focus: true
    closePolicy: Popup.CloseOnEscape
    onAboutToShow: {
        const window = parent ? parent.Window.window : null
        opener = window ? window.activeFocusItem : null
    }
    onClosed: {
        const item = opener
        opener = null
        if (item && item.visible)
            item.forceActiveFocus()
    }
}
