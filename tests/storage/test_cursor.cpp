// The read cursor: seeking, sequential and keyframe reading, frame validity,
// stale frames, discontinuities and the pending-frame protocol.
#include "card_builder.h"
#include "storage/file_io.h"

#include <filesystem>

using namespace cardtest;

namespace {

constexpr uint32_t T0 = 1700000000;
constexpr int64_t MS0 = int64_t(T0) * 1000;

// An opened card with one cursor.
struct Session
{
    card_reader *card = nullptr;
    card_cursor *cursor = nullptr;
    explicit Session(const Card &c)
    {
        card = c.open();
        if (card) {
            EXPECT_CODE(0, cursor_open(card, &cursor));
        }
    }
    ~Session()
    {
        cursor_close(cursor);
        card_close(card);
    }
    // Reads frames (skipping payloads) until the end or max frames.
    std::vector<card_frame> read_all(int *last_code = nullptr, size_t max = 100000)
    {
        std::vector<card_frame> frames;
        int rc = 0;
        while (frames.size() < max) {
            card_frame f{};
            rc = cursor_next(cursor, &f);
            if (rc != 0)
                break;
            frames.push_back(f);
            EXPECT_CODE(0, cursor_skip(cursor));
        }
        if (last_code)
            *last_code = rc;
        return frames;
    }
};

Frame video(int64_t t, uint8_t type = CARD_FRAME_INTER, size_t size = 10)
{
    Frame f;
    f.type = type;
    f.time_ms = t;
    f.payload.assign(size, static_cast<uint8_t>(t));
    return f;
}

// Adds a table entry, index entries for the keyframes and writes the file.
void add_frames(Card &c, uint16_t number, uint32_t first, uint32_t last, const std::vector<Frame> &frames)
{
    std::vector<uint32_t> offsets = c.write_segment(number, frames);
    auto &marks = c.blocks[number];
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].type == CARD_FRAME_KEY && frames[i].magic == 0x464D4531) {
            IndexMark m;
            m.second = static_cast<uint32_t>(frames[i].time_ms / 1000);
            m.ms = static_cast<uint16_t>(frames[i].time_ms % 1000);
            m.frame_offset = offsets[i];
            marks.push_back(m);
        }
    }
    c.table.push_back({first, last, number, 1, 0});
}

SegmentSpec seg(uint16_t number, uint32_t first, uint32_t last, int key_every = 2)
{
    SegmentSpec s;
    s.number = number;
    s.first = first;
    s.last = last;
    s.key_every = key_every;
    return s;
}

} // namespace

TEST(Cursor, ArgumentsAndOrder)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    card_reader *card = c.open();
    card_cursor *cursor = reinterpret_cast<card_cursor *>(0x1);
    EXPECT_CODE(-1, cursor_open(nullptr, &cursor));
    EXPECT_EQ(nullptr, cursor);
    EXPECT_CODE(-1, cursor_open(card, nullptr));
    ASSERT_CODE(0, cursor_open(card, &cursor));
    card_frame f{};
    EXPECT_CODE(-8, cursor_next(cursor, &f)) << "not positioned";
    EXPECT_CODE(-1, cursor_next(cursor, nullptr));
    EXPECT_CODE(-1, cursor_next(nullptr, &f));
    EXPECT_CODE(-8, cursor_skip(cursor));
    uint8_t buf[200];
    EXPECT_CODE(-8, cursor_read(cursor, buf, sizeof buf));
    EXPECT_CODE(-1, cursor_set_stride(cursor, -1));
    EXPECT_CODE(-1, cursor_seek(nullptr, 0, nullptr));
    EXPECT_CODE(-1, cursor_skip(nullptr));
    EXPECT_CODE(-1, cursor_read(nullptr, buf, 1));
    EXPECT_CODE(-1, cursor_set_stride(nullptr, 0));
    EXPECT_CODE(0, cursor_seek(cursor, MS0, nullptr)) << "landed time is optional";
    EXPECT_CODE(0, cursor_next(cursor, &f));
    EXPECT_CODE(-8, cursor_set_stride(cursor, 0) == 0 ? -8 : 0) << "same stride is no change";
    EXPECT_CODE(0, cursor_skip(cursor));
    EXPECT_CODE(-8, cursor_skip(cursor)) << "nothing pending after the skip";
    cursor_close(cursor);
    card_close(card);
}

