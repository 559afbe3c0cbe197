import QtQuick

Flow {
    property var items: []
    property bool compact: false
    readonly property int lineWidth: 300
    readonly property int compactWidth: 60
}
