// EventsOnly: "events only" play — the events of the filter's types one
// after another in time order, pausing after the last, where it turns itself
// off so that play then plays on as usual. It steers the engine beside the
// day's model, and is where skipping other still parts will join it.
#pragma once

#include "playback/playback_engine.h"
#include "session/card_session.h"
#include "session/day_model.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

namespace nivra {

class EventsOnly : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::CardSession *card READ card WRITE setCard NOTIFY cardChanged)
    Q_PROPERTY(nivra::PlaybackEngine *engine READ engine WRITE setEngine NOTIFY engineChanged)
    Q_PROPERTY(nivra::DayModel *day READ day WRITE setDay NOTIFY dayChanged)
    // Event-type bits to play; 0 for all.
    Q_PROPERTY(int typeFilter READ typeFilter WRITE setTypeFilter NOTIFY typeFilterChanged)
    // With continuous play the next event may lie on a later day.
    Q_PROPERTY(bool continuous READ continuous WRITE setContinuous NOTIFY continuousChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)
    // The start of the event being played; -1 between events.
    Q_PROPERTY(qlonglong currentStart READ currentStart NOTIFY currentChanged)

public:
    explicit EventsOnly(QObject *parent = nullptr);

    CardSession *card() const { return m_card.data(); }
    void setCard(CardSession *card);
    PlaybackEngine *engine() const { return m_engine.data(); }
    void setEngine(PlaybackEngine *engine);
    DayModel *day() const { return m_day.data(); }
    void setDay(DayModel *day);
    int typeFilter() const { return m_typeFilter; }
    void setTypeFilter(int bits);
    bool continuous() const { return m_continuous; }
    void setContinuous(bool on);
    bool isActive() const { return m_active; }
    void setActive(bool on);
    qlonglong currentStart() const { return m_current ? m_current->startMs : -1; }

signals:
    void cardChanged();
    void engineChanged();
    void dayChanged();
    void typeFilterChanged();
    void continuousChanged();
    void activeChanged();
    void currentChanged();
    void toastRequested(const QString &text);
    // An event began to play (script mode logs it).
    void eventEntered(qlonglong startMs);
    // Paused after the last event.
    void finished();

private:
    struct Span
    {
        qint64 startMs = 0;
        qint64 endMs = 0;
    };

    std::optional<Span> eventFrom(qint64 ms) const;
    void setCurrent(std::optional<Span> event);
    void enter(Span event);
    void playNext(qint64 fromMs);
    void anchor(qint64 ms, bool seekOutside);
    void finishCurrent();
    void forget();
    void stop();
    void connectEngine();

    void onPositionChanged();
    void onGapSkipped(qlonglong fromMs, qlonglong toMs);
    void onChunkEnded();
    void onSeeked();
    void onPlayingChanged();
    void onEnded();

    QPointer<CardSession> m_card;
    QPointer<PlaybackEngine> m_engine;
    QPointer<DayModel> m_day;
    QMetaObject::Connection m_cardConnection;
    QList<QMetaObject::Connection> m_engineConnections;
    int m_typeFilter = 0;
    bool m_continuous = false;
    bool m_active = false;
    std::optional<Span> m_current;
    // Where our own seek goes until it lands; -1 when none is on its way.
    qint64 m_seekTarget = -1;
};

} // namespace nivra
