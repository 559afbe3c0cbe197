import QtQuick
import Nivra.Media

// "Events only": plays the events of the filter's types one after another in
// time order, and pauses after the last, where it turns itself off: play then
// plays on as usual. It goes from the event being played
// to its successor, never from the position: at 8× and 16× the position moves
// by key frames seconds apart and may pass a short event's whole span.
Item {
    id: control

    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    // Event-type bits to play; 0 for all.
    required property int typeFilter
    // With continuous play the next event may lie on a later day.
    required property bool continuous
    property bool active: false

    // The event being played, as the session gives it; null between events.
    property var current: null
    // Where our own seek goes until it lands; -1 when none is on its way.
    property double seekTarget: -1

    signal toastRequested(string text)
    // An event began to play (script mode logs it).
    signal eventEntered(double startMs)
    // Paused after the last event.
    signal finished()

    // The event going on at ms or the first after it; null when none.
    function eventFrom(ms) {
        const next = card.nextEvent(ms, typeFilter, continuous ? -1 : day.dayEnd)
        return next.startMs !== undefined ? next : null
    }

    function enter(event) {
        if (!current || current.startMs !== event.startMs)
            eventEntered(event.startMs)
        current = event
    }

    // Seeks to the next event from fromMs, or pauses when there is none.
    function playNext(fromMs) {
        const next = eventFrom(fromMs)
        if (!next) {
            current = null
            engine.pause()
            toastRequested(qsTr("No more events"))
            finished()
            active = false
            return
        }
        enter(next)
        seekTarget = next.startMs
        engine.seek(next.startMs, day.snapsAt(next.startMs))
        toastRequested(qsTr("Next event %1").arg(card.formatClock(next.startMs, true)))
    }

    // Takes the event at ms as the one playing; outside every event, goes
    // on to the next one when asked to.
    function anchor(ms, seekOutside) {
        const event = eventFrom(ms)
        if (event && event.startMs <= ms) {
            enter(event)
        } else {
            current = null
            if (seekOutside)
                playNext(ms)
        }
    }

    function finishCurrent() {
        if (current && seekTarget < 0)
            playNext(current.endMs + 1)
    }

    onActiveChanged: {
        seekTarget = -1
        current = null
        if (active)
            anchor(engine.position, true)
    }

    Connections {
        target: control.active ? control.engine : null

        function onPositionChanged() {
            if (control.engine.playing && control.current && control.engine.position > control.current.endMs)
                control.finishCurrent()
        }
        // Announced before the picture after the gap shows.
        function onGapSkipped(fromMs, toMs) {
            if (control.current && toMs > control.current.endMs)
                control.finishCurrent()
        }
        // Without continuous play the engine stops where a recording ends;
        // a later recording of the day may hold the next event.
        function onChunkEnded(atMs) {
            if (!control.current || control.seekTarget >= 0)
                return
            control.finishCurrent()
            if (control.current)
                control.engine.play()
        }
        function onSeeked(landedMs) {
            const target = control.engine.lastSeekTarget
            if (control.seekTarget >= 0) {
                const ours = target === control.seekTarget
                control.seekTarget = -1
                if (ours)
                    return
            }
            // Someone else's seek (an event or day picked, the timeline, a
            // speed change): play on from the event it landed in.
            control.anchor(target, control.engine.playing)
        }
        function onPlayingChanged() {
            if (control.engine.playing && !control.current && control.seekTarget < 0)
                control.anchor(control.engine.position, true)
        }
        function onEnded() {
            control.seekTarget = -1
            const wasPlaying = control.current !== null
            control.current = null
            if (wasPlaying) {
                control.finished()
                control.active = false
            }
        }
        function onReadFailed() {
            control.seekTarget = -1
            control.current = null
        }
    }

    Connections {
        target: control.card
        function onChanged() {
            control.seekTarget = -1
            control.current = null
        }
    }
}
