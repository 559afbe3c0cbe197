// The read cursor: frames in time order across segment files, seeking by
// time and keyframe stepping.
#include "storage/card_internal.h"

#include <algorithm>
#include <new>

using namespace nivra::storage;

namespace {

void close_segment(card_cursor *c)
{
    file_close(c->file);
    c->file = kNoFile;
    c->position = -1;
    c->file_size = 0;
    c->entry_count = 0;
    c->entry_pos = 0;
    c->read_offset = 0;
    c->pending = false;
}

// Median spacing of the cursor's index entries (2000 ms without a pair).
int64_t median_spacing(const card_cursor *c)
{
    int64_t diffs[CARD_MAX_INDEX_ENTRIES];
    size_t n = 0;
    for (uint32_t i = 1; i < c->entry_count; ++i) {
        int64_t d = entry_time_ms(c->entries[i]) - entry_time_ms(c->entries[i - 1]);
        if (d > 0)
            diffs[n++] = std::min(d, kMaxSpacingMs);
    }
    if (c->entry_count < 2 || n == 0)
        return kDefaultSpacingMs;
    std::nth_element(diffs, diffs + n / 2, diffs + n);
    return diffs[n / 2];
}

// Opens the segment at table position pos into the cursor. Returns 0, -1 or -6.
int open_segment(card_cursor *c, uint32_t pos)
{
    close_segment(c);
    const card_reader *card = c->card;
    char path[kFilePathMax + 1];
    if (!segment_path(card->dir, card->table[pos].number, path, sizeof path))
        return CARD_ERR_ARGUMENT;
    FileHandle f = file_open(path);
    if (f == kNoFile)
        return CARD_ERR_READ;
    int64_t size = file_size(f);
    if (size < 0) {
        file_close(f);
        return CARD_ERR_READ;
    }
    c->file = f;
    c->file_size = static_cast<uint64_t>(size);
    c->position = pos;
    c->has_high = false;
    if (c->index_file == kNoFile) {
        c->index_file = file_open(card->index_path);
        c->index_size = file_size(c->index_file);
    }
    bool failed = false;
    c->entry_count = read_index_block(c->index_file, c->index_size, card->layout, card->table[pos].number,
                                      c->entries, false, &failed);
    if (failed)
        return CARD_ERR_READ;
    c->spacing_ms = median_spacing(c);
    return CARD_OK;
}

// Table position of the segment that follows the open one, or -1: the
// earliest present segment starting at or after the open one's last second,
// ties to the lower table position. Only segments of one single second can
// follow each other round in a circle (A -> B -> A); among those of the same
// second the cursor moves only to higher table positions.
int64_t next_segment(const card_cursor *c)
{
    const card_reader *card = c->card;
    const SegmentEntry &cur = card->table[c->position];
    int64_t best = -1;
    for (uint32_t k = 0; k < card->valid_count; ++k) {
        uint32_t pos = card->order[k];
        const SegmentEntry &e = card->table[pos];
        if (pos == c->position || !card->states[pos].present || e.first < cur.last)
            continue;
        if (e.first == cur.first && e.last == e.first && pos < c->position)
            continue;
        if (best < 0 || e.first < card->table[best].first)
            best = pos;
    }
    return best;
}

void make_pending(card_cursor *c, const FrameHeader &h, uint64_t offset, uint64_t next_offset,
                  uint64_t next_entry)
{
    card_frame &f = c->pending_frame;
    f.type = h.type;
    f.utc_offset_min = h.offset_min;
    f.time_ms = static_cast<int64_t>(h.second) * 1000 + h.ms;
    f.size = h.size;
    f.segment = c->card->table[c->position].number;
    f.file_offset = static_cast<uint32_t>(offset);
    int64_t threshold = c->stride == 0 ? kGapMs : c->spacing_ms * c->stride + kGapMs;
    f.discontinuity = c->has_latest && f.time_ms - c->latest_ms > threshold;
    c->pending_payload = offset + kFrameHeaderSize;
    c->pending_next_offset = next_offset;
    c->pending_next_entry = next_entry;
    c->pending = true;
}

// False for a frame far later than its segment's last recorded second: with a
// valid checksum, that is damage. (Frames from before the segment are the
// stale rule's.)
bool in_segment_span(const card_cursor *c, int64_t t)
{
    const SegmentEntry &e = c->card->table[c->position];
    return t <= card_last_ms(e.last) + kSegmentSlackMs;
}

// Looks for the next frame in the open segment. Returns 0 with a pending
// frame, 1 when the segment has no more, -6 when a header could not be read.
int next_in_segment(card_cursor *c)
{
    const uint32_t segment_size = c->card->meta.segment_size;
    FrameHeader h;
    if (c->stride == 0) {
        for (;;) {
            HeaderRead got = read_frame_header(c->file, c->file_size, segment_size, c->read_offset, &h);
            if (got != HeaderRead::Valid)
                return got == HeaderRead::Failed ? CARD_ERR_READ : CARD_NO_MORE;
            int64_t t = static_cast<int64_t>(h.second) * 1000 + h.ms;
            if (c->has_high && t + kStaleFrameMs < c->high_ms)
                return CARD_NO_MORE;
            const uint64_t next = c->read_offset + kFrameHeaderSize + h.size;
            if (!in_segment_span(c, t)) {
                // Skipped without counting as the newest frame read, so that
                // it cannot make the good frames after it look stale.
                ++c->damaged_frames;
                c->read_offset = next;
                continue;
            }
            make_pending(c, h, c->read_offset, next, c->entry_pos);
            return CARD_OK;
        }
    }
    while (c->entry_pos < c->entry_count) {
        uint64_t offset = c->entries[c->entry_pos].frame_offset;
        HeaderRead got = read_frame_header(c->file, c->file_size, segment_size, offset, &h);
        if (got == HeaderRead::Failed)
            return CARD_ERR_READ;
        if (got == HeaderRead::Valid && h.type == CARD_FRAME_KEY) {
            if (in_segment_span(c, static_cast<int64_t>(h.second) * 1000 + h.ms)) {
                make_pending(c, h, offset, c->read_offset, c->entry_pos + c->stride);
                return CARD_OK;
            }
            ++c->damaged_frames;
        }
        c->entry_pos += static_cast<uint64_t>(c->stride);
    }
    return CARD_NO_MORE;
}

} // namespace

