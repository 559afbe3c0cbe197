// timeline.dat loading and its diagnostics, the recording ranges and the
// range queries.
#include "card_builder.h"

using namespace cardtest;

namespace {

constexpr uint32_t T10 = 1705312800; // 2024-01-15 10:00:00 UTC

SegmentSpec seg(uint16_t number, uint32_t first, uint32_t last, bool present = true)
{
    SegmentSpec s;
    s.number = number;
    s.first = first;
    s.last = last;
    s.video_step_ms = 5000;
    s.write_file = present;
    return s;
}

TimelineHeader header(uint32_t count, uint32_t head = 0, uint32_t generation = 1)
{
    TimelineHeader h;
    h.count = count;
    h.head = head;
    h.generation = generation;
    return h;
}

// Opens the card and returns its ranges and what the loader wrote to stderr.
std::vector<card_range> open_ranges(const Card &c, std::string *diagnostics = nullptr)
{
    testing::internal::CaptureStderr();
    card_reader *card = c.open();
    std::string err = testing::internal::GetCapturedStderr();
    if (diagnostics)
        *diagnostics = err;
    std::vector<card_range> r = card ? ranges_of(card) : std::vector<card_range>();
    card_close(card);
    return r;
}

card_range R(uint32_t first, uint32_t last, int16_t offset, uint8_t missing = 0)
{
    return {first, last, offset, missing};
}

std::string str(const std::vector<card_range> &ranges)
{
    std::string s;
    for (const card_range &r : ranges)
        s += "[" + std::to_string(r.first) + ".." + std::to_string(r.last) + " off " +
             std::to_string(r.utc_offset_min) + (r.missing ? " missing" : "") + "] ";
    return s;
}

void expect_ranges(const std::vector<card_range> &got, const std::vector<card_range> &want,
                   const char *note = "")
{
    EXPECT_EQ(str(want), str(got)) << note;
}

} // namespace

TEST(Timeline, AbsentTableUsesTheSegmentTableSilently)
{
    Card c;
    SegmentSpec s = seg(1, T10, T10 + 599);
    s.offset_min = 120;
    c.add_segment(s);
    c.write();
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 599, 120)});
    EXPECT_EQ("", err);
}

TEST(Timeline, LaterHeaderCopyIsUsed)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 99));
    c.write();
    std::map<uint32_t, Span> slots = {{0, {T10, 49, 4}}, {1, {T10 + 50, 49, 8}}};
    TimelineHeader a = header(1, 0, 5), b = header(2, 0, 6);
    c.write_timeline(a, &b, slots);
    expect_ranges(open_ranges(c), {R(T10, T10 + 49, 60), R(T10 + 50, T10 + 99, 120)});

    a.generation = 6;
    b.generation = 5;
    c.write_timeline(a, &b, slots);
    expect_ranges(open_ranges(c), {R(T10, T10 + 99, 60)}, "copy A, one entry raised to the end");

    a.generation = 0xFFFFFFFFu;
    b.generation = 0;
    c.write_timeline(a, &b, slots);
    expect_ranges(open_ranges(c), {R(T10, T10 + 49, 60), R(T10 + 50, T10 + 99, 120)},
                  "generations compare with wrapping");

    // Only one valid copy.
    b.bad_crc = true;
    c.write_timeline(a, &b, slots);
    expect_ranges(open_ranges(c), {R(T10, T10 + 99, 60)});
    a.bad_crc = true;
    b.bad_crc = false;
    c.write_timeline(a, &b, slots);
    expect_ranges(open_ranges(c), {R(T10, T10 + 49, 60), R(T10 + 50, T10 + 99, 120)});

    // No valid copy: the segment table, without a message.
    b.magic = 0x53544D4D;
    c.write_timeline(a, &b, slots);
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 99, 0)});
    EXPECT_EQ("", err);
}

