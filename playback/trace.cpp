#include "playback/trace.h"

#include <QtGlobal>

namespace nivra {

TraceFlags readTraceFlags()
{
    const int level = qEnvironmentVariableIntValue("NIVRA_TRACE");
    TraceFlags flags;
    flags.trace = level != 0;
    flags.verbose = level >= 2;
    return flags;
}

namespace {
// Computed during static initialisation so that every thread sees the
// same flags without locking.
const TraceFlags g_flags = readTraceFlags();
} // namespace

bool traceEnabled()
{
    return g_flags.trace;
}

bool verboseTraceEnabled()
{
    return g_flags.verbose;
}

} // namespace nivra
