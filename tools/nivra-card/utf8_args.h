// The command line as UTF-8: argv as given on POSIX, converted from the
// UTF-16 command line on Windows (whose argv uses the ANSI code page).
#pragma once

#include <string>
#include <vector>

namespace nivracard {

class Utf8Args
{
public:
    Utf8Args(int argc, char **argv);
    int argc() const { return static_cast<int>(m_pointers.size()) - 1; }
    char **argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_args;
    std::vector<char *> m_pointers; // null-terminated like argv
};

} // namespace nivracard
