#include "session/activity_model.h"

#include "activity/activity.h"
#include "base/thread_priority.h"

#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cmath>
#include <functional>

namespace nivra {

namespace {

using activity::KeyPicture;
using activity::SoundSecond;

constexpr qint64 kHourMs = 3600 * 1000;
// Three cells of the grid: one or two alone are too often the sensor's
// noise or a digit of a clock the mask has not learnt yet.
constexpr float kActiveLevel = 3.0f / float(activity::kCells);
// Shorter still stretches are played, not skipped.
constexpr qint64 kStillMinMs = 10 * 1000;
constexpr qint64 kStillLeftMs = 2 * 1000;
// The selected day's analysis is redone as it grows, but not more often.
constexpr qint64 kPublishEveryMs = 1500;

// A second is loud above the day's usual level and a floor (a quiet room's
// hiss is no sound).
float loudFrom(const std::vector<SoundSecond> &seconds)
{
    if (seconds.empty())
        return 0.0f;
    std::vector<float> levels;
    levels.reserve(seconds.size());
    for (const SoundSecond &s : seconds)
        levels.push_back(s.dbfs);
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    return std::max(-50.0f, levels[levels.size() / 2] + 12.0f);
}

struct BuildContext
{
    WorkerThread *shell;
    const int *generation;
    int seen;
    // The share of the day before this span and the span's own share.
    double before;
    double share;
    std::function<void(int)> report;
};

int onProgress(int64_t done, int64_t total, void *context)
{
    auto *c = static_cast<BuildContext *>(context);
    {
        std::lock_guard<std::mutex> lock(c->shell->mutex());
        // Another day was chosen meanwhile: that one comes first.
        if (*c->generation != c->seen)
            return 1;
    }
    if (c->shell->stopping())
        return 1;
    if (c->report && total > 0)
        c->report(int(std::floor(100.0 * (c->before + c->share * double(done) / double(total)))));
    return 0;
}

qint64 recordedIn(const std::vector<card_range> &ranges, qint64 from, qint64 to)
{
    qint64 sum = 0;
    for (const card_range &r : ranges) {
        if (r.missing)
            continue;
        const qint64 a = std::max(from, qint64(r.first) * 1000);
        const qint64 b = std::min<qint64>(to, card_last_ms(r.last));
        sum += std::max<qint64>(0, b - a);
    }
    return sum;
}

} // namespace

std::shared_ptr<DayActivity> analyseDay(const activity::Index &index)
{
    auto day = std::make_shared<DayActivity>();
    day->analysis = activity::analyse(index.pictures);
    day->seconds = index.seconds;
    day->keyframes = int(index.pictures.size());
    for (const KeyPicture &p : index.pictures)
        day->holes += p.hole;
    activity::CellSet all;
    all.set();
    const float loud = loudFrom(day->seconds);
    size_t second = 0;
    qint64 stillFrom = -1, stillTo = -1;
    const auto closeStill = [&] {
        if (stillFrom >= 0 && stillTo - stillFrom >= kStillMinMs)
            day->still.emplace_back(stillFrom, stillTo);
        stillFrom = -1;
    };
    for (const activity::Step &step : day->analysis.steps) {
        const float level =
            step.lighting ? 0.0f : float(activity::changed_fraction(step, day->analysis.mask, all));
        day->stepTimes.push_back(step.to_ms);
        day->stepLevels.push_back(level);
        while (second < day->seconds.size() && day->seconds[second].ms + 1000 <= step.from_ms)
            ++second;
        bool heard = false;
        for (size_t i = second; i < day->seconds.size() && day->seconds[i].ms < step.to_ms; ++i)
            heard = heard || day->seconds[i].dbfs >= loud;
        const bool quiet = level < kActiveLevel && !heard;
        if (!quiet || (stillFrom >= 0 && step.from_ms != stillTo)) {
            closeStill();
        }
        if (quiet) {
            if (stillFrom < 0)
                stillFrom = step.from_ms;
            stillTo = step.to_ms;
        }
    }
    closeStill();
    return day;
}

ActivityModel::ActivityModel(QObject *parent) : QObject(parent)
{}

ActivityModel::~ActivityModel()
{
    // Both stop at their next recording; the shells join them.
    if (m_run)
        m_run->shell.requestStop();
    for (auto &run : m_retired)
        run->shell.requestStop();
}

void ActivityModel::setCard(CardSession *card)
{
    if (card == m_card)
        return;
    disconnect(m_cardConnection);
    m_card = card;
    if (card)
        m_cardConnection = connect(card, &CardSession::changed, this, &ActivityModel::restart);
    emit cardChanged();
    restart();
}

void ActivityModel::setDayStart(qlonglong ms)
{
    if (ms == m_dayStart)
        return;
    m_dayStart = ms;
    emit dayChanged();
    want();
}

void ActivityModel::setDayEnd(qlonglong ms)
{
    if (ms == m_dayEnd)
        return;
    m_dayEnd = ms;
    emit dayChanged();
    want();
}

void ActivityModel::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    emit enabledChanged();
    restart();
}

