#include "base/thread_priority.h"

#include <windows.h>

namespace nivra {

void lowerThreadPriority()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

} // namespace nivra
