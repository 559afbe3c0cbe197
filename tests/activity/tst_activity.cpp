// The activity index: the change rules on grids made by hand, the index of
// the simulator's scene card against the ground truth it writes, the cache
// (reused, extended, rebuilt when damaged or of another version) and a
// damaged key frame as a hole.
#include "activity/analysis.h"
#include "storage/crc.h"
#include "tool_helpers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace {

namespace act = nivra::activity;
using exporttest::listDir;
using exporttest::makeTempDir;
using exporttest::readFile;
using exporttest::removeTree;
using exporttest::writeFile;

constexpr int64_t kT0 = 1717236000000; // 2024-06-01 10:00 UTC

// A still scene: a gradient with a little noise of its own per picture.
act::KeyPicture still(int i)
{
    act::KeyPicture p;
    p.time_ms = kT0 + int64_t(i) * 2000;
    for (int c = 0; c < act::kCells; ++c)
        p.grid[c] = uint8_t(60 + (c % act::kGridW) * 3 + (c / act::kGridW) * 2 + ((c * 7 + i * 13) % 3) - 1);
    return p;
}

void paint(act::KeyPicture *p, int x0, int y0, int x1, int y1, int delta)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint8_t &v = p->grid[y * act::kGridW + x];
            v = uint8_t(std::clamp(int(v) + delta, 16, 235));
        }
}

act::Region cellsRegion(int x0, int y0, int x1, int y1)
{
    return {double(x0) / act::kGridW, double(y0) / act::kGridH, double(x1 - x0) / act::kGridW,
            double(y1 - y0) / act::kGridH};
}

// 12 minutes of pictures 2 s apart: an object of 6 x 5 cells crossing cells
// 16..31 x 11..15 from picture 20 to 25, a lamp turned off at 60 and on at 70, a hole at 90, and
// the camera's clock: a seconds cell changing at every picture and a minutes
// cell once every 30 pictures.
TEST(ActivityAnalysis, ObjectsLightingAndTheCamerasClock)
{
    std::vector<act::KeyPicture> pictures;
    for (int i = 0; i < 360; ++i) {
        act::KeyPicture p = still(i);
        p.grid[2 * act::kGridW + 26] = uint8_t(i % 2 ? 200 : 40);
        p.grid[2 * act::kGridW + 20] = uint8_t((i / 30) % 2 ? 200 : 40);
        if (i >= 20 && i <= 25)
            paint(&p, 16 + 2 * (i - 20), 11, 22 + 2 * (i - 20), 16, 90);
        if (i >= 60 && i < 70)
            paint(&p, 0, 4, act::kGridW, act::kGridH, -50);
        p.hole = i == 90;
        pictures.push_back(p);
    }
    const act::Analysis a = act::analyse(pictures);
    EXPECT_TRUE(a.mask[2 * act::kGridW + 26]) << "the seconds digit is the camera's own";
    EXPECT_TRUE(a.mask[2 * act::kGridW + 20]) << "so is the minutes digit, changing every minute";
    EXPECT_FALSE(a.mask[13 * act::kGridW + 24]) << "the object's cells are not";
    EXPECT_EQ(std::count_if(a.steps.begin(), a.steps.end(),
                            [](const act::Step &s) {
                                return s.to_ms == kT0 + 90 * 2000 || s.from_ms == kT0 + 90 * 2000;
                            }),
              0)
        << "no step reaches across a hole";

    struct Case
    {
        const char *name;
        act::Region region;
        std::vector<std::pair<int, int>> expected; // (kind, first picture)
    } cases[] = {
        {"the whole picture",
         {},
         {{act::CHANGE_AREA, 20}, {act::CHANGE_LIGHTING, 60}, {act::CHANGE_LIGHTING, 70}}},
        {"around the object",
         cellsRegion(18, 10, 28, 17),
         {{act::CHANGE_AREA, 20}, {act::CHANGE_LIGHTING, 60}, {act::CHANGE_LIGHTING, 70}}},
        {"away from it",
         cellsRegion(0, 10, 12, 17),
         {{act::CHANGE_LIGHTING, 60}, {act::CHANGE_LIGHTING, 70}}},
        {"over the clock",
         cellsRegion(16, 0, 32, 4),
         {{act::CHANGE_LIGHTING, 60}, {act::CHANGE_LIGHTING, 70}}},
    };
    for (const Case &c : cases) {
        const std::vector<act::Change> found = act::find_changes(a, c.region, 0.02, kT0, kT0 + 720000);
        ASSERT_EQ(found.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].kind, c.expected[i].first) << c.name << " " << i;
            EXPECT_EQ(found[i].start_ms, kT0 + c.expected[i].second * 2000) << c.name << " " << i;
        }
        if (!found.empty() && found[0].kind == act::CHANGE_AREA) {
            // It moves for 5 pictures and is gone at the 26th: one merged row.
            EXPECT_EQ(found[0].end_ms, kT0 + 26 * 2000) << c.name;
            EXPECT_GT(found[0].area, 0.0) << c.name;
        }
    }
    // Bad regions are refused, not clamped.
    for (const act::Region &r :
         {act::Region{0.5, 0.5, 0.6, 0.1}, act::Region{0.1, 0.1, 0.0, 0.2}, act::Region{-0.1, 0.0, 0.5, 0.5}})
        EXPECT_FALSE(act::region_valid(r));
}

