import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media

// The month calendar of the side column: marks the days with playable
// recordings and those on which an event starts, and reports the day the
// user picks.
ColumnLayout {
    id: calendar

    required property CardSession card
    property int year: new Date().getFullYear()
    property int month: new Date().getMonth() + 1
    property int selYear: 0
    property int selMonth: 0
    property int selDay: 0

    // Reading chunks and timeMode makes both lists follow a reload and a
    // change of the time mode.
    readonly property var recordedDays: {
        card.chunks
        card.timeMode
        return card.isOpen ? card.daysInMonth(year, month) : []
    }
    // Days whose recordings' files are all missing: marked apart, so that
    // they can be found (their events are listed) but not taken for days
    // that play.
    readonly property var missingDays: {
        card.chunks
        card.timeMode
        return card.isOpen ? card.missingDaysInMonth(year, month) : []
    }
    readonly property var eventDays: {
        card.chunks
        card.timeMode
        return card.isOpen ? card.eventDaysInMonth(year, month) : []
    }
    readonly property var names: Qt.locale(appSettings.localeName)

    // The region's first day of the week as a JavaScript weekday (0 = Sunday).
    readonly property int weekStart: appSettings.firstDayOfWeek % 7
    // Grid position of the month's first day, and the grid's first date.
    readonly property int lead: (new Date(year, month - 1, 1).getDay() - weekStart + 7) % 7
    readonly property int monthLength: new Date(year, month, 0).getDate()

    signal daySelected(int y, int m, int d)

    // The day the keyboard is on: arrows move it (across months too), Enter
    // or Space opens it.
    property int cursorDay: 1

    function showMonth(y, m) {
        year = y
        month = m
    }

    function moveCursor(days) {
        const d = new Date(year, month - 1, cursorDay + days)
        // The new month first (it may move the cursor), then the day.
        if (d.getFullYear() !== year || d.getMonth() + 1 !== month)
            showMonth(d.getFullYear(), d.getMonth() + 1)
        cursorDay = d.getDate()
    }

    // On the selected day while its month is shown; kept in the month.
    function syncCursor() {
        if (selYear === year && selMonth === month && selDay > 0)
            cursorDay = selDay
        else
            cursorDay = Math.min(cursorDay, monthLength)
    }
    onYearChanged: syncCursor()
    onMonthChanged: syncCursor()
    onSelYearChanged: syncCursor()
    onSelMonthChanged: syncCursor()
    onSelDayChanged: syncCursor()

    function step(n) {
        const index = year * 12 + (month - 1) + n
        year = Math.floor(index / 12)
        month = index - year * 12 + 1
    }

    function weekdayName(jsDay) {
        if (appSettings.effectiveLanguage === "zh_Hans")
            return names.dayName(jsDay, Locale.NarrowFormat).replace(/^(星期|周)/, "")
        return names.dayName(jsDay, Locale.ShortFormat)
    }

    spacing: 6

    RowLayout {
        Layout.fillWidth: true

        OutlineButton {
            objectName: "previousMonth"
            quiet: true
            text: "‹"
            font.pixelSize: 18
            implicitWidth: 30
            leftPadding: 0
            rightPadding: 0
            onClicked: calendar.step(-1)
        }
        Label {
            textFormat: Text.PlainText
            objectName: "monthTitle"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 15
            color: Style.text
            elide: Text.ElideRight
            text: new Date(calendar.year, calendar.month - 1, 1).toLocaleDateString(calendar.names, qsTr("MMMM yyyy"))
        }
        OutlineButton {
            objectName: "nextMonth"
            quiet: true
            text: "›"
            font.pixelSize: 18
            implicitWidth: 30
            leftPadding: 0
            rightPadding: 0
            onClicked: calendar.step(1)
        }
    }

    Row {
        Layout.alignment: Qt.AlignHCenter
        spacing: 4

        Repeater {
            model: 7

            Label {
                textFormat: Text.PlainText
                required property int index
                objectName: "weekday" + index
                width: 34
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: 12
                color: Style.muted
                text: calendar.weekdayName((calendar.weekStart + index) % 7)
            }
        }
    }

    Grid {
        id: grid
        objectName: "dayGrid"
        Layout.alignment: Qt.AlignHCenter
        columns: 7
        spacing: 4
        // One stop for Tab; the arrows move within it.
        activeFocusOnTab: true
        Keys.onPressed: event => {
            const moves = {}
            moves[Qt.Key_Left] = -1
            moves[Qt.Key_Right] = 1
            moves[Qt.Key_Up] = -7
            moves[Qt.Key_Down] = 7
            if (moves[event.key] !== undefined) {
                calendar.moveCursor(moves[event.key])
                event.accepted = true
            } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space) {
                calendar.daySelected(calendar.year, calendar.month, calendar.cursorDay)
                event.accepted = true
            }
        }

        // Six weeks, so the grid keeps its height from month to month.
        Repeater {
            model: 42

            Item {
                id: cell

                required property int index
                // Day of the month; outside the shown month, the date that
                // the cell stands for.
                readonly property date date: new Date(calendar.year, calendar.month - 1, index - calendar.lead + 1)
                readonly property int day: date.getDate()
                readonly property bool inMonth: index >= calendar.lead && index < calendar.lead + calendar.monthLength
                readonly property bool recorded: inMonth && calendar.recordedDays.indexOf(day) >= 0
                readonly property bool missing: inMonth && !recorded && calendar.missingDays.indexOf(day) >= 0
                readonly property bool hasEvent: inMonth && calendar.eventDays.indexOf(day) >= 0
                readonly property bool selected: inMonth && calendar.selYear === calendar.year
                                                 && calendar.selMonth === calendar.month && calendar.selDay === day
                readonly property bool today: {
                    const now = new Date()
                    return inMonth && now.getFullYear() === calendar.year && now.getMonth() + 1 === calendar.month
                           && now.getDate() === day
                }

                objectName: inMonth ? "day" + day : "outside" + index
                width: 34
                height: 32
                opacity: inMonth ? 1 : 0.35
                // The keyboard's day, while the grid has the focus.
                readonly property bool visualFocus: inMonth && grid.activeFocus && day === calendar.cursorDay

                FocusRing {
                    control: cell
                    anchors.margins: 1 - Style.focusRingWidth
                }

                Rectangle {
                    objectName: "tint"
                    anchors.centerIn: parent
                    width: 32
                    height: 30
                    radius: 8
                    visible: cell.recorded || cell.selected || cell.missing
                    color: cell.selected ? Style.primary : cell.missing ? "transparent" : Style.primarySoft
                    border.width: cell.selected ? 2 : cell.missing ? 1 : 0
                    border.color: cell.missing && !cell.selected ? Style.borderStrong : Style.primaryDeep
                }

                Text {
                    textFormat: Text.PlainText
                    objectName: "number"
                    anchors.centerIn: parent
                    text: cell.day
                    font.pixelSize: 13
                    font.bold: cell.today
                    color: cell.selected ? Style.inkOnAccent : cell.recorded ? Style.primaryText : Style.faint
                }

                Rectangle {
                    objectName: "dot"
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 3
                    width: 4
                    height: 4
                    radius: 2
                    visible: cell.hasEvent
                    color: cell.selected ? Style.plum : Style.event
                }

                MouseArea {
                    anchors.fill: parent
                    enabled: cell.inMonth
                    cursorShape: cell.recorded ? Qt.PointingHandCursor : Qt.ArrowCursor
                    onClicked: calendar.daySelected(calendar.year, calendar.month, cell.day)
                }
            }
        }
    }

    Legend {
        Layout.fillWidth: true
        Layout.leftMargin: 4
        items: [
            { text: qsTr("Recordings"), color: Style.primarySoft, shape: "box", border: false },
            { text: qsTr("Events"), color: Style.event, shape: "dot", border: false },
            { text: qsTr("Selected"), color: Style.primary, shape: "box", border: false }
        ]
    }
}
