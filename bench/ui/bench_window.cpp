// The window's start-up and frame times, measured on the real program
// under the display it is given (run it under xvfb-run):
//  - process start to the first picture on screen, demo card;
//  - the time from synchronising a frame to its swap while 1080p plays at
//    1x with the timeline following, median and worst, with the whole
//    picture and zoomed 4x.
// Prints its figures; not run by ctest.
#include "bench_card.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures
{
    qint64 firstPictureMs = -1;
    std::vector<qint64> frameUs; // frames while pictures were being shown
};

Figures runPlayer(const QString &card, const QString &script)
{
    // A settings store that decodes in software, as a machine without a
    // usable graphics card needs from the start.
    QTemporaryDir config;
    QDir(config.path()).mkpath(QStringLiteral("NIVRA"));
    QFile store(config.path() + QStringLiteral("/NIVRA/NIVRA Player.conf"));
    if (store.open(QIODevice::WriteOnly))
        store.write("[playback]\ndecodePolicy=2\n");
    store.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NIVRA_FRAME_STATS"), QStringLiteral("1"));
    env.insert(QStringLiteral("NIVRA_TRACE"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    QProcess player;
    player.setProcessEnvironment(env);
    player.setProcessChannelMode(QProcess::MergedChannels);
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    player.start(QStringLiteral(NIVRA_PLAYER_PATH), {QStringLiteral("--autotest"), script, card});
    player.waitForFinished(180000);

    Figures figures;
    bool showing = false;
    const QList<QByteArray> lines = player.readAll().split('\n');
    for (const QByteArray &line : lines) {
        // The first picture is the landing of the start-up seek.
        if (line.startsWith("AUTOTEST seeked") || line.startsWith("TRACE show"))
            showing = true;
        if (!showing || !line.startsWith("FRAME "))
            continue;
        const QList<QByteArray> parts = line.split(' ');
        if (figures.firstPictureMs < 0)
            figures.firstPictureMs = parts.value(1).toLongLong() - started;
        else
            figures.frameUs.push_back(parts.value(2).toLongLong());
    }
    return figures;
}

QString makeCard(const QString &dir)
{
    const QString scenario = QStringLiteral(
        R"({"video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 25, "keyint": 50, "bitrate": 4000000},
            "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
            "spans": [{"start": "2024-05-12T10:00:00Z", "seconds": 40, "offsetMin": 0}],
            "segments": {"seconds": 20, "slots": 8}})");
    return writeScenarioCard(dir, scenario) ? dir + QStringLiteral("/card") : QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString demo = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (demo.isEmpty()) {
        fprintf(stderr, "usage: bench_window DEMO_CARD (under xvfb-run)\n");
        return 2;
    }

    std::vector<qint64> startups;
    for (int i = 0; i < 5; ++i) {
        const Figures f = runPlayer(demo, QStringLiteral("wait 2; quit"));
        if (f.firstPictureMs >= 0)
            startups.push_back(f.firstPictureMs);
    }
    std::sort(startups.begin(), startups.end());
    if (!startups.empty())
        printf("start-up to first picture, demo card: median %lld ms, worst %lld ms (%zu runs)\n",
               startups[startups.size() / 2], startups.back(), startups.size());

    QTemporaryDir dir;
    const QString hd = makeCard(dir.path());
    if (hd.isEmpty()) {
        fprintf(stderr, "could not write the 1080p card\n");
        return 1;
    }
    // Whole and magnified pictures in turn, so that the machine's drift
    // touches both alike.
    std::vector<double> medians[2];
    std::vector<double> worst[2];
    const char *const scripts[2] = {"zoom 3; play 15; quit", "zoom 3; vzoom 4 0.3 0.4; play 15; quit"};
    for (int run = 0; run < 6; ++run) {
        const int zoomed = run % 2;
        Figures play = runPlayer(hd, QString::fromLatin1(scripts[zoomed]));
        std::sort(play.frameUs.begin(), play.frameUs.end());
        if (play.frameUs.empty())
            continue;
        medians[zoomed].push_back(play.frameUs[play.frameUs.size() / 2] / 1000.0);
        worst[zoomed].push_back(play.frameUs.back() / 1000.0);
    }
    const auto middle = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    for (int zoomed = 0; zoomed < 2; ++zoomed)
        printf("frame time, 1080p at 1x with the timeline following%s: median %.2f ms, worst %.2f ms "
               "(median of %zu runs)\n",
               zoomed ? ", picture zoomed 4x" : "", middle(medians[zoomed]), middle(worst[zoomed]),
               medians[zoomed].size());
    if (middle(medians[0]) > 0)
        printf("zoomed / whole frame time: %.2f\n", middle(medians[1]) / middle(medians[0]));
    return 0;
}
