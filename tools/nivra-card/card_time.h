// Times a person reads and types: the camera's clock (the offset of the
// nearest recording range, as the player's recording time mode has it) or
// this computer's zone, and typed dates and times turned back into UTC.
#pragma once

#include "cli.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace nivracard {

// Every recording range of the card, in order. Returns 0 or a negative code.
int all_ranges(const card_reader *card, std::vector<card_range> *out);

// The camera's offset in minutes at a time: the offset of the recording
// range nearest to it (the first of equally near ones), 0 without ranges.
int camera_offset_min(const std::vector<card_range> &ranges, int64_t ms);

// The clock that typed times are read in and local times printed in.
class Clock
{
public:
    explicit Clock(bool computer = false, std::vector<card_range> ranges = {});

    // Offset from UTC in seconds at a UTC time.
    int32_t offset_seconds(int64_t ms) const;
    // "the camera's time" or "this computer's time", for messages.
    const char *name() const;
    // "2024-05-12 10:41:00 +02:00", the wall clock at a UTC second.
    std::string local_text(int64_t seconds) const;

    // How a wall-clock time (milliseconds, as if UTC) maps to UTC.
    struct Reading
    {
        int count = 0;          // 1: one instant; 2: repeated (clock set back); 0: skipped
        int64_t ms[2] = {0, 0}; // the one instant, or both choices, earlier first
        int32_t offset[2] = {0, 0};
    };
    Reading read(int64_t wall_ms) const;

private:
    std::vector<int32_t> candidate_offsets(int64_t wall_ms) const;

    bool m_computer = false;
    std::vector<card_range> m_ranges;
};

// A time option's text taken apart: milliseconds since the epoch (UTC), or a
// wall-clock time to read in a clock.
struct TypedTime
{
    bool wall = false; // false: ms is UTC
    int64_t ms = 0;    // UTC, or the wall-clock time as if it were UTC
    std::string text;  // as typed, for messages
};

// Parses "1715503260000", "2024-05-12T08:41:00", "2024-05-12 08:41" (with
// ".250" or a final "Z" for UTC allowed) or, with day "2024-05-12", a bare
// "08:41:00". Returns false with *error set for anything else.
bool parse_typed_time(const std::string &text, const std::string &day, TypedTime *out, std::string *error);

// Parses "2024-05-12" into the wall-clock midnight (ms, as if UTC).
bool parse_day(const std::string &text, int64_t *wall_ms);

// The UTC time of option's value in clock. A time the clock repeats or skips
// is an error naming both choices. Prints the error and returns false.
bool resolve_time(const std::string &option, const TypedTime &typed, const Clock &clock, int64_t *out);

// The UTC time at which a wall-clock time first holds (the earlier of two
// readings, the later offset's reading of a skipped time); for day bounds.
int64_t first_instant(const Clock &clock, int64_t wall_ms);

} // namespace nivracard
