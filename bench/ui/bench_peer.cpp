// The player side by side with mpv on the same content, machine and display
// (run it under xvfb-run with a screen large enough for 1440 x 920):
//   xvfb-run -a -s "-screen 0 1920x1200x24" build/bench/ui/bench_peer
// The content is an hour of 1080p15 H.264 + AAC with an event every two
// minutes: ours reads the card, mpv (--no-config --vo=gpu, software
// decoding) the merged MP4 that our own export writes of it. Figures:
//  - process start to the first picture on screen;
//  - processor time (user + system of the whole process) for 60 s of
//    playback at 1x, with the same number of decoding threads, the frames
//    each dropped and the peak resident memory;
//  - our frame time (synchronising to swapped) while it plays, the first
//    second apart, and while the timeline seeks every second: median, 99th
//    percentile and worst;
//  - seek latency, request to the new picture on screen, exact and to the
//    key frame, 20 seeks spread over the hour: ours from the engine's seek
//    to the next frame swapped, mpv's from the IPC "seek" to its
//    "playback-restart" event;
//  - the resident memory's growth per minute over a long playback with a
//    seek every 10 s (a leak check);
//  - the ratios ours / mpv, the run figures the median of 3 runs.
// Our activity index of the card is built before the runs, as a card opened
// again has it.
// Prints its figures; not run by ctest.
// Usage: bench_peer [SECONDS [RUNS [LEAK_SECONDS]]] (60, 3, 600). Without
// mpv it says so and measures only ours.
#include "bench_card.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kWidth = 1440;
constexpr int kHeight = 920;
// The card's first second, 2024-05-12T10:00:00Z, and its length.
constexpr long long kStartMs = 1715508000000LL;
constexpr int kCardSeconds = 3630;
constexpr int kSeeks = 20;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

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
    double peakRssMb = -1;
    std::vector<std::pair<double, double>> rssMb; // (ms after the spawn, resident MB), every 2 s
    int status = -1;
};

double residentMb(pid_t pid)
{
    FILE *f = fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!f)
        return -1;
    char line[256];
    double kb = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmRSS: %lf kB", &kb) == 1)
            break;
    fclose(f);
    return kb < 0 ? -1 : kb / 1024.0;
}

// Runs argv with extra environment entries, stdout and stderr merged into a
// pipe read line by line as they come; samples its resident memory, waits
// for it and takes its rusage.
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
    double sampledAt = -1e9;
    for (;;) {
        const double elapsed = msSince(started);
        if (elapsed > limitSeconds * 1000.0) {
            kill(pid, SIGKILL);
            break;
        }
        if (elapsed - sampledAt >= 2000) {
            sampledAt = elapsed;
            const double mb = residentMb(pid);
            if (mb > 0)
                run.rssMb.emplace_back(elapsed, mb);
        }
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        const double at = msSince(started);
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
        run.peakRssMb = double(usage.ru_maxrss) / 1024.0;
    }
    return run;
}

bool startsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

struct Figures
{
    double firstPictureMs = -1;
    double cpuSeconds = -1;
    double peakRssMb = -1;
    int dropped = -1;
    std::vector<double> firstSecondMs; // ours: synchronise to swap, the first second of pictures
    std::vector<double> frameMs;       // ours: the same, after it
    std::vector<double> seekMs[2];     // exact, to the key frame
    double growthMbPerMin = 0;
    // Start-up, ms after the spawn: main entered, application made, QML
    // loading begins, window built, first frame swapped.
    double phaseMs[5] = {-1, -1, -1, -1, -1};
};

constexpr const char *kPhases[4] = {"main", "application", "load", "window"};

// The targets of the seeks: spread over the hour, each well inside a
// group of pictures, so that an exact seek decodes up to it.
long long seekTarget(int i)
{
    return kStartMs + (37 + 173LL * i) * 1000 + 1300;
}

std::string isoTime(long long ms)
{
    const time_t seconds = time_t(ms / 1000);
    tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1,
             parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, int(ms % 1000));
    return text;
}

