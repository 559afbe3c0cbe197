#include "session/card_session.h"
#include "session/time_zone.h"

#include "export/export_file.h"
#include "storage/civil_time.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QTime>
#include <QTimeZone>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace nivra {

namespace {

constexpr qint64 kMaxMs = std::numeric_limits<qint64>::max();
constexpr qint64 kMinMs = std::numeric_limits<qint64>::min();

// Returns a + b, clamped to the 64-bit range (QML can hand any value).
qint64 addClamped(qint64 a, qint64 b)
{
    if (b > 0 && a > kMaxMs - b)
        return kMaxMs;
    if (b < 0 && a < kMinMs - b)
        return kMinMs;
    return a + b;
}

// Returns a millisecond time as a card second: max(ms / 1000, 0), clamped to 32 bits.
uint32_t cardSecond(qint64 ms)
{
    const qint64 s = std::max<qint64>(ms / 1000, 0);
    return s > qint64(UINT32_MAX) ? UINT32_MAX : uint32_t(s);
}

qint64 rangeStartMs(const card_range &r)
{
    return qint64(r.first) * 1000;
}

qint64 rangeEndMs(const card_range &r)
{
    return card_last_ms(r.last);
}

// An event as QML sees it: its first and last moment, kinds and whether it plays.
QVariantMap eventMap(const card_event &e)
{
    QVariantMap map;
    map.insert(QStringLiteral("startMs"), qlonglong(e.first) * 1000);
    map.insert(QStringLiteral("endMs"), qlonglong(card_last_ms(e.last)));
    map.insert(QStringLiteral("durationMs"), qlonglong(card_event_seconds(&e)) * 1000);
    map.insert(QStringLiteral("types"), int(e.kinds));
    map.insert(QStringLiteral("playable"), e.playable != 0);
    return map;
}

bool isRecordingDirectory(const QDir &dir)
{
    return dir.exists(QStringLiteral("meta.dat")) && dir.exists(QStringLiteral("index.dat"));
}

// Returns the subdirectories of dir in name order, without "." and "..".
QStringList subdirectories(const QDir &dir)
{
    const QStringList names = dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : names)
        paths.append(dir.filePath(name));
    return paths;
}

// Whether this user may list dir and reach its files.
bool mayRead(const QDir &dir)
{
    const QFileInfo info(dir.path());
    return info.isReadable() && info.isExecutable();
}

// Returns the recording directories at or up to two levels below path,
// searched breadth first in name order (none below one that is found), at
// most limit of them. *denied gets the first folder of the search that this
// user may not read.
QStringList findRecordingDirectories(const QString &path, int limit, QString *denied)
{
    if (path.isEmpty())
        return {};
    const QDir top(path);
    if (isRecordingDirectory(top))
        return {top.path()};
    if (!mayRead(top) && denied->isEmpty())
        *denied = top.path();
    QStringList found;
    QStringList level = subdirectories(top);
    for (int depth = 1; depth <= 2 && found.size() < limit; ++depth) {
        QStringList next;
        for (const QString &candidate : level) {
            const QDir dir(candidate);
            if (isRecordingDirectory(dir)) {
                found.append(dir.path());
                if (found.size() >= limit)
                    break;
                continue;
            }
            if (!mayRead(dir) && denied->isEmpty())
                *denied = dir.path();
            if (depth < 2)
                next += subdirectories(dir);
        }
        level = next;
    }
    return found;
}

// Returns the clock pattern of the system locale: 12-hour when its short time
// format shows an am/pm marker.
QString clockPattern(bool withSeconds)
{
    const QString shortFormat = QLocale::system().timeFormat(QLocale::ShortFormat);
    if (shortFormat.contains(QLatin1String("ap"), Qt::CaseInsensitive))
        return withSeconds ? QStringLiteral("h:mm:ss AP") : QStringLiteral("h:mm AP");
    return withSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
}

int32_t systemOffsetForCard(uint32_t utcSecond, void *)
{
    return systemOffsetSeconds(qint64(utcSecond) * 1000);
}

} // namespace

CardSession::CardSession(QObject *parent) : QObject(parent)
{}

CardSession::~CardSession()
{
    // Users of the reader (playback, export) stop in their aboutToClose
    // handlers; the views are going away, so no changed() here.
    releaseCard();
}

