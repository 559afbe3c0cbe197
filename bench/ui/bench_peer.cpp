// The player side by side with mpv on the same content, machine and display
// (run it under xvfb-run with a screen large enough for 1440 x 920):
//   xvfb-run -a -s "-screen 0 1920x1200x24" build/bench/ui/bench_peer
//  - process start to the first picture on screen: ours on a 1080p15 H.264 +
//    AAC card, mpv (--no-config --vo=gpu, software decoding) on the merged
//    MP4 that our own export writes of it;
//  - processor time (user + system of the whole process) for 60 s of
//    playback at 1x, with the same number of decoding threads, and the
//    frames each dropped;
//  - our frame time while it plays, with the timeline following;
//  - the ratios ours / mpv, each figure the median of 3 runs.
// Prints its figures; not run by ctest. Usage: bench_peer [SECONDS [RUNS]]. Without mpv it says so and
// measures only ours.
#include "bench_card.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kWidth = 1440;
constexpr int kHeight = 920;

using Clock = std::chrono::steady_clock;

// One line of the child's output and when it arrived, in ms after the spawn.
struct Line
{
    double atMs;
    std::string text;
};

struct ChildRun
{
    std::vector<Line> lines;
    double cpuSeconds = -1; // user + system of the whole process
    int status = -1;
};

// Runs argv with extra environment entries, stdout and stderr merged into a
// pipe read line by line as they come; waits for it and takes its rusage.
ChildRun runChild(const std::vector<std::string> &argv, const std::vector<std::string> &extraEnv,
                  int limitSeconds)
{
    ChildRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char *> args, envp;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = 0;
    const Clock::time_point started = Clock::now();
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return run;
    }
    std::string pending;
    char buffer[4096];
    for (;;) {
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        if (elapsed > limitSeconds * 1000.0) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        const double at = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        pending.append(buffer, size_t(n));
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            run.lines.push_back({at, pending.substr(0, nl)});
            pending.erase(0, nl + 1);
        }
    }
    close(fds[0]);
    rusage usage{};
    int status = 0;
    if (wait4(pid, &status, 0, &usage) == pid) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return run;
}

struct Figures
{
    double firstPictureMs = -1;
    double cpuSeconds = -1;
    int dropped = -1;
    std::vector<double> frameMs; // ours: synchronise to swap of each frame
};

// Our player: the first picture is the first frame swapped after the
// start-up seek has landed; the dropped count comes from the log line.
Figures runOurs(const std::string &card, const std::string &config, int playSeconds)
{
    const std::string script = "size " + std::to_string(kWidth) + " " + std::to_string(kHeight) +
                               "; zoom 3; play " + std::to_string(playSeconds) + "; pause; quit";
    ChildRun run =
        runChild({NIVRA_PLAYER_PATH, "--autotest", script, card},
                 {"NIVRA_FRAME_STATS=1", "NIVRA_TRACE=1", "XDG_CONFIG_HOME=" + config}, playSeconds + 120);
    Figures f;
    f.cpuSeconds = run.cpuSeconds;
    bool showing = false;
    for (const Line &line : run.lines) {
        const std::string &t = line.text;
        if (t.rfind("AUTOTEST seeked", 0) == 0 || t.rfind("TRACE show", 0) == 0)
            showing = true;
        if (t.rfind("AUTOTEST pause", 0) == 0) {
            const size_t at = t.find("| dropped ");
            if (at != std::string::npos)
                f.dropped = std::atoi(t.c_str() + at + 10);
        }
        if (!showing || t.rfind("FRAME ", 0) != 0)
            continue;
        if (f.firstPictureMs < 0)
            f.firstPictureMs = line.atMs;
        else
            f.frameMs.push_back(std::atof(t.c_str() + t.rfind(' ')) / 1000.0);
    }
    return f;
}