TEST(Timeline, RejectedHeaderIsNotReplacedByTheOtherCopy)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 99));
    c.write();
    std::map<uint32_t, Span> slots = {{0, {T10, 99, 4}}};
    TimelineHeader a = header(1, 0, 6), b = header(1, 0, 5);
    a.version = 3;
    c.write_timeline(a, &b, slots);
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 99, 0)});
    EXPECT_EQ("[storage_timeline] load: reject header ver=3 cap=8192 entry_off=128 head=0 count=1\n", err);

    struct Case
    {
        TimelineHeader h;
        const char *message;
    };
    std::vector<Case> cases;
    TimelineHeader h = header(1);
    h.capacity = 4096;
    cases.push_back({h, "ver=2 cap=4096 entry_off=128 head=0 count=1"});
    h = header(1);
    h.entry_offset = 64;
    cases.push_back({h, "ver=2 cap=8192 entry_off=64 head=0 count=1"});
    h = header(8193);
    cases.push_back({h, "ver=2 cap=8192 entry_off=128 head=0 count=8193"});
    h = header(1, 8192);
    cases.push_back({h, "ver=2 cap=8192 entry_off=128 head=8192 count=1"});
    for (const Case &k : cases) {
        c.write_timeline(k.h, nullptr, slots);
        expect_ranges(open_ranges(c, &err), {R(T10, T10 + 99, 0)});
        EXPECT_EQ(std::string("[storage_timeline] load: reject header ") + k.message + "\n", err);
    }
    // The limits themselves are accepted.
    h = header(8192, 8191);
    std::map<uint32_t, Span> full;
    for (uint32_t i = 0; i < 8192; ++i)
        full[(8191 + i) % 8192] = {T10 + i * 10, 5, 0};
    c.write_timeline(h, nullptr, full);
    std::vector<card_range> r = open_ranges(c, &err);
    EXPECT_EQ("", err);
    EXPECT_EQ(10u, r.size()) << "the segment covers 100 s of 8192 spans";
}

TEST(Timeline, RingWrapsAtTheEndOfTheEntryArea)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 499));
    c.write();
    // Slots 8190, 8191, 0, 1, 2 in that order; the newest (slot 2) is open.
    std::map<uint32_t, Span> slots = {{8190, {T10, 50, 0}},          {8191, {T10 + 100, 50, 4}},
                                      {0, {T10 + 200, 50, 0}},       {1, {T10 + 300, 50, 4}},
                                      {2, {T10 + 400, 0xFFFFFF, 0}}, {3, {T10 + 450, 10, 0}}};
    c.write_timeline(header(5, 8190), nullptr, slots);
    std::string err;
    expect_ranges(open_ranges(c, &err),
                  {R(T10, T10 + 50, 0), R(T10 + 100, T10 + 150, 60), R(T10 + 200, T10 + 250, 0),
                   R(T10 + 300, T10 + 350, 60), R(T10 + 400, T10 + 499, 0)});
    EXPECT_EQ("", err);

    // The fourth entry read (slot 1) breaks the invariant: its index is 3.
    slots[1] = {0, 50, 0};
    c.write_timeline(header(5, 8190), nullptr, slots);
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 499, 0)});
    EXPECT_EQ("[storage_timeline] load: entry 3 violates invariant (start=0 end=50 off=0), "
              "truncate 5 -> 3\n"
              "[storage_timeline] load: entries dropped by invariant check, treat table as corrupt\n",
              err);
}

TEST(Timeline, OffsetOutsideTheRangeMakesTheTableCorrupt)
{
    Card c;
    SegmentSpec s = seg(1, T10, T10 + 999);
    s.offset_min = -300;
    c.add_segment(s);
    c.write();
    std::map<uint32_t, Span> slots;
    for (uint32_t i = 0; i < 10; ++i)
        slots[i] = {T10 + i * 100, 50, 4};
    slots[3].quarter_hours = 57; // +855 minutes
    c.write_timeline(header(10), nullptr, slots);
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 999, -300)});
    EXPECT_EQ("[storage_timeline] load: entry 3 violates invariant (start=" + std::to_string(T10 + 300) +
                  " end=" + std::to_string(T10 + 350) +
                  " off=855), truncate 10 -> 3\n"
                  "[storage_timeline] load: entries dropped by invariant check, treat table as "
                  "corrupt\n",
              err);

    slots[3].quarter_hours = -49; // -735 minutes
    c.write_timeline(header(10), nullptr, slots);
    open_ranges(c, &err);
    EXPECT_NE(std::string::npos, err.find("off=-735), truncate 10 -> 3")) << err;
}

