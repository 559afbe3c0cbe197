// timeline.dat, the recording ranges and the range queries.
#include "storage/card_internal.h"
#include "storage/civil_time.h"
#include "storage/crc.h"

#include <algorithm>
#include <new>
#include <stdio.h>
#include <string.h>
#include <vector>

using namespace nivra::storage;

namespace {

constexpr size_t kTimelineHeaderSize = 32;
constexpr uint32_t kTimelineEntryOffset = 128;
constexpr uint32_t kTimelineEntrySize = 8;
constexpr uint32_t kDurationOpen = 0xFFFFFF;
constexpr int kMinOffsetMin = -720;
constexpr int kMaxOffsetMin = 840;
constexpr uint64_t kMergeGap = 3;

struct TimelineHeader
{
    uint16_t version;
    uint16_t capacity;
    uint32_t generation;
    uint32_t head;
    uint32_t count;
    uint32_t entry_offset;
};

TimelineHeader parse_timeline_header(const uint8_t *p)
{
    return {le16(p + 4), le16(p + 6), le32(p + 8), le32(p + 12), le32(p + 16), le32(p + 20)};
}

bool timeline_copy_valid(const uint8_t *p)
{
    return le32(p) == kTimelineMagic && le32(p + 28) == crc32(p, 28);
}

TimelineEntry decode_entry(const uint8_t *p)
{
    TimelineEntry e;
    e.start = le32(p);
    uint32_t packed = le32(p + 4);
    uint32_t duration = packed & 0xFFFFFF;
    e.end = duration == kDurationOpen ? 0 : e.start + duration; // 32-bit, as stored
    e.offset_min = static_cast<int16_t>(static_cast<int8_t>(packed >> 24) * 15);
    return e;
}

// Loads want entries (the newest ones when want < count) of an opened table.
// Returns 0 or 1 (not loaded).
int load_entries(FileHandle f, const TimelineHeader &h, uint32_t want, TimelineEntry **out,
                 uint32_t *out_count)
{
    uint32_t count = std::min(want, h.count);
    uint32_t skipped = h.count - count;
    uint32_t head = static_cast<uint32_t>((static_cast<uint64_t>(h.head) + skipped) % h.capacity);
    uint8_t *raw = new (std::nothrow) uint8_t[std::max<uint32_t>(count, 1) * kTimelineEntrySize];
    if (!raw)
        return 1;
    uint32_t first_run = std::min(count, h.capacity - head);
    uint64_t at = kTimelineEntryOffset + static_cast<uint64_t>(head) * kTimelineEntrySize;
    int64_t bytes = static_cast<int64_t>(first_run) * kTimelineEntrySize;
    if (file_read_at(f, at, raw, static_cast<size_t>(bytes)) != bytes) {
        fprintf(stderr, "[storage_timeline] load: short read at slot %u (%d entries)\n", head,
                static_cast<int>(count));
        delete[] raw;
        return 1;
    }
    uint32_t second_run = count - first_run;
    if (second_run > 0) {
        bytes = static_cast<int64_t>(second_run) * kTimelineEntrySize;
        if (file_read_at(f, kTimelineEntryOffset, raw + first_run * kTimelineEntrySize,
                         static_cast<size_t>(bytes)) != bytes) {
            fprintf(stderr, "[storage_timeline] load: short read at wrap (%u entries)\n", second_run);
            delete[] raw;
            return 1;
        }
    }
    TimelineEntry *entries = new (std::nothrow) TimelineEntry[std::max<uint32_t>(count, 1)];
    if (!entries) {
        delete[] raw;
        return 1;
    }
    for (uint32_t i = 0; i < count; ++i)
        entries[i] = decode_entry(raw + i * kTimelineEntrySize);
    delete[] raw;

    uint32_t kept = count;
    for (uint32_t i = 0; i < count; ++i) {
        const TimelineEntry &e = entries[i];
        if (e.start == 0 || (e.end != 0 && e.end < e.start) || e.offset_min < kMinOffsetMin ||
            e.offset_min > kMaxOffsetMin) {
            fprintf(stderr,
                    "[storage_timeline] load: entry %d violates invariant (start=%u end=%u "
                    "off=%d), truncate %d -> %d\n",
                    static_cast<int>(i), e.start, e.end, e.offset_min, static_cast<int>(count),
                    static_cast<int>(i));
            kept = i;
            break;
        }
    }
    if (kept != count) {
        fprintf(stderr, "[storage_timeline] load: entries dropped by invariant check, treat "
                        "table as corrupt\n");
        delete[] entries;
        return 1;
    }
    *out = entries;
    *out_count = count;
    return 0;
}

struct Span
{
    uint32_t first;
    uint32_t last;
    int16_t offset_min;
};

bool span_less(const Span &a, const Span &b)
{
    return a.first != b.first ? a.first < b.first : a.last < b.last;
}

// Merges spans sorted by first second: a span joins the current one when it
// begins at most 3 s after its end (and, with same_offset, has its offset).
std::vector<Span> merge_spans(const std::vector<Span> &spans, bool same_offset)
{
    std::vector<Span> merged;
    merged.reserve(spans.size());
    for (const Span &s : spans) {
        if (!merged.empty()) {
            Span &cur = merged.back();
            // 64-bit: a last second near the top of the range must not wrap.
            if ((!same_offset || cur.offset_min == s.offset_min) &&
                s.first <= static_cast<uint64_t>(cur.last) + kMergeGap) {
                cur.last = std::max(cur.last, s.last);
                continue;
            }
        }
        merged.push_back(s);
    }
    return merged;
}

// Index of the first run whose last second is at or after second; runs are
// sorted and disjoint, so their last seconds ascend.
size_t first_run_ending_at_or_after(const std::vector<Span> &runs, uint64_t second)
{
    auto it = std::lower_bound(runs.begin(), runs.end(), second,
                               [](const Span &r, uint64_t s) { return r.last < s; });
    return static_cast<size_t>(it - runs.begin());
}

bool range_less(const card_range &a, const card_range &b)
{
    if (a.first != b.first)
        return a.first < b.first;
    if (a.last != b.last)
        return a.last < b.last;
    return a.missing < b.missing;
}

} // namespace

