// The event scan and the keyframe walk over the index blocks.
#include "card_builder.h"

#include "storage/crc.h"

using namespace cardtest;

namespace {

constexpr uint32_t T0 = 1700000000;

IndexMark mark(uint32_t second, uint8_t flags, uint16_t kinds = 0)
{
    IndexMark m;
    m.second = second;
    m.flags = flags;
    m.kinds = kinds;
    return m;
}

// A segment table entry with event marks; its file is written (present).
void add_marked(Card &c, uint16_t number, uint32_t first, uint32_t last, std::vector<IndexMark> marks,
                bool present = true)
{
    SegmentSpec s;
    s.number = number;
    s.first = first;
    s.last = last;
    s.video_step_ms = 10000;
    s.write_file = present;
    c.add_segment(s);
    c.blocks[number] = std::move(marks);
    c.table.back().event_flag = 1;
}

std::vector<card_event> events_of(const card_reader *card, uint32_t from = 0, uint32_t to = 0xFFFFFFFFu)
{
    int count = -1;
    EXPECT_CODE(0, card_events(card, from, to, nullptr, 0, &count));
    std::vector<card_event> out(static_cast<size_t>(std::max(count, 0)));
    int again = -1;
    EXPECT_CODE(0, card_events(card, from, to, out.data(), count, &again));
    EXPECT_EQ(count, again);
    return out;
}

std::string str(const std::vector<card_event> &events)
{
    std::string s;
    for (const card_event &e : events)
        s += "[" + std::to_string(e.first - T0) + ".." + std::to_string(e.last - T0) + " kinds " +
             std::to_string(e.kinds) + " state " + std::to_string(e.state) + " playable " +
             std::to_string(e.playable) + " off " + std::to_string(e.utc_offset_min) + "] ";
    return s;
}

std::vector<card_keyframe> keyframes_of(card_reader *card, uint32_t from, uint32_t to,
                                        size_t stop_after = SIZE_MAX)
{
    struct Ctx
    {
        std::vector<card_keyframe> got;
        size_t stop_after;
    } ctx{{}, stop_after};
    EXPECT_CODE(0, card_keyframes(
                       card, from, to,
                       [](const card_keyframe *k, void *context) {
                           auto *x = static_cast<Ctx *>(context);
                           x->got.push_back(*k);
                           return x->got.size() >= x->stop_after ? 1 : 0;
                       },
                       &ctx));
    return ctx.got;
}

} // namespace

TEST(Events, StartContinueEnd)
{
    Card c;
    add_marked(c, 1, T0, T0 + 59,
               {mark(T0 + 10, CARD_MARK_START, 0x01), mark(T0 + 12, CARD_MARK_CONTINUE, 0x02),
                mark(T0 + 15, CARD_MARK_CONTINUE, 0), mark(T0 + 20, CARD_MARK_END, 0x10)});
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[10..20 kinds 19 state 0 playable 1 off 0] ", str(events_of(card)));
    card_close(card);
}

TEST(Events, StartCutsTheOpenEvent)
{
    Card c;
    add_marked(c, 1, T0, T0 + 59,
               {mark(T0 + 10, CARD_MARK_START, 0x01), mark(T0 + 12, CARD_MARK_CONTINUE, 0x04),
                mark(T0 + 30, CARD_MARK_START, 0x08)});
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[10..12 kinds 5 state 2 playable 1 off 0] [30..30 kinds 8 state 1 playable 1 off 0] ",
              str(events_of(card)));
    card_close(card);
}

TEST(Events, MarksWithoutAnOpenEventAreIgnored)
{
    Card c;
    add_marked(c, 1, T0, T0 + 59,
               {mark(T0 + 1, CARD_MARK_CONTINUE, 1), mark(T0 + 2, CARD_MARK_END, 1), mark(T0 + 3, 0, 1),
                // start and end bits together: the start wins.
                mark(T0 + 5, CARD_MARK_START | CARD_MARK_END, 2), mark(T0 + 6, 0x08, 4),
                // end and continue together: the end wins.
                mark(T0 + 7, CARD_MARK_END | CARD_MARK_CONTINUE, 1)});
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[5..7 kinds 3 state 0 playable 1 off 0] ", str(events_of(card)));
    card_close(card);
}

