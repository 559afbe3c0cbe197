// nivra-card's typed times (camera clock, computer clock, clock changes) and
// events-export, run as the built program on simulator cards; the files it
// writes are measured by ffprobe.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "tool_helpers.h"

using namespace exporttest;
using Json = nlohmann::json;

extern char **environ;

namespace {

// The small card: 2024-03-05 10:00:00 UTC, camera at +01:00.
constexpr int64_t kSmallStart = 1709632800000;
// The events card (events_card.json): 2024-10-27, the camera's clock set back
// from +02:00 to +01:00 between 00:00 and 01:00 UTC; its last recording's
// files are gone.
constexpr int64_t kC = 1730019600000; // 09:00:00 UTC, 10:00 camera time

struct Output
{
    int status = -1;
    Json json;
    std::string out;
    std::string errors;
};

// Runs nivra-card (with an optional environment prefix); parses stdout as
// JSON when the arguments ask for it.
Output card(const std::string &arguments, const std::string &env = "")
{
    CommandResult r = run(env + " '" + NIVRA_CARD_PATH + "' " + arguments);
    Output o{r.status, Json(), r.output, r.errors};
    if (arguments.find("--json") != std::string::npos) {
        o.json = Json::parse(r.output, nullptr, false);
        EXPECT_FALSE(o.json.is_discarded()) << arguments << "\n" << r.output << r.errors;
    }
    return o;
}

double duration(const std::string &file)
{
    CommandResult p = run("ffprobe -v error -show_entries format=duration -of default=nw=1 '" + file + "'");
    return atof(field(p.output, "duration").c_str());
}

std::string base(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

// ---- Typed times ---------------------------------------------------------------------

TEST(NivraCardTimes, TypedTimesPlanTheSameRangeAsMilliseconds)
{
    const std::string small = std::string("plan ") + SMALL_CARD_DIR + " --json";
    const Output ms = card(small + " --from " + std::to_string(kSmallStart + 5000) + " --to " +
                           std::to_string(kSmallStart + 20000));
    ASSERT_EQ(ms.json["code"], 0);
    struct Case
    {
        const char *range;
        const char *env;
    };
    const Case cases[] = {
        {"--from 2024-03-05T11:00:05 --to '2024-03-05 11:00:20'", ""},
        {"--from 11:00:05 --to 11:00:20.000 --day 2024-03-05", ""},
        {"--from 2024-03-05T10:00:05Z --to 2024-03-05T10:00:20Z", ""},
        {"--from 2024-03-05T10:00:05Z --to 2024-03-05T10:00:20Z --computer-time", "TZ=Asia/Kolkata"},
        {"--from 15:30:05 --to '2024-03-05 15:30:20' --day 2024-03-05 --computer-time", "TZ=Asia/Kolkata"},
    };
    for (const Case &c : cases) {
        const Output typed = card(small + " " + c.range, c.env);
        EXPECT_EQ(typed.json["runs"], ms.json["runs"]) << c.range;
    }
    // Bare clock times read on the --day; a time without its day, an
    // impossible date and stray text are refused.
    const Output nine = card(std::string("plan ") + SMALL_CARD_DIR +
                             " --from 11:02:00 --to 11:02:30 --day 2024-03-05 --json");
    EXPECT_EQ(nine.json["runs"][0]["startMs"], kSmallStart + 120000);
    const struct
    {
        const char *range;
        const char *message;
    } bad[] = {
        {"--from 11:00:05 --to 11:00:20", "a time without a date needs --day"},
        {"--from 2024-02-30T10:00 --to 2024-03-05T11:00", "not milliseconds or a date and time"},
        {"--from 2024-03-05T25:00 --to 2024-03-05T11:00", "not a time"},
        {"--from 2024-03-05T10:00x --to 2024-03-05T11:00", "unexpected text"},
        {"--from 10:00 --to 11:00 --day 2024-3-5", "--day: not a date"},
        {"--from 1969-12-31T23:59:59 --to 2024-03-05T11:00", "before 1970"},
    };
    for (const auto &b : bad) {
        const Output o = card(std::string("plan ") + SMALL_CARD_DIR + " " + b.range);
        EXPECT_EQ(o.status, 2) << b.range;
        EXPECT_NE(o.errors.find(b.message), std::string::npos) << b.range << ": " << o.errors;
    }
}

TEST(NivraCardTimes, ClockChangesNameBothReadings)
{
    const struct
    {
        std::string card;
        const char *time;
        const char *env;
        const char *what;
        int64_t first, second; // the two UTC readings, earlier first
    } cases[] = {
        // The camera set its clock back: 02:00:30 was recorded twice.
        {EVENTS_CARD_DIR, "2024-10-27T02:00:30", "", "occurs twice in the camera's time", 1729987230000,
         1729990830000},
        // The camera moved its clock on: 02:30 never showed.
        {CLOCKCHANGE_CARD_DIR, "2024-03-31T02:30:00", "", "does not exist in the camera's time",
         1711845000000, 1711848600000},
        {SMALL_CARD_DIR, "2024-10-27T02:30:00 --computer-time", "TZ=Europe/Berlin",
         "occurs twice in this computer's time", 1729989000000, 1729992600000},
        {SMALL_CARD_DIR, "2024-03-31T02:30:00 --computer-time", "TZ=Europe/Berlin",
         "does not exist in this computer's time", 1711845000000, 1711848600000},
    };
    for (const auto &c : cases) {
        const Output o = card("plan " + c.card + " --to 1 --from " + c.time, c.env);
        EXPECT_EQ(o.status, 2) << c.time;
        EXPECT_EQ(o.out, "") << c.time;
        EXPECT_NE(o.errors.find(c.what), std::string::npos) << o.errors;
        const size_t first = o.errors.find("--from " + std::to_string(c.first));
        const size_t second = o.errors.find("--from " + std::to_string(c.second));
        EXPECT_NE(first, std::string::npos) << o.errors;
        EXPECT_NE(second, std::string::npos) << o.errors;
        EXPECT_LT(first, second) << o.errors;
    }
    // Either side of the change reads once, each in its own offset.
    const Output after = card(std::string("plan ") + EVENTS_CARD_DIR +
                              " --from 2024-10-27T10:00:10 --to 2024-10-27T10:00:20 --json");
    EXPECT_EQ(after.json["runs"][0]["startMs"], kC + 10000);
    const Output before = card(std::string("plan ") + CLOCKCHANGE_CARD_DIR +
                               " --from 2024-03-31T01:59:30 --to 2024-03-31T03:00:10 --json");
    EXPECT_EQ(before.json["runs"][0]["startMs"], 1711846770000);
    EXPECT_EQ(before.json["runs"][0]["endMs"], 1711846810000);
}

TEST(NivraCardTimes, TextShowsCameraTimeAndJsonStaysAsItWas)
{
    const std::string dir = EVENTS_CARD_DIR;
    const struct
    {
        std::string command;
        const char *line;
    } cases[] = {
        {"info " + dir, "camera time      2024-10-27 02:00:00 +02:00 to 2024-10-27 10:10:59 +01:00\n"},
        {"ranges " + dir,
         "2024-10-27 01:00:00 - 2024-10-27 01:00:59 UTC  2024-10-27 02:00:00 - 2024-10-27 02:00:59 +01:00  "
         "playable\n"},
        {"ranges " + dir, "10:10:59 +01:00  missing\n"},
        {"events " + dir, "2024-10-27 00:00:20 UTC  2024-10-27 02:00:20 +02:00     10 s  motion "},
    };
    for (const auto &c : cases) {
        const Output o = card(c.command);
        EXPECT_EQ(o.status, 0);
        EXPECT_NE(o.out.find(c.line), std::string::npos) << c.command << "\n" << o.out;
    }
    const Output ranges = card("ranges " + dir + " --json");
    EXPECT_EQ(ranges.out, "{\"code\":0,\"ranges\":["
                          "{\"first\":1729987200,\"last\":1729987259,\"offset\":120,\"missing\":false},"
                          "{\"first\":1729990800,\"last\":1729990859,\"offset\":60,\"missing\":false},"
                          "{\"first\":1730019600,\"last\":1730019839,\"offset\":60,\"missing\":false},"
                          "{\"first\":1730020200,\"last\":1730020259,\"offset\":60,\"missing\":true}]}\n");
}

// ---- events-export ----------------------------------------------------------------

class NivraCardEventsExport : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

TEST_F(NivraCardEventsExport, OneFilePerEventPaddedClippedAndMerged)
{
    struct Piece
    {
        int64_t start, end;
        int kinds, events;
    };
    const struct
    {
        const char *options;
        std::vector<Piece> pieces;
        size_t skipped;
    } cases[] = {
        // The two motion events and the person one; motion and person overlap
        // once padded; the motion on the lost files is skipped. Starts land on
        // the keyframe (every 2 s) at or before the padded start, so that the
        // padding is kept whole.
        {"--kinds motion,person --pre 5 --post 5",
         {{1729987214000, 1729987235000, 1, 1}, {kC + 24000, kC + 61000, 17, 2}},
         1},
        // Every kind: PIR's padding reaches before the recording, crying's
        // past its end; both are clipped to it.
        {"--pre 5 --post 5",
         {{1729987214000, 1729987235000, 1, 1},
          {kC, kC + 11000, 8, 1},
          {kC + 24000, kC + 61000, 17, 2},
          {kC + 114000, kC + 135000, 2, 1},
          {kC + 224000, kC + 239999, 4, 1}},
         1},
        // Unpadded, motion and person stay apart; --mp4 names .mp4 files.
        {"--kinds MOTION,person --mp4",
         {{1729987220000, 1729987230000, 1, 1},
          {kC + 30000, kC + 40000, 1, 1},
          {kC + 46000, kC + 56000, 16, 1}},
         1},
        {"--kinds sound,crying --from 10:02:00 --to 10:05",
         {{kC + 120000, kC + 130000, 2, 1}, {kC + 230000, kC + 236000, 4, 1}},
         0},
    };
    int n = 0;
    for (const auto &c : cases) {
        const std::string folder = m_out + "/" + std::to_string(n++);
        const Output o = card(std::string("events-export ") + EVENTS_CARD_DIR + " --day 2024-10-27 " +
                              c.options + " --out " + folder + " --json");
        EXPECT_EQ(o.status, 0) << c.options << o.errors;
        EXPECT_EQ(o.json["code"], 0);
        ASSERT_EQ(o.json["exports"].size(), c.pieces.size()) << c.options << "\n" << o.out;
        EXPECT_EQ(o.json["skipped"].size(), c.skipped) << c.options;
        if (c.skipped) {
            EXPECT_EQ(
                o.json["skipped"][0],
                (Json{{"first", 1730020220}, {"last", 1730020230}, {"kinds", 1}, {"reason", "missing"}}));
        }
        EXPECT_EQ(listDir(folder).size(), c.pieces.size()) << c.options;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            const Json &e = o.json["exports"][i];
            const Piece &p = c.pieces[i];
            EXPECT_EQ(e["startMs"], p.start) << c.options << " #" << i;
            EXPECT_EQ(e["endMs"], p.end) << c.options << " #" << i;
            EXPECT_EQ(e["kinds"], p.kinds) << c.options << " #" << i;
            EXPECT_EQ(e["events"], p.events) << c.options << " #" << i;
            ASSERT_EQ(e["files"].size(), 1u);
            const std::string file = e["files"][0];
            EXPECT_EQ(o.json["files"][i], file);
            const bool mp4 = std::string(c.options).find("--mp4") != std::string::npos;
            EXPECT_EQ(file.substr(file.size() - 4), mp4 ? ".mp4" : ".mov");
            // Through the last picture (5 per second).
            EXPECT_NEAR(duration(file), double(p.end - p.start) / 1000.0 + 0.2, 0.25) << base(file);
        }
    }
}

TEST_F(NivraCardEventsExport, NothingToWriteAndBadOptions)
{
    const std::string dir = EVENTS_CARD_DIR;
    // Only the motion on the lost files: skipped, nothing written, no folder.
    Output o = card("events-export " + dir + " --day 2024-10-27 --from 10:10 --to 10:11 --out " + m_out +
                    "/none --json");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.json["code"], 1);
    EXPECT_TRUE(o.json["files"].empty());
    EXPECT_EQ(o.json["skipped"].size(), 1u);
    EXPECT_FALSE(exists(m_out + "/none"));
    o = card("events-export " + dir + " --day 2024-10-27 --from 10:10 --to 10:11 --out " + m_out + "/none");
    EXPECT_EQ(o.out, "skipped 2024-10-27 10:10:20 +01:00  motion: its recordings are missing\n");
    // A day without events.
    o = card("events-export " + dir + " --day 2024-10-25 --out " + m_out + "/none --json");
    EXPECT_EQ(o.json["code"], 1);
    EXPECT_TRUE(o.json["exports"].empty());

