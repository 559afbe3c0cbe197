// libFuzzer target for the card reader: the input is unpacked into a
// recording directory (meta.dat, index.dat, timeline.dat, seg_NNN.dat), which
// is opened and walked with every query and a cursor to the end.
//
// Input: a sequence of records
//   u8 tag (0 meta.dat, 1 index.dat, 2 timeline.dat, 3 segment file),
//   u16 segment number (tag 3 only), u32 length, length bytes;
// a record running past the end of the input is cut short. The seed
// generator (make_fuzz_seeds) writes byte-built cards in this form.
#include "storage/card.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

std::string g_dir;
std::vector<std::string> g_written;

void write_file(const std::string &name, const uint8_t *data, size_t size)
{
    std::string path = g_dir + "/" + name;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    if (size)
        fwrite(data, 1, size, f);
    fclose(f);
    g_written.push_back(path);
}

void unpack(const uint8_t *data, size_t size)
{
    for (const std::string &p : g_written)
        unlink(p.c_str());
    g_written.clear();
    size_t at = 0;
    while (at < size) {
        uint8_t tag = data[at++] & 3;
        uint16_t number = 0;
        if (tag == 3) {
            if (at + 2 > size)
                return;
            number = static_cast<uint16_t>(data[at] | (data[at + 1] << 8)) % 1200;
            at += 2;
        }
        if (at + 4 > size)
            return;
        uint32_t length = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                          (static_cast<uint32_t>(data[at + 3]) << 24);
        at += 4;
        size_t n = std::min<size_t>(length, size - at);
        char name[32];
        switch (tag) {
        case 0:
            snprintf(name, sizeof name, "meta.dat");
            break;
        case 1:
            snprintf(name, sizeof name, "index.dat");
            break;
        case 2:
            snprintf(name, sizeof name, "timeline.dat");
            break;
        default:
            snprintf(name, sizeof name, "seg_%03u.dat", number);
            break;
        }
        write_file(name, data + at, n);
        at += n;
    }
}

int count_keyframe(const card_keyframe *k, void *context)
{
    auto *n = static_cast<size_t *>(context);
    ++*n;
    return k->time_ms % 97 == 13; // stop some walks early
}

int32_t odd_offset(uint32_t second, void *)
{
    return static_cast<int32_t>(second % 200000) - 100000;
}

// Reads to the end (or a frame budget) in the cursor's current mode.
void drain(card_cursor *cursor, std::vector<uint8_t> &buffer, bool read)
{
    for (int i = 0; i < 200000; ++i) {
        card_frame f;
        int rc = cursor_next(cursor, &f);
        if (rc != CARD_OK)
            return;
        if (read && f.size) {
            if (buffer.size() < f.size)
                buffer.resize(f.size);
            if (cursor_read(cursor, buffer.data(), f.size) != CARD_OK)
                cursor_skip(cursor);
        } else {
            cursor_skip(cursor);
        }
        if (i == 50)
            cursor_set_stride(cursor, 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char tmpl[] = "/tmp/nivra-fuzz-XXXXXX";
    const char *d = mkdtemp(tmpl);
    if (!d)
        abort();
    g_dir = d;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    unpack(data, size);
    card_reader *card = nullptr;
    if (card_open((g_dir + "//").c_str(), &card) != CARD_OK)
        return 0;

    card_summary summary;
    card_get_summary(card, &summary);
    int count = 0;
    card_ranges(card, 0, 0xFFFFFFFFu, nullptr, 0, &count);
    std::vector<card_range> ranges(static_cast<size_t>(count));
    card_ranges(card, 0, 0xFFFFFFFFu, ranges.data(), count, &count);
    uint32_t mask;
    card_month_days(card, 2024, 5, nullptr, nullptr, 0, &mask);
    card_month_days(card, 1970, 1, odd_offset, nullptr, 1, &mask);
    if (!ranges.empty()) {
        card_month_days(card, 2023, 11, nullptr, nullptr, 0, &mask);
        card_month_days(card, 2106, 2, nullptr, nullptr, 1, &mask);
    }

    int events = 0;
    if (card_events(card, 0, 0xFFFFFFFFu, nullptr, 0, &events) == CARD_OK) {
        std::vector<card_event> ev(static_cast<size_t>(std::min(events, 4096)));
        card_events(card, 0, 0xFFFFFFFFu, ev.data(), static_cast<int>(ev.size()), &events);
    }
    size_t keyframes = 0;
    card_keyframes(card, 0, 0xFFFFFFFFu, count_keyframe, &keyframes);
    card_keyframes(card, summary.first_second, summary.last_second, count_keyframe, &keyframes);

    card_stream stream;
    card_probe_stream(card, 0, &stream);
    if (!ranges.empty())
        card_probe_stream(card, uint64_t(ranges.back().first) * 1000, &stream);

    card_cursor *cursor = nullptr;
    if (cursor_open(card, &cursor) == CARD_OK) {
        std::vector<uint8_t> buffer;
        int64_t landed;
        if (cursor_seek(cursor, 0, &landed) == CARD_OK)
            drain(cursor, buffer, true);
        cursor_set_stride(cursor, 2);
        if (cursor_seek(cursor, uint64_t(summary.first_second) * 1000 + 1500, &landed) == CARD_OK)
            drain(cursor, buffer, false);
        cursor_set_stride(cursor, 0x7FFFFFFF);
        if (cursor_seek(cursor, uint64_t(summary.last_second) * 1000, &landed) == CARD_OK)
            drain(cursor, buffer, false);
        cursor_seek(cursor, UINT64_MAX, &landed);
        cursor_close(cursor);
    }
    card_close(card);
    return 0;
}