TEST(Events, EventAcrossSegmentsIsReportedOnce)
{
    Card c;
    add_marked(c, 2, T0 + 60, T0 + 119,
               {mark(T0 + 70, CARD_MARK_CONTINUE, 0x02), mark(T0 + 80, CARD_MARK_END, 0)});
    add_marked(c, 1, T0, T0 + 59, {mark(T0 + 50, CARD_MARK_START, 0x01)});
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[50..80 kinds 3 state 0 playable 1 off 0] ", str(events_of(card)));
    card_close(card);
}

TEST(Events, CountBeyondCapacity)
{
    Card c;
    std::vector<IndexMark> marks;
    for (uint32_t i = 0; i < 5; ++i) {
        marks.push_back(mark(T0 + i * 10, CARD_MARK_START, 1));
        marks.push_back(mark(T0 + i * 10 + 5, CARD_MARK_END, 0));
    }
    add_marked(c, 1, T0, T0 + 59, marks);
    c.write();
    card_reader *card = c.open();
    card_event out[3] = {};
    int count = 0;
    EXPECT_CODE(0, card_events(card, 0, 0xFFFFFFFFu, out, 2, &count));
    EXPECT_EQ(5, count);
    EXPECT_EQ(T0, out[0].first);
    EXPECT_EQ(T0 + 10, out[1].first);
    EXPECT_EQ(0u, out[2].first);

    EXPECT_CODE(-1, card_events(nullptr, 0, 1, out, 2, &count));
    EXPECT_CODE(-1, card_events(card, 0, 1, out, 2, nullptr));
    EXPECT_CODE(-1, card_events(card, 0, 1, out, -1, &count));
    EXPECT_CODE(-1, card_events(card, 0, 1, nullptr, 2, &count));
    EXPECT_CODE(-1, card_events(card, 1, 0, out, 2, &count));
    card_close(card);
}

TEST(Events, TimeWindowAndCandidates)
{
    Card c;
    add_marked(c, 1, T0, T0 + 59,
               {mark(T0 + 10, CARD_MARK_START, 1), mark(T0 + 20, CARD_MARK_END, 0),
                mark(T0 + 30, CARD_MARK_START, 2), mark(T0 + 40, CARD_MARK_END, 0)});
    // Segments without the event flag, free or without a first second are
    // not scanned.
    add_marked(c, 2, T0 + 60, T0 + 119, {mark(T0 + 70, CARD_MARK_START, 4)});
    c.table.back().event_flag = 0;
    add_marked(c, 3, T0 + 120, T0 + 179, {mark(T0 + 130, CARD_MARK_START, 4)});
    c.table.back().state = 3;
    c.table.push_back({0, T0 + 200, 4, 1, 1});
    c.blocks[4] = {mark(T0 + 190, CARD_MARK_START, 4)};
    // A last second before the first still makes a candidate.
    c.table.push_back({T0 + 300, T0 + 250, 5, 2, 1});
    c.blocks[5] = {mark(T0 + 300, CARD_MARK_START, 16)};
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[10..20 kinds 1 state 0 playable 1 off 0] [30..40 kinds 2 state 0 playable 1 off 0] "
              "[300..300 kinds 16 state 1 playable 0 off 0] ",
              str(events_of(card)));
    // Marks before from are skipped, the walk stops after to.
    EXPECT_EQ("[30..30 kinds 2 state 1 playable 1 off 0] ", str(events_of(card, T0 + 15, T0 + 35)));
    EXPECT_EQ("[10..20 kinds 1 state 0 playable 1 off 0] ", str(events_of(card, T0 + 10, T0 + 20)));
    EXPECT_TRUE(events_of(card, T0 + 41, T0 + 59).empty());
    card_close(card);
}

