// bench_stepback: how long PlaybackEngine::stepBackFrame takes from the call
// to the picture on the video sink, on 1080p15 H.264 cards with a key frame
// every 2 s and every 4 s, with software decoding.
//
//   bench_stepback             30 steps per card from spread-out pictures
//   bench_stepback --steps N   N steps per card
//
// Each step starts from an exact seek to a picture at a different place in
// its group of pictures, so the figures cover near and far key frames alike.
// Prints the median and the worst time per card; the goal is a median under
// 150 ms.
#include "decode/decoder.h"
#include "playback/playback_engine.h"
#include "session/card_session.h"

#include "bench_card.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>

namespace {

bool writeCard(const QString &dir, int keyint)
{
    const QString scenario = QStringLiteral(R"({
      "video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 15, "keyint": %1, "bitrate": 4000000},
      "audio": {"format": "none"},
      "pooled": true,
      "poolGops": 3,
      "spans": [{"start": "2024-05-01T08:00:00Z", "seconds": 120, "offsetMin": 0}],
      "segments": {"seconds": 60, "slots": 16}
    })")
                                 .arg(keyint);
    return writeScenarioCard(dir, scenario);
}

// Runs the event loop until the signal fires; false after timeoutMs.
template <typename Sender, typename Signal> bool waitFor(const Sender *sender, Signal signal, int timeoutMs)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

qlonglong percentile(QList<qlonglong> values, int percent)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qMin<qsizetype>(values.size() - 1, values.size() * percent / 100));
}

// Returns false when the card could not be played.
bool measure(const QString &cardDir, int keySeconds, int steps)
{
    nivra::CardSession session;
    if (!session.openPath(cardDir)) {
        std::fprintf(stderr, "bench_stepback: cannot open %s\n", qPrintable(cardDir));
        return false;
    }
    QVideoSink sink;
    nivra::PlaybackEngine engine;
    engine.setVideoSink(&sink);
    engine.setCard(&session);
    if (!waitFor(&engine, &nivra::PlaybackEngine::seeked, 30000))
        return false;

    QList<qlonglong> times;
    int wrong = 0;
    const qlonglong first = session.firstPlayableMs();
    QElapsedTimer timer;
    for (int i = 0; i < steps; ++i) {
        // Spread over the groups: a picture 1..(key interval) frames after a key frame.
        const qlonglong from = first + 10000 + qlonglong(i) * 2467 % 100000;
        engine.seek(from, false);
        if (!waitFor(&engine, &nivra::PlaybackEngine::seeked, 30000))
            return false;
        const qlonglong shown = engine.position();
        timer.start();
        engine.stepBackFrame();
        if (!waitFor(&sink, &QVideoSink::videoFrameChanged, 30000))
            return false;
        times << timer.elapsed();
        // 15 pictures a second: the one before lies 66 or 67 ms back.
        if (shown - engine.position() < 66 || shown - engine.position() > 67)
            ++wrong;
    }
    std::printf("key frame every %d s: %d steps back\n", keySeconds, steps);
    std::printf("  median call to picture   %lld ms   (goal: < 150 ms)\n", percentile(times, 50));
    std::printf("  90th percentile          %lld ms\n", percentile(times, 90));
    std::printf("  worst                    %lld ms\n", percentile(times, 100));
    std::printf("  wrong pictures           %d\n", wrong);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    int steps = 30;
    const qsizetype stepsArg = args.indexOf(QStringLiteral("--steps"));
    if (stepsArg > 0 && stepsArg + 1 < args.size())
        steps = qMax(1, args.at(stepsArg + 1).toInt());

    nivra::setDecodePolicy(nivra::PolicySoftware);
    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/nivra-bench-stepback-XXXXXX"));
    if (!temp.isValid())
        return 1;
    for (const int keySeconds : {2, 4}) {
        const QString dir = temp.path() + QStringLiteral("/k%1").arg(keySeconds);
        std::printf("writing a 120 s 1080p15 H.264 card, a key frame every %d s...\n", keySeconds);
        std::fflush(stdout);
        if (!QDir().mkpath(dir) || !writeCard(dir, keySeconds * 15)) {
            std::fprintf(stderr, "bench_stepback: could not write the card\n");
            return 1;
        }
        if (!measure(dir + QStringLiteral("/card"), keySeconds, steps))
            return 1;
    }
    return 0;
}