// mpv, told by a small script when playback has started (its first frame
// shown) and, at the end, how many frames it dropped.
Figures runMpv(const std::string &mpv, const std::string &file, const std::string &lua, int threads,
               int playSeconds)
{
    // --gpu-sw: mpv refuses a software renderer (Mesa llvmpipe) without it.
    ChildRun run =
        runChild({mpv, "--no-config", "--vo=gpu", "--gpu-sw", "--hwdec=no",
                  "--vd-lavc-threads=" + std::to_string(threads),
                  "--geometry=" + std::to_string(kWidth) + "x" + std::to_string(kHeight), "--no-terminal",
                  "--script=" + lua, "--length=" + std::to_string(playSeconds), file},
                 {}, playSeconds + 120);
    Figures f;
    f.cpuSeconds = run.cpuSeconds;
    for (const Line &line : run.lines) {
        if (line.text == "PEER first-frame" && f.firstPictureMs < 0)
            f.firstPictureMs = line.atMs;
        if (line.text.rfind("PEER dropped ", 0) == 0)
            f.dropped = std::atoi(line.text.c_str() + 13);
    }
    return f;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string ratio(double ours, double theirs)
{
    if (ours < 0 || theirs <= 0)
        return "n/a";
    char text[32];
    snprintf(text, sizeof text, "%.2f", ours / theirs);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Optional: seconds of playback and runs, for a quick look (default 60, 3).
    const int kPlaySeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int kRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir dir;
    const QString root = dir.path();

    // 75 s of 1080p15 H.264 with AAC: 60 s of playback and the start.
    const QString scenario = QStringLiteral(
        R"({"video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 15, "keyint": 30, "bitrate": 4000000},
            "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
            "spans": [{"start": "2024-05-12T10:00:00Z", "seconds": 75, "offsetMin": 0}],
            "segments": {"seconds": 20, "slots": 8}})");
    fprintf(stderr, "writing the 1080p15 card...\n");
    if (!writeScenarioCard(root, scenario)) {
        fprintf(stderr, "could not write the 1080p card\n");
        return 1;
    }
    const std::string card = (root + QStringLiteral("/card")).toStdString();

    // Software decoding, as a machine without a usable graphics card needs.
    const std::string config = (root + QStringLiteral("/config")).toStdString();
    QDir().mkpath(QString::fromStdString(config) + QStringLiteral("/NIVRA"));
    QFile store(QString::fromStdString(config) + QStringLiteral("/NIVRA/NIVRA Player.conf"));
    if (store.open(QIODevice::WriteOnly))
        store.write("[playback]\ndecodePolicy=2\n");
    store.close();

    // The same hour as our own export writes it, for mpv.
    const QString out = root + QStringLiteral("/export");
    QProcess exporter;
    exporter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    exporter.start(QStringLiteral(NIVRA_CARD_PATH),
                   {QStringLiteral("export"), QString::fromStdString(card), QStringLiteral("--from"),
                    QStringLiteral("1715508000000"), QStringLiteral("--to"), QStringLiteral("1715511599999"),
                    QStringLiteral("--merge"), QStringLiteral("--mp4"), QStringLiteral("--out"), out});
    exporter.waitForFinished(-1);
    const QStringList written = QDir(out).entryList({QStringLiteral("*.mp4")}, QDir::Files);
    const std::string movie =
        written.isEmpty() ? std::string() : (out + QLatin1Char('/') + written.first()).toStdString();

    const std::string mpv = QStandardPaths::findExecutable(QStringLiteral("mpv")).toStdString();
    const std::string lua = (root + QStringLiteral("/peer.lua")).toStdString();
    QFile script(QString::fromStdString(lua));
    if (script.open(QIODevice::WriteOnly))
        script.write("mp.register_event('playback-restart', function()\n"
                     "  if not shown then shown = true; io.stdout:write('PEER first-frame\\n'); "
                     "io.stdout:flush() end\n"
                     "end)\n"
                     "mp.register_event('end-file', function()\n"
                     "  local d = (mp.get_property_number('frame-drop-count') or 0) +\n"
                     "            (mp.get_property_number('decoder-frame-drop-count') or 0)\n"
                     "  io.stdout:write('PEER dropped ' .. d .. '\\n'); io.stdout:flush()\n"
                     "end)\n");
    script.close();
    if (mpv.empty())
        fprintf(stderr, "mpv is not installed (Debian: apt-get install mpv): measuring ours only\n");
    if (!mpv.empty() && movie.empty())
        fprintf(stderr, "our export wrote no MP4 for mpv: measuring ours only\n");
    const bool peer = !mpv.empty() && !movie.empty();
    const int threads = std::max(1, std::min(4, int(sysconf(_SC_NPROCESSORS_ONLN))));

    std::vector<double> oursStart, peerStart, oursCpu, peerCpu, oursDropped, peerDropped, frames;
    for (int i = 0; i < kRuns; ++i) {
        // Start-up alone: a short run, then the 60 s one.
        oursStart.push_back(runOurs(card, config, 1).firstPictureMs);
        if (peer)
            peerStart.push_back(runMpv(mpv, movie, lua, threads, 1).firstPictureMs);
        Figures ours = runOurs(card, config, kPlaySeconds);
        oursCpu.push_back(ours.cpuSeconds);
        oursDropped.push_back(ours.dropped);
        frames.insert(frames.end(), ours.frameMs.begin(), ours.frameMs.end());
        if (peer) {
            Figures theirs = runMpv(mpv, movie, lua, threads, kPlaySeconds);
            peerCpu.push_back(theirs.cpuSeconds);
            peerDropped.push_back(theirs.dropped);
        }
        fprintf(stderr, "run %d of %d done\n", i + 1, kRuns);
    }

    printf("same content: 1080p15 H.264 + AAC, window %dx%d, %d decoding threads, median of %d runs\n",
           kWidth, kHeight, threads, kRuns);
    const double os = median(oursStart), ps = median(peerStart);
    printf("start-up to first picture: ours %.0f ms, mpv %s ms, ours/mpv %s\n", os,
           peer ? std::to_string(int(ps)).c_str() : "n/a", ratio(os, ps).c_str());
    const double oc = median(oursCpu), pc = median(peerCpu);
    printf("processor time for %d s at 1x: ours %.2f s, mpv %s s, ours/mpv %s\n", kPlaySeconds, oc,
           peer ? std::to_string(pc).substr(0, 5).c_str() : "n/a", ratio(oc, pc).c_str());
    printf("frames dropped in %d s: ours %.0f, mpv %s\n", kPlaySeconds, median(oursDropped),
           peer ? std::to_string(int(median(peerDropped))).c_str() : "n/a");
    std::sort(frames.begin(), frames.end());
    if (!frames.empty())
        printf("frame time (ours, timeline following): median %.2f ms, worst %.2f ms (%zu frames)\n",
               frames[frames.size() / 2], frames.back(), frames.size());
    return 0;
}
