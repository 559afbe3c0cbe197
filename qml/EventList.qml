import QtQuick

ListView {
    property var card
    property real dayStart
    property real position
    property bool dayHasPlayable
    property bool dayHasMissing
    property int typeFilter: 0
    readonly property var allEvents: card && card.isOpen && dayStart > 0 ? (card.chunks, card.eventsBetween(dayStart, dayStart + 86400000 - 1)) : []
    readonly property int total: allEvents.length
    signal eventClicked(double startMs)
    signal clearFilterRequested()
}
