// The cache folder on Windows: the user's local application data.
#include "activity/activity.h"

#include <windows.h>

#include <cstdlib>

namespace nivra::activity {

std::string default_cache_dir()
{
    const wchar_t *local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !local[0])
        return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, local, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string base(size_t(bytes - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, local, -1, base.data(), bytes, nullptr, nullptr);
    return base + "\\nivra-player\\activity";
}

} // namespace nivra::activity
