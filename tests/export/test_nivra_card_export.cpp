// nivra-card plan and export, run as the built program on simulator cards:
// the JSON of both, the names the plan promises against the files written,
// the files read back by ffprobe, exit statuses, progress only on a terminal,
// and Ctrl-C in the middle of an export.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "simcard.h"
#include "tool_helpers.h"

using namespace exporttest;
using Json = nlohmann::json;

extern char **environ;

namespace {

// 2024-03-05 10:00:00 UTC: the small card (two recordings of 60 s, 2 min apart).
constexpr int64_t kSmallStart = 1709632800000;

std::string tool()
{
    return NIVRA_CARD_PATH;
}

std::string range(int64_t from, int64_t to)
{
    return " --from " + std::to_string(from) + " --to " + std::to_string(to);
}

struct Output
{
    int status = -1;
    Json json;
    std::string errors;
};

// Runs nivra-card with arguments (and an optional environment prefix) and
// parses its one JSON line.
Output card(const std::string &arguments, const std::string &env = "")
{
    CommandResult r = run(env + " '" + tool() + "' " + arguments + " --json");
    Output o;
    o.status = r.status;
    o.errors = r.errors;
    o.json = Json::parse(r.output, nullptr, false);
    EXPECT_FALSE(o.json.is_discarded()) << arguments << "\n" << r.output << r.errors;
    return o;
}

std::string base(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

std::vector<std::string> fileNames(const Json &files)
{
    std::vector<std::string> out;
    for (const Json &f : files)
        out.push_back(base(f.get<std::string>()));
    return out;
}

std::vector<std::string> strings(const Json &list)
{
    std::vector<std::string> out;
    for (const Json &s : list)
        out.push_back(s.get<std::string>());
    return out;
}

bool anyPart(const std::string &folder)
{
    for (const std::string &n : listDir(folder))
        if (n.size() > 5 && n.compare(n.size() - 5, 5, ".part") == 0)
            return true;
    return false;
}

class NivraCardExportTest : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

// ---- plan promises what export writes --------------------------------------------

TEST_F(NivraCardExportTest, PlanNamesAreTheNamesExportWrites)
{
    const std::string small =
        std::string("plan ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 179999);
    Output plan = card(small);
    EXPECT_EQ(plan.status, 0);
    EXPECT_EQ(plan.json["code"], 0);
    ASSERT_EQ(plan.json["runs"].size(), 2u);
    EXPECT_EQ(plan.json["runs"][0],
              (Json{{"startMs", kSmallStart}, {"endMs", kSmallStart + 59999}, {"offset", 60}}));
    EXPECT_EQ(plan.json["runs"][1]["startMs"], kSmallStart + 120000);
    EXPECT_EQ(plan.json["missing"], false);
    EXPECT_EQ(plan.json["durationMs"], 2 * 59999);
    EXPECT_GT(plan.json["bytes"].get<int64_t>(), 0);
    EXPECT_EQ(strings(plan.json["names"]), (std::vector<std::string>{"NIVRA_20240305_110000-110059.mov",
                                                                     "NIVRA_20240305_110200-110259.mov"}));

    // One file per recording: exactly the planned names, full paths, readable.
    Output ex = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 179999) +
                     " --out " + m_out);
    EXPECT_EQ(ex.status, 0);
    EXPECT_EQ(ex.json["code"], 0);
    EXPECT_EQ(ex.json["message"], "success, at least one file written");
    EXPECT_EQ(ex.json["audioLeftOut"], false);
    EXPECT_EQ(fileNames(ex.json["files"]), strings(plan.json["names"]));
    // The plan's byte estimate comes from keyframe spacing: near what was read.
    EXPECT_NEAR(plan.json["bytes"].get<double>(), ex.json["bytes"].get<double>(),
                ex.json["bytes"].get<double>() * 0.25);
    for (const Json &f : ex.json["files"]) {
        std::string path = f.get<std::string>();
        EXPECT_EQ(path.rfind(m_out + "/", 0), 0u) << path;
        CommandResult p = run("ffprobe -v warning -of default -show_streams '" + path + "'");
        EXPECT_EQ(p.errors, "") << path;
        EXPECT_EQ(fields(p.output, "codec_tag_string"), (std::vector<std::string>{"avc1", "mp4a"})) << path;
    }

    // Merged MP4 without sound: the plan's merged name.
    Output planMp4 = card(small + " --mp4");
    Output merged = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 179999) +
                         " --out " + m_out + " --mp4 --merge --no-audio");
    EXPECT_EQ(merged.json["code"], 0);
    ASSERT_EQ(merged.json["files"].size(), 1u);
    EXPECT_EQ(base(merged.json["files"][0]), planMp4.json["mergedName"].get<std::string>());
    EXPECT_EQ(planMp4.json["mergedName"], "NIVRA_20240305_110000-110259.mp4");
    CommandResult p = run("ffprobe -v warning -of default -show_streams '" +
                          merged.json["files"][0].get<std::string>() + "'");
    EXPECT_EQ(fields(p.output, "codec_tag_string"), (std::vector<std::string>{"avc1", "text"}));

    // The computer's time zone names both alike (India: +05:30, no DST).
    Output planTz = card(small + " --computer-time", "TZ=Asia/Kolkata");
    Output exTz = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 179999) +
                           " --out " + m_out + " --computer-time",
                       "TZ=Asia/Kolkata");
    EXPECT_EQ(strings(planTz.json["names"]), (std::vector<std::string>{"NIVRA_20240305_153000-153059.mov",
                                                                       "NIVRA_20240305_153200-153259.mov"}));
    EXPECT_EQ(fileNames(exTz.json["files"]), strings(planTz.json["names"]));
}

