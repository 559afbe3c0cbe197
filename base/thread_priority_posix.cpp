#include "base/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace nivra {

void lowerThreadPriority()
{
    // Linux gives each thread its own nice value.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
}

} // namespace nivra
