// bench_preview: TimelinePreview from the hover to the picture shown, on a
// 1080p15 H.264 card with a key frame every 2 s, at the default 160 x 90.
//
//   bench_preview              40 hovers over new key frames, 40 over cached ones,
//                              then 8 s of playback without and with hovering
//   bench_preview --hovers N   N hovers of each kind
//
// Prints the median and the worst time per kind (goal: a median under 80 ms
// for new key frames), the event list's pictures (48 x 27: one row alone,
// a screen of rows, and a fast scroll through 500 rows), and the pictures
// the playback engine dropped at 1x with and without a hover every 100 ms.
#include "decode/decoder.h"
#include "playback/playback_engine.h"
#include "session/card_session.h"

#include "bench_card.h"
#include "preview/timeline_preview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

bool writeCard(const QString &dir)
{
    const QString scenario = QStringLiteral(R"({
      "video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 15, "keyint": 30, "bitrate": 4000000},
      "audio": {"format": "none"},
      "pooled": true,
      "poolGops": 6,
      "spans": [{"start": "2024-05-01T08:00:00Z", "seconds": 240, "offsetMin": 0}],
      "segments": {"seconds": 60, "slots": 16}
    })");
    return writeScenarioCard(dir, scenario);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Hovers at timeMs and returns the ms until the picture is shown, -1 on a timeout.
qint64 hover(TimelinePreview &preview, qlonglong timeMs)
{
    QElapsedTimer timer;
    timer.start();
    preview.setTimeMs(timeMs);
    if (preview.isReady())
        return timer.elapsed(); // from the cache
    QEventLoop loop;
    QObject::connect(&preview, &TimelinePreview::readyChanged, &loop, [&] {
        if (preview.isReady())
            loop.quit();
    });
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    if (loop.exec() != 0)
        return -1;
    return timer.elapsed();
}

// Waits until every row shows its picture; the ms it took, -1 on a timeout.
qint64 waitForRows(const std::vector<std::unique_ptr<EventThumb>> &rows, const QElapsedTimer &since)
{
    QElapsedTimer limit;
    limit.start();
    while (!std::all_of(rows.begin(), rows.end(), [](const auto &r) { return r->isReady(); })) {
        if (limit.elapsed() > 20000)
            return -1;
        wait(1);
    }
    return since.elapsed();
}

std::unique_ptr<EventThumb> eventRow(nivra::CardSession &session, qlonglong timeMs)
{
    auto row = std::make_unique<EventThumb>();
    row->setSize(QSizeF(48, 27));
    row->setCard(&session);
    row->setTimeMs(timeMs);
    return row;
}

void printFigures(const char *title, QList<qint64> times, const char *goal)
{
    std::sort(times.begin(), times.end());
    const qint64 median = times.isEmpty() ? 0 : times.at(times.size() / 2);
    const qint64 worst = times.isEmpty() ? 0 : times.last();
    std::printf("%s (%lld hovers)\n", title, qlonglong(times.size()));
    std::printf("  median hover to picture  %lld ms%s\n", qlonglong(median), goal);
    std::printf("  worst                    %lld ms\n", qlonglong(worst));
    std::fflush(stdout);
}