// Growth per minute of the resident memory: the least-squares slope of the
// samples after the first minute (start-up and the first caches left out).
double growthPerMinute(const std::vector<std::pair<double, double>> &samples)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto &[ms, mb] : samples) {
        if (ms < 60000)
            continue;
        const double x = ms / 60000.0;
        n += 1;
        sx += x;
        sy += mb;
        sxx += x * x;
        sxy += x * mb;
    }
    const double d = n * sxx - sx * sx;
    return n < 3 || d <= 0 ? 0 : (n * sxy - sx * sy) / d;
}

std::string scriptStart()
{
    return "size " + std::to_string(kWidth) + " " + std::to_string(kHeight) + "; zoom 3; ";
}

// Our player under a script. The first picture is the first frame drawn
// after the start-up seek has landed; a seek's latency runs from the
// engine's seek request to the swap of the first frame drawn after it
// landed. A frame whose drawing began before the picture came (its swap
// less its own time) does not hold it.
Figures runOurs(const std::string &card, const std::string &config, const std::string &script,
                int limitSeconds)
{
    ChildRun run = runChild({NIVRA_PLAYER_PATH, "--autotest", script, card},
                            {"NIVRA_FRAME_STATS=1", "NIVRA_TRACE=1", "XDG_CONFIG_HOME=" + config,
                             "XDG_CACHE_HOME=" + config + "/cache"},
                            limitSeconds);
    Figures f;
    f.cpuSeconds = run.cpuSeconds;
    f.peakRssMb = run.peakRssMb;
    f.growthMbPerMin = growthPerMinute(run.rssMb);
    bool showing = false;
    double requestAt = -1;
    int requestKind = 0;
    bool landed = false;
    double landedAt = -1;
    for (const Line &line : run.lines) {
        const std::string &t = line.text;
        if (startsWith(t, "AUTOTEST seeked") || startsWith(t, "TRACE show")) {
            if (!showing || (requestAt >= 0 && !landed))
                landedAt = line.atMs;
            showing = true;
            landed = requestAt >= 0;
        }
        for (int p = 0; p < 4; ++p)
            if (t == std::string("TRACE startup ") + kPhases[p])
                f.phaseMs[p] = line.atMs;
        if (startsWith(t, "FRAME ") && f.phaseMs[4] < 0)
            f.phaseMs[4] = line.atMs;
        // The start-up's own landing seek is the first picture, timed
        // above: only the seeks asked for after it count as seeks.
        if (startsWith(t, "TRACE seek request") && f.firstPictureMs >= 0) {
            requestAt = line.atMs;
            requestKind = t.find(" key") != std::string::npos ? 1 : 0;
            landed = false;
        }
        if (startsWith(t, "AUTOTEST pause")) {
            const size_t at = t.find("| dropped ");
            if (at != std::string::npos)
                f.dropped = std::atoi(t.c_str() + at + 10);
        }
        if (!showing || !startsWith(t, "FRAME "))
            continue;
        const double frame = std::atof(t.c_str() + t.rfind(' ')) / 1000.0;
        // 2 ms for the log line that marks the landing, written just after.
        const bool holdsPicture = line.atMs - frame >= landedAt - 2;
        if (f.firstPictureMs < 0 && !holdsPicture)
            continue;
        if (landed && holdsPicture) {
            f.seekMs[requestKind].push_back(line.atMs - requestAt);
            requestAt = -1;
            landed = false;
        }
        if (f.firstPictureMs < 0)
            f.firstPictureMs = line.atMs;
        else if (line.atMs < f.firstPictureMs + 1000)
            f.firstSecondMs.push_back(frame);
        else
            f.frameMs.push_back(frame);
    }
    return f;
}