    const struct
    {
        const char *options;
        const char *message;
    } bad[] = {
        {"--day 2024-10-27 --kinds motion,ghost", "--kinds"},
        {"--day 2024-10-27 --kinds ''", "--kinds"},
        {"--day 2024-10-27 --pre -5", "--pre"},
        {"--kinds motion", "--day DATE"},
        {"--day 27.10.2024", "--day: not a date"},
        {"--day 2024-10-27 --from 02:00:30", "occurs twice"},
    };
    for (const auto &b : bad) {
        o = card("events-export " + dir + " " + b.options + " --out " + m_out + "/bad");
        EXPECT_EQ(o.status, 2) << b.options;
        EXPECT_NE(o.errors.find(b.message), std::string::npos) << b.options << ": " << o.errors;
        EXPECT_FALSE(exists(m_out + "/bad"));
    }
}

TEST_F(NivraCardEventsExport, ALostRunIsNamedAndTheExitSaysSo)
{
    // Most of the segment 10:00:30-10:01:00 cut away: the events export and
    // the range export each name the run they could not write whole, and
    // exit with the status of an incomplete export.
    const std::string cut = m_out + "/card";
    ASSERT_EQ(run(std::string("cp -a '") + EVENTS_CARD_DIR + "' '" + cut + "'").status, 0);
    ASSERT_EQ(truncate((cut + "/seg_005.dat").c_str(), 33050), 0);
    const struct
    {
        std::string command;
        int64_t start, end;
    } cases[] = {
        {"events-export " + cut + " --day 2024-10-27 --pre 5 --post 5", kC + 24000, kC + 61000},
        {"export " + cut + " --from " + std::to_string(kC) + " --to " + std::to_string(kC + 239999), kC,
         kC + 239999},
    };
    int n = 0;
    for (const auto &c : cases) {
        const std::string folder = " --out " + m_out + "/" + std::to_string(n++);
        const Output o = card(c.command + folder + " --json");
        EXPECT_EQ(o.status, 3) << c.command << o.errors;
        EXPECT_EQ(o.json["code"], 0);
        EXPECT_EQ(o.json["complete"], false);
        ASSERT_EQ(o.json["lost"].size(), 1u) << o.out;
        EXPECT_EQ(o.json["lost"][0]["startMs"], c.start);
        EXPECT_EQ(o.json["lost"][0]["endMs"], c.end);
        EXPECT_LT(o.json["lost"][0]["writtenMs"].get<int64_t>(), c.end - c.start - 20000);
        const Output text = card(c.command + folder + "t");
        EXPECT_EQ(text.status, 3);
        EXPECT_NE(text.errors.find("not written whole: 2024-10-27 10:00:"), std::string::npos) << text.errors;
    }
}

