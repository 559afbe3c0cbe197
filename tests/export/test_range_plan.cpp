// The planning of an event batch export on the events simulator card
// (events_card.json): padding, clipping to the recorded time, overlapping
// events joined, the kinds and time filters, and events with nothing
// recorded left out with the reason.
#include "export/export_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdint.h>

#include <string>
#include <vector>

#include "simcard.h"

namespace {

// 2024-10-27 00:00:00 UTC, and 09:00:00 UTC, the start of the card's
// four-minute recording (keyframes every 2 s); 09:10 to 09:11 is lost.
constexpr int64_t kDay = 1729987200000;
constexpr int64_t kC = 1730019600000;

struct Expected
{
    int64_t fromMs, toMs;
    uint16_t kinds;
    int events;
    int missing;
};

struct Skip
{
    int64_t firstMs;
    int missing;
};

// What exportEventPieces is asked for besides the events.
struct Query
{
    uint16_t kinds;
    uint32_t pre, post;
    int64_t fromMs, toMs;
};

TEST(ExportEventPieces, PaddedClippedJoinedAndSkipped)
{
    card_reader *card = nullptr;
    ASSERT_EQ(card_open(EVENTS_CARD_DIR, &card), 0);
    int count = 0;
    ASSERT_EQ(card_events(card, 0, 0xFFFFFFFFu, nullptr, 0, &count), 0);
    std::vector<card_event> events(size_t(count) + 1);
    ASSERT_EQ(card_events(card, 0, 0xFFFFFFFFu, events.data(), count, &count), 0);
    ASSERT_EQ(count, 7);
    // A motion event at 09:06:00, where the card holds no recording at all.
    events[7] = card_event{uint32_t(kC / 1000 + 360), uint32_t(kC / 1000 + 370), CARD_KIND_MOTION, 0, 0, 0};
    std::sort(events.begin(), events.end(),
              [](const card_event &a, const card_event &b) { return a.first < b.first; });

    const struct
    {
        const char *what;
        Query q;
        std::vector<Expected> pieces;
        std::vector<Skip> skipped;
    } cases[] = {
        {"every kind, 5 s either side, from 09:00",
         {0x1F, 5, 5, kC, kC + 1200000},
         {{kC, kC + 11000, CARD_KIND_PIR, 1, 0},
          {kC + 24000, kC + 61000, CARD_KIND_MOTION | CARD_KIND_PERSON, 2, 0},
          {kC + 114000, kC + 135000, CARD_KIND_SOUND, 1, 0},
          {kC + 224000, kC + 239999, CARD_KIND_CRYING, 1, 0}},
         {{kC + 360000, 0}, {kC + 620000, 1}}},
        {"motion without padding, the whole day",
         {CARD_KIND_MOTION, 0, 0, kDay, kDay + 86399999},
         {{kDay + 20000, kDay + 30000, CARD_KIND_MOTION, 1, 0},
          {kC + 30000, kC + 40000, CARD_KIND_MOTION, 1, 0}},
         {{kC + 360000, 0}, {kC + 620000, 1}}},
        {"a long end padding reaching the lost files",
         {CARD_KIND_CRYING, 5, 400, kC, kC + 1200000},
         {{kC + 224000, kC + 239999, CARD_KIND_CRYING, 1, 1}},
         {}},
        {"the PIR event starts before the window",
         {CARD_KIND_PIR | CARD_KIND_PERSON, 5, 5, kC + 10000, kC + 50000},
         {{kC + 40000, kC + 61000, CARD_KIND_PERSON, 1, 0}},
         {}},
        {"no sound event after 09:05", {CARD_KIND_SOUND, 5, 5, kC + 300000, kC + 1200000}, {}, {}},
    };
    for (const auto &c : cases) {
        std::vector<ExportEventPiece> pieces(events.size());
        std::vector<ExportSkippedEvent> skipped(events.size());
        int pieceCount = -1, skippedCount = -1;
        const Query &q = c.q;
        const int rc =
            exportEventPieces(card, events.data(), int(events.size()), q.kinds, q.pre, q.post, q.fromMs,
                              q.toMs, pieces.data(), &pieceCount, skipped.data(), &skippedCount);
        EXPECT_EQ(rc, c.pieces.empty() ? EXPORT_NOTHING : EXPORT_OK) << c.what << ": " << exportErrorName(rc);
        ASSERT_EQ(pieceCount, int(c.pieces.size())) << c.what;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            const ExportEventPiece &p = pieces[i];
            const Expected &e = c.pieces[i];
            EXPECT_EQ(p.fromMs - kDay, e.fromMs - kDay) << c.what << " piece " << i;
            EXPECT_EQ(p.toMs - kDay, e.toMs - kDay) << c.what << " piece " << i;
            EXPECT_EQ(p.kinds, e.kinds) << c.what << " piece " << i;
            EXPECT_EQ(p.events, e.events) << c.what << " piece " << i;
            EXPECT_EQ(p.missing, e.missing) << c.what << " piece " << i;
            // Sized for the piece's own time, not the sum of its events'.
            ExportEstimate est{};
            ASSERT_EQ(estimateExport(card, p.fromMs, p.toMs, &est), 0);
            EXPECT_EQ(p.bytes, est.bytes) << c.what << " piece " << i;
            EXPECT_GT(p.bytes, 0u) << c.what << " piece " << i;
            exportRunsFree(&est.runs);
        }
        ASSERT_EQ(skippedCount, int(c.skipped.size())) << c.what;
        for (size_t i = 0; i < c.skipped.size(); ++i) {
            EXPECT_EQ(int64_t(skipped[i].first) * 1000, c.skipped[i].firstMs) << c.what << " skipped " << i;
            EXPECT_EQ(skipped[i].missing, c.skipped[i].missing) << c.what << " skipped " << i;
        }
    }
    card_close(card);
}

} // namespace

