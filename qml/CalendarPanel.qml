import QtQuick
import QtQuick.Layouts

ColumnLayout {
    property var card
    property int year: 2024
    property int month: 1
    property int selYear: 0
    property int selMonth: 0
    property int selDay: 0
    readonly property var recordedDays: card && card.isOpen ? (card.chunks, card.timeMode, card.daysInMonth(year, month)) : []
    readonly property var eventDays: card && card.isOpen ? (card.chunks, card.timeMode, card.eventDaysInMonth(year, month)) : []
    signal daySelected(int y, int m, int d)
    function showMonth(y, m) { year = y; month = m }
    Item { Layout.preferredHeight: 300 }
}
