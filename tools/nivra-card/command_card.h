// The opening steps every card command takes before its own work: read its
// range options, open the card, read the clock that typed times are in, and
// resolve those times. Each step prints its own failure.
#pragma once

#include "card_time.h"
#include "cli.h"

#include <stdint.h>

#include <functional>

namespace nivracard {

// How a command takes its range.
enum class RangeKind
{
    None,          // no range options
    Seconds,       // --from and --to in UTC seconds (defaults 0 and 4294967295)
    Typed,         // --from and --to required, typed times resolved in the clock
    TypedOptional, // --from and --to when given (with --day), resolved by the command
};

// The card a command works on and what the opening steps read; closes the
// card when the command returns.
struct CommandCard
{
    card_reader *card = nullptr;
    Clock clock;              // Typed and TypedOptional ranges
    uint32_t from_second = 0; // Seconds
    uint32_t to_second = 0xFFFFFFFFu;
    TypedTime typed_from, typed_to; // Typed and TypedOptional, as given
    int64_t from_ms = 0;            // Typed, in UTC
    int64_t to_ms = 0;

    CommandCard() = default;
    CommandCard(const CommandCard &) = delete;
    CommandCard &operator=(const CommandCard &) = delete;
    ~CommandCard() { card_close(card); }
};

// Reads range's options, then the command's other options through options
// (optional; false stops with status 2), opens the card named by the first
// operand and, for typed ranges, reads the clock (--computer-time or the
// camera's) and resolves a Typed range in it. Prints the failure and returns
// false with *status set to the exit status.
bool open_command(const Args &args, RangeKind range, CommandCard *out, int *status,
                  const std::function<bool()> &options = {});

} // namespace nivracard