struct Truth
{
    nlohmann::json json;
    act::Region rect(const nlohmann::json &o) const
    {
        return {o.value("x", 0.0), o.value("y", 0.0), o.value("w", 0.0), o.value("h", 0.0)};
    }
};

Truth readTruth(const std::string &card)
{
    std::ifstream in(card + "/ground_truth.json");
    Truth t;
    in >> t.json;
    return t;
}

act::Index buildOrFail(const std::string &card, const std::string &cache, int64_t from, int64_t to,
                       act::BuildStats *stats = nullptr)
{
    card_reader *reader = nullptr;
    EXPECT_EQ(card_open(card.c_str(), &reader), CARD_OK) << card;
    act::Index index;
    const int rc = act::build_index(reader, cache, from, to, &index, stats);
    EXPECT_EQ(rc, act::ACT_OK) << act::error_name(rc);
    card_close(reader);
    return index;
}

// The scene card's index against what the simulator says it drew, for H.264
// and H.265.
TEST(ActivityIndex, SceneCardAgainstTheGroundTruth)
{
    for (const char *card : {ACTIVITY_CARD, ACTIVITY265_CARD}) {
        SCOPED_TRACE(card);
        const Truth truth = readTruth(card);
        const std::string cache = makeTempDir();
        const act::Index index = buildOrFail(card, cache, 0, INT64_MAX / 2);
        removeTree(cache);
        ASSERT_FALSE(index.pictures.empty());
        const act::Analysis a = act::analyse(index.pictures);
        const int64_t first = index.pictures.front().time_ms, last = index.pictures.back().time_ms;

        std::vector<act::Region> objects;
        for (const auto &c : truth.json["changes"]) {
            const std::string kind = c["kind"];
            if (kind == "object") {
                // The area the object covers over its life, with a margin.
                act::Region r = truth.rect(c);
                const double x1 = std::max(r.x, c.value("toX", r.x)) + r.w,
                             y1 = std::max(r.y, c.value("toY", r.y)) + r.h;
                r.x = std::max(0.0, std::min(r.x, c.value("toX", r.x)) - 0.03);
                r.y = std::max(0.0, std::min(r.y, c.value("toY", r.y)) - 0.03);
                r.w = std::min(1.0, x1 + 0.03) - r.x;
                r.h = std::min(1.0, y1 + 0.03) - r.y;
                objects.push_back(r);
                const std::vector<act::Change> found = act::find_changes(a, r, 0.02, first, last);
                const auto hit = std::find_if(found.begin(), found.end(), [](const act::Change &f) {
                    return f.kind == act::CHANGE_AREA;
                });
                ASSERT_NE(hit, found.end()) << "object at " << c["startMs"];
                EXPECT_LE(std::llabs(hit->start_ms - int64_t(c["startMs"])), 2000)
                    << "object at " << c["startMs"];
            } else if (kind == "lighting") {
                const std::vector<act::Change> found = act::find_changes(a, {}, 0.02, first, last);
                const int64_t at = c["atMs"];
                EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                                        [&](const act::Change &f) {
                                            return f.kind == act::CHANGE_LIGHTING &&
                                                   std::llabs(f.start_ms - at) <= 2000;
                                        }))
                    << "lighting at " << at;
                EXPECT_FALSE(std::any_of(found.begin(), found.end(),
                                         [&](const act::Change &f) {
                                             return f.kind == act::CHANGE_AREA && f.start_ms <= at + 2000 &&
                                                    f.end_ms >= at;
                                         }))
                    << "lighting reported as a change at " << at;
            } else if (kind == "sound") {
                const auto loudest = std::max_element(
                    index.seconds.begin(), index.seconds.end(),
                    [](const act::SoundSecond &x, const act::SoundSecond &y) { return x.dbfs < y.dbfs; });
                ASSERT_NE(loudest, index.seconds.end());
                EXPECT_GE(loudest->ms + 999, int64_t(c["startMs"]));
                EXPECT_LT(loudest->ms, int64_t(c["endMs"]));
            }
        }
        ASSERT_FALSE(objects.empty());
        // Below the clock and away from every object nothing but the lamp.
        const act::Region clock = truth.rect(truth.json["clock"]);
        const act::Region belowClock{0.0, clock.y, 1.0, 1.0 - clock.y};
        for (const act::Change &f : act::find_changes(a, belowClock, 0.02, first, last)) {
            if (f.kind != act::CHANGE_AREA)
                continue;
            const bool objectTime = std::any_of(
                truth.json["changes"].begin(), truth.json["changes"].end(), [&](const nlohmann::json &c) {
                    return c["kind"] == "object" && f.start_ms <= int64_t(c["endMs"]) + 2000 &&
                           f.end_ms >= int64_t(c["startMs"]) - 2000;
                });
            EXPECT_TRUE(objectTime) << "a change from nothing at " << f.start_ms;
        }
    }
}

