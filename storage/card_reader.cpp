// Opening a recording directory, the card summary and the result texts.
#include "storage/card_internal.h"
#include "storage/crc.h"

#include <algorithm>
#include <new>
#include <stdio.h>
#include <string.h>

using namespace nivra::storage;

namespace {

// Returns true when the 64-byte copy at p is a valid version-2 meta record.
bool meta_copy_valid(const uint8_t *p)
{
    return le32(p + 8) == kMetaMagic && le16(p + 24) == kFormatVersion && le32(p + 60) == crc32(p, 60);
}

MetaRecord parse_meta(const uint8_t *p)
{
    MetaRecord m;
    m.format_ms = le64(p);
    m.generation = le32(p + 12);
    m.segment_size = le32(p + 16);
    m.version = le16(p + 24);
    m.segment_count = le16(p + 28);
    return m;
}

// Returns true when the 40-byte copy at p is a valid version-1 meta record.
bool meta_v1_valid(const uint8_t *p)
{
    return le32(p + 8) == kMetaMagic && le32(p + 36) == crc32(p, 36);
}

// Notes path in *detail when the file layer's last open or stat was refused
// for want of permission.
void note_denied(card_open_detail *detail, const char *path)
{
    if (!detail || detail->permission_denied || !file_last_denied())
        return;
    detail->permission_denied = 1;
    snprintf(detail->path, sizeof detail->path, "%s", path);
}

// Selects the current meta copy of meta.dat into *out. Returns 0, or -3, -4
// or -5 when no copy is valid.
int select_meta(const char *path, MetaRecord *out, card_open_detail *detail)
{
    uint8_t buf[2 * kMetaSize] = {};
    FileHandle f = file_open(path);
    if (f == kNoFile)
        note_denied(detail, path);
    if (f != kNoFile) {
        file_read_at(f, 0, buf, sizeof buf); // beyond the end reads as zeros
        file_close(f);
    }
    bool a = meta_copy_valid(buf);
    bool b = meta_copy_valid(buf + kMetaSize);
    if (a || b) {
        MetaRecord ma = parse_meta(buf);
        MetaRecord mb = parse_meta(buf + kMetaSize);
        if (a && b)
            *out = static_cast<int32_t>(ma.generation - mb.generation) < 0 ? mb : ma;
        else
            *out = a ? ma : mb;
        return CARD_OK;
    }
    if (f == kNoFile)
        return CARD_ERR_CORRUPT;
    if (meta_v1_valid(buf) || meta_v1_valid(buf + kMetaV1Size))
        return CARD_ERR_OLD_FORMAT;
    // Only an intact record can say it is newer: a few flipped bits in the
    // version field of a damaged one must not send the user to an update.
    for (const uint8_t *p : {buf, buf + kMetaSize})
        if (le32(p + 8) == kMetaMagic && le16(p + 24) > kFormatVersion && le32(p + 60) == crc32(p, 60))
            return CARD_ERR_NEW_FORMAT;
    return CARD_ERR_CORRUPT;
}

// Reads and checks the index.dat header and the segment table into card.
// Returns 0, -5 or -7.
int read_index_table(card_reader *card, card_open_detail *detail)
{
    FileHandle f = file_open(card->index_path);
    if (f == kNoFile) {
        note_denied(detail, card->index_path);
        return CARD_ERR_CORRUPT;
    }
    uint8_t h[kIndexHeaderSize];
    int rc = CARD_OK;
    if (file_read_at(f, 0, h, sizeof h) != static_cast<int64_t>(sizeof h) || le32(h) != kIndexMagic ||
        le32(h + 28) != crc32(h, 28) || le16(h + 6) < card->segment_count) {
        rc = CARD_ERR_CORRUPT;
    } else {
        card->layout.slot_count = le16(h + 6);
        card->layout.table_offset = le32(h + 12);
        card->layout.block0_offset = le32(h + 20);
        card->layout.block_stride = le32(h + 24);
        size_t bytes = static_cast<size_t>(card->segment_count) * kTableEntrySize;
        uint8_t *raw = new (std::nothrow) uint8_t[bytes];
        if (!raw) {
            rc = CARD_ERR_NO_MEMORY;
        } else {
            if (file_read_at(f, card->layout.table_offset, raw, bytes) != static_cast<int64_t>(bytes))
                rc = CARD_ERR_CORRUPT;
            for (uint32_t i = 0; rc == CARD_OK && i < card->segment_count; ++i)
                card->table[i] = parse_segment_entry(raw + i * kTableEntrySize);
            delete[] raw;
        }
    }
    file_close(f);
    return rc;
}

// Fills the per-segment states, the valid-segment order and the summary
// figures from the segment table.
void scan_segments(card_reader *card)
{
    char path[kFilePathMax + 1];
    for (uint32_t i = 0; i < card->segment_count; ++i) {
        const SegmentEntry &e = card->table[i];
        SegmentState &s = card->states[i];
        s.file_size = -1;
        if (!is_valid_segment(e))
            continue;
        card->order[card->valid_count++] = i;
        int64_t size = -1;
        if (segment_path(card->dir, e.number, path, sizeof path) && file_stat(path, &size)) {
            s.file_size = size;
            s.present = true;
            ++card->present_count;
        }
    }
    if (card->valid_count >= 2) {
        const SegmentEntry *table = card->table;
        std::sort(card->order, card->order + card->valid_count, [table](uint32_t a, uint32_t b) {
            return table[a].first != table[b].first ? table[a].first < table[b].first : a < b;
        });
    }
    for (uint32_t k = 0; k < card->valid_count; ++k) {
        const SegmentEntry &e = card->table[card->order[k]];
        card->latest_second = std::max(card->latest_second, e.last);
    }
    card->first_second = card->valid_count ? card->table[card->order[0]].first : 0;
}

// Runs the open; on failure the caller frees the partly built reader.
int open_into(card_reader *card, const char *path, size_t length, card_open_detail *detail)
{
    memcpy(card->dir, path, length);
    card->dir[length] = '\0';
    char meta_path[kFilePathMax + 1];
    snprintf(meta_path, sizeof meta_path, "%s/meta.dat", card->dir);
    snprintf(card->index_path, sizeof card->index_path, "%s/index.dat", card->dir);
    snprintf(card->timeline_path, sizeof card->timeline_path, "%s/timeline.dat", card->dir);

    if (!file_stat(meta_path, nullptr)) {
        note_denied(detail, card->dir);
        return CARD_ERR_NO_DIRECTORY;
    }
    if (!file_stat(card->index_path, nullptr)) {
        note_denied(detail, card->dir);
        return CARD_ERR_NO_DIRECTORY;
    }
    int rc = select_meta(meta_path, &card->meta, detail);
    if (rc != CARD_OK)
        return rc;
    card->segment_count = card->meta.segment_count;
    if (card->segment_count == 0)
        return CARD_ERR_CORRUPT;
    card->table = new (std::nothrow) SegmentEntry[card->segment_count];
    card->states = new (std::nothrow) SegmentState[card->segment_count];
    card->order = new (std::nothrow) uint32_t[card->segment_count];
    if (!card->table || !card->states || !card->order)
        return CARD_ERR_NO_MEMORY;
    rc = read_index_table(card, detail);
    if (rc != CARD_OK)
        return rc;
    scan_segments(card);

    TimelineEntry *entries = nullptr;
    uint32_t count = 0;
    bool loaded = load_timeline(card->timeline_path, &entries, &count) == 0;
    rc = build_ranges(card, entries, count, loaded);
    delete[] entries;
    return rc;
}

} // namespace