// ---- Opening ------------------------------------------------------------------

bool CardSession::open(const QUrl &folder)
{
    return openPath(folder.toLocalFile());
}

bool CardSession::openPath(const QString &localPath)
{
    close();
    m_errorString.clear();

    QString denied;
    const QString dir = findRecordingDirectories(localPath, 1, &denied).value(0);
    if (dir.isEmpty()) {
        m_errorString = denied.isEmpty()
                            ? tr("No recordings found. Choose the SD card or the recording folder.")
                            : permissionText(denied);
        emit changed();
        return false;
    }

    const QByteArray utf8 = QDir::toNativeSeparators(dir).toUtf8();
    card_reader *card = nullptr;
    card_open_detail detail{};
    const int rc = card_open_detailed(utf8.constData(), &card, &detail);
    if (rc != CARD_OK || !card) {
        card_close(card);
        if (detail.permission_denied)
            m_errorString = permissionText(QString::fromUtf8(detail.path));
        else
            switch (rc) {
            case CARD_ERR_CORRUPT:
                m_errorString = tr("The recording index is damaged and cannot be read.");
                break;
            case CARD_ERR_NEW_FORMAT:
                m_errorString =
                    tr("The recording format is newer than this program. Please update NIVRA Player.");
                break;
            case CARD_ERR_OLD_FORMAT:
                m_errorString =
                    tr("These recordings were made by old camera firmware and are not supported.");
                break;
            case CARD_ERR_NO_DIRECTORY:
                m_errorString = tr("No recordings found. Choose the SD card or the recording folder.");
                break;
            default:
                m_errorString =
                    tr("The recordings cannot be read (%1).").arg(QString::fromUtf8(card_error_name(rc)));
                break;
            }
        emit changed();
        return false;
    }

    m_card = card;
    m_path = dir;
    m_openedPath = QFileInfo(localPath).absoluteFilePath();

    int count = 0;
    if (card_ranges(m_card, 0, UINT32_MAX, nullptr, 0, &count) == CARD_OK && count > 0) {
        m_ranges.resize(size_t(count));
        int filled = 0;
        if (card_ranges(m_card, 0, UINT32_MAX, m_ranges.data(), count, &filled) != CARD_OK)
            filled = 0;
        m_ranges.resize(size_t(std::min(filled, count)));
    }
    for (const card_range &r : m_ranges) {
        QVariantMap chunk;
        chunk.insert(QStringLiteral("startMs"), qlonglong(rangeStartMs(r)));
        chunk.insert(QStringLiteral("endMs"), qlonglong(rangeEndMs(r)));
        chunk.insert(QStringLiteral("offsetMin"), int(r.utc_offset_min));
        chunk.insert(QStringLiteral("playable"), r.missing == 0);
        m_chunks.append(chunk);
    }

    m_stream = card_stream{};
    const auto firstPlayable =
        std::find_if(m_ranges.begin(), m_ranges.end(), [](const card_range &r) { return !r.missing; });
    if (firstPlayable != m_ranges.end() && firstPlayable->first != 0) {
        if (card_probe_stream(m_card, uint64_t(firstPlayable->first) * 1000, &m_stream) != CARD_OK)
            m_stream = card_stream{};
    }

    emit changed();
    return true;
}

void CardSession::releaseCard()
{
    if (!m_card)
        return;
    emit aboutToClose();
    card_close(m_card);
    m_card = nullptr;
}

void CardSession::close()
{
    releaseCard();
    m_path.clear();
    m_openedPath.clear();
    m_chunks.clear();
    m_ranges.clear();
    m_stream = card_stream{};
    emit changed();
}

bool CardSession::reload()
{
    if (m_path.isEmpty())
        return false;
    const QString path = m_path; // close() clears it
    const QString opened = m_openedPath;
    if (!openPath(path))
        return false;
    m_openedPath = opened;
    return true;
}

QString CardSession::permissionText(const QString &path)
{
    // Not damage: a user told the card is damaged may format it.
    return tr("This user may not read %1, so the card cannot be read. Check the permissions of the card's "
              "files and folders (the card itself is not damaged).")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(path)));
}

QStringList CardSession::findCards(const QString &localPath) const
{
    QString denied;
    return findRecordingDirectories(localPath, kMaxCardsListed, &denied);
}