TEST(Cursor, SeekInAGapLandsOnTheLaterSegment)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.add_segment(seg(2, T0 + 20, T0 + 29));
    c.write();
    Session s(c);
    int64_t landed = -1;
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0 + 15000, &landed));
    EXPECT_EQ(MS0 + 20000, landed);
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 20000, f.time_ms);
    EXPECT_EQ(CARD_FRAME_KEY, f.type);
    EXPECT_EQ(2, f.segment);
    EXPECT_EQ(0u, f.file_offset);
    EXPECT_EQ(0, f.discontinuity) << "a seek clears the latest consumed time";

    // Before the first segment: its beginning.
    ASSERT_CODE(0, cursor_seek(s.cursor, 5, &landed));
    EXPECT_EQ(MS0, landed);
}

TEST(Cursor, SeekLandsOnTheKeyframeAtMost3000MsBefore)
{
    Card c;
    // Keyframes every 5 s.
    c.add_segment(seg(1, T0, T0 + 19, 5));
    c.write();
    Session s(c);
    int64_t landed = -1;
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 5000 + 2999, &landed));
    EXPECT_EQ(MS0 + 5000, landed);
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 5000 + 3000, &landed));
    EXPECT_EQ(MS0 + 5000, landed);
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 5000 + 3001, &landed));
    EXPECT_EQ(MS0 + 10000, landed);
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 10000, f.time_ms);
    EXPECT_EQ(CARD_FRAME_KEY, f.type);
    // After the last entry there is no later entry to move to.
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 19999, &landed));
    EXPECT_EQ(MS0 + 15000, landed);
}

TEST(Cursor, SeekBeforeTheFirstEntryOfTheContainingSegment)
{
    Card c;
    // The segment starts at T0 but its first keyframe is at T0 + 1.5 s.
    add_frames(c, 1, T0, T0 + 9,
               {video(MS0 + 200, CARD_FRAME_INTER), video(MS0 + 1500, CARD_FRAME_KEY),
                video(MS0 + 2500, CARD_FRAME_INTER)});
    c.write();
    Session s(c);
    int64_t landed = -1;
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 100, &landed));
    EXPECT_EQ(MS0 + 1500, landed);
}

TEST(Cursor, SeekWithoutIndexEntriesStartsAtTheFileStart)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.block_bad_crc[1] = true;
    c.write();
    Session s(c);
    int64_t landed = -1;
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 7000, &landed));
    EXPECT_EQ(MS0, landed);
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(0u, f.file_offset);
    EXPECT_EQ(MS0, f.time_ms);
}

TEST(Cursor, SeekAfterTheLastRecording)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    Session s(c);
    int64_t landed = -77;
    EXPECT_CODE(1, cursor_seek(s.cursor, MS0 + 10000, &landed));
    EXPECT_EQ(-77, landed) << "no landed time on 1";
    card_frame f{};
    EXPECT_CODE(1, cursor_next(s.cursor, &f));
    EXPECT_CODE(1, cursor_next(s.cursor, &f));
    EXPECT_CODE(1, cursor_seek(s.cursor, UINT64_MAX, &landed));
}

TEST(Cursor, SeekSkipsAbsentSegments)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    SegmentSpec absent = seg(2, T0 + 10, T0 + 19);
    absent.write_file = false;
    c.add_segment(absent);
    c.add_segment(seg(3, T0 + 20, T0 + 29));
    c.write();
    Session s(c);
    int64_t landed = -1;
    EXPECT_CODE(0, cursor_seek(s.cursor, MS0 + 12000, &landed));
    EXPECT_EQ(MS0 + 20000, landed);
}

TEST(Cursor, SeekToASegmentWhoseFileWentAway)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    Session s(c);
    c.remove_file("seg_001.dat");
    EXPECT_CODE(-6, cursor_seek(s.cursor, MS0, nullptr));
    card_frame f{};
    EXPECT_CODE(-8, cursor_next(s.cursor, &f)) << "a failed seek leaves the cursor unpositioned";
}