void ActivityModel::setCacheDir(const QString &dir)
{
    if (dir == m_cacheDir)
        return;
    m_cacheDir = dir;
    emit cacheDirChanged();
    restart();
}

std::vector<ActivityModel::Span> ActivityModel::daysNewestFirst() const
{
    std::vector<Span> days;
    const std::vector<card_range> &ranges = m_card->chunkRecords();
    for (auto r = ranges.rbegin(); r != ranges.rend(); ++r) {
        if (r->missing)
            continue;
        const qint64 first = qint64(r->first) * 1000;
        for (qint64 t = card_last_ms(r->last); t >= first;) {
            if (!days.empty() && t >= days.back().start && t < days.back().end) {
                t = days.back().start - 1;
                continue;
            }
            const QVariantMap date = m_card->dateOf(t);
            const qint64 start = m_card->dayStartMs(date.value("year").toInt(), date.value("month").toInt(),
                                                    date.value("day").toInt());
            const Span day{start, m_card->dayEndMs(start)};
            if (day.end <= t ||
                std::any_of(days.begin(), days.end(), [&](const Span &d) { return d.start == start; }))
                break; // not a day this clock knows: leave the rest of it
            days.push_back(day);
            t = start - 1;
        }
    }
    return days;
}

void ActivityModel::retire()
{
    if (m_run) {
        m_run->shell.requestStop();
        m_retired.push_back(std::move(m_run));
    }
    // Those that are through are joined at once.
    m_retired.erase(std::remove_if(m_retired.begin(), m_retired.end(),
                                   [](const std::unique_ptr<Run> &r) { return r->finished.load(); }),
                    m_retired.end());
}

// The day's analysis in the window is no longer the one asked for.
void ActivityModel::forget()
{
    m_data.reset();
    m_complete = false;
    m_progress = 0;
    ++m_revision;
    emit indexChanged();
}

void ActivityModel::restart()
{
    retire();
    forget();
    m_analysing = false;
    emit progressChanged();
    if (!m_enabled || !m_card || !m_card->isOpen())
        return;
    m_run = std::make_unique<Run>();
    Run *run = m_run.get();
    run->wanted = {m_dayStart, m_dayEnd};
    run->generation = 1;
    m_analysing = m_dayStart > 0 && m_dayEnd > m_dayStart;
    emit progressChanged();
    const QString cache = m_cacheDir;
    run->shell.start(
        [run, path = m_card->path(), cache, days = daysNewestFirst(), ranges = m_card->chunkRecords()] {
            work(run, path, cache, days, ranges);
            run->finished = true;
        },
        this, [this, run] { take(run); });
}

void ActivityModel::want()
{
    // The day's start and end change one after the other: the worker hears
    // of the pair once both are in.
    if (m_run && !m_wantQueued) {
        m_wantQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_wantQueued = false;
                if (!m_run)
                    return;
                {
                    std::lock_guard<std::mutex> lock(m_run->shell.mutex());
                    m_run->wanted = {m_dayStart, m_dayEnd};
                    ++m_run->generation;
                }
                m_run->shell.wake();
            },
            Qt::QueuedConnection);
    }
    forget();
    if (!m_run) {
        m_analysing = false;
        emit progressChanged();
        return;
    }
    m_analysing = m_dayStart > 0 && m_dayEnd > m_dayStart;
    emit progressChanged();
}