TEST(Timeline, OffsetLimitsAreAccepted)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 199));
    c.write();
    c.write_timeline(header(2), nullptr, {{0, {T10, 99, -48}}, {1, {T10 + 100, 99, 56}}});
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 99, -720), R(T10 + 100, T10 + 199, 840)});
    EXPECT_EQ("", err);
}

TEST(Timeline, EntryInvariants)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 199));
    c.write();
    std::string err;
    // End before start: the 32-bit end wraps.
    c.write_timeline(header(2), nullptr, {{0, {T10, 99, 0}}, {1, {0xFFFFFFF0u, 0x100, 0}}});
    open_ranges(c, &err);
    EXPECT_EQ("[storage_timeline] load: entry 1 violates invariant (start=4294967280 end=240 off=0), "
              "truncate 2 -> 1\n"
              "[storage_timeline] load: entries dropped by invariant check, treat table as corrupt\n",
              err);
    // An open span that is not the newest is kept and becomes one second.
    c.write_timeline(header(2), nullptr, {{0, {T10, 0xFFFFFF, 4}}, {1, {T10 + 100, 99, 0}}});
    expect_ranges(open_ranges(c, &err), {R(T10, T10, 60), R(T10 + 100, T10 + 199, 0)});
    EXPECT_EQ("", err);
}

TEST(Timeline, ShortEntryAreaIsNotLoaded)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 99));
    c.write();
    std::map<uint32_t, Span> slots = {{3, {T10, 10, 4}}, {4, {T10 + 20, 10, 4}}};
    c.write_timeline(header(2, 3), nullptr, slots, 128 + 4 * 8 + 7);
    std::string err;
    expect_ranges(open_ranges(c, &err), {R(T10, T10 + 99, 0)});
    EXPECT_EQ("[storage_timeline] load: short read at slot 3 (2 entries)\n", err);
    // A header alone, shorter than both copies.
    c.write_file("timeline.dat", timeline_header(header(0)));
    expect_ranges(open_ranges(c, &err), {});
    EXPECT_EQ("", err) << "a valid empty table is loaded";
}

TEST(Timeline, NewestOpenEntryExtendsToTheLatestSecond)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 299));
    c.add_segment(seg(2, T10 + 300, T10 + 599));
    c.write();
    c.write_timeline(header(1), nullptr, {{0, {T10, 0xFFFFFF, 0}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 599, 0)});
    // A newest span that ends later than the segments keeps its end.
    c.write_timeline(header(1), nullptr, {{0, {T10, 900, 0}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 599, 0)}, "time without a segment has no range");
}

TEST(Timeline, SpansMergeAcrossGapsOfAtMost3Seconds)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 600));
    c.write();
    // 10:00:00-10:05:00 and 10:05:03-10:10:00.
    c.write_timeline(header(2), nullptr, {{0, {T10, 300, 0}}, {1, {T10 + 303, 297, 0}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 600, 0)});
    c.write_timeline(header(2), nullptr, {{0, {T10, 300, 0}}, {1, {T10 + 304, 296, 0}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 300, 0), R(T10 + 304, T10 + 600, 0)});
    // A clock change: adjacent spans with different offsets stay apart.
    c.write_timeline(header(2), nullptr, {{0, {T10, 300, 0}}, {1, {T10 + 301, 299, 4}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 300, 0), R(T10 + 301, T10 + 600, 60)});
    // Entries out of time order are sorted before merging.
    c.write_timeline(header(3), nullptr,
                     {{0, {T10 + 400, 200, 0}}, {1, {T10, 100, 0}}, {2, {T10 + 102, 300, 0}}});
    expect_ranges(open_ranges(c), {R(T10, T10 + 600, 0)});
}

TEST(Timeline, MissingSegmentsSplitASpan)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 1199));
    c.add_segment(seg(2, T10 + 1200, T10 + 2399, false));
    c.add_segment(seg(3, T10 + 2400, T10 + 3600));
    c.write();
    c.write_timeline(header(1), nullptr, {{0, {T10, 3600, 0}}});
    expect_ranges(open_ranges(c),
                  {R(T10, T10 + 1199, 0), R(T10 + 1200, T10 + 2399, 0, 1), R(T10 + 2400, T10 + 3600, 0)});
    // Without the table the same three ranges come from the segment table.
    c.remove_file("timeline.dat");
    expect_ranges(open_ranges(c),
                  {R(T10, T10 + 1199, 0), R(T10 + 1200, T10 + 2399, 0, 1), R(T10 + 2400, T10 + 3600, 0)});
}