TEST(Events, PlayableAndNearestRangeOffset)
{
    Card c;
    SegmentSpec a;
    a.number = 1;
    a.first = T0;
    a.last = T0 + 99;
    a.offset_min = 60;
    a.video_step_ms = 10000;
    c.add_segment(a);
    SegmentSpec b = a;
    b.number = 2;
    b.first = T0 + 200;
    b.last = T0 + 299;
    b.offset_min = 120;
    b.write_file = false;
    c.add_segment(b);
    // The events are marked in segment 1's block (over the whole time).
    c.table[0].event_flag = 1;
    c.blocks[1] = {mark(T0 + 50, CARD_MARK_START, 1), mark(T0 + 140, CARD_MARK_START, 1),
                   mark(T0 + 160, CARD_MARK_START, 1), mark(T0 + 250, CARD_MARK_START, 1),
                   mark(T0 + 350, CARD_MARK_START, 1)};
    for (IndexMark &m : c.blocks[1])
        m.offset_min = 60;
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[50..50 kinds 1 state 2 playable 1 off 60] [140..140 kinds 1 state 2 playable 0 off 60] "
              "[160..160 kinds 1 state 2 playable 0 off 120] [250..250 kinds 1 state 2 playable 0 off 120] "
              "[350..350 kinds 1 state 1 playable 0 off 120] ",
              str(events_of(card)));
    card_close(card);
}

TEST(Events, LengthIsKeptIn16Bits)
{
    Card c;
    add_marked(c, 1, T0, T0 + 70000,
               {mark(T0 + 1, CARD_MARK_START, 1), mark(T0 + 1 + 65536 + 7, CARD_MARK_END, 0)});
    c.write();
    card_reader *card = c.open();
    std::vector<card_event> ev = events_of(card);
    ASSERT_EQ(1u, ev.size());
    EXPECT_EQ(T0 + 1 + 7, ev[0].last);
    card_close(card);
}

TEST(Events, UnreadableBlocksAreSkippedAndAMissingIndexFails)
{
    Card c;
    add_marked(c, 1, T0, T0 + 59, {mark(T0 + 10, CARD_MARK_START, 1), mark(T0 + 12, CARD_MARK_END, 1)});
    add_marked(c, 2, T0 + 60, T0 + 119, {mark(T0 + 70, CARD_MARK_START, 2)});
    c.block_bad_crc[2] = true;
    c.table.push_back({T0 + 120, T0 + 130, 200, 1, 1}); // no block: number above the slots
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ("[10..12 kinds 1 state 0 playable 1 off 0] ", str(events_of(card)));
    c.remove_file("index.dat");
    int count = 0;
    EXPECT_CODE(-6, card_events(card, 0, 0xFFFFFFFFu, nullptr, 0, &count));
    card_close(card);
}

TEST(Keyframes, WalkReportsEveryEntryInTheSpan)
{
    Card c;
    SegmentSpec s;
    s.number = 1;
    s.first = T0;
    s.last = T0 + 9;
    s.offset_min = -90;
    c.add_segment(s); // keyframes at 0, 2, 4, 6, 8 s
    s.number = 2;
    s.first = T0 + 10;
    s.last = T0 + 19;
    s.write_file = false;
    c.add_segment(s);
    c.blocks[1][1].flags = CARD_MARK_START;
    c.blocks[1][1].kinds = CARD_KIND_PERSON;
    c.write();
    card_reader *card = c.open();
    std::vector<card_keyframe> k = keyframes_of(card, T0 + 2, T0 + 12);
    ASSERT_EQ(6u, k.size()); // 2, 4, 6, 8 in segment 1; 10, 12 in segment 2
    EXPECT_EQ(int64_t(T0 + 2) * 1000, k[0].time_ms);
    EXPECT_EQ(1, k[0].segment);
    EXPECT_EQ(1, k[0].usable);
    EXPECT_EQ(-90, k[0].utc_offset_min);
    EXPECT_EQ(CARD_MARK_START, k[0].flags);
    EXPECT_EQ(CARD_KIND_PERSON, k[0].kinds);
    EXPECT_EQ(2u * (24 + 100), k[0].file_offset);
    EXPECT_EQ(int64_t(T0 + 12) * 1000, k[5].time_ms);
    EXPECT_EQ(2, k[5].segment);
    EXPECT_EQ(0, k[5].usable) << "absent file";
    card_close(card);
}