TEST_F(NivraCardExportTest, PlanNamesTheFrameAtAWholeSecondRangeEnd)
{
    // 10:02:10 UTC has a picture of its own, and the export takes it: both
    // the second file and the merged one end at 11:02:10 camera time.
    const std::string r = range(kSmallStart, kSmallStart + 130000);
    Output plan = card(std::string("plan ") + SMALL_CARD_DIR + r);
    EXPECT_EQ(strings(plan.json["names"]), (std::vector<std::string>{"NIVRA_20240305_110000-110059.mov",
                                                                     "NIVRA_20240305_110200-110210.mov"}));
    EXPECT_EQ(plan.json["mergedName"], "NIVRA_20240305_110000-110210.mov");
    Output ex = card(std::string("export ") + SMALL_CARD_DIR + r + " --out " + m_out + "/files");
    EXPECT_EQ(ex.json["code"], 0);
    EXPECT_EQ(fileNames(ex.json["files"]), strings(plan.json["names"]));
    Output merged = card(std::string("export ") + SMALL_CARD_DIR + r + " --out " + m_out + "/merged --merge");
    EXPECT_EQ(merged.json["code"], 0);
    EXPECT_EQ(fileNames(merged.json["files"]),
              (std::vector<std::string>{plan.json["mergedName"].get<std::string>()}));
}

TEST_F(NivraCardExportTest, PlanAndExportAgreeAcrossAClockChange)
{
    const int64_t from = 1711846760000; // 2024-03-31 00:59:20 UTC, offset +60 then +120
    Output plan = card(std::string("plan ") + CLOCKCHANGE_CARD_DIR + range(from, from + 79999));
    Output ex =
        card(std::string("export ") + CLOCKCHANGE_CARD_DIR + range(from, from + 79999) + " --out " + m_out);
    EXPECT_EQ(ex.json["code"], 0);
    ASSERT_EQ(ex.json["files"].size(), 1u);
    EXPECT_EQ(fileNames(ex.json["files"]), strings(plan.json["names"]));
    EXPECT_EQ(plan.json["mergedName"], "NIVRA_20240331_015920-030039.mov");
}

// ---- Nothing to export ---------------------------------------------------------------