// Plays 8 s at 1× and returns the pictures dropped; hovers every 100 ms
// over new key frames when asked.
int droppedWhilePlaying(nivra::PlaybackEngine &engine, TimelinePreview &preview, qlonglong startMs,
                        bool hovering)
{
    engine.seek(startMs, true);
    QEventLoop landed;
    QObject::connect(&engine, &nivra::PlaybackEngine::seeked, &landed, &QEventLoop::quit);
    landed.exec();
    const int dropped = engine.droppedFrames();
    QTimer hovers;
    qlonglong next = startMs + 110000;
    QObject::connect(&hovers, &QTimer::timeout, &preview, [&] {
        preview.setTimeMs(next);
        next -= 2000;
    });
    if (hovering)
        hovers.start(100);
    engine.play();
    wait(8000);
    engine.pause();
    hovers.stop();
    return engine.droppedFrames() - dropped;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    int hovers = 40;
    const qsizetype hoversArg = args.indexOf(QStringLiteral("--hovers"));
    if (hoversArg > 0 && hoversArg + 1 < args.size())
        hovers = qBound(1, args.at(hoversArg + 1).toInt(), 100);

    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/nivra-bench-preview-XXXXXX"));
    std::printf("writing a 240 s 1080p15 H.264 card, a key frame every 2 s...\n");
    std::fflush(stdout);
    if (!temp.isValid() || !writeCard(temp.path())) {
        std::fprintf(stderr, "bench_preview: could not write the card\n");
        return 1;
    }
    nivra::CardSession session;
    if (!session.openPath(temp.path() + QStringLiteral("/card"))) {
        std::fprintf(stderr, "bench_preview: cannot open the card\n");
        return 1;
    }
    TimelinePreview preview;
    preview.setCard(&session);
    const qlonglong first = session.firstPlayableMs();

    QList<qint64> fresh;
    for (int i = 0; i < hovers; ++i) {
        const qint64 ms = hover(preview, first + 1300 + 2000LL * ((i * 7) % 75));
        if (ms < 0) {
            std::fprintf(stderr, "bench_preview: no picture\n");
            return 1;
        }
        fresh << ms;
    }
    printFigures("new key frames, 160 x 90", fresh, "   (goal: < 80 ms)");
    QList<qint64> cached;
    const int cachedKeys = qMin(hovers, TimelinePreview::kCacheSize / 2);
    for (int i = 0; i < hovers; ++i) {
        // Alternate over the last few key frames, which the cache holds.
        const int n = hovers - 1 - (i % cachedKeys);
        cached << hover(preview, first + 1700 + 2000LL * ((n * 7) % 75));
    }
    printFigures("cached key frames", cached, "");
    std::printf("  decodes                  %d for %d hovers\n", preview.decodeCount(), 2 * hovers);

    // Event rows: each alone, a screen of twelve at once, and a fast scroll
    // over 500 rows of which twelve stay in view.
    {
        nivra::CardSession rowsSession;
        rowsSession.openPath(temp.path() + QStringLiteral("/card"));
        nivra::PreviewHub *hub = nivra::PreviewHub::of(&rowsSession);
        QList<qint64> alone;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer timer;
            timer.start();
            std::vector<std::unique_ptr<EventThumb>> one;
            one.push_back(eventRow(rowsSession, first + 500 + 2000LL * ((i * 7) % 75)));
            alone << waitForRows(one, timer);
        }
        printFigures("event pictures, one row at a time, 48 x 27 (\"hovers\": rows)", alone, "");
        QElapsedTimer screen;
        screen.start();
        std::vector<std::unique_ptr<EventThumb>> rows;
        for (int i = 0; i < 12; ++i)
            rows.push_back(eventRow(rowsSession, first + 900 + 2000LL * (i + 40)));
        std::printf("  a screen of 12 rows      %lld ms\n", qlonglong(waitForRows(rows, screen)));
        rows.clear();
        const int decodesBefore = hub->decodeCount();
        QElapsedTimer scroll;
        scroll.start();
        for (int i = 0; i < 500; ++i) {
            rows.push_back(eventRow(rowsSession, first + 100 + 300LL * i));
            if (rows.size() > 12)
                rows.erase(rows.begin());
            if (i % 25 == 0)
                QCoreApplication::processEvents(); // a frame of the scroll
        }
        const qint64 settled = waitForRows(rows, scroll);
        std::printf("  500 rows scrolled fast   %lld ms until the last 12 show, %d decodes\n",
                    qlonglong(settled), hub->decodeCount() - decodesBefore);
        std::fflush(stdout);
    }

    nivra::setDecodePolicy(nivra::PolicySoftware);
    QVideoSink sink;
    nivra::PlaybackEngine engine;
    engine.setVideoSink(&sink);
    engine.setCard(&session);
    // Start over with an empty cache: every hover below decodes.
    preview.setCard(nullptr);
    preview.setCard(&session);
    const int quiet = droppedWhilePlaying(engine, preview, first + 20000, false);
    const int busy = droppedWhilePlaying(engine, preview, first + 40000, true);
    std::printf("playback at 1x for 8 s, software decoding\n");
    std::printf("  dropped without hovering %d\n", quiet);
    std::printf("  dropped with a hover every 100 ms  %d\n", busy);
    return 0;
}