TEST(Timeline, PresentTimeIsNeverMissing)
{
    Card c;
    // A missing segment that overlaps two present ones.
    c.add_segment(seg(1, T10, T10 + 99));
    c.add_segment(seg(2, T10 + 50, T10 + 299, false));
    c.add_segment(seg(3, T10 + 150, T10 + 199));
    c.write();
    expect_ranges(open_ranges(c), {R(T10, T10 + 99, 0), R(T10 + 100, T10 + 149, 0, 1),
                                   R(T10 + 150, T10 + 199, 0), R(T10 + 200, T10 + 299, 0, 1)});
}

TEST(Timeline, OffsetsFromTheIndexBlocksWithoutATable)
{
    Card c;
    SegmentSpec a = seg(1, T10, T10 + 99);
    a.offset_min = 60;
    c.add_segment(a);
    SegmentSpec b = seg(2, T10 + 100, T10 + 199);
    b.offset_min = 120;
    c.add_segment(b);
    c.add_segment(seg(3, T10 + 200, T10 + 299));
    c.blocks[3].clear(); // a block without entries: offset 0
    c.add_segment(seg(4, T10 + 300, T10 + 399));
    c.blocks[4][0].offset_min = 60;
    c.block_bad_crc[4] = true; // an invalid block: offset 0
    c.write();
    expect_ranges(open_ranges(c),
                  {R(T10, T10 + 99, 60), R(T10 + 100, T10 + 199, 120), R(T10 + 200, T10 + 399, 0)});
    // A block whose entries run past the end of index.dat has no entries.
    c.block_count_field[2] = 100;
    c.blocks.erase(3);
    c.blocks.erase(4);
    c.write();
    expect_ranges(open_ranges(c), {R(T10, T10 + 99, 60), R(T10 + 100, T10 + 399, 0)});
}

TEST(Timeline, SegmentsAtTheTopOfTheSecondRange)
{
    Card c;
    c.add_segment(seg(1, 0xFFFFFF00u, 0xFFFFFFFEu));
    c.add_segment(seg(2, 0xFFFFFFFFu, 0xFFFFFFFFu));
    c.add_segment(seg(3, 0xFFFFFF80u, 0xFFFFFFFFu, false));
    c.write();
    expect_ranges(open_ranges(c), {R(0xFFFFFF00u, 0xFFFFFFFFu, 0)});
}

