// Writes the fuzz target's seed corpus: byte-built cards (healthy and
// damaged) packed into the target's input format, one file each.
#include "../card_builder.h"

#include <dirent.h>
#include <stdio.h>

#include <fstream>
#include <functional>

using namespace cardtest;

namespace {

constexpr uint32_t T0 = 1700000000;

void put_record(Bytes &out, uint8_t tag, uint16_t number, const Bytes &data)
{
    out.push_back(tag);
    if (tag == 3) {
        out.push_back(static_cast<uint8_t>(number));
        out.push_back(static_cast<uint8_t>(number >> 8));
    }
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(data.size() >> (8 * i)));
    out.insert(out.end(), data.begin(), data.end());
}

// Packs every file of the card's directory.
Bytes pack(const Card &c)
{
    Bytes out;
    DIR *d = opendir(c.dir.c_str());
    if (!d)
        return out;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        unsigned number = 0;
        if (name == "meta.dat")
            put_record(out, 0, 0, read_file(c.path(name)));
        else if (name == "index.dat")
            put_record(out, 1, 0, read_file(c.path(name)));
        else if (name == "timeline.dat")
            put_record(out, 2, 0, read_file(c.path(name)));
        else if (sscanf(name.c_str(), "seg_%u.dat", &number) == 1)
            put_record(out, 3, static_cast<uint16_t>(number), read_file(c.path(name)));
    }
    closedir(d);
    return out;
}

SegmentSpec seg(uint16_t n, uint32_t first, uint32_t last, int audio_step = 0, bool present = true)
{
    SegmentSpec s;
    s.number = n;
    s.first = first;
    s.last = last;
    s.video_step_ms = 500;
    s.key_every = 4;
    s.audio_step_ms = audio_step;
    s.video_size = 40;
    s.audio_size = 32;
    s.write_file = present;
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_fuzz_seeds OUT_DIR\n");
        return 2;
    }
    const std::string out = argv[1];
    std::vector<std::pair<const char *, std::function<void(Card &)>>> cards = {
        {"two_segments",
         [](Card &c) {
             c.add_segment(seg(1, T0, T0 + 5, 64));
             c.add_segment(seg(2, T0 + 6, T0 + 11, 64));
         }},
        {"gap_missing_events",
         [](Card &c) {
             c.add_segment(seg(1, T0, T0 + 5));
             c.add_segment(seg(2, T0 + 6, T0 + 11, 0, false));
             c.add_segment(seg(3, T0 + 30, T0 + 35, 20));
             c.blocks[1][0].flags = CARD_MARK_START;
             c.blocks[1][0].kinds = 3;
             c.blocks[3][1].flags = CARD_MARK_END;
             c.table[0].event_flag = 1;
             c.table[2].event_flag = 1;
         }},
        {"timeline",
         [](Card &c) {
             c.add_segment(seg(1, T0, T0 + 5, 21));
             c.add_segment(seg(2, T0 + 10, T0 + 15, 21));
             c.write();
             TimelineHeader h;
             h.count = 3;
             h.head = 8191;
             c.write_timeline(h, nullptr,
                              {{8191, {T0, 5, 4}}, {0, {T0 + 10, 0xFFFFFF, 4}}, {1, {T0 + 20, 2, -8}}},
                              128 + 8 * 8192);
         }},
        {"timeline_short",
         [](Card &c) {
             c.add_segment(seg(1, T0, T0 + 3));
             c.write();
             TimelineHeader a, b;
             a.count = 2;
             b.count = 1;
             b.generation = 2;
             c.write_timeline(a, &b, {{0, {T0, 3, 0}}, {1, {T0 + 4, 1, 0}}}, 160);
         }},
        {"overlap_same_second",
         [](Card &c) {
             c.add_segment(seg(1, T0, T0));
             c.add_segment(seg(2, T0, T0));
             c.add_segment(seg(3, T0, T0 + 4));
         }},
        {"big_block_count",
         [](Card &c) {
             c.block_stride = 20 + 2100 * 16;
             c.add_segment(seg(1, T0, T0 + 5));
             c.block_count_field[1] = 5000;
         }},
    };
    int written = 0;
    for (auto &[name, build] : cards) {
        Card c;
        c.block_stride = 20 + 64 * 16; // small blocks keep the inputs small
        build(c);
        c.write();
        Bytes packed = pack(c);
        std::ofstream f(out + "/" + name, std::ios::binary);
        f.write(reinterpret_cast<const char *>(packed.data()), static_cast<std::streamsize>(packed.size()));
        ++written;
    }
    printf("%d seed inputs in %s\n", written, out.c_str());
    return 0;
}