TEST_F(NivraCardEventsExport, NeitherExportWritesIntoTheCard)
{
    // A copy of the card, with a link from outside into it: an --out inside
    // the card, directly or through the link, is refused before anything is
    // made there.
    const std::string copy = m_out + "/card";
    ASSERT_EQ(run(std::string("cp -a '") + EVENTS_CARD_DIR + "' '" + copy + "' && ln -s '" + copy + "' '" +
                  m_out + "/link'")
                  .status,
              0);
    const size_t before = listDir(copy).size();
    for (const std::string &out : {copy + "/clips", m_out + "/link/clips", copy}) {
        for (const std::string &command : {"events-export " + copy + " --day 2024-10-27",
                                           "export " + copy + " --from 10:00 --to 10:01 --day 2024-10-27"}) {
            const Output o = card(command + " --out " + out);
            EXPECT_EQ(o.status, 2) << command << " --out " << out;
            EXPECT_NE(o.errors.find("is inside the card's folder"), std::string::npos) << o.errors;
        }
    }
    EXPECT_EQ(listDir(copy).size(), before);
}

TEST_F(NivraCardEventsExport, ProgressCountsTheWholeBatch)
{
    // script(1) gives the program a terminal; 100% comes once, at the end.
    const std::string args =
        std::string("events-export ") + EVENTS_CARD_DIR + " --day 2024-10-27 --out " + m_out;
    CommandResult tty = run("script -qec \"'" + std::string(NIVRA_CARD_PATH) + "' " + args + "\" /dev/null");
    EXPECT_EQ(tty.status, 0) << tty.output;
    const size_t done = tty.output.find("exporting 100%");
    EXPECT_NE(done, std::string::npos) << tty.output;
    EXPECT_EQ(tty.output.find("exporting 100%", done + 1), std::string::npos) << tty.output;
    EXPECT_EQ(listDir(m_out).size(), 6u); // unpadded, motion and person stay apart
}

