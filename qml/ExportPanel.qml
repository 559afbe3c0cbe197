import QtQuick

Item {
    property var card
    property var job
    property var timeline
    property real dayStart
    property var dayChunks
    property real position
    property string videoDesc
    property string audioDesc
    property bool g711
    property bool open: false
    readonly property bool menuOpen: false
    function openEditor(useExisting) { return false }
    function closeEditor() {}
    function resetForDay() {}
    function durationText(ms) { return "" }
}
