// nivra-with-sound COMMAND [ARGS...]: runs COMMAND with a PulseAudio server
// of its own (a null sink as the default output), reached through
// PULSE_SERVER, so that tests that play sound never touch the user's server
// and run in parallel without seeing each other. NIVRA_TEST_PULSE_PID names
// the server, for tests that stop it. The server and its folder go when the
// command ends, when this launcher is killed (the server dies with it), and
// a folder left by a launcher that was killed outright goes at the next run.
#include <dirent.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

const char kPrefix[] = "nivra-sound-";

volatile sig_atomic_t g_child = 0;

void forward(int signal)
{
    if (g_child > 0)
        kill(pid_t(g_child), signal);
}

void removeTree(const std::string &path)
{
    if (DIR *dir = opendir(path.c_str())) {
        while (const dirent *entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "/" + name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                removeTree(child);
            else
                unlink(child.c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

// Folders whose launcher is gone (killed before it could clean up).
void removeStale(const std::string &base)
{
    DIR *dir = opendir(base.c_str());
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (const dirent *entry = readdir(dir)) {
        if (strncmp(entry->d_name, kPrefix, sizeof kPrefix - 1) != 0)
            continue;
        const std::string path = base + "/" + entry->d_name;
        FILE *f = fopen((path + "/owner").c_str(), "r");
        long owner = 0;
        if (f) {
            if (fscanf(f, "%ld", &owner) != 1)
                owner = 0;
            fclose(f);
        }
        if (owner > 0 && (kill(pid_t(owner), 0) == 0 || errno != ESRCH))
            continue;
        // A folder being set up has no owner file for a moment: leave young ones.
        struct stat st;
        if (owner == 0 && stat(path.c_str(), &st) == 0 && time(nullptr) - st.st_mtime < 60)
            continue;
        stale.push_back(path);
    }
    closedir(dir);
    for (const std::string &path : stale)
        removeTree(path);
}

bool canConnect(const std::string &socketPath)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    const bool ok = connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

void sleepMs(long ms)
{
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

// Ends the server, first waking it should a test have left it stopped.
void endServer(pid_t server)
{
    kill(server, SIGCONT);
    kill(server, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(server, nullptr, WNOHANG) == server)
            return;
        sleepMs(20);
    }
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
}

pid_t startServer(const std::string &dir, const std::string &socketPath)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string native = "module-native-protocol-unix auth-anonymous=1 socket=" + socketPath;
    const std::string sink = "module-null-sink sink_name=nivra_test";
    execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--system=no",
           "--exit-idle-time=-1", "--realtime=no", "--high-priority=no", "--log-target=stderr",
           "--log-level=error", "-L", native.c_str(), "-L", sink.c_str(), static_cast<char *>(nullptr));
    fprintf(stderr, "nivra-with-sound: cannot run pulseaudio: %s\n", strerror(errno));
    _exit(127);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: nivra-with-sound COMMAND [ARGS...]\n");
        return 2;
    }
    const char *tmp = getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    removeStale(base);
    std::string pattern = base + "/" + kPrefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    if (!mkdtemp(buffer.data())) {
        fprintf(stderr, "nivra-with-sound: cannot make a folder in %s: %s\n", base.c_str(), strerror(errno));
        return 2;
    }
    const std::string dir = buffer.data();
    if (FILE *f = fopen((dir + "/owner").c_str(), "w")) {
        fprintf(f, "%ld\n", long(getpid()));
        fclose(f);
    }
    const std::string socketPath = dir + "/native";
    const std::string clientConf = dir + "/client.conf";
    if (FILE *f = fopen(clientConf.c_str(), "w")) {
        fprintf(f, "autospawn = no\n");
        fclose(f);
    }

    const pid_t server = startServer(dir, socketPath);
    bool up = false;
    for (int i = 0; i < 500 && !up; ++i) {
        if (waitpid(server, nullptr, WNOHANG) == server)
            break;
        up = canConnect(socketPath);
        if (!up)
            sleepMs(20);
    }
    if (!up) {
        fprintf(stderr, "nivra-with-sound: the PulseAudio server did not start\n");
        endServer(server);
        removeTree(dir);
        return 2;
    }

    setenv("PULSE_SERVER", ("unix:" + socketPath).c_str(), 1);
    setenv("PULSE_CLIENTCONFIG", clientConf.c_str(), 1);
    setenv("PULSE_COOKIE", (dir + "/cookie").c_str(), 1);
    setenv("NIVRA_TEST_PULSE_PID", std::to_string(long(server)).c_str(), 1);

    struct sigaction action
    {
    };
    action.sa_handler = forward;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execvp(argv[1], argv + 1);
        fprintf(stderr, "nivra-with-sound: cannot run %s: %s\n", argv[1], strerror(errno));
        _exit(127);
    }
    g_child = child;
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    endServer(server);
    removeTree(dir);
    if (child < 0)
        return 2;
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}