// A client of mpv's JSON IPC: sends commands, reads events line by line.
class MpvIpc
{
public:
    bool connectTo(const std::string &path, int timeoutMs)
    {
        const Clock::time_point started = Clock::now();
        while (msSince(started) < timeoutMs) {
            m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
            if (::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
                return true;
            close(m_fd);
            m_fd = -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    ~MpvIpc()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    void send(const std::string &json)
    {
        const std::string line = json + "\n";
        if (write(m_fd, line.data(), line.size()) < 0)
            perror("mpv ipc");
    }
    // Forgets what came before: events of earlier commands.
    void drain()
    {
        char buffer[4096];
        pollfd p{m_fd, POLLIN, 0};
        while (poll(&p, 1, 0) > 0 && read(m_fd, buffer, sizeof buffer) > 0)
            ;
        m_pending.clear();
    }
    // Waits for a line that holds `text`; false after timeoutMs.
    bool waitFor(const char *text, int timeoutMs)
    {
        const Clock::time_point started = Clock::now();
        for (;;) {
            size_t nl;
            while ((nl = m_pending.find('\n')) != std::string::npos) {
                const std::string line = m_pending.substr(0, nl);
                m_pending.erase(0, nl + 1);
                if (line.find(text) != std::string::npos)
                    return true;
            }
            const double left = timeoutMs - msSince(started);
            if (left <= 0)
                return false;
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, int(left) + 1) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            m_pending.append(buffer, size_t(n));
        }
    }

private:
    int m_fd = -1;
    std::string m_pending;
};

std::vector<std::string> mpvArgs(const std::string &mpv, int threads)
{
    // --gpu-sw: mpv refuses a software renderer (Mesa llvmpipe) without it.
    return {mpv,
            "--no-config",
            "--vo=gpu",
            "--gpu-sw",
            "--hwdec=no",
            "--vd-lavc-threads=" + std::to_string(threads),
            "--geometry=" + std::to_string(kWidth) + "x" + std::to_string(kHeight),
            "--no-terminal"};
}

// mpv, told by a small script when playback has started (its first frame
// shown) and, at the end, how many frames it dropped.
Figures runMpv(const std::string &mpv, const std::string &file, const std::string &lua, int threads,
               int playSeconds)
{
    std::vector<std::string> args = mpvArgs(mpv, threads);
    args.insert(args.end(), {"--script=" + lua, "--length=" + std::to_string(playSeconds), file});
    ChildRun run = runChild(args, {}, playSeconds + 120);
    Figures f;
    f.cpuSeconds = run.cpuSeconds;
    f.peakRssMb = run.peakRssMb;
    for (const Line &line : run.lines) {
        if (line.text == "PEER first-frame" && f.firstPictureMs < 0)
            f.firstPictureMs = line.atMs;
        if (startsWith(line.text, "PEER dropped "))
            f.dropped = std::atoi(line.text.c_str() + 13);
    }
    return f;
}

// mpv driven over its IPC socket while it runs: the seek latencies (paused,
// exact then to the key frame), or a long playback with a seek every 10 s
// and its memory sampled.
Figures runMpvIpc(const std::string &mpv, const std::string &file, const std::string &socketPath, int threads,
                  int leakSeconds)
{
    std::vector<std::string> args = mpvArgs(mpv, threads);
    args.insert(args.end(), {"--input-ipc-server=" + socketPath, "--keep-open=yes"});
    if (leakSeconds == 0)
        args.push_back("--pause");
    args.push_back(file);
    Figures f;
    std::thread driver([&] {
        MpvIpc ipc;
        if (!ipc.connectTo(socketPath, 30000))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
        if (leakSeconds == 0) {
            for (int kind = 0; kind < 2; ++kind)
                for (int i = 0; i < kSeeks; ++i) {
                    const double at = double(seekTarget(i) - kStartMs) / 1000.0;
                    ipc.drain();
                    const Clock::time_point sent = Clock::now();
                    ipc.send(R"({"command":["seek",)" + std::to_string(at) + ",\"" +
                             (kind == 0 ? "absolute+exact" : "absolute+keyframes") + "\"]}");
                    if (ipc.waitFor("\"playback-restart\"", 10000))
                        f.seekMs[kind].push_back(msSince(sent));
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                }
        } else {
            for (int s = 10, i = 0; s < leakSeconds; s += 10, ++i) {
                std::this_thread::sleep_for(std::chrono::seconds(10));
                const double at = double(seekTarget(i % kSeeks) - kStartMs) / 1000.0;
                ipc.send(R"({"command":["seek",)" + std::to_string(at) + R"(,"absolute"]})");
            }
        }
        ipc.send(R"({"command":["quit"]})");
    });
    ChildRun run = runChild(args, {}, leakSeconds + 180);
    driver.join();
    unlink(socketPath.c_str());
    f.growthMbPerMin = growthPerMinute(run.rssMb);
    return f;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(std::ceil(p * double(v.size()))) - 1)];
}