TEST_F(NivraCardExportTest, GapsAndMissingFilesGiveNothing)
{
    // Inside the gap between the small card's recordings.
    const std::string gap = range(kSmallStart + 70000, kSmallStart + 110000);
    Output plan = card(std::string("plan ") + SMALL_CARD_DIR + gap);
    EXPECT_EQ(plan.status, 0);
    EXPECT_EQ(plan.json["code"], 1);
    EXPECT_TRUE(plan.json["runs"].empty());
    EXPECT_TRUE(plan.json["names"].empty());
    EXPECT_EQ(plan.json["mergedName"], "");
    EXPECT_EQ(plan.json["missing"], false);
    Output ex = card(std::string("export ") + SMALL_CARD_DIR + gap + " --out " + m_out);
    EXPECT_EQ(ex.status, 0);
    EXPECT_EQ(ex.json["code"], 1);
    EXPECT_TRUE(ex.json["files"].empty());
    EXPECT_TRUE(listDir(m_out).empty());

    // A range whose recordings are all missing from the folder.
    const std::string missing = range(kSmallStart + 60000, kSmallStart + 99999);
    plan = card(std::string("plan ") + MISSING_CARD_DIR + missing);
    EXPECT_EQ(plan.json["code"], 1);
    EXPECT_TRUE(plan.json["runs"].empty());
    EXPECT_EQ(plan.json["missing"], true);
    ex = card(std::string("export ") + MISSING_CARD_DIR + missing + " --out " + m_out);
    EXPECT_EQ(ex.json["code"], 1);
    EXPECT_TRUE(listDir(m_out).empty());

    // Across the kept and the missing recording: the kept one is planned
    // and written, the missing one reported.
    const std::string both = range(kSmallStart, kSmallStart + 99999);
    plan = card(std::string("plan ") + MISSING_CARD_DIR + both);
    EXPECT_EQ(plan.json["missing"], true);
    ex = card(std::string("export ") + MISSING_CARD_DIR + both + " --out " + m_out);
    EXPECT_EQ(ex.json["code"], 0);
    EXPECT_EQ(fileNames(ex.json["files"]), strings(plan.json["names"]));
}

// ---- Failures ----------------------------------------------------------------------------

TEST_F(NivraCardExportTest, FailuresExitWith2AndLeaveNoFile)
{
    const int64_t g711 = 1717243200000;
    Output ex = card(std::string("export ") + H265_G711_CARD_DIR + range(g711, g711 + 39999) + " --out " +
                     m_out + " --mp4");
    EXPECT_EQ(ex.status, 2);
    EXPECT_EQ(ex.json["code"], -23);
    EXPECT_EQ(ex.json["message"], "MP4 cannot hold G.711 audio (use MOV or leave the audio out)");
    EXPECT_TRUE(listDir(m_out).empty());

    // A folder below a plain file cannot be made.
    ASSERT_TRUE(writeFile(m_out + "/plain", {1}));
    const std::string below = m_out + "/plain/sub";
    ex = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 9999) + " --out " +
              below);
    EXPECT_EQ(ex.status, 2);
    EXPECT_EQ(ex.json["code"], -21);
    EXPECT_EQ(ex.json["message"], "cannot create the folder " + below);
    EXPECT_TRUE(ex.json["files"].empty());
    EXPECT_EQ(listDir(m_out), (std::vector<std::string>{"plain"}));
    CommandResult text = run("'" + tool() + "' export " + SMALL_CARD_DIR +
                             range(kSmallStart, kSmallStart + 9999) + " --out " + below);
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.errors, "nivra-card: cannot create the folder " + below + " (-21)\n");
    ASSERT_EQ(remove((m_out + "/plain").c_str()), 0);

    // A reversed range is refused by the writer before it touches its result.
    ex = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart + 9999, kSmallStart) + " --out " +
              m_out);
    EXPECT_EQ(ex.status, 2);
    EXPECT_EQ(ex.json["code"], -1);
    EXPECT_EQ(ex.json["message"], "invalid argument");
    EXPECT_EQ(ex.json["bytes"], 0);
    EXPECT_EQ(ex.json["audioLeftOut"], false);
    EXPECT_TRUE(ex.json["files"].empty());
    EXPECT_TRUE(listDir(m_out).empty());

    CommandResult bad = run("'" + tool() + "' export " + SMALL_CARD_DIR + " --from 5 --out " + m_out);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.errors.find("--to"), std::string::npos) << bad.errors;
}

TEST_F(NivraCardExportTest, OutFolderIsCreatedWithItsParents)
{
    const std::string nowhere = m_out + "/not/there";
    Output ex = card(std::string("export ") + SMALL_CARD_DIR + range(kSmallStart, kSmallStart + 9999) +
                     " --out " + nowhere);
    EXPECT_EQ(ex.status, 0);
    EXPECT_EQ(ex.json["code"], 0);
    ASSERT_EQ(ex.json["files"].size(), 1u);
    EXPECT_EQ(ex.json["files"][0], nowhere + "/NIVRA_20240305_110000-110009.mov");
    EXPECT_EQ(listDir(nowhere), (std::vector<std::string>{"NIVRA_20240305_110000-110009.mov"}));
}

