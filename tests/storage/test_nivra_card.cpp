// nivra-card's JSON output on byte-built cards and on simulator cards: the
// tool runs as a program and its stdout is parsed as JSON.
#include "card_builder.h"

#include <nlohmann/json.hpp>

#include <stdio.h>
#include <sys/wait.h>

using namespace cardtest;
using Json = nlohmann::json;

namespace {

constexpr uint32_t T0 = 1700000000;
constexpr int64_t MS0 = int64_t(T0) * 1000;

struct ToolRun
{
    int status = -1;
    std::string out;
    Json json;
};

std::string quote(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs nivra-card with the arguments; stderr is dropped. Parses stdout as
// JSON when it is one.
ToolRun tool(const std::string &args, const std::string &prefix = "")
{
    ToolRun r;
    std::string command = prefix + quote(NIVRA_CARD_PATH) + " " + args + " 2>/dev/null";
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    r.json = Json::parse(r.out, nullptr, false);
    return r;
}

// Keys of a JSON object, in order.
std::vector<std::string> keys(const Json &j)
{
    std::vector<std::string> k;
    for (auto it = j.begin(); it != j.end(); ++it)
        k.push_back(it.key());
    std::sort(k.begin(), k.end());
    return k;
}

using Keys = std::vector<std::string>;

// A card of three segments (the middle one absent) with events and audio.
struct SmallCard
{
    Card c;
    SmallCard()
    {
        for (uint16_t n = 1; n <= 3; ++n) {
            SegmentSpec s;
            s.number = n;
            s.first = T0 + (n - 1) * 10;
            s.last = s.first + 9;
            s.audio_step_ms = 20;
            s.offset_min = 60;
            s.write_file = n != 2;
            c.add_segment(s);
        }
        auto &marks = c.blocks[1];
        marks[0].flags = CARD_MARK_START;
        marks[0].kinds = CARD_KIND_MOTION;
        marks[2].flags = CARD_MARK_END;
        for (int i = 0; i < 5; ++i) {
            IndexMark m;
            m.second = T0 + 20 + i;
            m.flags = CARD_MARK_START;
            m.kinds = CARD_KIND_SOUND;
            m.frame_offset = 7;
            c.blocks[3].push_back(m);
        }
        c.table[0].event_flag = 1;
        c.table[2].event_flag = 1;
        c.write();
    }
    std::string dir() const { return quote(c.dir); }
};

} // namespace

TEST(NivraCard, InfoJson)
{
    SmallCard k;
    ToolRun r = tool("info " + k.dir() + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    ASSERT_TRUE(r.json.is_object()) << r.out;
    EXPECT_EQ((Keys{"code", "message", "summary"}), keys(r.json));
    EXPECT_EQ(0, r.json["code"]);
    EXPECT_EQ("ok", r.json["message"]);
    const Json &s = r.json["summary"];
    EXPECT_EQ((Keys{"firstSecond", "formatMs", "lastSecond", "presentSegments", "segmentCount", "segmentSize",
                    "validSegments"}),
              keys(s));
    EXPECT_EQ(1700000000000ll, s["formatMs"]);
    EXPECT_EQ(3, s["segmentCount"]);
    EXPECT_EQ(64 << 20, s["segmentSize"]);
    EXPECT_EQ(3, s["validSegments"]);
    EXPECT_EQ(2, s["presentSegments"]);
    EXPECT_EQ(T0, s["firstSecond"]);
    EXPECT_EQ(T0 + 29, s["lastSecond"]);
    EXPECT_EQ('\n', r.out.back());
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "exactly one line";
}

TEST(NivraCard, CardThatCannotBeOpened)
{
    Card c;
    ToolRun r = tool("info " + quote(c.dir) + " --json");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(Json::parse(
                  R"j({"code": -2, "message": "no recording directory (meta.dat / index.dat not found)"})j"),
              r.json);
    for (const char *cmd : {"ranges", "events", "keyframes", "probe"}) {
        r = tool(std::string(cmd) + " " + quote(c.dir) + " --json");
        EXPECT_EQ(2, r.status) << cmd;
        EXPECT_EQ(-2, r.json["code"]) << cmd;
    }
    c.write_file("meta.dat", Bytes(128, 0));
    c.write_file("index.dat", Bytes(32, 0));
    r = tool("days " + quote(c.dir) + " 2024 1 --json");
    EXPECT_EQ(Json::parse(R"({"code": -5, "message": "recording index is corrupt"})"), r.json);
}

TEST(NivraCard, ACardThisUserMayNotReadIsNotCalledDamaged)
{
    // Root reads everything: the tool then runs without the two
    // capabilities that let it, as any other user does.
    const std::string as_user =
        geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search " : "";
    Card c;
    c.write_file("meta.dat", Bytes(128, 0));
    c.write_file("index.dat", Bytes(32, 0));
    const struct
    {
        std::string chmod_path;
        int code;
        std::string denied;
    } cases[] = {{c.dir + "/meta.dat", -5, c.dir + "/meta.dat"}, {c.dir, -2, c.dir}};
    for (const auto &k : cases) {
        ASSERT_EQ(chmod(k.chmod_path.c_str(), 0), 0);
        ToolRun r = tool("info " + quote(c.dir) + " --json", as_user);
        chmod(k.chmod_path.c_str(), k.chmod_path == c.dir ? 0755 : 0644);
        EXPECT_EQ(2, r.status) << k.chmod_path;
        EXPECT_EQ(k.code, r.json["code"]) << r.out;
        EXPECT_EQ(true, r.json["permissionDenied"]) << r.out;
        EXPECT_EQ(k.denied, r.json["path"]) << r.out;
        EXPECT_EQ("permission denied: " + k.denied, r.json["message"]) << r.out;
    }
}

TEST(NivraCard, RangesJson)
{
    SmallCard k;
    ToolRun r = tool("ranges " + k.dir() + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ((Keys{"code", "ranges"}), keys(r.json));
    EXPECT_EQ(Json::parse("[{\"first\": " + std::to_string(T0) + ", \"last\": " + std::to_string(T0 + 9) +
                          ", \"offset\": 60, \"missing\": false}, {\"first\": " + std::to_string(T0 + 10) +
                          ", \"last\": " + std::to_string(T0 + 19) +
                          ", \"offset\": 60, \"missing\": true}, {\"first\": " + std::to_string(T0 + 20) +
                          ", \"last\": " + std::to_string(T0 + 29) +
                          ", \"offset\": 60, \"missing\": false}]"),
              r.json["ranges"]);
    r = tool("ranges " + k.dir() + " --from " + std::to_string(T0 + 15) + " --to " + std::to_string(T0 + 40) +
             " --json");
    EXPECT_EQ(2u, r.json["ranges"].size());
    r = tool("ranges " + k.dir() + " --from 5 --to 4 --json");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(-1, r.json["code"]);
    EXPECT_EQ("invalid argument", r.json["message"]);
    r = tool("ranges " + k.dir() + " --from x --json");
    EXPECT_EQ(2, r.status) << "not a number";
}

TEST(NivraCard, DaysJson)
{
    SmallCard k; // 2023-11-14 22:13:20 UTC, +01:00 local: the 14th
    ToolRun r = tool("days " + k.dir() + " 2023 11 --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ(Json::parse(R"({"code": 0, "days": [14]})"), r.json);
    r = tool("days " + k.dir() + " 2023 12 --playable-only --json");
    EXPECT_EQ(Json::parse(R"({"code": 0, "days": []})"), r.json);
    r = tool("days " + k.dir() + " 2023 13 --json");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(-1, r.json["code"]);
}

TEST(NivraCard, EventsJson)
{
    SmallCard k;
    ToolRun r = tool("events " + k.dir() + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ((Keys{"code", "count", "events"}), keys(r.json));
    EXPECT_EQ(6, r.json["count"]);
    ASSERT_EQ(6u, r.json["events"].size());
    EXPECT_EQ(Json::parse("{\"first\": " + std::to_string(T0) + ", \"last\": " + std::to_string(T0 + 4) +
                          ", \"seconds\": 4, \"kinds\": 1, \"state\": 0, \"playable\": 1, \"offset\": 60}"),
              r.json["events"][0]);
    EXPECT_EQ(1, r.json["events"][5]["state"]);
    EXPECT_EQ(2, r.json["events"][1]["state"]);
    r = tool("events " + k.dir() + " --capacity 2 --json");
    EXPECT_EQ(6, r.json["count"]);
    EXPECT_EQ(2u, r.json["events"].size());
    r = tool("events " + k.dir() + " --capacity 0 --json");
    EXPECT_EQ(6, r.json["count"]);
    EXPECT_EQ(0u, r.json["events"].size());
    r = tool("events " + k.dir() + " --capacity -1 --json");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(-1, r.json["code"]);
}

TEST(NivraCard, KeyframesJson)
{
    SmallCard k;
    ToolRun r = tool("keyframes " + k.dir() + " --from " + std::to_string(T0 + 8) + " --to " +
                     std::to_string(T0 + 12) + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ((Keys{"code", "keyframes"}), keys(r.json));
    ASSERT_EQ(3u, r.json["keyframes"].size()) << r.out; // 8, 10, 12
    const Json &a = r.json["keyframes"][0];
    EXPECT_EQ((Keys{"fileOffset", "flags", "kinds", "offset", "segment", "timeMs", "usable"}), keys(a));
    EXPECT_EQ(MS0 + 8000, a["timeMs"]);
    EXPECT_EQ(60, a["offset"]);
    EXPECT_EQ(1, a["segment"]);
    EXPECT_EQ(1, a["usable"]);
    EXPECT_EQ(0, r.json["keyframes"][1]["usable"]);
    EXPECT_EQ(2, r.json["keyframes"][1]["segment"]);
    r = tool("keyframes " + k.dir() + " --limit 2 --json");
    EXPECT_EQ(2u, r.json["keyframes"].size());
    r = tool("keyframes " + k.dir() + " --limit 0 --json");
    EXPECT_EQ(0u, r.json["keyframes"].size());
}

TEST(NivraCard, ProbeJson)
{
    SmallCard k;
    ToolRun r = tool("probe " + k.dir() + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ(Json::parse(R"({"code": 0, "stream": {"videoCodec": 1, "audioKind": 3, "sampleRate": 8000,
        "channels": 1, "objectType": 0, "audioInterval": 20, "videoInterval": 1000}})"),
              r.json);
    r = tool("probe " + k.dir() + " --at " + std::to_string(MS0 + 30000) + " --json");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(1, r.json["code"]);
    EXPECT_EQ(0, r.json["stream"]["videoCodec"]);
}

TEST(NivraCard, FramesJson)
{
    SmallCard k;
    ToolRun r = tool("frames " + k.dir() + " --at " + std::to_string(MS0 + 8500) + " --count 3 --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ((Keys{"code", "frames", "landedMs", "next"}), keys(r.json));
    EXPECT_EQ(0, r.json["code"]);
    EXPECT_EQ(MS0 + 8000, r.json["landedMs"]);
    EXPECT_EQ(0, r.json["next"]);
    ASSERT_EQ(3u, r.json["frames"].size());
    const Json &f = r.json["frames"][0];
    EXPECT_EQ((Keys{"discontinuity", "fileOffset", "offsetMin", "segment", "size", "timeMs", "type"}),
              keys(f));
    EXPECT_EQ(0, f["type"]);
    EXPECT_EQ(MS0 + 8000, f["timeMs"]);
    EXPECT_EQ(60, f["offsetMin"]);
    EXPECT_EQ(100, f["size"]);
    EXPECT_EQ(1, f["segment"]);
    EXPECT_EQ(2, r.json["frames"][1]["type"]) << "audio at the same time follows the video";

    // Keyframe mode across the absent segment: a discontinuity.
    r = tool("frames " + k.dir() + " --at " + std::to_string(MS0 + 8000) +
             " --stride 1 --count 10 --read --json");
    ASSERT_EQ(0, r.status) << r.out;
    ASSERT_EQ(6u, r.json["frames"].size());
    EXPECT_EQ(MS0 + 20000, r.json["frames"][1]["timeMs"]);
    EXPECT_EQ(1, r.json["frames"][1]["discontinuity"]);
    EXPECT_EQ(1, r.json["next"]);

    // Past the end: seek 1, nothing read, next 1, exit status 0.
    r = tool("frames " + k.dir() + " --at " + std::to_string(MS0 + 30000) + " --json");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(Json::parse(R"({"code": 1, "landedMs": -1, "frames": [], "next": 1})"), r.json);
}

TEST(NivraCard, TextOutputAndUsage)
{
    SmallCard k;
    ToolRun r = tool("info " + k.dir());
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("3 listed, 3 valid, 2 present")) << r.out;
    r = tool("ranges " + k.dir());
    EXPECT_NE(std::string::npos, r.out.find("missing")) << r.out;
    EXPECT_EQ(2, tool("").status);
    EXPECT_EQ(2, tool("nonsense " + k.dir()).status);
    EXPECT_EQ(2, tool("info").status) << "no directory";
    EXPECT_EQ(2, tool("info " + k.dir() + " --bogus").status);
    EXPECT_EQ(2, tool("frames " + k.dir() + " --at").status) << "missing value";
    EXPECT_EQ(0, tool("--help").status);
}

// Help for a command goes to stdout with status 0, whatever else is given.
TEST(NivraCard, CommandHelp)
{
    const struct
    {
        const char *args;
        const char *usage;
    } rows[] = {
        {"--help", "usage: nivra-card COMMAND DIR"},
        {"-h", "usage: nivra-card COMMAND DIR"},
        {"events-export --help", "usage: nivra-card events-export DIR --day DATE"},
        {"info -h", "usage: nivra-card info DIR"},
        {"frames /nowhere --at 5 --help", "usage: nivra-card frames DIR --at MS"},
        {"export --json -h", "usage: nivra-card export DIR --from TIME"},
    };
    for (const auto &row : rows) {
        const ToolRun r = tool(row.args);
        EXPECT_EQ(0, r.status) << row.args;
        EXPECT_EQ(0u, r.out.rfind(row.usage, 0)) << row.args << ": " << r.out;
    }
}

#ifdef NIVRA_SIMCARDS
// ---- Simulator cards (nivra-cardgen presets) ---------------------------------

namespace {

// The card of a simulator preset (simcards/<preset>).
std::string sim(const char *name)
{
    return quote(std::string(NIVRA_SIMCARDS) + "/" + name);
}

} // namespace

TEST(NivraCardSimulator, SmallPreset)
{
    ToolRun r = tool("info " + sim("small") + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ(16, r.json["summary"]["segmentCount"]);
    EXPECT_EQ(4, r.json["summary"]["validSegments"]);
    EXPECT_EQ(4, r.json["summary"]["presentSegments"]);
    EXPECT_EQ(1709632800, r.json["summary"]["firstSecond"]); // 2024-03-05 10:00:00
    EXPECT_EQ(1709632800 + 179, r.json["summary"]["lastSecond"]);

    r = tool("ranges " + sim("small") + " --json");
    EXPECT_EQ(Json::parse(R"([{"first": 1709632800, "last": 1709632859, "offset": 60, "missing": false},
                              {"first": 1709632920, "last": 1709632979, "offset": 60, "missing": false}])"),
              r.json["ranges"]);

    r = tool("events " + sim("small") + " --json");
    ASSERT_EQ(2, r.json["count"]) << r.out;
    EXPECT_EQ(1709632822, r.json["events"][0]["first"]);
    EXPECT_EQ(1, r.json["events"][0]["kinds"]);
    EXPECT_EQ(0, r.json["events"][0]["state"]);
    EXPECT_EQ(1709632940, r.json["events"][1]["first"]);
    EXPECT_EQ(18, r.json["events"][1]["kinds"]);
    EXPECT_EQ(1, r.json["events"][1]["state"]);
    EXPECT_EQ(1, r.json["events"][1]["playable"]);
    EXPECT_EQ(60, r.json["events"][1]["offset"]);

    r = tool("probe " + sim("small") + " --at 1709632800000 --json");
    EXPECT_EQ(Json::parse(R"({"code": 0, "stream": {"videoCodec": 1, "audioKind": 1, "sampleRate": 16000,
        "channels": 1, "objectType": 2, "audioInterval": 64, "videoInterval": 100}})"),
              r.json);

    r = tool("keyframes " + sim("small") + " --json");
    EXPECT_EQ(60u, r.json["keyframes"].size()) << "a keyframe every 2 s over 120 s";

    // Every frame in order, from the first to the last, with one discontinuity.
    r = tool("frames " + sim("small") + " --at 0 --count 100000 --read --json");
    ASSERT_EQ(0, r.status);
    EXPECT_EQ(1, r.json["next"]);
    int jumps = 0, video = 0;
    int64_t last = 0;
    for (const Json &f : r.json["frames"]) {
        EXPECT_GE(f["timeMs"].get<int64_t>() + 5000, last);
        last = std::max(last, f["timeMs"].get<int64_t>());
        jumps += f["discontinuity"].get<int>();
        video += f["type"].get<int>() != 2;
    }
    EXPECT_EQ(1, jumps);
    EXPECT_EQ(1200, video) << "10 fps over 120 s";
}

TEST(NivraCardSimulator, CodecAndAudioOfThePresets)
{
    struct Case
    {
        const char *card;
        int codec, kind, rate, channels;
    } cases[] = {
        {"h265-g711", 2, 3, 8000, 1},
        {"h264-rawaac", 1, 2, 16000, 1},
        {"g711-16k", 1, 3, 16000, 1},
        {"noaudio", 1, 0, 0, 0},
    };
    for (const Case &c : cases) {
        ToolRun r = tool("probe " + sim(c.card) + " --json");
        ASSERT_EQ(0, r.status) << c.card << r.out;
        const Json &s = r.json["stream"];
        EXPECT_EQ(c.codec, s["videoCodec"]) << c.card;
        EXPECT_EQ(c.kind, s["audioKind"]) << c.card;
        EXPECT_EQ(c.rate, s["sampleRate"]) << c.card;
        EXPECT_EQ(c.channels, s["channels"]) << c.card;
        EXPECT_EQ(100, s["videoInterval"]) << c.card;
    }
}

TEST(NivraCardSimulator, ClockChangeKeepsRangesApart)
{
    ToolRun r = tool("ranges " + sim("clockchange") + " --json");
    ASSERT_EQ(0, r.status) << r.out;
    ASSERT_EQ(3u, r.json["ranges"].size()) << r.out;
    EXPECT_EQ(60, r.json["ranges"][1]["offset"]);
    EXPECT_EQ(120, r.json["ranges"][2]["offset"]);
    EXPECT_EQ(r.json["ranges"][1]["last"].get<int64_t>() + 1, r.json["ranges"][2]["first"].get<int64_t>());
    // 2024-01-31 22:59:30 UTC for 60 s at +01:00: 23:59:30 on the 31st to
    // 00:00:29 on the 1st.
    EXPECT_EQ(Json::parse(R"({"code": 0, "days": [31]})"),
              tool("days " + sim("clockchange") + " 2024 1 --json").json);
    EXPECT_EQ(Json::parse(R"({"code": 0, "days": [1]})"),
              tool("days " + sim("clockchange") + " 2024 2 --json").json);
    EXPECT_EQ(Json::parse(R"({"code": 0, "days": [31]})"),
              tool("days " + sim("clockchange") + " 2024 3 --json").json);
}

TEST(NivraCardSimulator, DemoPreset)
{
    ToolRun info = tool("info " + sim("demo") + " --json");
    ASSERT_EQ(0, info.status) << info.out;
    const Json &s = info.json["summary"];
    EXPECT_GT(s["validSegments"].get<int>(), 100);
    EXPECT_EQ(s["validSegments"], s["presentSegments"]);

    ToolRun ranges = tool("ranges " + sim("demo") + " --json");
    ASSERT_GE(ranges.json["ranges"].size(), 3u) << "gaps split the days";
    EXPECT_EQ(s["firstSecond"], ranges.json["ranges"][0]["first"]);
    EXPECT_EQ(s["lastSecond"], ranges.json["ranges"].back()["last"]);
    for (size_t i = 1; i < ranges.json["ranges"].size(); ++i)
        EXPECT_GT(ranges.json["ranges"][i]["first"].get<int64_t>(),
                  ranges.json["ranges"][i - 1]["last"].get<int64_t>() + 3);

    ToolRun events = tool("events " + sim("demo") + " --json");
    ASSERT_GT(events.json["count"].get<int>(), 3);
    int kinds = 0;
    for (const Json &e : events.json["events"]) {
        kinds |= e["kinds"].get<int>();
        EXPECT_EQ(1, e["playable"]);
    }
    EXPECT_GE(__builtin_popcount(static_cast<unsigned>(kinds)), 3) << "events of several kinds";

    ToolRun probe = tool("probe " + sim("demo") + " --at " +
                         std::to_string(s["firstSecond"].get<int64_t>() * 1000) + " --json");
    EXPECT_EQ(1, probe.json["stream"]["videoCodec"]);
    EXPECT_EQ(1, probe.json["stream"]["audioKind"]);
}
#endif