double worst(const std::vector<double> &v)
{
    return v.empty() ? -1 : *std::max_element(v.begin(), v.end());
}

std::string number(double value, int decimals = 0)
{
    if (value < 0 && decimals == 0)
        return "n/a";
    char text[32];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string ratio(double ours, double theirs)
{
    if (ours < 0 || theirs <= 0)
        return "n/a";
    return number(ours / theirs, 2);
}

// "name: ours X unit, mpv Y unit, ours/mpv R", mpv's "n/a" when not measured.
void printLine(const std::string &name, double ours, double theirs, const char *unit, int decimals, bool peer)
{
    printf("%s: ours %s%s, mpv %s%s, ours/mpv %s\n", name.c_str(), number(ours, decimals).c_str(), unit,
           peer && theirs >= 0 ? number(theirs, decimals).c_str() : "n/a", peer && theirs >= 0 ? unit : "",
           peer ? ratio(ours, theirs).c_str() : "n/a");
}

// Ours only (mpv does not report its frame times): median / 99th percentile / worst.
void printFrames(const std::string &name, const std::vector<double> &frames)
{
    printf("%s, median / 99th percentile / worst: ours %s / %s / %s ms (%zu frames), mpv n/a, ours/mpv n/a\n",
           name.c_str(), number(median(frames), 2).c_str(), number(percentile(frames, 0.99), 2).c_str(),
           number(worst(frames), 2).c_str(), frames.size());
}

void printSeeks(const char *name, const std::vector<double> &ours, const std::vector<double> &theirs,
                bool peer)
{
    printf("%s, median / worst of %d: ours %s / %s ms, mpv %s / %s ms, ours/mpv %s\n", name, kSeeks,
           number(median(ours)).c_str(), number(worst(ours)).c_str(),
           peer ? number(median(theirs)).c_str() : "n/a", peer ? number(worst(theirs)).c_str() : "n/a",
           peer ? ratio(median(ours), median(theirs)).c_str() : "n/a");
}

// The seconds the card holds, first to last, as nivra-card reports them.
qint64 cardSeconds(const QString &card)
{
    QProcess info;
    info.start(QStringLiteral(NIVRA_CARD_PATH), {QStringLiteral("info"), card, QStringLiteral("--json")});
    if (!info.waitForFinished(-1))
        return -1;
    const QJsonObject summary = QJsonDocument::fromJson(info.readAllStandardOutput())
                                    .object()
                                    .value(QStringLiteral("summary"))
                                    .toObject();
    return summary.value(QStringLiteral("lastSecond")).toInteger(-1) -
           summary.value(QStringLiteral("firstSecond")).toInteger(0) + 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int kPlaySeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int kRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const int kLeakSeconds = argc > 3 ? std::max(0, atoi(argv[3])) : 600;
    QTemporaryDir dir;
    const QString root = dir.path();

    // An hour of 1080p15 H.264 with AAC and an event every two minutes; the
    // pictures repeat a few groups so that the card is quick to write.
    QString events;
    for (int minute = 1; minute < 60; minute += 2)
        events += QStringLiteral(R"({"start": "2024-05-12T10:%1:10Z", "seconds": 20, "kinds": 1},)")
                      .arg(minute, 2, 10, QLatin1Char('0'));
    events.chop(1);
    const QString scenario =
        QStringLiteral(
            R"({"video": {"codec": "h264", "width": 1920, "height": 1080, "fps": 15, "keyint": 30, "bitrate": 4000000},
            "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
            "pooled": true, "poolGops": 6,
            "spans": [{"start": "2024-05-12T10:00:00Z", "seconds": %1, "offsetMin": 0}],
            "events": [%2],
            "segments": {"seconds": 60, "slots": 64, "sizeLimit": 67108864}})")
            .arg(kCardSeconds)
            .arg(events);
    fprintf(stderr, "writing the 1080p15 card...\n");
    if (!writeScenarioCard(root, scenario)) {
        fprintf(stderr, "could not write the 1080p card\n");
        return 1;
    }
    const std::string card = (root + QStringLiteral("/card")).toStdString();
    // A ring of segments too small for the hour keeps only its end, and
    // the seeks spread over the hour would all land on its first picture.
    const qint64 held = cardSeconds(QString::fromStdString(card));
    if (held < kCardSeconds - 60) {
        fprintf(stderr, "the card keeps only %lld of its %d s\n", static_cast<long long>(held), kCardSeconds);
        return 1;
    }

    // Software decoding, as a machine without a usable graphics card needs.
    const std::string config = (root + QStringLiteral("/config")).toStdString();
    QDir().mkpath(QString::fromStdString(config) + QStringLiteral("/NIVRA"));
    QFile store(QString::fromStdString(config) + QStringLiteral("/NIVRA/NIVRA Player.conf"));
    if (store.open(QIODevice::WriteOnly))
        store.write("[playback]\ndecodePolicy=2\n");
    store.close();

    const std::string mpv = QStandardPaths::findExecutable(QStringLiteral("mpv")).toStdString();
    std::string movie;
    if (!mpv.empty()) {
        // The same hour as our own export writes it, for mpv.
        fprintf(stderr, "exporting the hour for mpv...\n");
        const QString out = root + QStringLiteral("/export");
        QProcess exporter;
        exporter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        exporter.start(QStringLiteral(NIVRA_CARD_PATH),
                       {QStringLiteral("export"), QString::fromStdString(card), QStringLiteral("--from"),
                        QString::number(kStartMs), QStringLiteral("--to"),
                        QString::number(kStartMs + 3599999), QStringLiteral("--merge"),
                        QStringLiteral("--mp4"), QStringLiteral("--out"), out});
        exporter.waitForFinished(-1);
        const QStringList written = QDir(out).entryList({QStringLiteral("*.mp4")}, QDir::Files);
        if (!written.isEmpty())
            movie = (out + QLatin1Char('/') + written.first()).toStdString();
    }
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
    const std::string socketPath = (root + QStringLiteral("/mpv.sock")).toStdString();

    // The activity index is built once per card and then read from the
    // cache: measured as a user who opens the card again sees it.
    fprintf(stderr, "building our activity index of the card...\n");
    runOurs(card, config, "analyse wait; quit", 900);

    std::vector<double> phases[5];
    std::vector<double> oursStart, peerStart, oursCpu, peerCpu, oursDropped, peerDropped, oursRss, peerRss;
    std::vector<double> firstSecond, playing, seeking;
    const std::string playScript = scriptStart() + "play " + std::to_string(kPlaySeconds) + "; pause; quit";
    // Playing while the timeline is clicked every second.
    std::string seekScript = scriptStart() + "play; ";
    for (int i = 0; i < kSeeks; ++i)
        seekScript += "tlseek " + isoTime(seekTarget(i)) + "; wait 0.2; ";
    seekScript += "quit";
    for (int i = 0; i < kRuns; ++i) {
        // Start-up alone: a short run, then the long one.
        const Figures started = runOurs(card, config, scriptStart() + "play 1; pause; quit", 120);
        oursStart.push_back(started.firstPictureMs);
        for (int p = 0; p < 5; ++p)
            phases[p].push_back(started.phaseMs[p]);
        if (peer)
            peerStart.push_back(runMpv(mpv, movie, lua, threads, 1).firstPictureMs);
        Figures ours = runOurs(card, config, playScript, kPlaySeconds + 120);
        oursCpu.push_back(ours.cpuSeconds);
        oursDropped.push_back(ours.dropped);
        oursRss.push_back(ours.peakRssMb);
        firstSecond.insert(firstSecond.end(), ours.firstSecondMs.begin(), ours.firstSecondMs.end());
        playing.insert(playing.end(), ours.frameMs.begin(), ours.frameMs.end());
        Figures clicked = runOurs(card, config, seekScript, 180);
        seeking.insert(seeking.end(), clicked.frameMs.begin(), clicked.frameMs.end());
        if (peer) {
            Figures theirs = runMpv(mpv, movie, lua, threads, kPlaySeconds);
            peerCpu.push_back(theirs.cpuSeconds);
            peerDropped.push_back(theirs.dropped);
            peerRss.push_back(theirs.peakRssMb);
        }
        fprintf(stderr, "run %d of %d done\n", i + 1, kRuns);
    }

    // Seeks while paused, one at a time: exact, then to the key frame.
    std::string latencyScript = scriptStart() + "wait 2; ";
    for (const char *command : {"seekexact ", "seek "})
        for (int i = 0; i < kSeeks; ++i)
            latencyScript += command + isoTime(seekTarget(i)) + "; wait 0.3; ";
    latencyScript += "quit";
    fprintf(stderr, "seeking...\n");
    const Figures oursSeeks = runOurs(card, config, latencyScript, 240);
    const Figures peerSeeks = peer ? runMpvIpc(mpv, movie, socketPath, threads, 0) : Figures();

    Figures oursLeak, peerLeak;
    if (kLeakSeconds > 0) {
        fprintf(stderr, "playing %d s with a seek every 10 s...\n", kLeakSeconds);
        std::string leakScript = scriptStart() + "play; ";
        for (int s = 10, i = 0; s < kLeakSeconds; s += 10, ++i)
            leakScript += "wait 10; seek " + isoTime(seekTarget(i % kSeeks)) + "; ";
        leakScript += "wait 10; quit";
        oursLeak = runOurs(card, config, leakScript, kLeakSeconds + 180);
        if (peer)
            peerLeak = runMpvIpc(mpv, movie, socketPath, threads, kLeakSeconds);
    }

    printf("same content: 1080p15 H.264 + AAC, window %dx%d, %d decoding threads, median of %d runs\n",
           kWidth, kHeight, threads, kRuns);
    printLine("start-up to first picture", median(oursStart), median(peerStart), " ms", 0, peer);
    // Where our start-up goes: the medians of each phase's end.
    printf("start-up profile (ours, ms after the spawn): main entered %.0f, application made %.0f, "
           "QML loading begins %.0f, window built %.0f, first frame drawn %.0f, first picture %.0f\n",
           median(phases[0]), median(phases[1]), median(phases[2]), median(phases[3]), median(phases[4]),
           median(oursStart));
    printLine("processor time for " + std::to_string(kPlaySeconds) + " s at 1x", median(oursCpu),
              median(peerCpu), " s", 2, peer);
    printLine("frames dropped in " + std::to_string(kPlaySeconds) + " s", median(oursDropped),
              median(peerDropped), "", 0, peer);
    printFrames("frame time while playing, first second", firstSecond);
    printFrames("frame time while playing, after the first second", playing);
    printFrames("frame time while playing and seeking from the timeline every second", seeking);
    printSeeks("seek to the exact picture, request to picture on screen", oursSeeks.seekMs[0],
               peerSeeks.seekMs[0], peer);
    printSeeks("seek to the key frame, request to picture on screen", oursSeeks.seekMs[1],
               peerSeeks.seekMs[1], peer);
    printLine("peak resident memory while playing " + std::to_string(kPlaySeconds) + " s", median(oursRss),
              median(peerRss), " MB", 0, peer);
    // Either may shrink: no ratio, the two slopes.
    if (kLeakSeconds > 0)
        printf(
            "resident memory growth over %d s, a seek every 10 s (after the first minute): ours %.2f MB/min, "
            "mpv %s, ours/mpv n/a\n",
            kLeakSeconds, oursLeak.growthMbPerMin,
            peer ? (number(peerLeak.growthMbPerMin, 2) + " MB/min").c_str() : "n/a");
    return 0;
}