TEST(Ranges, QueryArgumentsAndCounting)
{
    Card c;
    c.add_segment(seg(1, T10, T10 + 99));
    c.add_segment(seg(2, T10 + 200, T10 + 299));
    c.add_segment(seg(3, T10 + 400, T10 + 499));
    c.write();
    card_reader *card = c.open();
    card_range out[3] = {};
    int count = -1;
    EXPECT_CODE(-1, card_ranges(nullptr, 0, 1, out, 3, &count));
    EXPECT_CODE(-1, card_ranges(card, 0, 1, out, 3, nullptr));
    EXPECT_CODE(-1, card_ranges(card, 0, 1, out, -1, &count));
    EXPECT_CODE(-1, card_ranges(card, 0, 1, nullptr, 1, &count));
    EXPECT_CODE(-1, card_ranges(card, 2, 1, out, 3, &count));
    EXPECT_CODE(0, card_ranges(card, 0, 0xFFFFFFFFu, nullptr, 0, &count));
    EXPECT_EQ(3, count);
    EXPECT_CODE(0, card_ranges(card, 0, 0xFFFFFFFFu, out, 2, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(T10 + 200, out[1].first);
    EXPECT_EQ(0u, out[2].first) << "only capacity records are written";
    // Touching ends count: last >= from and first <= to.
    EXPECT_CODE(0, card_ranges(card, T10 + 99, T10 + 200, out, 3, &count));
    EXPECT_EQ(2, count);
    EXPECT_CODE(0, card_ranges(card, T10 + 100, T10 + 199, out, 3, &count));
    EXPECT_EQ(0, count);
    EXPECT_CODE(0, card_ranges(card, T10 + 450, T10 + 450, out, 3, &count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(T10 + 400, out[0].first);
    card_close(card);
}

namespace {

uint32_t days(const card_reader *card, int year, int month, card_offset_fn fn = nullptr,
              void *context = nullptr, int playable_only = 0)
{
    uint32_t mask = 0xDEADBEEF;
    EXPECT_CODE(0, card_month_days(card, year, month, fn, context, playable_only, &mask));
    return mask;
}

int32_t fixed_offset(uint32_t, void *context)
{
    return *static_cast<int32_t *>(context);
}

} // namespace

TEST(MonthDays, RangeAcrossAMonthEnd)
{
    constexpr uint32_t jan31_2330 = 1706743800; // 2024-01-31 23:30:00 UTC
    Card c;
    c.add_segment(seg(1, jan31_2330, jan31_2330 + 3600));
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ(1u << 31, days(card, 2024, 1));
    EXPECT_EQ(1u << 1, days(card, 2024, 2));
    EXPECT_EQ(0u, days(card, 2024, 3));
    EXPECT_EQ(0u, days(card, 2023, 1));
    // Local time one hour ahead: 00:30 to 01:30 on the 1st of February.
    int32_t plus_hour = 3600;
    EXPECT_EQ(0u, days(card, 2024, 1, fixed_offset, &plus_hour));
    EXPECT_EQ(1u << 1, days(card, 2024, 2, fixed_offset, &plus_hour));
    // One hour behind: 22:30 to 23:30 on the 31st.
    int32_t minus_hour = -3600;
    EXPECT_EQ(1u << 31, days(card, 2024, 1, fixed_offset, &minus_hour));
    EXPECT_EQ(0u, days(card, 2024, 2, fixed_offset, &minus_hour));

    uint32_t mask = 0;
    EXPECT_CODE(-1, card_month_days(nullptr, 2024, 1, nullptr, nullptr, 0, &mask));
    EXPECT_CODE(-1, card_month_days(card, 2024, 1, nullptr, nullptr, 0, nullptr));
    EXPECT_CODE(-1, card_month_days(card, 2024, 0, nullptr, nullptr, 0, &mask));
    EXPECT_CODE(-1, card_month_days(card, 2024, 13, nullptr, nullptr, 0, &mask));
    card_close(card);
}

TEST(MonthDays, RangeOffsetsAndPlayableOnly)
{
    constexpr uint32_t jan31_2330 = 1706743800;
    Card c;
    // Playable 23:30 UTC on the 31st, recorded at UTC+01:00 (local 00:30, 1st).
    c.add_segment(seg(1, jan31_2330, jan31_2330 + 600));
    // Missing three days later.
    c.add_segment(seg(2, jan31_2330 + 3 * 86400, jan31_2330 + 3 * 86400 + 60, false));
    c.write();
    c.write_timeline(header(2), nullptr, {{0, {jan31_2330, 600, 4}}, {1, {jan31_2330 + 3 * 86400, 60, 4}}});
    card_reader *card = c.open();
    EXPECT_EQ(0u, days(card, 2024, 1));
    EXPECT_EQ((1u << 1) | (1u << 4), days(card, 2024, 2));
    EXPECT_EQ(1u << 1, days(card, 2024, 2, nullptr, nullptr, 1));
    card_close(card);
}

TEST(MonthDays, LongRangeMarksEveryDayUpTo400Steps)
{
    constexpr uint32_t jan1_2020 = 1577836800;
    Card c;
    c.table.push_back({jan1_2020 + 3600, jan1_2020 + 86400 * 40, 1, 1, 0}); // absent file
    c.table.push_back({jan1_2020 + 86400 * 100, jan1_2020 + 86400 * 900, 2, 1, 0});
    c.write();
    card_reader *card = c.open();
    EXPECT_EQ(0xFFFFFFFEu, days(card, 2020, 1));
    EXPECT_EQ((1u << 1) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 6) | (1u << 7) | (1u << 8) |
                  (1u << 9) | (1u << 10),
              days(card, 2020, 2));
    EXPECT_EQ(0u, days(card, 2020, 2, nullptr, nullptr, 1)) << "the range is missing";
    // 400 steps from 2020-04-10 reach 2021-05-14; the rest of the range is not marked.
    EXPECT_NE(0u, days(card, 2021, 5));
    EXPECT_EQ(0u, days(card, 2021, 6));
    card_close(card);
}