TEST(Cursor, SequentialReadingCrossesSegmentsWithDiscontinuity)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.add_segment(seg(2, T0 + 10, T0 + 19));
    c.add_segment(seg(3, T0 + 30, T0 + 39));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    int rc = 0;
    std::vector<card_frame> frames = s.read_all(&rc);
    EXPECT_CODE(1, rc);
    ASSERT_EQ(30u, frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(i < 20 ? MS0 + int64_t(i) * 1000 : MS0 + 30000 + int64_t(i - 20) * 1000, frames[i].time_ms);
        EXPECT_EQ(i == 20 ? 1 : 0, frames[i].discontinuity) << i;
        EXPECT_EQ(i % 10 % 2 == 0 ? CARD_FRAME_KEY : CARD_FRAME_INTER, frames[i].type);
    }
    EXPECT_EQ(1, frames[9].segment);
    EXPECT_EQ(2, frames[10].segment);
    EXPECT_EQ(3, frames[29].segment);
    card_frame f{};
    EXPECT_CODE(1, cursor_next(s.cursor, &f)) << "stays at the end";
}

TEST(Cursor, PendingFrameProtocol)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    card_frame a{}, b{};
    ASSERT_CODE(0, cursor_next(s.cursor, &a));
    ASSERT_CODE(0, cursor_next(s.cursor, &b));
    EXPECT_EQ(a.time_ms, b.time_ms);
    EXPECT_EQ(a.file_offset, b.file_offset);

    std::vector<uint8_t> buf(a.size - 1);
    EXPECT_CODE(-9, cursor_read(s.cursor, buf.data(), buf.size()));
    ASSERT_CODE(0, cursor_next(s.cursor, &b));
    EXPECT_EQ(a.time_ms, b.time_ms) << "the frame stays pending after -9";
    buf.resize(a.size);
    ASSERT_CODE(0, cursor_read(s.cursor, buf.data(), buf.size()));
    Bytes expected = h264_keyframe_payload();
    expected.resize(100, 0);
    EXPECT_EQ(expected, buf);
    EXPECT_CODE(-8, cursor_read(s.cursor, buf.data(), buf.size()));
    ASSERT_CODE(0, cursor_next(s.cursor, &b));
    EXPECT_EQ(a.time_ms + 1000, b.time_ms);
    EXPECT_EQ(a.file_offset + 24 + a.size, b.file_offset);
}

TEST(Cursor, ShortPayloadReadKeepsTheFramePending)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    // The file shrinks under the reader.
    std::filesystem::resize_file(c.path("seg_001.dat"), 30);
    std::vector<uint8_t> buf(f.size);
    EXPECT_CODE(-6, cursor_read(s.cursor, buf.data(), buf.size()));
    EXPECT_CODE(0, cursor_skip(s.cursor)) << "still pending after the short read";
}

