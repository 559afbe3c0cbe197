import QtQuick
import QtTest
import NivraPlayer
import Nivra.Media

// The event list on a card whose 10 January 2024 has six playable events
// (10:00:10 .. 10:03:30) and, newer, ten events on missing files
// (12:00:05 .. 12:01:35, Crying).
Item {
    id: root
    width: 320
    height: 200

    TestCase {
        id: testCase
        name: "EventList"
        when: windowShown

        CardSession {
            id: session
        }

        CardSession {
            id: closedSession
        }

        Component {
            id: listComponent
            EventList {
                width: 300
                height: 200
            }
        }

        SignalSpy {
            id: clickSpy
            signalName: "eventClicked"
        }

        SignalSpy {
            id: clearSpy
            signalName: "clearFilterRequested"
        }

        function initTestCase() {
            verify(session.openPath(simcardRoot + "/qml_eventday"), session.errorString)
        }

        function cleanup() {
            clickSpy.clear()
            clearSpy.clear()
        }

        function utc(text) {
            return Date.parse(text)
        }

        // A list for the day, with the day's chunk state as the window
        // derives it.
        function createList(card, date, filter) {
            const dayStart = card.isOpen ? card.dayStartMs(date[0], date[1], date[2]) : 0
            const chunks = card.isOpen ? card.dayChunks(dayStart) : []
            const list = createTemporaryObject(listComponent, root, {
                card: card,
                dayStart: dayStart,
                dayEnd: card.isOpen ? card.dayEndMs(dayStart) : 0,
                position: 0,
                dayHasPlayable: chunks.some(c => c.playable),
                dayHasMissing: chunks.some(c => !c.playable),
                typeFilter: filter || 0
            })
            verify(list)
            waitForRendering(list)
            return list
        }

        function rowOf(list, startMs) {
            const index = list.model.findIndex(e => e.startMs === startMs)
            verify(index >= 0, "no row for " + startMs)
            list.positionViewAtIndex(index, ListView.Contain)
            const row = list.itemAtIndex(index)
            verify(row)
            return row
        }

        function topIndex(list) {
            return list.indexAt(20, list.contentY + 1)
        }

        function test_newestFirst() {
            const list = createList(session, [2024, 1, 10])
            compare(list.total, 16)
            compare(list.count, 16)
            for (let i = 1; i < list.allEvents.length; ++i)
                verify(list.allEvents[i - 1].startMs > list.allEvents[i].startMs, "row " + i)
            compare(list.allEvents[0].startMs, utc("2024-01-10T12:01:35Z"))
            compare(list.allEvents[15].startMs, utc("2024-01-10T10:00:10Z"))
        }

        function test_filter_data() {
            return [
                { tag: "all", filter: 0, count: 16 },
                { tag: "motion, also with person", filter: 0x01, count: 3 },
                { tag: "sound", filter: 0x02, count: 2 },
                { tag: "crying", filter: 0x04, count: 11 },
                { tag: "pir", filter: 0x08, count: 0 },
                { tag: "person", filter: 0x10, count: 1 }
            ]
        }

        function test_filter(data) {
            const list = createList(session, [2024, 1, 10])
            list.typeFilter = data.filter
            compare(list.count, data.count)
            compare(list.total, 16)
            for (let i = 0; i < list.model.length; ++i)
                verify(data.filter === 0 || (list.model[i].types & data.filter) !== 0)
            compare(findChild(list, "emptyText").visible, data.count === 0)
        }

        function test_rows_data() {
            return [
                // The length the card stores, as nivra-card says it: whole
                // seconds, at least one shown.
                { tag: "400 ms", start: "2024-01-10T10:00:10Z", types: "Motion", detail: "Duration 1 s" },
                { tag: "60.5 s", start: "2024-01-10T10:00:30Z", types: "Sound", detail: "Duration 1 min 0 s" },
                { tag: "two types", start: "2024-01-10T10:02:00Z", types: "Motion / Person", detail: "Duration 2 s" },
                { tag: "file missing", start: "2024-01-10T12:01:35Z", types: "Crying",
                  detail: "Duration 2 s", missing: true }
            ]
        }

        function test_rows(data) {
            const list = createList(session, [2024, 1, 10])
            const row = rowOf(list, utc(data.start))
            compare(findChild(row, "clock").text, session.formatClock(utc(data.start), true))
            compare(findChild(row, "types").text, data.types)
            compare(findChild(row, "detail").text, data.detail)
            // The missing file is said on a line of its own, so both fit.
            const missing = findChild(row, "missing")
            compare(missing.visible, data.missing === true)
            compare(missing.text, "recording file missing")
            compare(row.enabled, !data.missing)
            // Only a row that can be clicked points on.
            compare(findChild(row, "chevron").visible, !data.missing)
        }

        function test_typeNames_data() {
            return [
                { tag: "none known", types: 0x20, text: "Event" },
                { tag: "all", types: 0x1f, text: "Motion / Sound / Crying / PIR / Person" },
                { tag: "pir and unknown", types: 0x48, text: "PIR" }
            ]
        }

        function test_typeNames(data) {
            compare(createList(session, [2024, 1, 10]).typeNames(data.types), data.text)
        }

        function test_opensAtTheNewestPlayableEvent() {
            const list = createList(session, [2024, 1, 10])
            // The ten newest lie on missing files: the eleventh is at the top.
            tryVerify(() => topIndex(list) === 10, 5000, "top row " + topIndex(list))
            compare(list.model[10].startMs, utc("2024-01-10T10:03:30Z"))
            verify(list.model[10].playable)

            // A new model scrolls again once it has settled.
            list.typeFilter = 0x02
            tryCompare(list, "contentY", list.originY)
            compare(topIndex(list), 0)
        }

        function test_opensAtTheTopWhenNothingPlays() {
            // 12 January: one event, its file missing.
            const list = createList(session, [2024, 1, 12])
            compare(list.count, 1)
            verify(!list.model[0].playable)
            tryCompare(list, "contentY", list.originY)
        }

        function test_clicks() {
            const list = createList(session, [2024, 1, 10])
            clickSpy.target = list
            tryVerify(() => topIndex(list) === 10)
            mouseClick(rowOf(list, utc("2024-01-10T10:03:30Z")))
            // Rows of missing files do not react.
            mouseClick(rowOf(list, utc("2024-01-10T12:00:05Z")))
            compare(clickSpy.count, 1)
            compare(clickSpy.signalArguments[0][0], utc("2024-01-10T10:03:30Z"))
        }

        function test_positionHighlightsItsEvent() {
            const list = createList(session, [2024, 1, 10])
            const inside = rowOf(list, utc("2024-01-10T10:00:30Z"))
            list.position = utc("2024-01-10T10:01:30Z") + 999
            verify(Qt.colorEqual(inside.background.color, Style.selected))
            verify(Qt.colorEqual(rowOf(list, utc("2024-01-10T10:00:10Z")).background.color, "transparent"))
            list.position = utc("2024-01-10T10:01:31Z")
            verify(Qt.colorEqual(rowOf(list, utc("2024-01-10T10:00:30Z")).background.color, "transparent"))
        }

        // open: whether the card is open.
        function test_emptyState_data() {
            return [
                { tag: "session not open", open: false, date: [2024, 1, 10], filter: 0,
                  text: "Open an SD card or recording folder to see events", clear: false },
                { tag: "files missing", open: true, date: [2024, 1, 14], filter: 0,
                  text: "The recording index exists, but the video files are not in this folder", clear: false },
                { tag: "no recordings", open: true, date: [2024, 1, 11], filter: 0,
                  text: "Select a date with recordings", clear: false },
                { tag: "no recordings, filtered", open: true, date: [2024, 1, 11], filter: 0x08,
                  text: "Select a date with recordings", clear: false },
                { tag: "no events", open: true, date: [2023, 12, 31], filter: 0,
                  text: "No events on this day. Use the timeline to browse recordings", clear: false },
                { tag: "filter hides all", open: true, date: [2024, 1, 10], filter: 0x08,
                  text: "No events match this filter", clear: true }
            ]
        }

        function test_emptyState(data) {
            const card = data.open ? session : closedSession
            const list = createList(card, data.date, data.filter)
            compare(list.count, 0)
            const text = findChild(list, "emptyText")
            verify(text.visible)
            compare(text.text, data.text)
            const clear = findChild(list, "clearFilter")
            compare(clear.visible, data.clear)
            if (data.clear) {
                clearSpy.target = list
                mouseClick(clear)
                compare(clearSpy.count, 1)
            }
        }

        function test_followsTheSession() {
            const list = createList(session, [2024, 1, 10])
            compare(list.total, 16)
            session.close()
            compare(list.total, 0)
            compare(findChild(list, "emptyText").text, "Open an SD card or recording folder to see events")
            verify(session.openPath(simcardRoot + "/qml_eventday"))
            compare(list.total, 16)
        }
    }
}