void ActivityModel::take(Run *run)
{
    if (run != m_run.get())
        return;
    Result result;
    {
        std::lock_guard<std::mutex> lock(run->shell.mutex());
        if (!run->resultNew || run->result.generation != run->generation)
            return;
        run->resultNew = false;
        result = run->result;
    }
    if (result.dayStart != m_dayStart)
        return;
    const bool analysing = !result.complete;
    if (result.progress != m_progress || analysing != m_analysing) {
        m_progress = result.progress;
        m_analysing = analysing;
        emit progressChanged();
    }
    if (result.data && (result.data != m_data || result.complete != m_complete)) {
        m_data = result.data;
        m_complete = result.complete;
        ++m_revision;
        emit indexChanged();
    }
}

void ActivityModel::work(Run *run, const QString &path, const QString &cacheDir,
                         const std::vector<Span> &days, const std::vector<card_range> &ranges)
{
    lowerThreadPriority();
    card_reader *reader = nullptr;
    if (card_open(QDir::toNativeSeparators(path).toUtf8().constData(), &reader) != CARD_OK) {
        card_close(reader);
        return;
    }
    const std::string cache =
        cacheDir.isEmpty() ? activity::default_cache_dir() : QDir::toNativeSeparators(cacheDir).toStdString();
    WorkerThread &shell = run->shell;
    std::vector<qint64> built; // days whose index is whole in the cache
    qint64 published = -1;     // the day whose whole analysis the window has
    int publishedGeneration = 0;

    const auto publish = [&](int generation, qint64 day, int progress, bool complete,
                             std::shared_ptr<DayActivity> data) {
        {
            std::lock_guard<std::mutex> lock(shell.mutex());
            run->result = {generation, day, progress, complete, std::move(data)};
            run->resultNew = true;
        }
        shell.handBack();
    };

    while (!shell.stopping()) {
        Span day;
        int generation = 0;
        bool selected = false;
        {
            WorkerThread::Lock lock = shell.lock();
            const auto pick = [&] {
                generation = run->generation;
                const Span w = run->wanted;
                if (w.end > w.start && w.start > 0 &&
                    !(published == w.start && publishedGeneration == generation)) {
                    day = w;
                    selected = true;
                    return true;
                }
                for (const Span &d : days) {
                    if (std::find(built.begin(), built.end(), d.start) == built.end()) {
                        day = d;
                        selected = false;
                        return true;
                    }
                }
                return false;
            };
            if (!shell.wait(lock, pick))
                break;
        }

        const qint64 total = std::max<qint64>(1, recordedIn(ranges, day.start, day.end));
        BuildContext context{&shell, &run->generation, generation, 0.0, 1.0, {}};
        int rc = activity::ACT_OK;
        if (!selected) {
            activity::Index index;
            rc = activity::build_index(reader, cache, day.start, day.end - 1, &index, nullptr, onProgress,
                                       &context, 1);
        } else {
            // Hour by hour, so that the strips fill in as it goes.
            activity::Index whole;
            qint64 done = 0;
            qint64 lastPublish = -kPublishEveryMs;
            int progress = 0;
            context.report = [&](int percent) {
                if (percent == progress)
                    return;
                progress = percent;
                publish(generation, day.start, progress, false, nullptr);
            };
            for (qint64 from = day.start; from < day.end && rc == activity::ACT_OK; from += kHourMs) {
                const qint64 to = std::min(day.end, from + kHourMs);
                const qint64 share = recordedIn(ranges, from, to);
                if (share == 0)
                    continue;
                context.before = double(done) / double(total);
                context.share = double(share) / double(total);
                activity::Index part;
                rc = activity::build_index(reader, cache, from, to - 1, &part, nullptr, onProgress, &context,
                                           1);
                // A recording across the hour is met twice: each hour keeps its own.
                for (const KeyPicture &p : part.pictures) {
                    if (p.time_ms >= from && p.time_ms < to)
                        whole.pictures.push_back(p);
                }
                for (const SoundSecond &s : part.seconds) {
                    if (s.ms >= from && s.ms < to)
                        whole.seconds.push_back(s);
                }
                done += share;
                const qint64 now = QDateTime::currentMSecsSinceEpoch();
                if (rc == activity::ACT_OK && to < day.end && now - lastPublish >= kPublishEveryMs) {
                    lastPublish = now;
                    publish(generation, day.start, int(100 * done / total), false, analyseDay(whole));
                }
            }
            if (rc == activity::ACT_OK) {
                publish(generation, day.start, 100, true, analyseDay(whole));
                published = day.start;
                publishedGeneration = generation;
            }
        }
        if (rc == activity::ACT_OK) {
            if (std::find(built.begin(), built.end(), day.start) == built.end())
                built.push_back(day.start);
        } else if (rc != activity::ACT_ERR_CANCELLED) {
            // A day that cannot be read is left, not tried again and again.
            built.push_back(day.start);
            if (selected) {
                published = day.start;
                publishedGeneration = generation;
                publish(generation, day.start, 100, true, std::make_shared<DayActivity>());
            }
        }
    }
    card_close(reader);
}