TEST(Cursor, ZeroSizePayload)
{
    Card c;
    add_frames(c, 1, T0, T0 + 9, {video(MS0, CARD_FRAME_KEY, 0), video(MS0 + 500, CARD_FRAME_INTER, 3)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(0u, f.size);
    EXPECT_CODE(0, cursor_read(s.cursor, nullptr, 0));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(24u, f.file_offset);
}

TEST(Cursor, DiscontinuityThresholdIs3000Ms)
{
    Card c;
    add_frames(c, 1, T0, T0 + 19,
               {video(MS0, CARD_FRAME_KEY), video(MS0 + 3000), video(MS0 + 6001), video(MS0 + 6001),
                video(MS0 + 6000)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> frames = s.read_all();
    ASSERT_EQ(5u, frames.size());
    EXPECT_EQ(0, frames[0].discontinuity);
    EXPECT_EQ(0, frames[1].discontinuity) << "3000 ms later";
    EXPECT_EQ(1, frames[2].discontinuity) << "3001 ms later";
    EXPECT_EQ(0, frames[3].discontinuity);
    EXPECT_EQ(0, frames[4].discontinuity) << "earlier frames never jump";
}

TEST(Cursor, StaleFrameEndsTheSegmentFile)
{
    Card c;
    add_frames(c, 1, T0, T0 + 19,
               {video(MS0, CARD_FRAME_KEY), video(MS0 + 10000), video(MS0 + 5000) /* exactly 5000 back */,
                video(MS0 + 10001), video(MS0 + 5000) /* 5001 back: stale */, video(MS0 + 12000)});
    add_frames(c, 2, T0 + 20, T0 + 29, {video(MS0 + 20000, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> frames = s.read_all();
    ASSERT_EQ(5u, frames.size());
    EXPECT_EQ(MS0 + 5000, frames[2].time_ms);
    EXPECT_EQ(MS0 + 10001, frames[3].time_ms);
    EXPECT_EQ(MS0 + 20000, frames[4].time_ms);
    EXPECT_EQ(2, frames[4].segment);
}

TEST(Cursor, HighWaterTimeStartsAfreshInEachFile)
{
    Card c;
    add_frames(c, 1, T0, T0 + 9, {video(MS0 + 9000, CARD_FRAME_KEY)});
    // The next file starts 8 s earlier than the newest frame of the first.
    add_frames(c, 2, T0 + 9, T0 + 19, {video(MS0 + 1000, CARD_FRAME_KEY), video(MS0 + 2000)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0 + 8000, nullptr));
    EXPECT_EQ(3u, s.read_all().size());
}

TEST(Cursor, InvalidFramesEndTheReadableData)
{
    struct Case
    {
        const char *what;
        Frame bad;
    };
    Frame base = video(MS0 + 1000);
    std::vector<Case> cases;
    {
        Frame f = base;
        f.type = 3;
        cases.push_back({"type 3", f});
    }
    {
        Frame f = base;
        f.magic = 0x464D4532;
        cases.push_back({"magic", f});
    }
    {
        Frame f = base;
        f.bad_crc = true;
        cases.push_back({"checksum", f});
    }
    {
        Frame f = base;
        f.size_field = 0x400001;
        cases.push_back({"payload above 4 MiB", f});
    }
    {
        Frame f = base;
        f.size_field = 1000; // runs past the end of the file
        cases.push_back({"past the file end", f});
    }
    for (const Case &k : cases) {
        Card c;
        add_frames(c, 1, T0, T0 + 9, {video(MS0, CARD_FRAME_KEY), k.bad, video(MS0 + 2000)});
        add_frames(c, 2, T0 + 10, T0 + 19, {video(MS0 + 10000, CARD_FRAME_KEY)});
        c.write();
        Session s(c);
        ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
        std::vector<card_frame> frames = s.read_all();
        ASSERT_EQ(2u, frames.size()) << k.what;
        EXPECT_EQ(MS0 + 10000, frames[1].time_ms) << k.what;
        EXPECT_EQ(1, frames[1].discontinuity) << k.what;
    }
}

TEST(Cursor, FrameMustEndWithinTheSegmentSize)
{
    // Frames of 24 + 10 bytes: the second ends at 68.
    for (uint32_t segment_size : {68u, 67u}) {
        Card c;
        c.meta.segment_size = segment_size;
        add_frames(c, 1, T0, T0 + 9, {video(MS0, CARD_FRAME_KEY), video(MS0 + 1000)});
        c.write();
        Session s(c);
        ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
        EXPECT_EQ(segment_size == 68 ? 2u : 1u, s.read_all().size()) << segment_size;
    }
}

TEST(Cursor, EmptyAndTinyFiles)
{
    Card c;
    add_frames(c, 1, T0, T0 + 9, {});
    c.write_file("seg_002.dat", Bytes(23, 0));
    c.table.push_back({T0 + 10, T0 + 19, 2, 1, 0});
    add_frames(c, 3, T0 + 20, T0 + 29, {video(MS0 + 20000, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    int64_t landed = -1;
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, &landed));
    EXPECT_EQ(MS0, landed);
    std::vector<card_frame> frames = s.read_all();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0].segment);
}

TEST(Cursor, NextSegmentIsTheEarliestStartingAfterTheCurrentEnd)
{
    Card c;
    // Listed out of time order; segment 5 overlaps segment 4 and is skipped
    // when reading on from 4.
    c.add_segment(seg(6, T0 + 40, T0 + 49));
    c.add_segment(seg(4, T0, T0 + 9));
    c.add_segment(seg(5, T0 + 5, T0 + 14));
    c.add_segment(seg(7, T0 + 20, T0 + 29));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> frames = s.read_all();
    std::vector<int> order;
    for (const card_frame &f : frames)
        if (order.empty() || order.back() != f.segment)
            order.push_back(f.segment);
    EXPECT_EQ((std::vector<int>{4, 7, 6}), order);

    // Seeking into the overlap uses the last containing segment in time order.
    int64_t landed = -1;
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0 + 7000, &landed));
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(5, f.segment);
    EXPECT_EQ(MS0 + 7000, landed);
}

TEST(Cursor, EqualFirstSecondsPreferTheLowerTablePosition)
{
    Card c;
    add_frames(c, 1, T0, T0 + 9, {video(MS0, CARD_FRAME_KEY)});
    add_frames(c, 3, T0 + 10, T0 + 19, {video(MS0 + 10000, CARD_FRAME_KEY)});
    add_frames(c, 2, T0 + 10, T0 + 19, {video(MS0 + 10500, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> frames = s.read_all();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(3, frames[1].segment);
}

TEST(Cursor, SegmentsOfOneRepeatedSecondDoNotLoop)
{
    Card c;
    for (uint16_t n = 1; n <= 3; ++n)
        add_frames(c, n, T0, T0, {video(MS0 + n, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    // From before them: each of the three once, in table order.
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0 - 5000, nullptr));
    int rc = 0;
    std::vector<card_frame> frames = s.read_all(&rc, 100);
    EXPECT_CODE(1, rc);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(1, frames[0].segment);
    EXPECT_EQ(3, frames[2].segment);
    // From inside them: the last one containing the time, then the end.
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    frames = s.read_all(&rc, 100);
    EXPECT_CODE(1, rc);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0].segment);
}

TEST(Cursor, OneSecondSegmentMovesOnToALongerOneOfTheSameStart)
{
    Card c;
    // Table position 0 is ten seconds long, position 1 a single second; both
    // start at T0. Reading on from the short one must not lose the long one.
    add_frames(c, 1, T0, T0 + 9, {video(MS0 + 100, CARD_FRAME_KEY), video(MS0 + 1100)});
    add_frames(c, 2, T0, T0, {video(MS0, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    int rc = 0;
    std::vector<card_frame> frames = s.read_all(&rc, 100);
    EXPECT_CODE(1, rc);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(2, frames[0].segment);
    EXPECT_EQ(1, frames[1].segment);
    EXPECT_EQ(MS0 + 1100, frames[2].time_ms);
}

TEST(Cursor, FileGoneDuringTheMoveToTheNextSegment)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.add_segment(seg(2, T0 + 10, T0 + 19));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    c.remove_file("seg_002.dat");
    int rc = 0;
    EXPECT_EQ(10u, s.read_all(&rc).size());
    EXPECT_CODE(-6, rc);
    card_frame f{};
    EXPECT_CODE(1, cursor_next(s.cursor, &f)) << "no file after the failed move";
}

TEST(Cursor, KeyframeModeVisitsEveryNthEntry)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 4, 1)); // 5 keyframes, entries 0..4
    c.add_segment(seg(2, T0 + 5, T0 + 9, 1));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 2));
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> frames = s.read_all();
    std::vector<int64_t> times;
    for (const card_frame &f : frames)
        times.push_back((f.time_ms - MS0) / 1000);
    EXPECT_EQ((std::vector<int64_t>{0, 2, 4, 5, 7, 9}), times);
    for (const card_frame &f : frames)
        EXPECT_EQ(CARD_FRAME_KEY, f.type);
}

TEST(Cursor, KeyframeModeSkipsEntriesThatAreNotKeyframes)
{
    Card c;
    std::vector<Frame> frames = {video(MS0, CARD_FRAME_KEY), video(MS0 + 1000, CARD_FRAME_KEY),
                                 video(MS0 + 2000, CARD_FRAME_KEY)};
    add_frames(c, 1, T0, T0 + 9, frames);
    // Entry 1 points at an inter frame, entry 2 at garbage.
    std::vector<Frame> actual = frames;
    actual[1].type = CARD_FRAME_INTER;
    c.write_segment(1, actual);
    c.blocks[1][2].frame_offset = 5;
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 1));
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    EXPECT_EQ(1u, s.read_all().size());
}

TEST(Cursor, KeyframeModeDiscontinuityUsesTheEntrySpacing)
{
    Card c;
    // Keyframes every 2 s (median spacing 2000); a gap of 8 s before the last.
    std::vector<Frame> frames;
    for (int k : {0, 2, 4, 6, 8, 16})
        frames.push_back(video(MS0 + k * 1000, CARD_FRAME_KEY));
    frames.push_back(video(MS0 + 23001, CARD_FRAME_KEY));
    add_frames(c, 1, T0, T0 + 29, frames);
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 1));
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    std::vector<card_frame> got = s.read_all();
    ASSERT_EQ(7u, got.size());
    // Threshold 2000 * 1 + 3000 = 5000 ms.
    EXPECT_EQ(1, got[5].discontinuity) << "8000 ms later";
    EXPECT_EQ(1, got[6].discontinuity) << "7001 ms later";
    EXPECT_EQ(0, got[1].discontinuity);

    ASSERT_CODE(0, cursor_set_stride(s.cursor, 2));
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    got = s.read_all();
    ASSERT_EQ(4u, got.size()); // entries 0, 2, 4, 6
    // Threshold 2000 * 2 + 3000 = 7000 ms: 8 -> 23.001 is 15001 ms.
    EXPECT_EQ(0, got[2].discontinuity);
    EXPECT_EQ(1, got[3].discontinuity);
}

