// bench_engine: plays a 1080p15 H.264 card with AAC sound through the playback
// engine with software decoding and prints how well the pictures kept time.
//
//   bench_engine            10 s at 1×, then 10 s at 16×
//   bench_engine --full     60 s at 1×, then 60 s at 16×
//   bench_engine --card DIR use an existing card instead of writing one
//
// At 1×: pictures presented and dropped, the worst lateness of a presented
// picture against the clock it was due at, and the audio/video offset at the
// end. At 16×: pictures presented per second. The lateness comes from the
// engine's own trace lines, so the program restarts itself with NIVRA_TRACE=1.
#include "decode/decoder.h"
#include "playback/playback_engine.h"
#include "playback/trace.h"
#include "session/card_session.h"

#include "bench_card.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QMutex>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoSink>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

struct Show
{
    qlonglong time = 0;
    qlonglong clock = 0;
    qint64 wallMs = 0;
};

QMutex g_mutex;
QList<Show> g_shows;
QElapsedTimer g_wall;
QtMessageHandler g_previous = nullptr;

void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    static const QRegularExpression showLine(QStringLiteral("^TRACE show (\\d+) clock (\\d+)$"));
    if (type == QtDebugMsg && text.startsWith(QLatin1String("TRACE "))) {
        const QRegularExpressionMatch match = showLine.match(text);
        if (match.hasMatch()) {
            QMutexLocker locker(&g_mutex);
            g_shows.append(
                {match.captured(1).toLongLong(), match.captured(2).toLongLong(), g_wall.elapsed()});
        }
        return; // the trace would drown the figures
    }
    if (type == QtDebugMsg)
        return;
    g_previous(type, context, text);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until the engine has landed after a seek.