bool CardSession::holdsFolder(const QString &folder) const
{
    if (m_path.isEmpty() || folder.isEmpty())
        return false;
    const QByteArray target = QDir::toNativeSeparators(folder).toUtf8();
    for (const QString &root : {m_path, m_openedPath}) {
        if (!root.isEmpty() &&
            exportPathIsInside(target.constData(), QDir::toNativeSeparators(root).toUtf8().constData()))
            return true;
    }
    return false;
}

// ---- Card summary and stream texts ----------------------------------------------

QVariantMap CardSession::info() const
{
    card_summary summary{};
    if (!m_card || card_get_summary(m_card, &summary) != CARD_OK)
        return {};
    QVariantMap map;
    map.insert(QStringLiteral("formatMs"), qlonglong(summary.format_ms));
    map.insert(QStringLiteral("segCount"), int(summary.segment_count));
    map.insert(QStringLiteral("segSizeMb"), int(summary.segment_size >> 20));
    map.insert(QStringLiteral("firstMs"), qlonglong(summary.first_second) * 1000);
    map.insert(QStringLiteral("lastMs"), qlonglong(summary.last_second) * 1000);
    map.insert(QStringLiteral("segsValid"), int(summary.valid_segments));
    map.insert(QStringLiteral("segsPresent"), int(summary.present_segments));
    return map;
}

QString CardSession::videoCodecName() const
{
    if (!m_card)
        return {};
    switch (m_stream.video_codec) {
    case CARD_CODEC_H264:
        return QStringLiteral("H.264");
    case CARD_CODEC_H265:
        return QStringLiteral("H.265");
    default:
        return QStringLiteral("?");
    }
}

bool CardSession::hasAudio() const
{
    return m_card && m_stream.audio_kind != CARD_AUDIO_NONE;
}

bool CardSession::g711Audio() const
{
    return m_card && m_stream.audio_kind == CARD_AUDIO_ALAW;
}

QString CardSession::audioInfo() const
{
    if (!m_card || m_stream.audio_kind == CARD_AUDIO_NONE)
        return {};
    QString text;
    switch (m_stream.audio_kind) {
    case CARD_AUDIO_AAC_ADTS:
        text = QStringLiteral("AAC");
        break;
    case CARD_AUDIO_AAC_RAW:
        text = tr("AAC (raw)");
        break;
    case CARD_AUDIO_ALAW:
        text = QStringLiteral("G.711 A-law");
        break;
    default:
        text = tr("unknown audio format");
        break;
    }
    if (m_stream.sample_rate > 0) {
        const QString khz =
            QString::number(m_stream.sample_rate / 1000.0, 'g', QLocale::FloatingPointShortest);
        text += QStringLiteral(" %1 kHz").arg(khz);
    }
    return text;
}

QString CardSession::streamInfo() const
{
    if (!m_card)
        return {};
    const QString audio = m_stream.audio_kind == CARD_AUDIO_NONE ? tr("no audio") : audioInfo();
    return QStringLiteral("%1, %2").arg(videoCodecName(), audio);
}

qlonglong CardSession::firstPlayableMs() const
{
    for (const card_range &r : m_ranges) {
        if (!r.missing)
            return rangeStartMs(r);
    }
    return 0;
}

qlonglong CardSession::lastPlayableMs() const
{
    for (auto it = m_ranges.rbegin(); it != m_ranges.rend(); ++it) {
        if (!it->missing)
            return rangeEndMs(*it);
    }
    return 0;
}

// ---- Time mode and conversions ------------------------------------------------------

void CardSession::setTimeMode(int mode)
{
    const int next = mode == ComputerTime ? ComputerTime : RecordingTime;
    if (next == m_timeMode)
        return;
    m_timeMode = next;
    emit timeModeChanged();
}

int CardSession::offsetMinutesAt(qlonglong utcMs) const
{
    const qint64 s = utcMs / 1000;
    int offset = 0;
    qint64 best = -1;
    for (const card_range &r : m_ranges) {
        qint64 distance = 0;
        if (s < qint64(r.first))
            distance = qint64(r.first) - s;
        else if (s > qint64(r.last))
            distance = s - qint64(r.last);
        if (best < 0 || distance < best) {
            best = distance;
            offset = r.utc_offset_min;
            if (distance == 0)
                break;
        }
    }
    return offset;
}

