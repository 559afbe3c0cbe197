import QtQuick
import QtTest
import NivraPlayer
import Nivra.Media

// The month calendar on a card with recordings on 31 December 2023 and
// 10 January 2024, events on 10 and 12 January (the 12th's files missing).
Item {
    id: root
    width: 400
    height: 500

    TestCase {
        id: testCase
        name: "CalendarPanel"
        when: windowShown

        CardSession {
            id: session
        }

        Component {
            id: calendarComponent
            CalendarPanel {
                card: session
                year: 2024
                month: 1
            }
        }

        SignalSpy {
            id: daySpy
            signalName: "daySelected"
        }

        function initTestCase() {
            verify(session.openPath(simcardRoot + "/qml_eventday"), session.errorString)
        }

        function cleanup() {
            appSettings.language = ""
            daySpy.clear()
        }

        function createCalendar() {
            const calendar = createTemporaryObject(calendarComponent, root)
            verify(calendar)
            waitForRendering(calendar)
            return calendar
        }

        function cell(calendar, name) {
            const found = findChild(calendar, name)
            verify(found, "no cell " + name)
            return found
        }

        function test_step_data() {
            return [
                { tag: "back from January", year: 2024, month: 1, n: -1, toYear: 2023, toMonth: 12, title: "December 2023" },
                { tag: "on from December", year: 2023, month: 12, n: 1, toYear: 2024, toMonth: 1, title: "January 2024" },
                { tag: "back over a year", year: 2024, month: 3, n: -15, toYear: 2022, toMonth: 12, title: "December 2022" },
                { tag: "on over two years", year: 2024, month: 1, n: 25, toYear: 2026, toMonth: 2, title: "February 2026" },
                { tag: "in the year", year: 2024, month: 5, n: 0, toYear: 2024, toMonth: 5, title: "May 2024" }
            ]
        }

        function test_step(data) {
            const calendar = createCalendar()
            calendar.showMonth(data.year, data.month)
            calendar.step(data.n)
            compare(calendar.year, data.toYear)
            compare(calendar.month, data.toMonth)
            compare(cell(calendar, "monthTitle").text, data.title)
        }

        function test_arrowsFollowTheCard() {
            const calendar = createCalendar()
            compare(calendar.recordedDays, [10])
            compare(calendar.eventDays, [10, 12])

            mouseClick(cell(calendar, "previousMonth"))
            compare(calendar.year, 2023)
            compare(calendar.month, 12)
            compare(calendar.recordedDays, [31])
            compare(calendar.eventDays, [])
            verify(cell(cell(calendar, "day31"), "tint").visible)

            mouseClick(cell(calendar, "nextMonth"))
            compare(calendar.month, 1)
            compare(calendar.recordedDays, [10])
        }

        function test_followsTheSession() {
            const calendar = createCalendar()
            session.close()
            compare(calendar.recordedDays, [])
            compare(calendar.eventDays, [])
            verify(!cell(cell(calendar, "day10"), "tint").visible)
            verify(session.openPath(simcardRoot + "/qml_eventday"))
            compare(calendar.recordedDays, [10])
            compare(calendar.eventDays, [10, 12])
        }

        // sel: the selected date; the cell of `day` in January 2024.
        function test_cells_data() {
            return [
                { tag: "recorded, events, selected", sel: [2024, 1, 10], day: 10,
                  tint: true, tintColor: Style.primary, border: 2, dot: true, dotColor: Style.plum, ink: Style.inkOnAccent },
                { tag: "recorded, events", sel: [0, 0, 0], day: 10,
                  tint: true, tintColor: Style.primarySoft, border: 0, dot: true, dotColor: Style.event, ink: Style.primaryText },
                // Its recording's files are missing: an outline, not a tint.
                { tag: "events on missing files", sel: [2024, 1, 10], day: 12,
                  tint: true, tintColor: "transparent", border: 1, dot: true, dotColor: Style.event, ink: Style.faint },
                { tag: "missing files only", sel: [2024, 1, 10], day: 14,
                  tint: true, tintColor: "transparent", border: 1, dot: false, ink: Style.faint },
                { tag: "selected without recordings", sel: [2024, 1, 11], day: 11,
                  tint: true, tintColor: Style.primary, border: 2, dot: false, ink: Style.inkOnAccent },
                { tag: "same day of another month selected", sel: [2023, 12, 11], day: 11,
                  tint: false, dot: false, ink: Style.faint },
                { tag: "nothing", sel: [2024, 1, 10], day: 20,
                  tint: false, dot: false, ink: Style.faint }
            ]
        }

        function test_cells(data) {
            const calendar = createCalendar()
            calendar.selYear = data.sel[0]
            calendar.selMonth = data.sel[1]
            calendar.selDay = data.sel[2]
            const day = cell(calendar, "day" + data.day)
            const tint = cell(day, "tint")
            const dot = cell(day, "dot")
            compare(tint.visible, data.tint)
            if (data.tint) {
                verify(Qt.colorEqual(tint.color, data.tintColor), "tint " + tint.color)
                compare(tint.border.width, data.border)
            }
            compare(dot.visible, data.dot)
            if (data.dot)
                verify(Qt.colorEqual(dot.color, data.dotColor), "dot " + dot.color)
            verify(Qt.colorEqual(cell(day, "number").color, data.ink), "number " + cell(day, "number").color)
            compare(day.opacity, 1)
        }

        function test_todayIsBold() {
            const calendar = createCalendar()
            const now = new Date()
            calendar.showMonth(now.getFullYear(), now.getMonth() + 1)
            const other = now.getDate() === 1 ? 2 : 1
            verify(cell(cell(calendar, "day" + now.getDate()), "number").font.bold)
            verify(!cell(cell(calendar, "day" + other), "number").font.bold)
            // The same day number in the next month is not today.
            calendar.step(1)
            verify(!cell(cell(calendar, "day" + Math.min(now.getDate(), 28)), "number").font.bold)
        }

        function test_weekStartAndOutsideDays() {
            if (appSettings.firstDayOfWeek !== 7)
                skip("needs a region whose weeks start on Sunday (en_US)")
            const calendar = createCalendar()
            const expected = ["Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"]
            for (let i = 0; i < 7; ++i)
                compare(cell(calendar, "weekday" + i).text, expected[i])
            // 1 January 2024 is a Monday: the grid opens with 31 December.
            const first = cell(calendar, "outside0")
            compare(first.day, 31)
            compare(first.opacity, 0.35)
            compare(cell(calendar, "day1").index, 1)
            compare(cell(calendar, "day31").index, 31)
        }

        function test_chineseWeekdaysDropTheirPrefix() {
            appSettings.language = "zh_Hans"
            const calendar = createCalendar()
            const sunday = (7 - appSettings.firstDayOfWeek % 7) % 7
            compare(cell(calendar, "weekday" + sunday).text, "日")
            for (let i = 0; i < 7; ++i) {
                const text = cell(calendar, "weekday" + i).text
                compare(text.length, 1, "weekday " + i + " reads " + text)
                verify("日一二三四五六".indexOf(text) >= 0, text)
            }
        }

        function test_clicks() {
            const calendar = createCalendar()
            daySpy.target = calendar
            // Any day of the month reacts, recorded or not.
            mouseClick(cell(calendar, "day10"))
            mouseClick(cell(calendar, "day11"))
            // Days of the neighbouring months do not.
            mouseClick(cell(calendar, "outside0"))
            compare(daySpy.count, 2)
            compare(Array.from(daySpy.signalArguments[0]), [2024, 1, 10])
            compare(Array.from(daySpy.signalArguments[1]), [2024, 1, 11])
        }
    }
}
