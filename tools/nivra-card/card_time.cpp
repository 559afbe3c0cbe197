// Camera and computer clocks for nivra-card's typed and printed times.
#include "card_time.h"

#include "local_time.h"
#include "storage/civil_time.h"

#include <stdio.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace nivracard {
namespace {

int64_t floor_seconds(int64_t ms)
{
    return floorDivide(ms, 1000);
}

bool leap(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Reads exactly `width` digits at *p into *out and advances *p.
bool digits(const char **p, int width, int *out)
{
    int v = 0;
    for (int i = 0; i < width; ++i) {
        const char c = (*p)[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *p += width;
    *out = v;
    return true;
}

// "YYYY-MM-DD" at *p: the wall-clock midnight in ms.
bool date_part(const char **p, int64_t *out)
{
    int y = 0, m = 0, d = 0;
    const char *s = *p;
    if (!digits(&s, 4, &y) || *s++ != '-' || !digits(&s, 2, &m) || *s++ != '-' || !digits(&s, 2, &d))
        return false;
    static const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || d > month_days[m - 1] + (m == 2 && leap(y) ? 1 : 0))
        return false;
    *out = daysFromCivil(y, unsigned(m), unsigned(d)) * kDayMs;
    *p = s;
    return true;
}

// "HH:MM", "HH:MM:SS" or "HH:MM:SS.mmm" at *p: ms after midnight.
bool clock_part(const char **p, int64_t *out)
{
    int h = 0, mi = 0, s = 0, ms = 0;
    const char *c = *p;
    if (!digits(&c, 2, &h) || *c++ != ':' || !digits(&c, 2, &mi))
        return false;
    if (*c == ':') {
        ++c;
        if (!digits(&c, 2, &s))
            return false;
        if (*c == '.') {
            ++c;
            if (!digits(&c, 3, &ms))
                return false;
        }
    }
    if (h > 23 || mi > 59 || s > 59)
        return false;
    *out = ((int64_t(h) * 60 + mi) * 60 + s) * 1000 + ms;
    *p = c;
    return true;
}

} // namespace

int all_ranges(const card_reader *card, std::vector<card_range> *out)
{
    out->clear();
    int count = 0;
    int rc = card_ranges(card, 0, 0xFFFFFFFFu, nullptr, 0, &count);
    if (rc != CARD_OK || count <= 0)
        return rc;
    out->resize(size_t(count));
    rc = card_ranges(card, 0, 0xFFFFFFFFu, out->data(), count, &count);
    out->resize(rc == CARD_OK ? size_t(std::min(count, int(out->size()))) : 0);
    return rc;
}

int camera_offset_min(const std::vector<card_range> &ranges, int64_t ms)
{
    const int64_t s = floor_seconds(ms);
    int best = 0;
    int64_t best_distance = -1;
    for (const card_range &r : ranges) {
        int64_t d = s < r.first ? int64_t(r.first) - s : s > r.last ? s - int64_t(r.last) : 0;
        if (best_distance < 0 || d < best_distance) {
            best_distance = d;
            best = r.utc_offset_min;
        }
    }
    return best;
}

Clock::Clock(bool computer, std::vector<card_range> ranges)
    : m_computer(computer), m_ranges(std::move(ranges))
{}

int32_t Clock::offset_seconds(int64_t ms) const
{
    if (m_computer)
        return computer_offset_seconds(floor_seconds(ms));
    return camera_offset_min(m_ranges, ms) * 60;
}

const char *Clock::name() const
{
    return m_computer ? "this computer's time" : "the camera's time";
}

std::string Clock::local_text(int64_t seconds) const
{
    const int32_t offset = offset_seconds(seconds * 1000);
    return utc_text(seconds + offset) + " " + offset_text(offset / 60);
}

// Offsets a wall-clock time can have been read with: every offset the camera
// recorded, or the computer's offsets in the two days around it (no zone is
// more than 14 hours from UTC, and clocks do not change twice in two days).
std::vector<int32_t> Clock::candidate_offsets(int64_t wall_ms) const
{
    std::vector<int32_t> out;
    if (m_computer) {
        for (int64_t day = -2; day <= 2; ++day)
            out.push_back(offset_seconds(wall_ms + day * kDayMs));
    } else {
        for (const card_range &r : m_ranges)
            out.push_back(int32_t(r.utc_offset_min) * 60);
        if (out.empty())
            out.push_back(0);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

Clock::Reading Clock::read(int64_t wall_ms) const
{
    const std::vector<int32_t> offsets = candidate_offsets(wall_ms);
    Reading r;
    // An instant belongs to the wall-clock time when the clock shows it there.
    std::vector<std::pair<int64_t, int32_t>> valid;
    for (int32_t o : offsets) {
        const int64_t ms = wall_ms - int64_t(o) * 1000;
        if (offset_seconds(ms) == o)
            valid.push_back({ms, o});
    }
    std::sort(valid.begin(), valid.end());
    if (!valid.empty()) {
        // More than two readings only on a camera whose clock went back and
        // forth; the earliest and the latest are the choices that matter.
        r.count = valid.size() == 1 ? 1 : 2;
        r.ms[0] = valid.front().first;
        r.offset[0] = valid.front().second;
        r.ms[1] = valid.back().first;
        r.offset[1] = valid.back().second;
        return r;
    }
    // Skipped: the offsets before and after the jump each point at the other.
    r.count = 0;
    r.offset[0] = offsets.front();
    r.offset[1] = offset_seconds(wall_ms - int64_t(offsets.front()) * 1000);
    for (int32_t a : offsets) {
        const int32_t b = offset_seconds(wall_ms - int64_t(a) * 1000);
        if (b != a && offset_seconds(wall_ms - int64_t(b) * 1000) == a) {
            r.offset[0] = a;
            r.offset[1] = b;
            break;
        }
    }
    r.ms[0] = wall_ms - int64_t(r.offset[0]) * 1000;
    r.ms[1] = wall_ms - int64_t(r.offset[1]) * 1000;
    if (r.ms[1] < r.ms[0]) {
        std::swap(r.ms[0], r.ms[1]);
        std::swap(r.offset[0], r.offset[1]);
    }
    return r;
}

bool parse_day(const std::string &text, int64_t *wall_ms)
{
    const char *p = text.c_str();
    return date_part(&p, wall_ms) && *p == '\0';
}

bool parse_typed_time(const std::string &text, const std::string &day, TypedTime *out, std::string *error)
{
    out->text = text;
    uint64_t ms = 0;
    if (parse_u64(text, &ms)) {
        if (ms > uint64_t(std::numeric_limits<int64_t>::max())) {
            *error = "out of range";
            return false;
        }
        out->wall = false;
        out->ms = int64_t(ms);
        return true;
    }
    const char *p = text.c_str();
    int64_t date = 0, clock = 0;
    if (date_part(&p, &date)) {
        if (*p != 'T' && *p != ' ') {
            *error = "not a time: " + text + " (expected 2024-05-12T08:41:00)";
            return false;
        }
        ++p;
    } else if (!day.empty()) {
        if (!parse_day(day, &date)) {
            *error = "--day: not a date: " + day + " (expected 2024-05-12)";
            return false;
        }
    } else {
        const char *c = p;
        if (clock_part(&c, &clock) && *c == '\0')
            *error = "a time without a date needs --day YYYY-MM-DD: " + text;
        else
            *error = "not milliseconds or a date and time: " + text;
        return false;
    }
    if (!clock_part(&p, &clock)) {
        *error = "not a time: " + text + " (expected 08:41 or 08:41:00)";
        return false;
    }
    out->wall = true;
    if (*p == 'Z') {
        out->wall = false;
        ++p;
    }
    if (*p != '\0') {
        *error = "unexpected text after the time: " + text;
        return false;
    }
    out->ms = date + clock;
    if (out->ms < 0 && !out->wall) {
        *error = "out of range";
        return false;
    }
    return true;
}

bool resolve_time(const std::string &option, const TypedTime &typed, const Clock &clock, int64_t *out)
{
    if (!typed.wall) {
        *out = typed.ms;
        return true;
    }
    const Clock::Reading r = clock.read(typed.ms);
    if (r.count == 1 && r.ms[0] < 0) {
        fprintf(stderr, "nivra-card: %s %s: before 1970\n", option.c_str(), typed.text.c_str());
        return false;
    }
    if (r.count == 1) {
        *out = r.ms[0];
        return true;
    }
    const std::string &wall = typed.text;
    std::string choices[2];
    for (int i = 0; i < 2; ++i)
        choices[i] = utc_ms_text(r.ms[i]) + " UTC (read as " + offset_text(r.offset[i] / 60) + ", --" +
                     option.substr(2) + " " + std::to_string(r.ms[i]) + ")";
    if (r.count == 2)
        fprintf(stderr, "nivra-card: %s %s occurs twice in %s (the clock was set back): %s or %s\n",
                option.c_str(), wall.c_str(), clock.name(), choices[0].c_str(), choices[1].c_str());
    else
        fprintf(stderr, "nivra-card: %s %s does not exist in %s (the clock skipped it): %s or %s\n",
                option.c_str(), wall.c_str(), clock.name(), choices[0].c_str(), choices[1].c_str());
    return false;
}

int64_t first_instant(const Clock &clock, int64_t wall_ms)
{
    const Clock::Reading r = clock.read(wall_ms);
    if (r.count != 0)
        return r.ms[0];
    // The day starts where the clock jumps past its midnight: the first
    // instant between the two readings that shows the later offset.
    int64_t lo = r.ms[0], hi = r.ms[1];
    const int32_t later = clock.offset_seconds(hi);
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (clock.offset_seconds(mid) == later)
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

} // namespace nivracard
