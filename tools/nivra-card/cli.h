// Shared plumbing of the nivra-card sub-commands: the command table entry,
// option parsing, JSON and text output and opening a card.
#pragma once

#include "storage/card.h"

#include <nlohmann/json.hpp>

#include <stdint.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace nivracard {

using Json = nlohmann::ordered_json;

// Parsed arguments of one sub-command (everything after its name).
struct Args
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // "--from" -> "123"
    std::set<std::string> flags;               // "--read"
    bool json = false;                         // --json, accepted by every command

    bool has(const std::string &option) const;
    // The option's value, or fallback when it was not given.
    std::string value(const std::string &option, const std::string &fallback = "") const;
};

// One sub-command. value_options take the next argument, flag_options stand
// alone; --json is always accepted. run returns the exit status.
struct Command
{
    const char *name;
    const char *usage;   // e.g. "ranges DIR [--from SEC] [--to SEC] [--json]"
    const char *summary; // one line for the help text
    std::vector<std::string> value_options;
    std::vector<std::string> flag_options;
    size_t min_positional;
    size_t max_positional;
    int (*run)(const Args &args);
};

// Parses argv[first..argc) for command. Returns false and sets *error for an
// unknown option, a missing value or a wrong number of operands.
bool parse_args(const Command &command, int argc, char **argv, int first, Args *out, std::string *error);

// Exit status for a result code: 0 for 0 (ok) and 1 (nothing more), else 2.
int exit_status(int code);

// Number parsing for option values; false for anything but a whole number in
// range (decimal, optional sign for the signed forms).
bool parse_u32(const std::string &text, uint32_t *out);
bool parse_u64(const std::string &text, uint64_t *out);
bool parse_int(const std::string &text, int *out);

// Reads a numeric option into *out (leaving it when absent). Prints an error
// and returns false when the value is not a number.
bool option_u32(const Args &args, const std::string &option, uint32_t *out);
bool option_u64(const Args &args, const std::string &option, uint64_t *out);
bool option_int(const Args &args, const std::string &option, int *out);

// Writes exactly one JSON object and a newline to stdout.
void print_json(const Json &object);

// The JSON object for a failed call: {"code", "message"}.
Json error_json(int code);

// Opens the card named by the first operand. On failure prints the result
// (JSON with --json, else a line on stderr) and returns false with *status set
// to the exit status.
bool open_card(const Args &args, card_reader **card, int *status);

// Reports a failed query the same way and returns its exit status.
int report_error(const Args &args, int code);

// "2024-01-15 10:00:00" (UTC) for seconds since the epoch.
std::string utc_text(int64_t seconds);
// "2024-01-15 10:00:00.250" for milliseconds since the epoch.
std::string utc_ms_text(int64_t ms);
// "+01:00" for a UTC offset in minutes.
std::string offset_text(int minutes);

// "motion,person" for CARD_KIND_* bits ("-" for none).
std::string kind_list(uint16_t kinds);
// The CARD_KIND_* bit of a lower-case kind name ("pir" too), 0 for none.
uint16_t kind_bit(const std::string &name);

} // namespace nivracard