namespace nivra::storage {

int load_timeline(const char *path, TimelineEntry **entries, uint32_t *count)
{
    *entries = nullptr;
    *count = 0;
    FileHandle f = file_open(path);
    if (f == kNoFile)
        return 1;
    uint8_t raw[2 * kTimelineHeaderSize] = {};
    file_read_at(f, 0, raw, sizeof raw); // a short read leaves zeros
    bool a = timeline_copy_valid(raw);
    bool b = timeline_copy_valid(raw + kTimelineHeaderSize);
    if (!a && !b) {
        file_close(f);
        return 1;
    }
    TimelineHeader ha = parse_timeline_header(raw);
    TimelineHeader hb = parse_timeline_header(raw + kTimelineHeaderSize);
    TimelineHeader h;
    if (a && b)
        h = static_cast<int32_t>(ha.generation - hb.generation) < 0 ? hb : ha;
    else
        h = a ? ha : hb;
    if (h.version != 2 || h.capacity != CARD_TIMELINE_CAPACITY || h.entry_offset != kTimelineEntryOffset ||
        h.count > h.capacity || h.head >= h.capacity) {
        fprintf(stderr,
                "[storage_timeline] load: reject header ver=%u cap=%u entry_off=%u head=%u "
                "count=%u\n",
                h.version, h.capacity, h.entry_offset, h.head, h.count);
        file_close(f);
        return 1;
    }
    int rc = load_entries(f, h, h.count, entries, count);
    file_close(f);
    return rc;
}

int build_ranges(card_reader *card, const TimelineEntry *entries, uint32_t count, bool table_loaded)
{
    // The ranges are built with std::vector; a failed allocation is reported
    // as -7 instead of escaping as an exception.
    std::vector<Span> spans, present, missing;
    std::vector<card_range> out;
    try {
        if (table_loaded) {
            spans.reserve(count);
            for (uint32_t i = 0; i < count; ++i) {
                Span s{entries[i].start, entries[i].end, entries[i].offset_min};
                if (i + 1 == count && s.last < card->latest_second)
                    s.last = card->latest_second;
                if (s.last == 0 || s.last < s.first)
                    s.last = s.first;
                spans.push_back(s);
            }
        } else {
            spans.reserve(card->valid_count);
            FileHandle index_file = card->valid_count ? file_open(card->index_path) : kNoFile;
            int64_t index_size = file_size(index_file);
            IndexEntry first;
            for (uint32_t k = 0; k < card->valid_count; ++k) {
                const SegmentEntry &e = card->table[card->order[k]];
                int16_t offset = 0;
                if (read_index_block(index_file, index_size, card->layout, e.number, &first, true))
                    offset = first.offset_min;
                spans.push_back({e.first, e.last, offset});
            }
            file_close(index_file);
        }
        std::sort(spans.begin(), spans.end(), span_less);
        std::vector<Span> merged = merge_spans(spans, true);

        for (uint32_t k = 0; k < card->valid_count; ++k) {
            uint32_t pos = card->order[k];
            const SegmentEntry &e = card->table[pos];
            (card->states[pos].present ? present : missing).push_back({e.first, e.last, 0});
        }
        present = merge_spans(present, false);
        missing = merge_spans(missing, false);

        // Runs are sorted and disjoint, so each span only looks at the runs
        // that can overlap it; the result is the one of a full walk.
        for (const Span &m : merged) {
            for (size_t i = first_run_ending_at_or_after(present, m.first);
                 i < present.size() && present[i].first <= m.last; ++i) {
                const Span &p = present[i];
                out.push_back({std::max(m.first, p.first), std::min(m.last, p.last), m.offset_min, 0});
            }
            for (size_t j = first_run_ending_at_or_after(missing, m.first);
                 j < missing.size() && missing[j].first <= m.last; ++j) {
                uint32_t lo = std::max(m.first, missing[j].first);
                uint32_t hi = std::min(m.last, missing[j].last);
                // 64-bit: cur passes the top of the 32-bit range without wrapping.
                uint64_t cur = lo;
                for (size_t i = first_run_ending_at_or_after(present, cur);
                     i < present.size() && cur <= hi && present[i].first <= hi; ++i) {
                    const Span &p = present[i];
                    if (cur > p.last)
                        continue;
                    if (cur < p.first)
                        out.push_back({static_cast<uint32_t>(cur), p.first - 1, m.offset_min, 1});
                    cur = static_cast<uint64_t>(p.last) + 1;
                }
                if (cur <= hi)
                    out.push_back({static_cast<uint32_t>(cur), hi, m.offset_min, 1});
            }
        }
        std::sort(out.begin(), out.end(), range_less);
    } catch (const std::bad_alloc &) {
        return CARD_ERR_NO_MEMORY;
    }
    card->ranges = new (std::nothrow) card_range[std::max<size_t>(out.size(), 1)];
    if (!card->ranges)
        return CARD_ERR_NO_MEMORY;
    std::copy(out.begin(), out.end(), card->ranges);
    card->range_count = static_cast<uint32_t>(out.size());
    return CARD_OK;
}

} // namespace nivra::storage

