// Events and keyframes from the per-segment index blocks.
#include "storage/card_internal.h"

#include <algorithm>
#include <new>

using namespace nivra::storage;

namespace {

// An event while the scan builds it.
struct OpenEvent
{
    bool open = false;
    uint32_t start = 0;
    uint32_t latest = 0;
    uint16_t kinds = 0;
};

// Counts the event and stores it while there is room.
void emit(card_event *out, int capacity, int *count, uint32_t first, uint32_t last, uint16_t kinds,
          uint8_t state)
{
    if (*count < capacity) {
        card_event &e = out[*count];
        e.first = first;
        e.last = first + static_cast<uint16_t>(last - first); // length kept in 16 bits
        e.kinds = kinds;
        e.state = state;
        e.playable = 0;
        e.utc_offset_min = 0;
    }
    ++*count;
}

// Walks the index entries of one segment through the event state machine.
void scan_entries(const IndexEntry *entries, uint32_t n, uint32_t from, uint32_t to, OpenEvent *ev,
                  card_event *out, int capacity, int *count)
{
    for (uint32_t i = 0; i < n; ++i) {
        const IndexEntry &x = entries[i];
        if (x.second < from)
            continue;
        if (x.second > to)
            break;
        if (x.flags & CARD_MARK_START) {
            if (ev->open)
                emit(out, capacity, count, ev->start, ev->latest, ev->kinds, CARD_EVENT_CUT);
            *ev = {true, x.second, x.second, x.kinds};
        } else if (x.flags & CARD_MARK_END) {
            if (ev->open) {
                emit(out, capacity, count, ev->start, x.second, ev->kinds | x.kinds, CARD_EVENT_ENDED);
                ev->open = false;
            }
        } else if (x.flags & CARD_MARK_CONTINUE) {
            if (ev->open) {
                ev->kinds |= x.kinds;
                ev->latest = x.second;
            }
        }
    }
}

// Offset of the range nearest to second, and whether a playable range holds it.
void locate(const card_reader *card, uint32_t second, int16_t *offset, uint8_t *playable)
{
    *offset = 0;
    *playable = 0;
    uint64_t best = UINT64_MAX;
    for (uint32_t i = 0; i < card->range_count; ++i) {
        const card_range &r = card->ranges[i];
        uint64_t distance = 0;
        if (second < r.first)
            distance = r.first - second;
        else if (second > r.last)
            distance = second - r.last;
        if (distance < best) {
            best = distance;
            *offset = r.utc_offset_min;
        }
        if (distance == 0 && !r.missing)
            *playable = 1;
    }
}

} // namespace

int card_events(const card_reader *card, uint32_t from, uint32_t to, card_event *out, int capacity,
                int *count)
{
    if (!card || !count || capacity < 0 || (capacity > 0 && !out) || to < from)
        return CARD_ERR_ARGUMENT;
    const uint32_t n = card->segment_count;
    uint8_t *raw = new (std::nothrow) uint8_t[static_cast<size_t>(n) * kTableEntrySize];
    SegmentEntry *candidates = new (std::nothrow) SegmentEntry[n];
    IndexEntry *entries = new (std::nothrow) IndexEntry[CARD_MAX_INDEX_ENTRIES];
    if (!raw || !candidates || !entries) {
        delete[] raw;
        delete[] candidates;
        delete[] entries;
        return CARD_ERR_NO_MEMORY;
    }
    FileHandle f = file_open(card->index_path);
    int64_t bytes = static_cast<int64_t>(n) * kTableEntrySize;
    if (f == kNoFile ||
        file_read_at(f, card->layout.table_offset, raw, static_cast<size_t>(bytes)) != bytes) {
        file_close(f);
        delete[] raw;
        delete[] candidates;
        delete[] entries;
        return CARD_ERR_READ;
    }
    uint32_t m = 0;
    for (uint32_t i = 0; i < n; ++i) {
        SegmentEntry e = parse_segment_entry(raw + i * kTableEntrySize);
        if (e.event_flag != 0 && (e.state == 1 || e.state == 2) && e.first != 0 && e.last >= from &&
            e.first <= to)
            candidates[m++] = e;
    }
    std::stable_sort(candidates, candidates + m,
                     [](const SegmentEntry &a, const SegmentEntry &b) { return a.first < b.first; });

    int found = 0;
    OpenEvent ev;
    for (uint32_t k = 0; k < m; ++k) {
        uint32_t got = read_index_block(f, -1, card->layout, candidates[k].number, entries, false);
        scan_entries(entries, got, from, to, &ev, out, capacity, &found);
    }
    if (ev.open)
        emit(out, capacity, &found, ev.start, ev.latest, ev.kinds, CARD_EVENT_OPEN);
    file_close(f);
    delete[] raw;
    delete[] candidates;
    delete[] entries;

    for (int i = 0; i < std::min(found, capacity); ++i)
        locate(card, out[i].first, &out[i].utc_offset_min, &out[i].playable);
    *count = found;
    return CARD_OK;
}

int card_keyframes(card_reader *card, uint32_t from, uint32_t to, card_keyframe_fn callback, void *context)
{
    if (!card || !callback || to < from)
        return CARD_ERR_ARGUMENT;
    FileHandle index_file = kNoFile;
    IndexEntry *scratch = nullptr; // one block as read, before it is cached at its size
    int rc = CARD_OK;
    for (uint32_t k = 0; k < card->valid_count && rc == CARD_OK; ++k) {
        uint32_t pos = card->order[k];
        const SegmentEntry &e = card->table[pos];
        if (e.last < from || e.first > to)
            continue;
        SegmentState &s = card->states[pos];
        if (!s.cache.loaded) {
            if (!scratch) {
                scratch = new (std::nothrow) IndexEntry[CARD_MAX_INDEX_ENTRIES];
                if (!scratch) {
                    rc = CARD_ERR_NO_MEMORY;
                    break;
                }
                index_file = file_open(card->index_path);
            }
            uint32_t got = read_index_block(index_file, -1, card->layout, e.number, scratch, false);
            IndexEntry *entries = nullptr;
            if (got > 0) {
                entries = new (std::nothrow) IndexEntry[got];
                if (!entries) {
                    rc = CARD_ERR_NO_MEMORY;
                    break;
                }
                std::copy(scratch, scratch + got, entries);
            }
            s.cache.entries = entries;
            s.cache.count = static_cast<uint16_t>(got);
            s.cache.loaded = true;
        }
        for (uint32_t i = 0; i < s.cache.count; ++i) {
            const IndexEntry &x = s.cache.entries[i];
            if (x.second < from)
                continue;
            if (x.second > to)
                break;
            card_keyframe kf;
            kf.time_ms = entry_time_ms(x);
            kf.utc_offset_min = x.offset_min;
            kf.segment = e.number;
            kf.file_offset = x.frame_offset;
            kf.flags = x.flags;
            kf.usable = s.present ? 1 : 0;
            kf.kinds = x.kinds;
            if (callback(&kf, context) != 0) {
                file_close(index_file);
                delete[] scratch;
                return CARD_OK;
            }
        }
    }
    file_close(index_file);
    delete[] scratch;
    return rc;
}
