// Windows: the CRT's time zone, _isatty, _wfullpath on UTF-16 paths and a
// console Ctrl-C handler.
#ifdef _WIN32

#include "local_time.h"

#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <windows.h>

namespace nivracard {

namespace {
volatile LONG g_interrupted = 0;

BOOL WINAPI on_console_event(DWORD type)
{
    if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) {
        InterlockedExchange(&g_interrupted, 1);
        return TRUE;
    }
    return FALSE;
}

std::wstring widen(const std::string &s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? size_t(n) : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], n);
    w.resize(wcslen(w.c_str()));
    return w;
}

std::string narrow(const wchar_t *w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? size_t(n) : 1, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, w, -1, &s[0], n, nullptr, nullptr);
    s.resize(strlen(s.c_str()));
    return s;
}
} // namespace

int32_t computer_offset_seconds(int64_t utc_seconds)
{
    __time64_t t = utc_seconds;
    struct tm local;
    if (_localtime64_s(&local, &t) != 0)
        return 0;
    // The local calendar fields read as UTC, minus the real UTC time.
    local.tm_isdst = 0;
    __time64_t as_utc = _mkgmtime64(&local);
    return as_utc == -1 ? 0 : static_cast<int32_t>(as_utc - t);
}

bool stderr_is_terminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::string absolute_path(const std::string &path)
{
    wchar_t *full = _wfullpath(nullptr, widen(path).c_str(), 0);
    if (!full)
        return path;
    std::string out = narrow(full);
    free(full);
    return out;
}

void catch_interrupt()
{
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

bool interrupted()
{
    return InterlockedCompareExchange(&g_interrupted, 0, 0) != 0;
}

} // namespace nivracard

#endif