int card_ranges(const card_reader *card, uint32_t from, uint32_t to, card_range *out, int capacity,
                int *count)
{
    if (!card || !count || capacity < 0 || (capacity > 0 && !out) || to < from)
        return CARD_ERR_ARGUMENT;
    int n = 0;
    for (uint32_t i = 0; i < card->range_count; ++i) {
        const card_range &r = card->ranges[i];
        if (r.last >= from && r.first <= to) {
            if (n < capacity)
                out[n] = r;
            ++n;
        }
    }
    *count = n;
    return CARD_OK;
}

int card_month_days(const card_reader *card, int year, int month, card_offset_fn offset_fn, void *context,
                    int playable_only, uint32_t *mask)
{
    if (!card || !mask || month < 1 || month > 12)
        return CARD_ERR_ARGUMENT;
    uint32_t bits = 0;
    for (uint32_t i = 0; i < card->range_count; ++i) {
        const card_range &r = card->ranges[i];
        if (playable_only && r.missing)
            continue;
        int64_t c = r.first;
        for (int step = 0;; ++step) {
            int64_t d = offset_fn ? offset_fn(static_cast<uint32_t>(c), context)
                                  : static_cast<int64_t>(r.utc_offset_min) * 60;
            int64_t local = c + d;
            if (local >= 0) {
                const CivilDate date = civilFromDays(local / kDaySeconds);
                if (date.year == year && static_cast<int>(date.month) == month)
                    bits |= 1u << date.day;
            }
            int64_t next = (local / kDaySeconds) * kDaySeconds - d + kDaySeconds;
            if (c >= r.last || step + 1 >= 400)
                break;
            c = next < c ? c + 1 : std::min<int64_t>(next, r.last);
        }
    }
    *mask = bits;
    return CARD_OK;
}