TEST_F(NivraCardEventsExport, CtrlCCancelsTheBatchAndLeavesNoPartFile)
{
    // The big card's two events padded by ten hours: one long file.
    const std::string stdoutPath = m_out + "/stdout.json";
    const std::string folder = m_out + "/files";
    std::vector<std::string> args = {NIVRA_CARD_PATH, "events-export", BIG_CARD_DIR, "--day",
                                     "2024-01-01",    "--pre",         "36000",      "--post",
                                     "36000",         "--out",         folder,       "--json"};
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    // Interrupt once the file is being written.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool writing = false;
    while (!writing && std::chrono::steady_clock::now() < deadline) {
        for (const std::string &n : exists(folder) ? listDir(folder) : std::vector<std::string>())
            writing = writing || (n.size() > 5 && n.compare(n.size() - 5, 5, ".part") == 0);
        if (!writing)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ASSERT_TRUE(writing) << "the export never started writing";
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by the signal instead of cancelling";
    EXPECT_EQ(WEXITSTATUS(status), 2);
    const std::vector<uint8_t> out = readFile(stdoutPath);
    const Json j = Json::parse(std::string(out.begin(), out.end()), nullptr, false);
    ASSERT_FALSE(j.is_discarded());
    EXPECT_EQ(j["code"], 2);
    EXPECT_EQ(j["message"], "cancelled");
    EXPECT_TRUE(j["files"].empty());
    EXPECT_TRUE(listDir(folder).empty()) << "files left behind";
}

} // namespace