std::vector<std::string> indexFiles(const std::string &cache)
{
    std::vector<std::string> files;
    for (const std::string &card : listDir(cache))
        for (const std::string &file : listDir(cache + "/" + card))
            files.push_back(cache + "/" + card + "/" + file);
    std::sort(files.begin(), files.end());
    return files;
}

// Two recordings of a minute in 30-s segments, 15 key frames each.
TEST(ActivityIndex, TheCacheIsReusedExtendedAndNeverTrustedWhenDamaged)
{
    const std::string cache = makeTempDir();
    const int64_t start = 1709632800000; // 10:00 UTC
    act::BuildStats stats;
    const act::Index firstRecording = buildOrFail(SMALL_CARD, cache, start, start + 40000, &stats);
    EXPECT_EQ(stats.decoded, 30);
    EXPECT_EQ(stats.reused, 0);
    EXPECT_EQ(stats.holes, 0);
    EXPECT_EQ(indexFiles(cache).size(), 2u);

    const act::Index whole = buildOrFail(SMALL_CARD, cache, start, start + 200000, &stats);
    EXPECT_EQ(stats.decoded, 30) << "only the second recording is new";
    EXPECT_EQ(stats.reused, 30);
    ASSERT_EQ(whole.pictures.size(), 60u);
    EXPECT_GE(whole.seconds.size(), 118u);
    EXPECT_EQ(std::memcmp(whole.pictures[3].grid, firstRecording.pictures[3].grid, act::kCells), 0);

    std::vector<std::string> files = indexFiles(cache);
    ASSERT_EQ(files.size(), 4u);
    std::vector<uint8_t> bytes = readFile(files[0]);
    // Another version with a checksum that fits it, then a truncated file.
    std::vector<uint8_t> otherVersion = bytes;
    otherVersion[8] = 2;
    const uint32_t crc = nivra::storage::crc32(otherVersion.data(), otherVersion.size() - 4);
    for (int i = 0; i < 4; ++i)
        otherVersion[otherVersion.size() - 4 + size_t(i)] = uint8_t(crc >> (8 * i));
    ASSERT_TRUE(writeFile(files[0], otherVersion));
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(writeFile(files[1], bytes));

    const act::Index again = buildOrFail(SMALL_CARD, cache, start, start + 200000, &stats);
    EXPECT_EQ(stats.decoded, 30) << "the two damaged files are rebuilt";
    EXPECT_EQ(stats.reused, 30);
    ASSERT_EQ(again.pictures.size(), whole.pictures.size());
    for (size_t i = 0; i < again.pictures.size(); ++i)
        EXPECT_EQ(std::memcmp(again.pictures[i].grid, whole.pictures[i].grid, act::kCells), 0) << i;
    buildOrFail(SMALL_CARD, cache, start, start + 200000, &stats);
    EXPECT_EQ(stats.decoded, 0) << "reopening costs nothing";
    removeTree(cache);
}