QVariantList ActivityModel::findChanges(double x, double y, double w, double h, double threshold,
                                        bool lighting) const
{
    QVariantList rows;
    const activity::Region region{x, y, w, h};
    if (!m_data || !activity::region_valid(region))
        return rows;
    const std::vector<activity::Change> changes =
        activity::find_changes(m_data->analysis, region, threshold, m_dayStart, m_dayEnd - 1);
    for (auto c = changes.rbegin(); c != changes.rend(); ++c) {
        if (c->kind == activity::CHANGE_LIGHTING && !lighting)
            continue;
        QVariantMap row;
        row.insert(QStringLiteral("startMs"), qlonglong(c->start_ms));
        row.insert(QStringLiteral("endMs"), qlonglong(c->end_ms));
        row.insert(QStringLiteral("lighting"), c->kind == activity::CHANGE_LIGHTING);
        row.insert(QStringLiteral("area"), c->area);
        rows.append(row);
    }
    return rows;
}

qlonglong ActivityModel::stillEnd(qlonglong ms) const
{
    if (!m_data)
        return -1;
    const auto &still = m_data->still;
    auto it = std::upper_bound(still.begin(), still.end(), ms,
                               [](qint64 t, const std::pair<qint64, qint64> &s) { return t < s.first; });
    if (it == still.begin())
        return -1;
    --it;
    return ms < it->second - kStillLeftMs ? it->second : -1;
}

float ActivityModel::pictureLevel(qint64 fromMs, qint64 toMs) const
{
    if (!m_data)
        return -1.0f;
    // A step covers the time between its two pictures.
    const auto &times = m_data->stepTimes;
    const auto &steps = m_data->analysis.steps;
    float level = -1.0f;
    for (size_t i = size_t(std::lower_bound(times.begin(), times.end(), fromMs) - times.begin());
         i < steps.size() && steps[i].from_ms < toMs; ++i)
        level = std::max(level, m_data->stepLevels[i]);
    return level;
}

float ActivityModel::soundLevel(qint64 fromMs, qint64 toMs) const
{
    if (!m_data)
        return -1000.0f;
    const auto &seconds = m_data->seconds;
    auto it = std::lower_bound(seconds.begin(), seconds.end(), fromMs - 999,
                               [](const SoundSecond &s, qint64 t) { return s.ms < t; });
    float level = -1000.0f;
    for (; it != seconds.end() && it->ms < toMs; ++it)
        level = std::max(level, it->dbfs);
    return level;
}

qint64 ActivityModel::analysedFrom() const
{
    return m_data && !m_data->stepTimes.empty() ? m_data->analysis.steps.front().from_ms : -1;
}

qint64 ActivityModel::analysedTo() const
{
    return m_data && !m_data->stepTimes.empty() ? m_data->stepTimes.back() : -1;
}

} // namespace nivra
