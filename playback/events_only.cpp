#include "playback/events_only.h"

#include <QCoreApplication>

namespace nivra {

// It goes from the event being played to its successor, never from the
// position: at 8× and 16× the position moves by key frames seconds apart and
// may pass a short event's whole span.

EventsOnly::EventsOnly(QObject *parent) : QObject(parent)
{}

void EventsOnly::setCard(CardSession *card)
{
    if (m_card == card)
        return;
    disconnect(m_cardConnection);
    m_card = card;
    if (card)
        m_cardConnection = connect(card, &CardSession::changed, this, &EventsOnly::forget);
    forget();
    emit cardChanged();
}

void EventsOnly::setEngine(PlaybackEngine *engine)
{
    if (m_engine == engine)
        return;
    m_engine = engine;
    connectEngine();
    emit engineChanged();
}

void EventsOnly::setDay(DayModel *day)
{
    if (m_day == day)
        return;
    m_day = day;
    emit dayChanged();
}

void EventsOnly::setTypeFilter(int bits)
{
    if (m_typeFilter == bits)
        return;
    m_typeFilter = bits;
    emit typeFilterChanged();
}

void EventsOnly::setContinuous(bool on)
{
    if (m_continuous == on)
        return;
    m_continuous = on;
    emit continuousChanged();
}

void EventsOnly::setActive(bool on)
{
    if (m_active == on)
        return;
    m_active = on;
    forget();
    connectEngine();
    emit activeChanged();
    if (m_active && m_engine)
        anchor(m_engine->position(), true);
}

// Listens to the engine only while on.
void EventsOnly::connectEngine()
{
    for (const QMetaObject::Connection &c : std::as_const(m_engineConnections))
        disconnect(c);
    m_engineConnections.clear();
    if (!m_active || !m_engine)
        return;
    PlaybackEngine *e = m_engine;
    m_engineConnections = {
        connect(e, &PlaybackEngine::positionChanged, this, &EventsOnly::onPositionChanged),
        connect(e, &PlaybackEngine::gapSkipped, this, &EventsOnly::onGapSkipped),
        connect(e, &PlaybackEngine::chunkEnded, this, &EventsOnly::onChunkEnded),
        connect(e, &PlaybackEngine::seeked, this, &EventsOnly::onSeeked),
        connect(e, &PlaybackEngine::playingChanged, this, &EventsOnly::onPlayingChanged),
        connect(e, &PlaybackEngine::ended, this, &EventsOnly::onEnded),
        connect(e, &PlaybackEngine::readFailed, this, &EventsOnly::forget),
    };
}

std::optional<EventsOnly::Span> EventsOnly::eventFrom(qint64 ms) const
{
    if (!m_card || !m_day)
        return std::nullopt;
    const QVariantMap next = m_card->nextEvent(ms, m_typeFilter, m_continuous ? -1 : m_day->dayEnd());
    if (!next.contains(QStringLiteral("startMs")))
        return std::nullopt;
    return Span{next.value(QStringLiteral("startMs")).toLongLong(),
                next.value(QStringLiteral("endMs")).toLongLong()};
}

void EventsOnly::setCurrent(std::optional<Span> event)
{
    const qint64 before = currentStart();
    m_current = event;
    if (currentStart() != before)
        emit currentChanged();
}

void EventsOnly::forget()
{
    m_seekTarget = -1;
    setCurrent(std::nullopt);
}

void EventsOnly::enter(Span event)
{
    const bool entering = !m_current || m_current->startMs != event.startMs;
    setCurrent(event);
    if (entering)
        emit eventEntered(event.startMs);
}

void EventsOnly::stop()
{
    emit finished();
    setActive(false);
}

// Seeks to the next event from fromMs, or pauses when there is none.
void EventsOnly::playNext(qint64 fromMs)
{
    const std::optional<Span> next = eventFrom(fromMs);
    if (!next) {
        setCurrent(std::nullopt);
        m_engine->pause();
        emit toastRequested(QCoreApplication::translate("EventsOnly", "No more events"));
        stop();
        return;
    }
    enter(*next);
    m_seekTarget = next->startMs;
    m_engine->seek(next->startMs, m_day->snapsAt(next->startMs));
    emit toastRequested(QCoreApplication::translate("EventsOnly", "Next event %1")
                            .arg(m_card->formatClock(next->startMs, true)));
}

// Takes the event at ms as the one playing; outside every event, goes on to
// the next one when asked to.
void EventsOnly::anchor(qint64 ms, bool seekOutside)
{
    const std::optional<Span> event = eventFrom(ms);
    if (event && event->startMs <= ms) {
        enter(*event);
        return;
    }
    setCurrent(std::nullopt);
    if (seekOutside)
        playNext(ms);
}

void EventsOnly::finishCurrent()
{
    if (m_current && m_seekTarget < 0)
        playNext(m_current->endMs + 1);
}

void EventsOnly::onPositionChanged()
{
    if (m_engine->isPlaying() && m_current && m_engine->position() > m_current->endMs)
        finishCurrent();
}

// Announced before the picture after the gap shows.
void EventsOnly::onGapSkipped(qlonglong, qlonglong toMs)
{
    if (m_current && toMs > m_current->endMs)
        finishCurrent();
}

// Without continuous play the engine stops where a recording ends; a later
// recording of the day may hold the next event.
void EventsOnly::onChunkEnded()
{
    if (!m_current || m_seekTarget >= 0)
        return;
    finishCurrent();
    if (m_current)
        m_engine->play();
}

void EventsOnly::onSeeked()
{
    const qint64 target = m_engine->lastSeekTarget();
    if (m_seekTarget >= 0) {
        const bool ours = target == m_seekTarget;
        m_seekTarget = -1;
        if (ours)
            return;
    }
    // Someone else's seek (an event or day picked, the timeline, a speed
    // change): play on from the event it landed in.
    anchor(target, m_engine->isPlaying());
}

void EventsOnly::onPlayingChanged()
{
    if (m_engine->isPlaying() && !m_current && m_seekTarget < 0)
        anchor(m_engine->position(), true);
}

void EventsOnly::onEnded()
{
    m_seekTarget = -1;
    const bool wasPlaying = m_current.has_value();
    setCurrent(std::nullopt);
    if (wasPlaying)
        stop();
}

} // namespace nivra