TEST(Cursor, StrideChangesMoveBetweenOffsetsAndEntries)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9)); // keyframes at 0, 2, 4, 6, 8 s
    c.add_segment(seg(2, T0 + 10, T0 + 19));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    ASSERT_CODE(0, cursor_skip(s.cursor));
    // Sequential at the frame of 1 s: keyframe mode starts at the entry of 2 s.
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 1));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 2000, f.time_ms);
    // A pending frame is discarded by a stride change; the entry stays.
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 3));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 2000, f.time_ms);
    ASSERT_CODE(0, cursor_skip(s.cursor)); // entry position 1 + 3 = 4
    // Back to sequential: reading resumes at the frame of entry 4 (8 s).
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 0));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 8000, f.time_ms);
    ASSERT_CODE(0, cursor_skip(s.cursor));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 9000, f.time_ms);
    ASSERT_CODE(0, cursor_skip(s.cursor));
    // Keyframe mode past the last entry, then sequential: the next segment.
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 1));
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 0));
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(MS0 + 10000, f.time_ms);
    EXPECT_EQ(2, f.segment);
}

TEST(Cursor, SeveralCursorsReadIndependently)
{
    Card c;
    c.add_segment(seg(1, T0, T0 + 9));
    c.write();
    card_reader *card = c.open();
    card_cursor *a = nullptr, *b = nullptr;
    ASSERT_CODE(0, cursor_open(card, &a));
    ASSERT_CODE(0, cursor_open(card, &b));
    ASSERT_CODE(0, cursor_seek(a, MS0, nullptr));
    ASSERT_CODE(0, cursor_seek(b, MS0 + 4000, nullptr));
    card_frame fa{}, fb{};
    ASSERT_CODE(0, cursor_next(a, &fa));
    ASSERT_CODE(0, cursor_next(b, &fb));
    EXPECT_EQ(MS0, fa.time_ms);
    EXPECT_EQ(MS0 + 4000, fb.time_ms);
    cursor_close(a);
    cursor_close(b);
    card_close(card);
}