int cursor_open(const card_reader *card, card_cursor **out)
{
    if (out)
        *out = nullptr;
    if (!card || !out)
        return CARD_ERR_ARGUMENT;
    card_cursor *c = new (std::nothrow) card_cursor;
    if (!c)
        return CARD_ERR_NO_MEMORY;
    c->card = card;
    *out = c;
    return CARD_OK;
}

void cursor_close(card_cursor *cursor)
{
    if (!cursor)
        return;
    file_close(cursor->file);
    file_close(cursor->index_file);
    delete cursor;
}

int cursor_seek(card_cursor *c, uint64_t time_ms, int64_t *landed_ms)
{
    if (!c)
        return CARD_ERR_ARGUMENT;
    c->positioned = false;
    c->has_latest = false;
    c->pending = false;
    const card_reader *card = c->card;
    uint64_t s = time_ms / 1000;
    int64_t containing = -1, following = -1;
    for (uint32_t k = 0; k < card->valid_count; ++k) {
        uint32_t pos = card->order[k];
        if (!card->states[pos].present)
            continue;
        const SegmentEntry &e = card->table[pos];
        if (e.first <= s && s <= e.last)
            containing = pos;
        else if (e.first > s && following < 0)
            following = pos;
    }
    int64_t pos = containing >= 0 ? containing : following;
    if (pos < 0) {
        // Positioned at the end: cursor_next reports 1 until the next seek.
        close_segment(c);
        c->positioned = true;
        return CARD_NO_MORE;
    }
    int rc = open_segment(c, static_cast<uint32_t>(pos));
    if (rc != CARD_OK) {
        close_segment(c);
        return rc;
    }
    int64_t landed;
    if (c->entry_count == 0) {
        landed = static_cast<int64_t>(card->table[pos].first) * 1000;
        c->read_offset = 0;
    } else {
        uint32_t chosen = 0;
        if (containing >= 0) {
            const int64_t t = static_cast<int64_t>(std::min<uint64_t>(time_ms, INT64_MAX));
            for (uint32_t i = 0; i < c->entry_count; ++i)
                if (entry_time_ms(c->entries[i]) <= t)
                    chosen = i;
            if (chosen + 1 < c->entry_count && t - entry_time_ms(c->entries[chosen]) > kGapMs)
                ++chosen;
        }
        c->read_offset = c->entries[chosen].frame_offset;
        c->entry_pos = chosen;
        landed = entry_time_ms(c->entries[chosen]);
    }
    if (landed_ms)
        *landed_ms = landed;
    c->positioned = true;
    return CARD_OK;
}