TEST(ActivityIndex, ADamagedKeyFrameIsAHole)
{
    const std::string cache = makeTempDir();
    act::BuildStats stats;
    const act::Index index = buildOrFail(DAMAGED_CARD, cache, 0, INT64_MAX / 2, &stats);
    removeTree(cache);
    ASSERT_EQ(index.pictures.size(), 60u);
    EXPECT_EQ(stats.holes, 1);
    EXPECT_EQ(index.pictures[2].hole, 1) << "the garbled third key frame";
    EXPECT_EQ(std::count_if(index.pictures.begin(), index.pictures.end(),
                            [](const act::KeyPicture &p) { return p.hole; }),
              1);
}

} // namespace

namespace {

exporttest::CommandResult card(const std::string &cache, const std::string &arguments)
{
    return exporttest::run("XDG_CACHE_HOME=" + cache + " " NIVRA_CARD_PATH " " + arguments);
}

TEST(ActivityCommands, ActivityAndLoudnessAndTheirRefusals)
{
    const std::string cache = makeTempDir();
    const std::string small = std::string(SMALL_CARD);
    const std::string range = " --from 1709632800000 --to 1709632979999";
    exporttest::CommandResult r =
        card(cache, "activity " + small + range + " --region 0.5,0.5,0.5,0.5 --json");
    ASSERT_EQ(r.status, 0) << r.errors;
    nlohmann::json j = nlohmann::json::parse(r.output);
    EXPECT_EQ(j["code"], 0);
    EXPECT_EQ(j["keyframes"], 60);
    EXPECT_EQ(j["holes"], 0);
    ASSERT_TRUE(j["changes"].is_array());
    for (const auto &c : j["changes"]) {
        EXPECT_LE(int64_t(c["startMs"]), int64_t(c["endMs"]));
        EXPECT_TRUE(c["kind"] == "change" || c["kind"] == "lighting");
    }
    EXPECT_FALSE(indexFiles(cache + "/nivra-player/activity").empty())
        << "the index goes to the cache folder";

    r = card(cache, "loudness " + small + " --from 1709632800000 --to 1709632809999 --json");
    ASSERT_EQ(r.status, 0) << r.errors;
    j = nlohmann::json::parse(r.output);
    ASSERT_EQ(j["seconds"].size(), 10u);
    for (const auto &s : j["seconds"])
        EXPECT_LT(double(s["dbfs"]), 0.0);

    struct Refusal
    {
        const char *arguments;
        const char *says;
    } refusals[] = {
        {" --region 0.5,0.5,0.6,0.1", "--region"},
        {" --region 0.1,0.1,0,0.5", "--region"},
        {" --threshold 2", "--threshold"},
    };
    for (const Refusal &f : refusals) {
        r = card(cache, "activity " + small + range + f.arguments);
        EXPECT_EQ(r.status, 2) << f.arguments;
        EXPECT_NE(r.errors.find(f.says), std::string::npos) << f.arguments << ": " << r.errors;
    }
    r = card(cache, "activity " + small + " --from 1709632979999 --to 1709632800000");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.errors.find("after"), std::string::npos) << r.errors;
    r = card(cache, "loudness " + small + " --from 1893456000000 --to 1893456060000 --json");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("no recordings"), std::string::npos) << r.output;
    removeTree(cache);
}

} // namespace
