#include "utf8_args.h"

namespace nivracard {

Utf8Args::Utf8Args(int argc, char **argv)
{
    m_args.assign(argv, argv + argc);
    for (std::string &a : m_args)
        m_pointers.push_back(&a[0]);
    m_pointers.push_back(nullptr);
}

} // namespace nivracard