// ---- Progress and Ctrl-C -------------------------------------------------------------------

TEST_F(NivraCardExportTest, ProgressGoesToATerminalOnly)
{
    const std::string args = std::string("export ") + SMALL_CARD_DIR +
                             range(kSmallStart, kSmallStart + 179999) + " --out " + m_out;
    CommandResult piped = run("'" + tool() + "' " + args);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.errors, "");
    // script(1) gives the program a terminal for stdout and stderr.
    CommandResult tty = run("script -qec \"'" + tool() + "' " + args + "\" /dev/null");
    EXPECT_EQ(tty.status, 0) << tty.output;
    EXPECT_NE(tty.output.find("exporting   0%"), std::string::npos) << tty.output;
    EXPECT_NE(tty.output.find("exporting 100%"), std::string::npos) << tty.output;
    EXPECT_NE(tty.output.find("NIVRA_20240305_110200-110259_1.mov"), std::string::npos) << tty.output;
}

TEST_F(NivraCardExportTest, CtrlCCancelsAndLeavesNoPartFile)
{
    // The whole big card (hours of short recordings) merged into one file.
    const int64_t from = 1704067200000; // 2024-01-01 00:00:00 UTC
    std::string stdoutPath = m_out + "/stdout.json";
    std::string folder = m_out + "/files";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::vector<std::string> args = {tool(),
                                     "export",
                                     BIG_CARD_DIR,
                                     "--from",
                                     std::to_string(from),
                                     "--to",
                                     std::to_string(from + 86400000),
                                     "--out",
                                     folder,
                                     "--merge",
                                     "--json"};
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
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool writing = false;
    while (!writing && std::chrono::steady_clock::now() < deadline) {
        writing = anyPart(folder);
        if (!writing)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ASSERT_TRUE(writing) << "the export never started writing";
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by the signal instead of cancelling";
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::vector<uint8_t> out = readFile(stdoutPath);
    Json j = Json::parse(std::string(out.begin(), out.end()), nullptr, false);
    ASSERT_FALSE(j.is_discarded());
    EXPECT_EQ(j["code"], 2);
    EXPECT_EQ(j["message"], "cancelled");
    EXPECT_TRUE(j["files"].empty());
    EXPECT_TRUE(listDir(folder).empty()) << "files left behind";
}

// ---- what was not written is said ------------------------------------------------

TEST_F(NivraCardExportTest, AShortfallIsReportedWithTheFigures)
{
    // A frame a day ahead (valid checksum) is left out and counted; the export
    // still writes both recordings, and says it is not complete.
    nivra::test::TempDir damaged("ahead");
    ASSERT_TRUE(nivra::test::generateDamagedPresetCard(
        "small", R"({"frameTimeAhead": [{"segment": 0, "frame": 50}]})", damaged.path()));
    struct Case
    {
        std::string dir;
        bool complete;
        int skipped;
    };
    for (const Case &k : {Case{SMALL_CARD_DIR, true, 0}, Case{damaged.path(), false, 1}}) {
        const std::string out = m_out + "/" + std::to_string(k.skipped);
        Output ex = card("export " + k.dir + range(kSmallStart, kSmallStart + 179999) + " --out " + out);
        // Files written, not all of the plan: an exit status of its own.
        EXPECT_EQ(ex.status, k.complete ? 0 : 3) << k.dir;
        EXPECT_EQ(ex.json["files"].size(), 2u) << k.dir;
        EXPECT_EQ(ex.json["complete"], k.complete) << k.dir;
        EXPECT_EQ(ex.json["skippedFrames"], k.skipped) << k.dir;
        EXPECT_EQ(ex.json["plannedMs"], 2 * 59999) << k.dir;
        EXPECT_GT(ex.json["writtenMs"].get<int64_t>(), 2 * 57000) << k.dir;
    }
}

TEST_F(NivraCardExportTest, AHugeEventCapacityIsBoundedByTheEventsFound)
{
    Output ev = card(std::string("events ") + SMALL_CARD_DIR + " --capacity 2147483647");
    EXPECT_EQ(ev.status, 0);
    EXPECT_EQ(ev.json["code"], 0);
    EXPECT_EQ(ev.json["count"], 2);
    EXPECT_EQ(ev.json["events"].size(), 2u);
}

} // namespace
