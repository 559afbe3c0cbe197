// What the export commands need of the computer: its time zone, whether
// stderr is a terminal, an absolute folder path and Ctrl-C.
#pragma once

#include <stdint.h>

#include <string>

namespace nivracard {

// Offset of the computer's time zone from UTC, in seconds, at a UTC second.
int32_t computer_offset_seconds(int64_t utc_seconds);

// True when standard error is a terminal (progress lines go there).
bool stderr_is_terminal();

// The absolute form of path (which must exist); path itself when it cannot
// be resolved.
std::string absolute_path(const std::string &path);

// Installs a Ctrl-C handler that sets a flag read by interrupted().
void catch_interrupt();
bool interrupted();

} // namespace nivracard
