import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media

// The side column: the month calendar and the selected day's events.
Rectangle {
    id: side

    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    required property bool exporting
    required property ActivityModel activity
    required property Bookmarks bookmarks
    // The area being searched (fractions of the picture); empty for none.
    required property rect area
    readonly property bool searching: area.width > 0 && area.height > 0
    readonly property alias calendar: calendar
    readonly property alias eventList: eventList
    readonly property alias areaChanges: areaChanges
    readonly property bool filterOpen: filterBox.open

    // Event-type bits of the filter entries, in entry order.
    readonly property var filterBits: [0, 0x01, 0x02, 0x04, 0x08, 0x10, 0x100]

    signal dayPicked(int year, int month, int day)
    signal eventPicked(real startMs)
    signal changePicked(real startMs)
    signal areaClosed()
    signal bookmarkEditRequested(int id, string note)

    radius: Style.panelRadius
    color: Style.panel
    border.color: Style.border
    clip: true

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 18
        spacing: 10

        CalendarPanel {
            id: calendar
            Layout.fillWidth: true
            card: side.card
            selYear: side.day.year
            selMonth: side.day.month
            selDay: side.day.day
            enabled: !side.exporting
            onDaySelected: (y, m, d) => side.dayPicked(y, m, d)
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Style.border
        }

        AreaChanges {
            id: areaChanges
            objectName: "areaChanges"
            visible: side.searching
            Layout.fillWidth: true
            Layout.fillHeight: true
            card: side.card
            activity: side.activity
            area: side.area
            position: side.engine.position
            onChangeClicked: startMs => side.changePicked(startMs)
            onCloseRequested: side.areaClosed()
        }

        RowLayout {
            visible: !side.searching
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: 8

            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: qsTr("Events (%1)").arg(eventList.count)
                font.pixelSize: 14
                font.weight: Font.DemiBold
                color: Style.text
                elide: Text.ElideRight
            }
            FlatComboBox {
                id: filterBox
                objectName: "filterBox"
                implicitHeight: 30
                Layout.preferredWidth: 132
                font.pixelSize: 11
                model: [qsTr("All types"), qsTr("Motion"), qsTr("Sound"), qsTr("Crying"), qsTr("PIR"), qsTr("Person"),
                        qsTr("Bookmarks")]
                // Naming the model makes a retranslated model re-apply the entry.
                currentIndex: model, Math.max(0, side.filterBits.indexOf(eventList.typeFilter))
                onActivated: index => eventList.typeFilter = side.filterBits[index]
            }
        }

        EventList {
            id: eventList
            visible: !side.searching
            Layout.fillWidth: true
            Layout.fillHeight: true
            card: side.card
            dayStart: side.day.dayStart
            dayEnd: side.day.dayEnd
            position: side.engine.position
            dayHasPlayable: side.day.hasPlayable
            dayHasMissing: side.day.hasMissing
            bookmarks: side.bookmarks
            onEventClicked: startMs => side.eventPicked(startMs)
            onBookmarkClicked: ms => side.changePicked(ms)
            onBookmarkEditRequested: (id, note) => side.bookmarkEditRequested(id, note)
            onBookmarkDeleteRequested: id => side.bookmarks.remove(id)
            onClearFilterRequested: {
                eventList.typeFilter = 0
                filterBox.currentIndex = 0
            }
        }

        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            visible: eventList.total > 0 && !side.searching
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 10
            color: Style.muted
            elide: Text.ElideRight
            text: (eventList.playableTotal > 0 ? qsTr("%1 · Events today · Click to seek") : qsTr("%1 · Events today"))
                  .arg(side.day.dayStart > 0 ? side.card.formatDate(side.day.dayStart + 43200000) : "")
        }
    }
}