TEST(Cursor, LargestStrideMovesOnAfterOneEntry)
{
    // The entry position and the gap threshold are computed in 64 bits.
    Card c;
    c.add_segment(seg(1, T0, T0 + 9, 1));
    c.add_segment(seg(2, T0 + 10, T0 + 19, 1));
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_set_stride(s.cursor, 0x7FFFFFFF));
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0 + 3000, nullptr));
    std::vector<card_frame> frames = s.read_all();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(MS0 + 3000, frames[0].time_ms);
    EXPECT_EQ(MS0 + 10000, frames[1].time_ms);
    EXPECT_EQ(0, frames[1].discontinuity) << "threshold 1000 * (2^31 - 1) + 3000 ms";
}

TEST(Cursor, PayloadOfExactly4MiBIsValid)
{
    Card c;
    add_frames(c, 1, T0, T0 + 9, {video(MS0, CARD_FRAME_KEY, CARD_MAX_PAYLOAD), video(MS0 + 1000)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    card_frame f{};
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(uint32_t(CARD_MAX_PAYLOAD), f.size);
    std::vector<uint8_t> buf(f.size);
    ASSERT_CODE(0, cursor_read(s.cursor, buf.data(), buf.size()));
    EXPECT_EQ(uint8_t(MS0 & 0xFF), buf.back());
    ASSERT_CODE(0, cursor_next(s.cursor, &f));
    EXPECT_EQ(24u + CARD_MAX_PAYLOAD, f.file_offset);
}

namespace {

TEST(Cursor, AFailedReadIsAnErrorNotTheEnd)
{
    // The frame headers lie inside the file, so a read that cannot get them
    // (an I/O error, or the file cut shorter since it was opened) must not
    // look like the end of the recordings.
    struct Case
    {
        const char *what;
        bool truncate; // else the reads fail from the next one on
    };
    for (const Case &k : {Case{"I/O error", false}, Case{"file shrank", true}}) {
        Card c;
        add_frames(c, 1, T0, T0 + 9,
                   {video(MS0, CARD_FRAME_KEY), video(MS0 + 1000), video(MS0 + 2000), video(MS0 + 3000)});
        c.write();
        Session s(c);
        ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr)) << k.what;
        card_frame f{};
        ASSERT_CODE(0, cursor_next(s.cursor, &f)) << k.what;
        ASSERT_CODE(0, cursor_skip(s.cursor));
        if (k.truncate)
            std::filesystem::resize_file(c.dir + "/seg_001.dat", 40);
        else
            nivra::storage::file_fail_reads_from(1);
        int rc = 0;
        s.read_all(&rc);
        nivra::storage::file_fail_reads_from(0);
        EXPECT_CODE(-6, rc) << k.what;
        // A seek that cannot read the segment's index block fails the same way.
        if (!k.truncate) {
            nivra::storage::file_fail_reads_from(1);
            EXPECT_CODE(-6, cursor_seek(s.cursor, MS0, nullptr)) << k.what;
            nivra::storage::file_fail_reads_from(0);
        }
    }
}

TEST(Cursor, AFrameFarPastItsSegmentIsSkippedAndCounted)
{
    // A valid checksum on a time a day ahead: damage. It is neither returned
    // nor taken as the newest frame (which would make the rest look stale).
    Card c;
    add_frames(c, 1, T0, T0 + 9,
               {video(MS0, CARD_FRAME_KEY), video(MS0 + 1000), video(MS0 + 86400000), video(MS0 + 2000),
                video(MS0 + 3000)});
    add_frames(c, 2, T0 + 10, T0 + 19, {video(MS0 + 10000, CARD_FRAME_KEY)});
    c.write();
    Session s(c);
    ASSERT_CODE(0, cursor_seek(s.cursor, MS0, nullptr));
    int rc = 0;
    std::vector<card_frame> frames = s.read_all(&rc);
    EXPECT_CODE(1, rc);
    std::vector<int64_t> times;
    for (const card_frame &f : frames)
        times.push_back(f.time_ms - MS0);
    EXPECT_EQ(times, (std::vector<int64_t>{0, 1000, 2000, 3000, 10000}));
    uint64_t damaged = 0;
    EXPECT_CODE(0, cursor_get_damaged(s.cursor, &damaged));
    EXPECT_EQ(damaged, 1u);
    EXPECT_CODE(-1, cursor_get_damaged(nullptr, &damaged));
}

} // namespace