int cursor_next(card_cursor *c, card_frame *out)
{
    if (!c || !out)
        return CARD_ERR_ARGUMENT;
    if (!c->positioned)
        return CARD_ERR_NO_PENDING;
    if (c->pending) {
        *out = c->pending_frame;
        return CARD_OK;
    }
    const card_reader *card = c->card;
    for (uint32_t changes = 0;; ++changes) {
        if (c->file == kNoFile)
            return CARD_NO_MORE;
        int got = next_in_segment(c);
        if (got == CARD_OK) {
            *out = c->pending_frame;
            return CARD_OK;
        }
        if (got < 0)
            return got; // the segment stays open: the same read can be tried again
        if (changes >= card->segment_count) {
            close_segment(c);
            return CARD_NO_MORE;
        }
        int64_t next = next_segment(c);
        if (next < 0) {
            close_segment(c);
            return CARD_NO_MORE;
        }
        int rc = open_segment(c, static_cast<uint32_t>(next));
        if (rc != CARD_OK) {
            close_segment(c);
            return rc;
        }
    }
}

namespace {

void consume(card_cursor *c)
{
    c->read_offset = c->pending_next_offset;
    c->entry_pos = c->pending_next_entry;
    int64_t t = c->pending_frame.time_ms;
    c->latest_ms = c->has_latest ? std::max(c->latest_ms, t) : t;
    c->has_latest = true;
    c->high_ms = c->has_high ? std::max(c->high_ms, t) : t;
    c->has_high = true;
    c->pending = false;
}

} // namespace

int cursor_read(card_cursor *c, void *buffer, size_t length)
{
    if (!c)
        return CARD_ERR_ARGUMENT;
    if (!c->pending)
        return CARD_ERR_NO_PENDING;
    uint32_t size = c->pending_frame.size;
    if (length < size)
        return CARD_ERR_BUFFER_SMALL;
    if (size > 0) {
        if (!buffer)
            return CARD_ERR_ARGUMENT;
        if (file_read_at(c->file, c->pending_payload, buffer, size) != static_cast<int64_t>(size))
            return CARD_ERR_READ;
    }
    consume(c);
    return CARD_OK;
}

int cursor_skip(card_cursor *c)
{
    if (!c)
        return CARD_ERR_ARGUMENT;
    if (!c->pending)
        return CARD_ERR_NO_PENDING;
    consume(c);
    return CARD_OK;
}

int cursor_get_damaged(const card_cursor *c, uint64_t *count)
{
    if (!c || !count)
        return CARD_ERR_ARGUMENT;
    *count = c->damaged_frames;
    return CARD_OK;
}

int cursor_set_stride(card_cursor *c, int stride)
{
    if (!c || stride < 0)
        return CARD_ERR_ARGUMENT;
    if (stride == c->stride)
        return CARD_OK;
    c->pending = false;
    if (c->stride == 0) {
        uint32_t i = 0;
        while (i < c->entry_count && c->entries[i].frame_offset < c->read_offset)
            ++i;
        c->entry_pos = i;
    } else if (stride == 0) {
        c->read_offset = c->entry_pos < c->entry_count ? c->entries[c->entry_pos].frame_offset : c->file_size;
    }
    c->stride = stride;
    return CARD_OK;
}