TEST(Keyframes, CallbackStopsTheWalk)
{
    Card c;
    SegmentSpec s;
    s.number = 1;
    s.first = T0;
    s.last = T0 + 9;
    c.add_segment(s);
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ(1u, keyframes_of(card, 0, 0xFFFFFFFFu, 1).size());
    EXPECT_EQ(3u, keyframes_of(card, 0, 0xFFFFFFFFu, 3).size());
    EXPECT_EQ(5u, keyframes_of(card, 0, 0xFFFFFFFFu).size()) << "the cache gives the same entries";
    auto cb = [](const card_keyframe *, void *) { return 0; };
    EXPECT_CODE(-1, card_keyframes(nullptr, 0, 1, cb, nullptr));
    EXPECT_CODE(-1, card_keyframes(card, 0, 1, nullptr, nullptr));
    EXPECT_CODE(-1, card_keyframes(card, 2, 1, cb, nullptr));
    card_close(card);
}

TEST(Keyframes, BlockReadsAtMost2046Entries)
{
    Card c;
    c.table.push_back({T0, T0 + 9999, 0, 1, 0});
    std::vector<IndexMark> marks;
    for (uint32_t i = 0; i < 2100; ++i)
        marks.push_back(mark(T0 + i, 0, 0));
    c.blocks[0] = marks;
    c.block_count_field[0] = 5000;
    c.block_stride = 20 + 5000 * 16;
    c.write();
    card_reader *card = c.open();
    std::vector<card_keyframe> k = keyframes_of(card, 0, 0xFFFFFFFFu);
    ASSERT_EQ(2046u, k.size());
    EXPECT_EQ(int64_t(T0 + 2045) * 1000, k.back().time_ms);
    card_close(card);
}

TEST(Keyframes, BlockOffsetIsComputedIn32Bits)
{
    // index.dat by hand: block 0 at 64 with a stride of 2^31. Segment 2's block
    // lies at 64 + 2 * 2^31, which is 64 again in 32 bits; segment 1's at
    // 64 + 2^31, far past the end of the file.
    Card c;
    c.table.push_back({T0, T0 + 9, 2, 1, 0});
    c.table.push_back({T0 + 10, T0 + 19, 1, 1, 0});
    c.write();
    Bytes index(64 + 20 + 16, 0);
    put32(index, 0, 0x53494458);
    put16(index, 6, 8);
    put32(index, 12, 32);
    put32(index, 20, 64);
    put32(index, 24, 0x80000000u);
    put32(index, 28, nivra::storage::crc32(index.data(), 28));
    for (int i = 0; i < 2; ++i) {
        put32(index, 32 + i * 12, c.table[i].first);
        put32(index, 36 + i * 12, c.table[i].last);
        put16(index, 40 + i * 12, c.table[i].number);
        index[42 + i * 12] = 1;
    }
    put32(index, 64, 0x44544C49);
    put16(index, 68, 1);
    put16(index, 82, nivra::storage::crc16_ccitt(index.data() + 64, 18));
    put32(index, 84, T0 + 3);
    c.write_file("index.dat", index);
    card_reader *card = c.open();
    std::vector<card_keyframe> k = keyframes_of(card, 0, 0xFFFFFFFFu);
    ASSERT_EQ(1u, k.size());
    EXPECT_EQ(2, k[0].segment);
    EXPECT_EQ(int64_t(T0 + 3) * 1000, k[0].time_ms);
    card_close(card);
}