int card_open(const char *path, card_reader **out)
{
    return card_open_detailed(path, out, nullptr);
}

int card_open_detailed(const char *path, card_reader **out, card_open_detail *detail)
{
    if (detail)
        memset(detail, 0, sizeof *detail);
    if (out)
        *out = nullptr;
    if (!path || !out)
        return CARD_ERR_ARGUMENT;
    size_t length = strlen(path);
    while (length > 1 && (path[length - 1] == '/' || path[length - 1] == '\\'))
        --length;
    if (length == 0 || length > CARD_PATH_MAX)
        return CARD_ERR_ARGUMENT;

    card_reader *card = new (std::nothrow) card_reader;
    if (!card)
        return CARD_ERR_NO_MEMORY;
    int rc = open_into(card, path, length, detail);
    if (rc != CARD_OK) {
        card_close(card);
        return rc;
    }
    *out = card;
    return CARD_OK;
}

void card_close(card_reader *card)
{
    if (!card)
        return;
    if (card->states) {
        for (uint32_t i = 0; i < card->segment_count; ++i)
            delete[] card->states[i].cache.entries;
    }
    delete[] card->table;
    delete[] card->states;
    delete[] card->order;
    delete[] card->ranges;
    delete card;
}

const char *card_error_name(int code)
{
    switch (code) {
    case CARD_OK:
        return "ok";
    case CARD_NO_MORE:
        return "no more recordings";
    case CARD_ERR_ARGUMENT:
        return "invalid argument";
    case CARD_ERR_NO_DIRECTORY:
        return "no recording directory (meta.dat / index.dat not found)";
    case CARD_ERR_OLD_FORMAT:
        return "recorded by old firmware (format v1), not supported";
    case CARD_ERR_NEW_FORMAT:
        return "recording format is newer than this program";
    case CARD_ERR_CORRUPT:
        return "recording index is corrupt";
    case CARD_ERR_READ:
        return "read error";
    case CARD_ERR_NO_MEMORY:
        return "out of memory";
    case CARD_ERR_NO_PENDING:
        return "reader has no pending frame";
    case CARD_ERR_BUFFER_SMALL:
        return "buffer too small";
    default:
        return "unknown error";
    }
}

int card_identity(const card_reader *card, char *out, size_t out_size)
{
    if (!card || !out)
        return CARD_ERR_ARGUMENT;
    const int n =
        snprintf(out, out_size, "card-%llu-%ux%u", static_cast<unsigned long long>(card->meta.format_ms),
                 static_cast<unsigned>(card->segment_count), static_cast<unsigned>(card->meta.segment_size));
    return n > 0 && size_t(n) < out_size ? CARD_OK : CARD_ERR_ARGUMENT;
}

const char *card_directory(const card_reader *card)
{
    return card ? card->dir : nullptr;
}

int card_segment_file(const card_reader *card, uint16_t number, char *out, size_t out_size)
{
    if (!card || !out)
        return CARD_ERR_ARGUMENT;
    return nivra::storage::segment_path(card->dir, number, out, out_size) ? CARD_OK : CARD_ERR_ARGUMENT;
}

int card_get_summary(const card_reader *card, card_summary *out)
{
    if (!card || !out)
        return CARD_ERR_ARGUMENT;
    out->format_ms = card->meta.format_ms;
    out->segment_count = card->segment_count;
    out->segment_size = card->meta.segment_size;
    out->valid_segments = card->valid_count;
    out->present_segments = card->present_count;
    out->first_second = card->first_second;
    out->last_second = card->latest_second;
    return CARD_OK;
}
