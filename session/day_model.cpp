#include "session/day_model.h"

#include <QCoreApplication>
#include <QEvent>

namespace nivra {

namespace {

constexpr qlonglong kStartedMs = 3000;

qlonglong startOf(const QVariant &chunk)
{
    return chunk.toMap().value(QStringLiteral("startMs")).toLongLong();
}

qlonglong endOf(const QVariant &chunk)
{
    return chunk.toMap().value(QStringLiteral("endMs")).toLongLong();
}

bool playable(const QVariant &chunk)
{
    return chunk.toMap().value(QStringLiteral("playable")).toBool();
}

} // namespace

DayModel::DayModel(QObject *parent) : QObject(parent)
{
    // A new interface language renames the months in the position's text.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool DayModel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
        rebuildPositionText();
    return QObject::eventFilter(watched, event);
}

void DayModel::setCard(CardSession *card)
{
    if (card == m_card)
        return;
    if (m_card)
        disconnect(m_card, nullptr, this, nullptr);
    m_card = card;
    if (card) {
        connect(card, &CardSession::changed, this, [this] {
            rebuildDay();
            rebuildCurrent();
            rebuildPositionText();
        });
        // The day's start moves with the clock it is counted in.
        connect(card, &CardSession::timeModeChanged, this, [this] {
            rebuildDay();
            rebuildCurrent();
            rebuildPositionText();
        });
    }
    rebuildDay();
    rebuildCurrent();
    rebuildPositionText();
    emit cardChanged();
}

void DayModel::setPosition(qlonglong position)
{
    if (position == m_position)
        return;
    m_position = position;
    rebuildCurrent();
    rebuildPositionText();
    emit positionChanged();
}

void DayModel::setFrozen(bool frozen)
{
    if (frozen == m_frozen)
        return;
    m_frozen = frozen;
    emit frozenChanged();
}

QVariant DayModel::currentChunk() const
{
    if (!m_card || m_currentIndex < 0)
        return QVariant::fromValue(nullptr);
    return m_card->chunks().value(m_currentIndex);
}

void DayModel::select(int year, int month, int day)
{
    if (year == m_year && month == m_month && day == m_day)
        return;
    m_year = year;
    m_month = month;
    m_day = day;
    emit selectionChanged();
    rebuildDay();
    rebuildCurrent();
}

void DayModel::clear()
{
    select(0, 0, 0);
}

bool DayModel::follow(qlonglong ms)
{
    if (m_frozen || !m_card || !m_card->isOpen() || (ms >= dayStart() && ms < dayEnd()))
        return false;
    const QVariantMap date = m_card->dateOf(ms);
    select(date.value(QStringLiteral("year")).toInt(), date.value(QStringLiteral("month")).toInt(),
           date.value(QStringLiteral("day")).toInt());
    return true;
}

bool DayModel::selectLatest()
{
    const qlonglong last = m_card ? m_card->lastPlayableMs() : 0;
    if (last <= 0)
        return false;
    const QVariantMap date = m_card->dateOf(last);
    select(date.value(QStringLiteral("year")).toInt(), date.value(QStringLiteral("month")).toInt(),
           date.value(QStringLiteral("day")).toInt());
    return true;
}

qlonglong DayModel::chunkJump(int direction) const
{
    if (!m_card)
        return -1;
    const QVariantList all = m_card->chunks();
    if (direction > 0) {
        for (const QVariant &chunk : all) {
            if (playable(chunk) && startOf(chunk) > m_position + 500)
                return startOf(chunk);
        }
        return -1;
    }
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (playable(*it) && startOf(*it) < m_position - kStartedMs)
            return startOf(*it);
    }
    return -1;
}

bool DayModel::snapsAt(qlonglong ms) const
{
    if (!m_card)
        return true;
    const qlonglong keyframe = m_card->keyframeAtOrBefore(ms);
    return !(ms >= m_dayStart && keyframe >= 0 && keyframe < m_dayStart);
}

void DayModel::rebuildDay()
{
    const bool open = m_card && m_card->isOpen();
    const qlonglong start = open && m_year > 0 ? m_card->dayStartMs(m_year, m_month, m_day) : 0;
    const qlonglong end = start > 0 ? m_card->dayEndMs(start) : 0;
    const QVariantList chunks = open && start > 0 ? m_card->dayChunks(start) : QVariantList();
    bool hasPlayable = false;
    bool hasMissing = false;
    for (const QVariant &chunk : chunks) {
        hasPlayable = hasPlayable || playable(chunk);
        hasMissing = hasMissing || !playable(chunk);
    }
    qlonglong first = -1;
    if (open && start > 0) {
        for (const QVariant &chunk : m_card->chunks()) {
            if (playable(chunk) && endOf(chunk) >= start && startOf(chunk) < end) {
                first = qMax(startOf(chunk), start);
                break;
            }
        }
    }
    if (start == m_dayStart && end == m_dayEnd && chunks == m_chunks && first == m_firstPlayable)
        return;
    m_dayStart = start;
    m_dayEnd = end;
    m_chunks = chunks;
    m_hasPlayable = hasPlayable;
    m_hasMissing = hasMissing;
    m_firstPlayable = first;
    emit dayChanged();
}

void DayModel::rebuildCurrent()
{
    int index = -1;
    qlonglong remaining = -1;
    if (m_card && m_card->isOpen()) {
        const QVariantList all = m_card->chunks();
        for (int i = 0; i < all.size(); ++i) {
            if (playable(all.at(i)) && startOf(all.at(i)) <= m_position && m_position <= endOf(all.at(i))) {
                index = i;
                break;
            }
        }
        if (index >= 0 && m_hasPlayable && m_position >= m_dayStart && m_position < dayEnd())
            remaining = qMax<qlonglong>(0, endOf(all.at(index)) - m_position);
    }
    if (index != m_currentIndex) {
        m_currentIndex = index;
        emit currentChunkChanged();
    }
    if (remaining != m_remainingMs) {
        m_remainingMs = remaining;
        emit remainingChanged();
    }
}

void DayModel::rebuildPositionText()
{
    const bool open = m_card && m_card->isOpen();
    const QString time = open ? m_card->formatTime(m_position, true) : QString();
    const QString clock = open ? m_card->formatClock(m_position, true) : QString();
    if (time == m_positionTime && clock == m_positionClock)
        return;
    m_positionTime = time;
    m_positionClock = clock;
    emit positionTextChanged();
}

} // namespace nivra
