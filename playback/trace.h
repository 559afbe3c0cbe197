#pragma once

// Process-wide trace flags from NIVRA_TRACE, read once before main runs:
// any non-zero value turns tracing on, 2 or more adds the verbose lines.
namespace nivra {

struct TraceFlags
{
    bool trace = false;
    bool verbose = false;
};

// Reads NIVRA_TRACE now (unset or not a number counts as 0).
TraceFlags readTraceFlags();

// The flags as read at start-up.
bool traceEnabled();
bool verboseTraceEnabled();

} // namespace nivra
