#include "cli.h"

#include "storage/civil_time.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <iostream>

namespace nivracard {

bool Args::has(const std::string &option) const
{
    return flags.count(option) || values.count(option);
}

std::string Args::value(const std::string &option, const std::string &fallback) const
{
    auto it = values.find(option);
    return it == values.end() ? fallback : it->second;
}

bool parse_args(const Command &command, int argc, char **argv, int first, Args *out, std::string *error)
{
    auto listed = [](const std::vector<std::string> &list, const std::string &s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (int i = first; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--json") {
            out->json = true;
        } else if (listed(command.value_options, a)) {
            if (i + 1 >= argc) {
                *error = "option " + a + " needs a value";
                return false;
            }
            out->values[a] = argv[++i];
        } else if (listed(command.flag_options, a)) {
            out->flags.insert(a);
        } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            *error = "unknown option " + a;
            return false;
        } else {
            out->positional.push_back(a);
        }
    }
    if (out->positional.size() < command.min_positional || out->positional.size() > command.max_positional) {
        *error = "wrong number of operands";
        return false;
    }
    return true;
}

int exit_status(int code)
{
    return code == CARD_OK || code == CARD_NO_MORE ? 0 : 2;
}

bool parse_u64(const std::string &text, uint64_t *out)
{
    if (text.empty() || text.size() > 20 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    errno = 0;
    unsigned long long v = strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return false;
    *out = v;
    return true;
}

bool parse_u32(const std::string &text, uint32_t *out)
{
    uint64_t v;
    if (!parse_u64(text, &v) || v > 0xFFFFFFFFu)
        return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

bool parse_int(const std::string &text, int *out)
{
    bool negative = !text.empty() && text[0] == '-';
    uint64_t v;
    if (!parse_u64(negative ? text.substr(1) : text, &v))
        return false;
    if (negative ? v > 2147483648ull : v > 2147483647ull)
        return false;
    *out = negative ? static_cast<int>(-static_cast<int64_t>(v)) : static_cast<int>(v);
    return true;
}

namespace {

template <typename T>
bool option_number(const Args &args, const std::string &option, T *out,
                   bool (*parse)(const std::string &, T *))
{
    auto it = args.values.find(option);
    if (it == args.values.end())
        return true;
    if (parse(it->second, out))
        return true;
    fprintf(stderr, "nivra-card: %s: not a valid number: %s\n", option.c_str(), it->second.c_str());
    return false;
}

} // namespace

bool option_u32(const Args &args, const std::string &option, uint32_t *out)
{
    return option_number(args, option, out, parse_u32);
}

bool option_u64(const Args &args, const std::string &option, uint64_t *out)
{
    return option_number(args, option, out, parse_u64);
}

bool option_int(const Args &args, const std::string &option, int *out)
{
    return option_number(args, option, out, parse_int);
}

void print_json(const Json &object)
{
    // Invalid UTF-8 (a path from the file system) is replaced, never thrown.
    std::cout << object.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
    std::cout.flush();
}

Json error_json(int code)
{
    Json j;
    j["code"] = code;
    j["message"] = card_error_name(code);
    return j;
}

bool open_card(const Args &args, card_reader **card, int *status)
{
    const std::string &dir = args.positional.at(0);
    card_open_detail detail{};
    int rc = card_open_detailed(dir.c_str(), card, &detail);
    if (rc == CARD_OK)
        return true;
    *status = exit_status(rc);
    if (detail.permission_denied) {
        // Not damage: said so, the code kept for callers that test it.
        if (args.json) {
            Json j = error_json(rc);
            j["message"] = std::string("permission denied: ") + detail.path;
            j["permissionDenied"] = true;
            j["path"] = detail.path;
            print_json(j);
        } else {
            fprintf(stderr, "nivra-card: permission denied: %s (%d); the card is not damaged\n", detail.path,
                    rc);
        }
        return false;
    }
    report_error(args, rc);
    if (!args.json)
        fprintf(stderr, "nivra-card: cannot open %s\n", dir.c_str());
    return false;
}

int report_error(const Args &args, int code)
{
    if (args.json)
        print_json(error_json(code));
    else
        fprintf(stderr, "nivra-card: %s (%d)\n", card_error_name(code), code);
    return exit_status(code);
}

std::string utc_text(int64_t seconds)
{
    const int64_t days = floorDivide(seconds, kDaySeconds);
    const int64_t rest = seconds - days * kDaySeconds;
    const CivilDate date = civilFromDays(days);
    char buf[64];
    snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02d:%02d:%02d", static_cast<long long>(date.year),
             date.month, date.day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
             static_cast<int>(rest % 60));
    return buf;
}

std::string utc_ms_text(int64_t ms)
{
    int64_t s = floorDivide(ms, 1000);
    char buf[16];
    snprintf(buf, sizeof buf, ".%03d", static_cast<int>(ms - s * 1000));
    return utc_text(s) + buf;
}

std::string offset_text(int minutes)
{
    char buf[16];
    int a = minutes < 0 ? -minutes : minutes;
    snprintf(buf, sizeof buf, "%c%02d:%02d", minutes < 0 ? '-' : '+', a / 60, a % 60);
    return buf;
}

namespace {
const char *const kKindNames[] = {"motion", "sound", "crying", "PIR", "person"};
} // namespace

std::string kind_list(uint16_t kinds)
{
    std::string out;
    for (int i = 0; i < 5; ++i)
        if (kinds & (1u << i))
            out += (out.empty() ? "" : ",") + std::string(kKindNames[i]);
    return out.empty() ? "-" : out;
}

uint16_t kind_bit(const std::string &name)
{
    for (int i = 0; i < 5; ++i) {
        std::string lower = kKindNames[i];
        for (char &c : lower)
            c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (name == lower)
            return uint16_t(1u << i);
    }
    return 0;
}

} // namespace nivracard
