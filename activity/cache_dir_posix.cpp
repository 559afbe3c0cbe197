// The cache folder on Linux and other POSIX systems, as the XDG base
// directories give it.
#include "activity/activity.h"

#include <cstdlib>

namespace nivra::activity {

std::string default_cache_dir()
{
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    std::string base;
    // The base directory rules ignore a relative XDG_CACHE_HOME.
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !home[0])
            return std::string();
        base = std::string(home) + "/.cache";
    }
    return base + "/nivra-player/activity";
}

} // namespace nivra::activity
