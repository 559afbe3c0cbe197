import QtQuick

// A part of the window made on its first use (a dialog, a popup), so that
// start-up does not build what the first picture does not need.
Loader {
    active: false

    // The part, made now if it was not yet.
    function get() {
        active = true
        return item
    }

    // Closes the part if it was ever made.
    function close() {
        if (item)
            item.close()
    }

    // Whether the part exists and shows.
    readonly property bool showing: item !== null && item.visible
}
