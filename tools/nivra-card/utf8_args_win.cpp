#ifdef _WIN32

#include "utf8_args.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>

namespace nivracard {

Utf8Args::Utf8Args(int argc, char **argv)
{
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        for (int i = 0; i < count; ++i) {
            int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string s(n > 0 ? static_cast<size_t>(n) : 1, '\0');
            if (n > 0)
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &s[0], n, nullptr, nullptr);
            s.resize(s.size() - 1);
            m_args.push_back(std::move(s));
        }
        LocalFree(wide);
    } else {
        m_args.assign(argv, argv + argc);
    }
    for (std::string &a : m_args)
        m_pointers.push_back(&a[0]);
    m_pointers.push_back(nullptr);
}

} // namespace nivracard

#endif // _WIN32