// Walks the starts of the chunks in the span and, in computer time, the
// zone's transitions.
std::vector<CardSession::OffsetChange> CardSession::offsetChanges(qint64 fromMs, qint64 toMs) const
{
    std::vector<OffsetChange> changes;
    if (!m_card)
        return changes;
    const bool computerTime = m_timeMode == ComputerTime;
    // Each candidate carries the offset its own chunk records (none for a
    // zone transition).
    std::vector<std::pair<qint64, int>> instants;
    if (computerTime) {
        // The system offset only changes at the zone's transitions, so a
        // chunk start between two transitions can never differ from the
        // transition before it.
        const QTimeZone zone = systemTimeZone();
        const QDateTime from = QDateTime::fromMSecsSinceEpoch(fromMs, Qt::UTC);
        const QDateTime to = QDateTime::fromMSecsSinceEpoch(toMs, Qt::UTC);
        for (const QTimeZone::OffsetData &d : zone.transitions(from, to)) {
            const qint64 t = d.atUtc.toMSecsSinceEpoch();
            if (t >= fromMs && t <= toMs)
                instants.emplace_back(t, std::numeric_limits<int>::min());
        }
    } else {
        for (const card_range &r : m_ranges) {
            const qint64 start = qint64(r.first) * 1000;
            if (card_last_ms(r.last) >= fromMs && start <= toMs)
                instants.emplace_back(std::max(start, fromMs), r.utc_offset_min * 60);
        }
    }
    std::stable_sort(instants.begin(), instants.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    int previous = offsetSecondsAt(fromMs);
    for (const auto &[t, own] : instants) {
        // A chunk's start reads its own offset; only one whose own offset
        // differs is worth the nearest-chunk search (thousands of chunks can
        // be in the span).
        if (!computerTime && own == previous)
            continue;
        const int offset = offsetSecondsAt(t);
        if (offset != previous) {
            changes.push_back({t, offsetLabel(t)});
            previous = offset;
        }
    }
    return changes;
}

int CardSession::offsetSecondsAt(qlonglong utcMs) const
{
    if (m_timeMode == ComputerTime)
        return systemOffsetSeconds(utcMs);
    return offsetMinutesAt(utcMs) * 60;
}

// Returns the wall-clock date and time of utcMs in the display zone.
static QDateTime displayDateTime(const CardSession &session, qint64 utcMs)
{
    if (session.timeMode() == CardSession::ComputerTime)
        return QDateTime::fromMSecsSinceEpoch(utcMs, systemTimeZone());
    const qint64 local = addClamped(utcMs, qint64(session.offsetMinutesAt(utcMs)) * 60000);
    return QDateTime::fromMSecsSinceEpoch(local, Qt::UTC);
}

// Returns the UTC time whose recording-time wall clock reads asUtcMs, by the
// two-step offset lookup (the offset near the guessed instant wins).
qint64 CardSession::recordingLocalToUtc(qint64 asUtcMs) const
{
    const qint64 o1 = offsetMinutesAt(asUtcMs);
    const qint64 o2 = offsetMinutesAt(addClamped(asUtcMs, -o1 * 60000));
    return addClamped(asUtcMs, -o2 * 60000);
}

qint64 CardSession::localMidnight(int year, int month, int day) const
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return -1;
    if (m_timeMode == ComputerTime)
        return QDateTime(date, QTime(0, 0), systemTimeZone()).toMSecsSinceEpoch();
    return recordingLocalToUtc(QDateTime(date, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
}

QString CardSession::formatClock(qlonglong utcMs, bool withSeconds) const
{
    const QDateTime dt = displayDateTime(*this, utcMs);
    return QLocale::system().toString(dt.time(), clockPattern(withSeconds));
}

QString CardSession::formatClockMs(qlonglong utcMs) const
{
    const QDateTime dt = displayDateTime(*this, utcMs);
    return formatClock(utcMs, true) + QStringLiteral(".%1").arg(dt.time().msec(), 3, 10, QLatin1Char('0'));
}

// A date in the system's short pattern, its month names in the interface
// language (the default locale the application sets).
static QString dateText(const QDate &date)
{
    return QLocale().toString(date, QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString CardSession::formatDate(qlonglong utcMs) const
{
    return dateText(displayDateTime(*this, utcMs).date());
}

QString CardSession::formatTime(qlonglong utcMs, bool withDate) const
{
    const QDateTime dt = displayDateTime(*this, utcMs);
    const QLocale locale = QLocale::system();
    const QString clock = locale.toString(dt.time(), clockPattern(true));
    if (!withDate)
        return clock;
    return dateText(dt.date()) + QLatin1Char(' ') + clock;
}

QString CardSession::formatLogTime(qlonglong utcMs) const
{
    const QDateTime dt = displayDateTime(*this, utcMs);
    // The system locale's conventions as Qt's own data gives them, not as
    // the system's settings override them: a script's log then reads the
    // same on Windows and Linux.
    const QLocale locale(QLocale::system().name());
    return locale.toString(dt.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(dt.time(), clockPattern(true));
}

QString CardSession::formatInputTime(qlonglong utcMs) const
{
    const QDateTime dt = displayDateTime(*this, utcMs);
    return QLocale::c().toString(dt.date(), QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           QLocale::c().toString(dt.time(), QStringLiteral("HH:mm:ss"));
}

qlonglong CardSession::parseInputTime(const QString &text) const
{
    // Date and time are read apart so that the process's own zone never
    // adjusts a wall-clock time that it happens to skip.
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 2)
        return -1;
    const QDate date = QDate::fromString(parts[0], QStringLiteral("yyyy-MM-dd"));
    QTime time = QTime::fromString(parts[1], QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(parts[1], QStringLiteral("HH:mm"));
    if (!date.isValid() || !time.isValid())
        return -1;
    if (m_timeMode == ComputerTime)
        return QDateTime(date, time, systemTimeZone()).toMSecsSinceEpoch();
    return recordingLocalToUtc(QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch());
}

QList<qint64> CardSession::wallTimeInstants(qint64 wallMs) const
{
    // The offsets in force within three hours of the wall time; each gives
    // an instant, real when the offset holds there. A clock set back makes
    // two, one set forward none.
    QList<qint64> instants;
    for (int hours = -3; hours <= 3; ++hours) {
        const qint64 offsetMs = qint64(offsetSecondsAt(addClamped(wallMs, hours * 3600000LL))) * 1000;
        const qint64 instant = addClamped(wallMs, -offsetMs);
        if (qint64(offsetSecondsAt(instant)) * 1000 == offsetMs && !instants.contains(instant))
            instants.append(instant);
    }
    std::sort(instants.begin(), instants.end());
    return instants;
}

qlonglong CardSession::parseInputTimeNear(const QString &text, qlonglong nearMs) const
{
    const qlonglong parsed = parseInputTime(text);
    if (parsed < 0 || nearMs < 0)
        return parsed;
    const QList<qint64> instants = wallTimeInstants(displayWallMs(parsed));
    qint64 best = parsed;
    for (qint64 instant : instants) {
        if (std::llabs(instant - nearMs) < std::llabs(best - nearMs))
            best = instant;
    }
    return best;
}

bool CardSession::isRepeatedTime(qlonglong utcMs) const
{
    return wallTimeInstants(displayWallMs(utcMs)).size() > 1;
}

qint64 CardSession::displayWallMs(qint64 utcMs) const
{
    return addClamped(utcMs, qint64(offsetSecondsAt(utcMs)) * 1000);
}

QString CardSession::offsetLabel(qlonglong utcMs) const
{
    const int m = offsetSecondsAt(utcMs) / 60;
    const int a = m < 0 ? -m : m;
    return QStringLiteral("UTC%1%2:%3")
        .arg(m >= 0 ? QLatin1Char('+') : QLatin1Char('-'))
        .arg(a / 60, 2, 10, QLatin1Char('0'))
        .arg(a % 60, 2, 10, QLatin1Char('0'));
}

QVariantMap CardSession::dateOf(qlonglong utcMs) const
{
    const QDate date = displayDateTime(*this, utcMs).date();
    QVariantMap map;
    map.insert(QStringLiteral("year"), date.year());
    map.insert(QStringLiteral("month"), date.month());
    map.insert(QStringLiteral("day"), date.day());
    return map;
}

qlonglong CardSession::dayStartMs(int year, int month, int day) const
{
    return localMidnight(year, month, day);
}

qlonglong CardSession::dayEndMs(qlonglong dayStartMs) const
{
    const QDate next = displayDateTime(*this, dayStartMs).date().addDays(1);
    const qint64 end = localMidnight(next.year(), next.month(), next.day());
    // Where the clock cannot be read, the day is 24 hours.
    return end > dayStartMs ? end : dayStartMs + kDayMs;
}

// ---- Calendar, day, event and keyframe queries -------------------------------------

// The days of a month (bits 1..31) that recordings touch: the playable
// ones, or all of them.
static uint32_t monthDays(card_reader *card, int year, int month, bool computerTime, bool playableOnly)
{
    uint32_t mask = 0;
    const card_offset_fn fn = computerTime ? systemOffsetForCard : nullptr;
    if (!card || card_month_days(card, year, month, fn, nullptr, playableOnly ? 1 : 0, &mask) != CARD_OK)
        return 0;
    return mask;
}

static QVariantList dayList(uint32_t mask)
{
    QVariantList days;
    for (int d = 1; d <= 31; ++d) {
        if (mask & (uint32_t(1) << d))
            days.append(d);
    }
    return days;
}

QVariantList CardSession::daysInMonth(int year, int month) const
{
    return dayList(monthDays(m_card, year, month, m_timeMode == ComputerTime, true));
}

QVariantList CardSession::missingDaysInMonth(int year, int month) const
{
    const bool computer = m_timeMode == ComputerTime;
    return dayList(monthDays(m_card, year, month, computer, false) &
                   ~monthDays(m_card, year, month, computer, true));
}

QVariantList CardSession::eventDaysInMonth(int year, int month)
{
    const QDate first(year, month, 1);
    const QDate following = first.addMonths(1);
    if (!m_card || !first.isValid() || !following.isValid())
        return {};
    // Midnight may lie before the epoch (January 1970 east of UTC).
    const qint64 from = localMidnight(year, month, 1);
    const qint64 next = localMidnight(following.year(), following.month(), 1);
    uint32_t marked = 0;
    for (const card_event &e : eventRecords(from, next - 1)) {
        const QDate date = displayDateTime(*this, qint64(e.first) * 1000).date();
        if (date.year() == year && date.month() == month)
            marked |= uint32_t(1) << date.day();
    }
    QVariantList days;
    for (int d = 1; d <= 31; ++d) {
        if (marked & (uint32_t(1) << d))
            days.append(d);
    }
    return days;
}

std::vector<card_event> CardSession::eventRecords(qlonglong fromMs, qlonglong toMs)
{
    std::vector<card_event> events;
    if (!m_card || toMs < fromMs)
        return events;
    const uint32_t from = cardSecond(fromMs);
    const uint32_t to = cardSecond(toMs);
    int count = 0;
    if (card_events(m_card, from, to, nullptr, 0, &count) != CARD_OK || count <= 0)
        return events;
    events.resize(size_t(count));
    int filled = 0;
    if (card_events(m_card, from, to, events.data(), count, &filled) != CARD_OK)
        return {};
    events.resize(size_t(std::min(filled, count)));
    return events;
}

QVariantList CardSession::eventsBetween(qlonglong fromMs, qlonglong toMs)
{
    QVariantList list;
    for (const card_event &e : eventRecords(fromMs, toMs))
        list.append(eventMap(e));
    return list;
}

QVariantMap CardSession::nextEvent(qlonglong fromMs, int kinds, qlonglong untilMs)
{
    const qint64 last = lastPlayableMs();
    if (!m_card || last <= 0)
        return {};
    const qint64 end = untilMs < 0 ? last + 1 : std::min<qint64>(untilMs, last + 1);
    // An event lasts less than a day (its length is kept in 16 bits of
    // seconds): one going on at fromMs began under a day before, and a scan
    // reaching a day past a window sees every event starting in it whole.
    // The windows double, so that a long quiet stretch costs few scans.
    qint64 from = addClamped(fromMs, -kDayMs);
    qint64 span = 2 * kDayMs;
    while (from < end) {
        const qint64 to = std::min(addClamped(from, span), end);
        const card_event *best = nullptr;
        const std::vector<card_event> events = eventRecords(from, addClamped(to, kDayMs - 1));
        for (const card_event &e : events) {
            const qint64 startMs = qint64(e.first) * 1000;
            if (startMs < from || startMs >= to || card_last_ms(e.last) < fromMs || !e.playable ||
                (kinds != 0 && (e.kinds & kinds) == 0))
                continue;
            if (!best || e.first < best->first)
                best = &e;
        }
        if (best)
            return eventMap(*best);
        from = to;
        span *= 2;
    }
    return {};
}

QVariantList CardSession::dayChunks(qlonglong dayStartMs)
{
    if (!m_card)
        return {};
    // Midnight to midnight: 23 or 25 hours on the days the clocks change.
    const qint64 dayEnd = dayEndMs(dayStartMs) - 1;
    const std::vector<card_event> events = eventRecords(dayStartMs, dayEnd);
    QVariantList list;
    int index = 0;
    for (const card_range &r : m_ranges) {
        if (rangeEndMs(r) < dayStartMs || rangeStartMs(r) > dayEnd)
            continue;
        const auto inChunk = [&r](const card_event &e) { return e.first >= r.first && e.first <= r.last; };
        QVariantMap map;
        map.insert(QStringLiteral("index"), ++index);
        map.insert(QStringLiteral("startMs"), qlonglong(rangeStartMs(r)));
        map.insert(QStringLiteral("endMs"), qlonglong(rangeEndMs(r)));
        map.insert(QStringLiteral("playable"), r.missing == 0);
        map.insert(QStringLiteral("events"), int(std::count_if(events.begin(), events.end(), inChunk)));
        list.append(map);
    }
    return list;
}

int CardSession::kindAt(qlonglong utcMs) const
{
    const qint64 s = utcMs / 1000;
    int kind = -1;
    for (const card_range &r : m_ranges) {
        if (s < qint64(r.first) || s > qint64(r.last))
            continue;
        if (!r.missing)
            return 0;
        kind = 1;
    }
    return kind;
}

qlonglong CardSession::nextPlayableStart(qlonglong utcMs) const
{
    for (const card_range &r : m_ranges) {
        if (!r.missing && rangeStartMs(r) >= utcMs)
            return rangeStartMs(r);
    }
    return -1;
}

qlonglong CardSession::keyframeAtOrBefore(qlonglong utcMs)
{
    return keyframeSearch(utcMs, false, false);
}

qlonglong CardSession::keyframeSearch(qlonglong utcMs, bool strictlyBefore, bool acrossGaps)
{
    constexpr qint64 kWindowMs = 60000;
    if (!m_card || utcMs < kMinMs + kWindowMs + 1)
        return -1;
    struct Walk
    {
        qint64 limit;
        qint64 best;
    } walk{strictlyBefore ? utcMs - 1 : utcMs, -1};
    const auto visit = [](const card_keyframe *k, void *context) -> int {
        auto *w = static_cast<Walk *>(context);
        if (k->usable && k->time_ms <= w->limit && k->time_ms > w->best)
            w->best = k->time_ms;
        return 0;
    };
    qint64 end = walk.limit;
    while (end >= 0) {
        if (card_keyframes(m_card, cardSecond(end - kWindowMs), cardSecond(end), visit, &walk) != CARD_OK)
            return -1;
        if (walk.best >= 0 || !acrossGaps)
            return walk.best;
        // On at the latest recorded time before the window.
        const qint64 windowStart = end - kWindowMs;
        qint64 previous = -1;
        for (const card_range &range : m_ranges) {
            if (!range.missing && qint64(range.first) * 1000 < windowStart)
                previous = qMax(previous, qMin(card_last_ms(range.last), windowStart - 1));
        }
        end = previous;
    }
    return -1;
}

std::vector<card_keyframe> CardSession::keyframeRecords(qlonglong fromMs, qlonglong toMs)
{
    std::vector<card_keyframe> keyframes;
    if (!m_card || toMs < fromMs)
        return keyframes;
    const auto collect = [](const card_keyframe *k, void *context) -> int {
        static_cast<std::vector<card_keyframe> *>(context)->push_back(*k);
        return 0;
    };
    if (card_keyframes(m_card, cardSecond(fromMs), cardSecond(toMs), collect, &keyframes) != CARD_OK)
        return {};
    return keyframes;
}

} // namespace nivra
