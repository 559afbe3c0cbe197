import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media
import NivraPlayer

// The selected day's events, newest first, optionally filtered by type.
ListView {
    id: list

    required property CardSession card
    required property double dayStart
    // The next day's start: 23, 24 or 25 hours after dayStart.
    required property double dayEnd
    required property double position
    required property bool dayHasPlayable
    required property bool dayHasMissing
    // 0 for all events, else one event-type bit (kBookmark: the bookmarks).
    property int typeFilter: 0
    // The user's bookmarks of the card, listed among the events.
    property Bookmarks bookmarks: null
    readonly property int kBookmark: 0x100

    // The session returns the events in its own order; the list shows the
    // newest first. Reading chunks re-queries after a reload.
    readonly property var allEvents: {
        card.chunks
        if (!card.isOpen || dayStart <= 0)
            return []
        const events = card.eventsBetween(dayStart, dayEnd - 1)
        if (bookmarks) {
            bookmarks.revision
            for (const b of bookmarks.inRange(dayStart, dayEnd - 1))
                events.push({ startMs: b.ms, endMs: b.ms, types: kBookmark, playable: true, durationMs: 0,
                              bookmark: true, id: b.id, note: b.note })
        }
        return events.sort((a, b) => b.startMs - a.startMs)
    }
    // The camera's events; the bookmarks are the user's.
    readonly property int total: allEvents.filter(e => !e.bookmark).length
    // Those whose recordings can be played: only they can be clicked.
    readonly property int playableTotal: allEvents.filter(e => e.playable && !e.bookmark).length
    readonly property string emptyText: {
        if (!card.isOpen)
            return qsTr("Open an SD card or recording folder to see events")
        if (!dayHasPlayable && dayHasMissing)
            return qsTr("The recording index exists, but the video files are not in this folder")
        if (!dayHasPlayable)
            return qsTr("Select a date with recordings")
        if (total === 0)
            return qsTr("No events on this day. Use the timeline to browse recordings")
        return qsTr("No events match this filter")
    }

    signal eventClicked(double startMs)
    signal clearFilterRequested()
    signal bookmarkClicked(double ms)
    signal bookmarkEditRequested(int id, string note)
    signal bookmarkDeleteRequested(int id)

    // "Motion / Sound", or "Event" when no known bit is set.
    function typeNames(types) {
        if (types & kBookmark)
            return qsTr("Bookmark")
        const names = [qsTr("Motion"), qsTr("Sound"), qsTr("Crying"), qsTr("PIR"), qsTr("Person")]
        const parts = []
        for (let i = 0; i < names.length; ++i) {
            if (types & (1 << i))
                parts.push(names[i])
        }
        return parts.length > 0 ? parts.join(" / ") : qsTr("Event")
    }

    // The event's stored length (the session's durationMs), as nivra-card says it.
    function durationText(durationMs) {
        const s = Math.max(1, Math.round(durationMs / 1000))
        return s < 60 ? qsTr("Duration %1 s").arg(s)
                      : qsTr("Duration %1 min %2 s").arg(Math.floor(s / 60)).arg(s % 60)
    }

    // Rows that exist now, those of playable events, and those showing
    // their picture.
    function thumbCounts() {
        let rows = 0
        let playable = 0
        let pictures = 0
        const items = contentItem.children
        for (let i = 0; i < items.length; ++i) {
            const tile = items[i].contentItem ? findTile(items[i].contentItem) : null
            if (!tile)
                continue
            ++rows
            if (items[i].playable)
                ++playable
            if (tile.thumb.ready)
                ++pictures
        }
        return { rows: rows, playable: playable, pictures: pictures }
    }

    function findTile(item) {
        const kids = item.children
        for (let i = 0; i < kids.length; ++i) {
            if (kids[i].objectName === "thumbTile")
                return kids[i]
        }
        return null
    }

    // A partial copy of a card can put many missing-file events first, so
    // the list opens at the newest event that can play.
    function scrollToPlayable() {
        forceLayout()
        const rows = model
        for (let i = 0; i < rows.length; ++i) {
            if (rows[i].playable) {
                positionViewAtIndex(i, ListView.Beginning)
                return
            }
        }
        positionViewAtBeginning()
    }

    spacing: 2
    clip: true
    // Rows (and so their pictures) exist for what is in view and two more.
    cacheBuffer: 2 * 56 // rows are 54 high, 2 apart
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: FlatScrollBar {}

    model: typeFilter === 0 ? allEvents : allEvents.filter(e => (e.types & typeFilter) !== 0)
    // Wait until the new rows are in place before scrolling.
    onModelChanged: Qt.callLater(scrollToPlayable)

    delegate: AbstractButton {
        id: row

        required property var modelData
        required property int index
        readonly property bool playable: modelData.playable
        readonly property color ink: playable ? Style.text : Style.faint

        objectName: "event" + index
        width: list.width - 10
        height: 54
        leftPadding: 8
        rightPadding: 8
        hoverEnabled: true
        focusPolicy: Qt.TabFocus
        enabled: playable
        onClicked: modelData.bookmark ? list.bookmarkClicked(modelData.startMs) : list.eventClicked(modelData.startMs)
        // A bookmark's menu: the note edited, or the bookmark deleted.
        Keys.onMenuPressed: if (modelData.bookmark) bookmarkMenu.popup(row, 0, row.height)
        TapHandler {
            enabled: row.modelData.bookmark === true
            acceptedButtons: Qt.RightButton
            onTapped: bookmarkMenu.popup()
        }
        Menu {
            id: bookmarkMenu
            MenuItem {
                text: qsTr("Edit note…")
                onTriggered: list.bookmarkEditRequested(row.modelData.id, row.modelData.note)
            }
            MenuItem {
                text: qsTr("Delete bookmark")
                onTriggered: list.bookmarkDeleteRequested(row.modelData.id)
            }
        }
        // Tab reaches the rows one by one; keep the focused one in view.
        onActiveFocusChanged: {
            if (activeFocus)
                list.positionViewAtIndex(index, ListView.Contain)
        }

        background: Rectangle {
            FocusRing {
                control: row
                gap: -1
            }
            radius: Style.radius
            color: row.hovered || (row.playable && row.modelData.startMs <= list.position
                                   && list.position <= row.modelData.endMs)
                   ? Style.selected : "transparent"
        }

        contentItem: RowLayout {
            spacing: 10

            // The picture of the event's first moment; the missing state
            // (no picture, a border) where its file is not in the folder.
            Rectangle {
                objectName: "thumbTile"
                readonly property alias thumb: thumb
                Layout.preferredWidth: 48
                Layout.preferredHeight: 27
                radius: 5
                color: Style.surface2
                border.width: row.playable ? 0 : 1
                border.color: Style.borderStrong

                EventThumb {
                    id: thumb
                    objectName: "thumb"
                    anchors.fill: parent
                    card: row.playable ? list.card : null
                    timeMs: row.modelData.startMs
                }

                Rectangle {
                    anchors.centerIn: parent
                    visible: !thumb.ready
                    width: 7
                    height: 7
                    radius: 3.5
                    color: row.playable ? Style.event : Style.faint
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8

                    Text {
                        textFormat: Text.PlainText
                        objectName: "clock"
                        // Naming the time mode re-reads the clock when it changes.
                        text: (list.card.timeMode, list.card.formatClock(row.modelData.startMs, true))
                        font.family: Style.mono
                        font.pixelSize: 12
                        font.weight: Font.Medium
                        color: row.ink
                    }
                    Text {
                        textFormat: Text.PlainText
                        id: types
                        objectName: "types"
                        // Elides by design (several types in a narrow column),
                        // with the full text as a tooltip.
                        readonly property bool elidesWithTip: true
                        Layout.fillWidth: true
                        text: list.typeNames(row.modelData.types)
                        font.pixelSize: 12
                        color: row.ink
                        elide: Text.ElideRight
                        ToolTip.visible: truncated && row.hovered
                        ToolTip.delay: 500
                        ToolTip.text: text
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "detail"
                    Layout.fillWidth: true
                    text: row.modelData.bookmark ? (row.modelData.note !== "" ? row.modelData.note : qsTr("No note"))
                                                 : list.durationText(row.modelData.durationMs)
                    font.pixelSize: 10
                    color: Style.muted
                    elide: Text.ElideRight
                }
                // A line of its own: beside the duration it did not fit
                // the side column.
                Text {
                    textFormat: Text.PlainText
                    objectName: "missing"
                    Layout.fillWidth: true
                    visible: !row.playable
                    text: qsTr("recording file missing")
                    font.pixelSize: 10
                    color: Style.muted
                    elide: Text.ElideRight
                }
            }

            Text {
                textFormat: Text.PlainText
                // Only a row that can be clicked points on.
                objectName: "chevron"
                visible: row.playable
                text: "›"
                font.pixelSize: 20
                color: Style.muted
            }
        }
    }

    // Held in a property, not as a child, so it stays put while the rows
    // scroll.
    property Item emptyState: ColumnLayout {
        parent: list
        anchors.centerIn: parent
        width: Math.min(260, list.width)
        visible: list.count === 0
        spacing: 12

        Rectangle {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 44
            Layout.preferredHeight: 44
            radius: 12
            color: Style.surface2
            border.color: Style.border

            Rectangle {
                anchors.centerIn: parent
                width: 8
                height: 8
                radius: 4
                color: Style.event
            }
        }
        Text {
            textFormat: Text.PlainText
            objectName: "emptyText"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            font.pixelSize: 12
            color: Style.muted
            text: list.emptyText
        }
        OutlineButton {
            objectName: "clearFilter"
            Layout.alignment: Qt.AlignHCenter
            visible: list.typeFilter !== 0 && list.total > 0 && list.dayHasPlayable
            text: qsTr("Clear filter")
            onClicked: list.clearFilterRequested()
        }
    }
}