namespace {

// The padding before an event is kept whole, whatever the key-frame spacing:
// the file starts at the key frame at or before the padded start.
TEST(ExportEventPieces, ThePaddingBeforeAnEventIsKeptWhole)
{
    const int64_t recording = 1709632800000; // 2024-03-05 10:00:00 UTC
    for (const int gopSeconds : {2, 6, 10}) {
        const std::string scenario = R"({"video": {"codec": "h264", "width": 256, "height": 96, "fps": 5,
            "keyint": )" + std::to_string(gopSeconds * 5) +
                                     R"(, "bitrate": 40000},
            "audio": {"format": "none"},
            "spans": [{"start": "2024-03-05T10:00:00Z", "seconds": 80, "offsetMin": 0}],
            "segments": {"seconds": 40, "slots": 8},
            "events": [{"start": "2024-03-05T10:00:31Z", "seconds": 4, "kinds": 1}]})";
        nivra::test::TempDir dir("padding");
        std::string log;
        ASSERT_TRUE(nivra::test::generateScenarioCard(scenario, dir.path(), &log)) << log;
        card_reader *card = nullptr;
        ASSERT_EQ(card_open(dir.path().c_str(), &card), 0);
        card_event events[1];
        int count = 0;
        ASSERT_EQ(card_events(card, 0, 0xFFFFFFFFu, events, 1, &count), 0);
        ASSERT_EQ(count, 1);
        const int64_t event = int64_t(events[0].first) * 1000;
        for (const uint32_t pad : {0u, 5u, 10u}) {
            ExportEventPiece piece{};
            ExportSkippedEvent skipped{};
            int pieces = 0, left = 0;
            ASSERT_EQ(exportEventPieces(card, events, 1, 0x1F, pad, pad, 0, INT64_MAX, &piece, &pieces,
                                        &skipped, &left),
                      EXPORT_OK);
            const int64_t before = event - piece.fromMs;
            const int64_t gop = gopSeconds * 1000;
            EXPECT_GE(before, int64_t(pad) * 1000)
                << "key frame every " << gopSeconds << " s, padding " << pad;
            EXPECT_LT(before, int64_t(pad) * 1000 + gop)
                << "key frame every " << gopSeconds << " s, padding " << pad;
            EXPECT_EQ((piece.fromMs - recording) % gop, 0) << "a key frame";
        }
        card_close(card);
    }
}

} // namespace