bool waitSeeked(nivra::PlaybackEngine &engine, int timeoutMs)
{
    QEventLoop loop;
    QObject::connect(&engine, &nivra::PlaybackEngine::seeked, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

bool writeCard(const QString &dir, int seconds)
{
    const QString scenario = QStringLiteral(R"({
      "video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 15, "keyint": 30, "bitrate": 4000000},
      "audio": {"format": "aac-adts", "rate": 16000, "channels": 1, "bitrate": 32000},
      "pooled": true,
      "poolGops": 6,
      "spans": [{"start": "2024-05-01T08:00:00Z", "seconds": %1, "offsetMin": 0}],
      "segments": {"seconds": 60, "slots": 64, "sizeLimit": 67108864}
    })")
                                 .arg(seconds);
    return writeScenarioCard(dir, scenario);
}

QList<Show> showsSince(qint64 wallMs)
{
    QMutexLocker locker(&g_mutex);
    QList<Show> out;
    for (const Show &show : g_shows) {
        if (show.wallMs >= wallMs)
            out.append(show);
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    // The lateness figures come from the trace, read once at start-up.
    if (!nivra::traceEnabled()) {
        setenv("NIVRA_TRACE", "1", 1);
        execv("/proc/self/exe", argv);
        std::perror("bench_engine: restart with NIVRA_TRACE=1");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_wall.start();
    g_previous = qInstallMessageHandler(handleMessage);

    const QStringList args = app.arguments();
    const bool full = args.contains(QStringLiteral("--full"));
    const int runSeconds = full ? 60 : 10;
    QString cardDir;
    const qsizetype cardArg = args.indexOf(QStringLiteral("--card"));
    if (cardArg > 0 && cardArg + 1 < args.size())
        cardDir = args.at(cardArg + 1);

    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/nivra-bench-engine-XXXXXX"));
    if (cardDir.isEmpty()) {
        // 1× needs the run plus a margin; 16× needs sixteen times the run.
        const int seconds = runSeconds * 16 + 60;
        std::printf("writing a %d s 1080p15 H.264 + AAC card...\n", seconds);
        std::fflush(stdout);
        if (!temp.isValid() || !writeCard(temp.path(), seconds)) {
            std::fprintf(stderr, "bench_engine: could not write the card\n");
            return 1;
        }
        cardDir = temp.path() + QStringLiteral("/card");
    }

    nivra::setDecodePolicy(nivra::PolicySoftware);
    nivra::CardSession session;
    if (!session.openPath(cardDir)) {
        std::fprintf(stderr, "bench_engine: cannot open %s: %s\n", qPrintable(cardDir),
                     qPrintable(session.errorString()));
        return 1;
    }
    QVideoSink sink;
    nivra::PlaybackEngine engine;
    engine.setVideoSink(&sink);
    engine.setCard(&session);
    if (!waitSeeked(engine, 30000)) {
        std::fprintf(stderr, "bench_engine: no first picture: %s\n", qPrintable(engine.errorString()));
        return 1;
    }
    std::printf("decoder: %s\n", qPrintable(engine.decoderInfo()));
    std::printf("sound output: %s\n", QMediaDevices::defaultAudioOutput().isNull()
                                          ? "none (the clock runs on the wall clock)"
                                          : qPrintable(QMediaDevices::defaultAudioOutput().description()));

    // ---- 1× with sound ----
    const qlonglong start = session.firstPlayableMs() + 10000;
    engine.seek(start, true);
    if (!waitSeeked(engine, 30000))
        return 1;
    const int presented0 = engine.presentedFrames();
    const int dropped0 = engine.droppedFrames();
    const qint64 playWall = g_wall.elapsed();
    engine.play();
    wait(runSeconds * 1000);
    const QList<Show> shows = showsSince(playWall);
    const bool audioClock = engine.audioClock();
    engine.pause();
    const int presented = engine.presentedFrames() - presented0;
    const int dropped = engine.droppedFrames() - dropped0;
    qlonglong worst = 0;
    qlonglong worstSettled = 0; // after the sound server's first second
    for (const Show &show : shows) {
        const qlonglong late = show.clock - show.time;
        worst = qMax(worst, late);
        if (show.wallMs >= playWall + 1000)
            worstSettled = qMax(worstSettled, late);
    }
    qlonglong endOffset = 0;
    qlonglong meanEndOffset = 0;
    if (!shows.isEmpty()) {
        endOffset = shows.last().clock - shows.last().time;
        const qsizetype n = qMin<qsizetype>(15, shows.size());
        for (qsizetype i = shows.size() - n; i < shows.size(); ++i)
            meanEndOffset += shows.at(i).clock - shows.at(i).time;
        meanEndOffset /= n;
    }
    std::printf("\n1x for %d s (15 fps, frame interval 67 ms):\n", runSeconds);
    std::printf("  presented pictures      %d\n", presented);
    std::printf("  dropped pictures        %d   (goal: 0)\n", dropped);
    std::printf("  worst lateness          %lld ms   (goal: < 67 ms)\n", worst);
    std::printf("  worst lateness after 1 s %lld ms\n", worstSettled);
    std::printf("  audio clock             %s\n", audioClock ? "yes" : "no");
    std::printf("  A/V offset at the end   %lld ms, mean of the last 15 pictures %lld ms   (goal: < 40 ms)\n",
                endOffset, meanEndOffset);
    std::fflush(stdout);

    // ---- 16× ----
    engine.setSpeed(16);
    if (!waitSeeked(engine, 30000))
        return 1;
    const int fast0 = engine.presentedFrames();
    QElapsedTimer fastWall;
    fastWall.start();
    engine.play();
    wait(runSeconds * 1000);
    const qint64 fastMs = fastWall.elapsed();
    engine.pause();
    const int fastPresented = engine.presentedFrames() - fast0;
    std::printf("\n16x for %d s (key frames only):\n", runSeconds);
    std::printf("  presented pictures      %d\n", fastPresented);
    std::printf("  pictures per second     %.2f\n", fastPresented * 1000.0 / double(qMax<qint64>(fastMs, 1)));
    std::printf("  dropped pictures        %d\n", engine.droppedFrames() - dropped0 - dropped);
    return 0;
}
