// DayModel: the day the window shows — the selected date, its start in the
// current time mode, its chunks, the chunk under the playback position and
// the first playable moment — kept up to date as the card, the time mode
// and the position change. The panels take it instead of the window.
#pragma once

#include "session/card_session.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVariantList>

class TestDayModel;

namespace nivra {

class DayModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::CardSession *card READ card WRITE setCard NOTIFY cardChanged)
    // The playback position, bound by the window.
    Q_PROPERTY(qlonglong position READ position WRITE setPosition NOTIFY positionChanged)
    // While set (an export holds the range) follow() keeps the day.
    Q_PROPERTY(bool frozen READ frozen WRITE setFrozen NOTIFY frozenChanged)
    // The selected date; 0 = none.
    Q_PROPERTY(int year READ year NOTIFY selectionChanged)
    Q_PROPERTY(int month READ month NOTIFY selectionChanged)
    Q_PROPERTY(int day READ day NOTIFY selectionChanged)
    // UTC ms of the day's first moment in the time mode; 0 without a day.
    Q_PROPERTY(qlonglong dayStart READ dayStart NOTIFY dayChanged)
    Q_PROPERTY(qlonglong dayEnd READ dayEnd NOTIFY dayChanged)
    Q_PROPERTY(QVariantList chunks READ chunks NOTIFY dayChanged)
    Q_PROPERTY(bool hasPlayable READ hasPlayable NOTIFY dayChanged)
    Q_PROPERTY(bool hasMissing READ hasMissing NOTIFY dayChanged)
    // The day's first playable moment; -1 when it has none.
    Q_PROPERTY(qlonglong firstPlayable READ firstPlayable NOTIFY dayChanged)
    // The playable chunk of the card holding the position, or null.
    // What is left of that chunk while the position is in the day; -1 otherwise.
    Q_PROPERTY(qlonglong remainingMs READ remainingMs NOTIFY remainingChanged)
    // The position as date and time, and as a clock, in the time mode;
    // announced when the text changes (once a second while playing).
    Q_PROPERTY(QString positionTime READ positionTime NOTIFY positionTextChanged)
    Q_PROPERTY(QString positionClock READ positionClock NOTIFY positionTextChanged)

public:
    explicit DayModel(QObject *parent = nullptr);

    CardSession *card() const { return m_card.data(); }
    void setCard(CardSession *card);
    qlonglong position() const { return m_position; }
    void setPosition(qlonglong position);
    bool frozen() const { return m_frozen; }
    void setFrozen(bool frozen);
    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    qlonglong dayStart() const { return m_dayStart; }
    // The next day's start: a day runs midnight to midnight, 23, 24 or 25 hours.
    qlonglong dayEnd() const { return m_dayEnd; }
    QVariantList chunks() const { return m_chunks; }
    bool hasPlayable() const { return m_hasPlayable; }
    bool hasMissing() const { return m_hasMissing; }
    qlonglong firstPlayable() const { return m_firstPlayable; }
    qlonglong remainingMs() const { return m_remainingMs; }
    QString positionTime() const { return m_positionTime; }
    QString positionClock() const { return m_positionClock; }

    // Selects a date (announced only when it differs).
    Q_INVOKABLE void select(int year, int month, int day);
    // No date selected.
    Q_INVOKABLE void clear();
    // Selects the day of ms unless it is the selected one or the model is
    // frozen; true when the day changed.
    Q_INVOKABLE bool follow(qlonglong ms);
    // Selects the day of the card's last playable moment; false without one.
    Q_INVOKABLE bool selectLatest();
    // Where the previous (direction < 0) or next playable chunk starts, seen
    // from the position; -1 when there is none. A chunk that began under 3 s
    // ago counts as not yet started, so that going back twice goes further.
    Q_INVOKABLE qlonglong chunkJump(int direction) const;
    // Whether a seek to ms should land on its key frame: not when that key
    // frame lies on the day before, whose picture it would show.
    Q_INVOKABLE bool snapsAt(qlonglong ms) const;

signals:
    void cardChanged();
    void positionChanged();
    void frozenChanged();
    void selectionChanged();
    void dayChanged();
    void currentChunkChanged();
    void remainingChanged();
    void positionTextChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class ::TestDayModel;
    // The chunk the position is in, as chunks() lists it; null outside.
    QVariant currentChunk() const;

    // Re-derives the day from the selection, the card and the time mode.
    void rebuildDay();
    // Re-derives the chunk under the position and what is left of it.
    void rebuildCurrent();
    void rebuildPositionText();

    QPointer<CardSession> m_card;
    qlonglong m_position = 0;
    bool m_frozen = false;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    qlonglong m_dayStart = 0;
    qlonglong m_dayEnd = 0;
    QVariantList m_chunks;
    bool m_hasPlayable = false;
    bool m_hasMissing = false;
    qlonglong m_firstPlayable = -1;
    int m_currentIndex = -1; // into the card's chunks
    qlonglong m_remainingMs = -1;
    QString m_positionTime;
    QString m_positionClock;
};

} // namespace nivra
