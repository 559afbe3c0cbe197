// The opening steps of the card commands; see command_card.h.
#include "command_card.h"

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

namespace nivracard {
namespace {

// Reads the texts of --from and --to (with --day for bare clock times);
// absent ones stay zeroed unless required. Prints the error and returns false.
bool typed_range(const Args &args, bool required, TypedTime *from, TypedTime *to)
{
    const char *names[2] = {"--from", "--to"};
    TypedTime *outs[2] = {from, to};
    for (int i = 0; i < 2; ++i) {
        if (!args.values.count(names[i])) {
            if (!required)
                continue;
            fprintf(stderr, "nivra-card: %s MS (or a date and time) is required\n", names[i]);
            return false;
        }
        std::string error;
        if (!parse_typed_time(args.value(names[i]), args.value("--day"), outs[i], &error)) {
            fprintf(stderr, "nivra-card: %s: %s\n", names[i], error.c_str());
            return false;
        }
    }
    return true;
}

// Reads the range options of kind into *out. Prints the error and returns false.
bool read_range(const Args &args, RangeKind kind, CommandCard *out)
{
    switch (kind) {
    case RangeKind::None:
        return true;
    case RangeKind::Seconds:
        return option_u32(args, "--from", &out->from_second) && option_u32(args, "--to", &out->to_second);
    case RangeKind::Typed:
    case RangeKind::TypedOptional:
        return typed_range(args, kind == RangeKind::Typed, &out->typed_from, &out->typed_to);
    }
    return false;
}

// The card's ranges and the clock of the command. Prints the error and
// returns false with *status set.
bool open_clock(const Args &args, const card_reader *card, Clock *clock, int *status)
{
    std::vector<card_range> ranges;
    const int rc = all_ranges(card, &ranges);
    if (rc < 0) {
        *status = report_error(args, rc);
        return false;
    }
    *clock = Clock(args.flags.count("--computer-time") != 0, std::move(ranges));
    return true;
}

} // namespace

bool open_command(const Args &args, RangeKind range, CommandCard *out, int *status,
                  const std::function<bool()> &options)
{
    if (!read_range(args, range, out) || (options && !options())) {
        *status = 2;
        return false;
    }
    if (!open_card(args, &out->card, status))
        return false;
    if (range == RangeKind::None || range == RangeKind::Seconds)
        return true;
    if (!open_clock(args, out->card, &out->clock, status))
        return false;
    if (range == RangeKind::Typed && !(resolve_time("--from", out->typed_from, out->clock, &out->from_ms) &&
                                       resolve_time("--to", out->typed_to, out->clock, &out->to_ms))) {
        *status = 2;
        return false;
    }
    return true;
}

} // namespace nivracard
