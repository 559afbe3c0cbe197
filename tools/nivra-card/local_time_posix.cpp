// POSIX: localtime_r's tm_gmtoff, isatty, realpath and a SIGINT flag.
#include "local_time.h"

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

namespace nivracard {

namespace {
volatile sig_atomic_t g_interrupted = 0;

void on_interrupt(int)
{
    g_interrupted = 1;
}
} // namespace

int32_t computer_offset_seconds(int64_t utc_seconds)
{
    time_t t = static_cast<time_t>(utc_seconds);
    struct tm local;
    if (!localtime_r(&t, &local))
        return 0;
    return static_cast<int32_t>(local.tm_gmtoff);
}

bool stderr_is_terminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::string absolute_path(const std::string &path)
{
    char *resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string out = resolved;
    free(resolved);
    return out;
}

void catch_interrupt()
{
    struct sigaction sa = {};
    sa.sa_handler = on_interrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
}

bool interrupted()
{
    return g_interrupted != 0;
}

} // namespace nivracard
