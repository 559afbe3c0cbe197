// The evidence package, made by nivra-card on a simulator card and checked
// with sha256sum, stat and ffprobe: the manifest checks and catches a changed
// byte, the report's segment hashes are the card's files' own, the card is
// unchanged, the stills are pictures; and a package that fails leaves no
// manifest behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "evidence/evidence.h"
#include "tool_helpers.h"

using namespace exporttest;
using Json = nlohmann::json;

namespace {

// 2024-10-27 09:00:00 UTC: a recording of 240 s in segments of 30 s, five
// events in it.
constexpr int64_t kSpanStart = 1730019600000;

std::string shellQuoted(const std::string &s)
{
    return "'" + s + "'";
}

// Name, size, modification time and SHA-256 of every file of the card.
std::string cardState(const std::string &dir)
{
    const CommandResult r =
        run("cd " + shellQuoted(dir) +
            " && find . -type f -printf '%p %s %T@\\n' | sort && find . -type f -print0 | "
            "sort -z | xargs -0 sha256sum");
    EXPECT_EQ(r.status, 0) << r.errors;
    return r.output;
}

std::string text(const std::string &path)
{
    const std::vector<uint8_t> bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

class Evidence : public ::testing::Test
{
protected:
    void SetUp() override { m_out = makeTempDir(); }
    void TearDown() override { removeTree(m_out); }
    std::string m_out;
};

TEST_F(Evidence, ManifestReportAndCardAgree)
{
    const std::string before = cardState(EVENTS_CARD_DIR);
    const CommandResult r =
        run(std::string("'") + NIVRA_CARD_PATH + "' export " + EVENTS_CARD_DIR + " --from " +
            std::to_string(kSpanStart) + " --to " + std::to_string(kSpanStart + 239000) + " --out " +
            shellQuoted(m_out) + " --mp4 --evidence --json");
    ASSERT_EQ(r.status, 0) << r.output << r.errors;
    const Json j = Json::parse(r.output);
    ASSERT_EQ(j["evidence"]["code"], 0) << r.output;
    const std::vector<std::string> files = j["files"].get<std::vector<std::string>>();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(cardState(EVENTS_CARD_DIR), before) << "the card was written to";

    // sha256sum checks the clip and the report, and nothing else is listed.
    const CommandResult check = run("cd " + shellQuoted(m_out) + " && sha256sum -c SHA256SUMS");
    EXPECT_EQ(check.status, 0) << check.output << check.errors;
    EXPECT_EQ(std::count(check.output.begin(), check.output.end(), '\n'), 2) << check.output;
    EXPECT_NE(check.output.find("report.html: OK"), std::string::npos);

    // Every segment of the 240 s (eight of 30 s) is named with its own hash.
    const std::string report = text(m_out + "/report.html");
    static const std::regex segment(
        "(seg_[0-9]{3}\\.dat)[^<]*<br><span class=\"hash\">([0-9a-f]{64})</span>");
    int segments = 0;
    for (std::sregex_iterator it(report.begin(), report.end(), segment), end; it != end; ++it, ++segments) {
        const CommandResult sum =
            run("sha256sum " + shellQuoted(std::string(EVENTS_CARD_DIR) + "/" + (*it)[1].str()));
        EXPECT_EQ(sum.output.substr(0, 64), (*it)[2].str()) << (*it)[1].str();
    }
    EXPECT_EQ(segments, 8);
    EXPECT_EQ(j["evidence"]["sources"], 8);
    // A still at the start and at each of the five events, each a PNG.
    EXPECT_EQ(j["evidence"]["stills"], 6);
    // The first picture's bytes (std::regex would recurse through them).
    const std::string marker = "data:image/png;base64,";
    const size_t at = report.find(marker);
    ASSERT_NE(at, std::string::npos);
    const size_t end = report.find('"', at);
    const std::string encoded = report.substr(at + marker.size(), end - at - marker.size());
    const std::string png = m_out + "/still.b64";
    writeFile(png, std::vector<uint8_t>(encoded.begin(), encoded.end()));
    const CommandResult probe =
        run("base64 -d " + shellQuoted(png) + " > " + shellQuoted(m_out + "/still.png") +
            " && ffprobe -v error -show_entries stream=codec_name,width -of csv=p=0 " +
            shellQuoted(m_out + "/still.png"));
    EXPECT_EQ(probe.output, "png,320\n") << probe.errors;
    run("rm -f " + shellQuoted(png) + " " + shellQuoted(m_out + "/still.png"));
    // The times are the camera's (UTC+1 on that day) and this computer's.
    EXPECT_NE(report.find("2024-10-27 10:00:00 (UTC+1)"), std::string::npos);

    // One changed byte of the clip fails the check.
    std::vector<uint8_t> clip = readFile(files[0]);
    clip[clip.size() / 2] ^= 0x01;
    ASSERT_TRUE(writeFile(files[0], clip));
    const CommandResult changed = run("cd " + shellQuoted(m_out) + " && sha256sum -c SHA256SUMS");
    EXPECT_NE(changed.status, 0);
    EXPECT_NE(changed.output.find("FAILED"), std::string::npos);
}

TEST_F(Evidence, AFailedPackageLeavesNoManifest)
{
    card_reader *card = nullptr;
    ASSERT_EQ(card_open(EVENTS_CARD_DIR, &card), CARD_OK);
    nivra::evidence::Request req;
    req.card = card;
    req.folder = m_out;
    req.fromMs = kSpanStart;
    req.toMs = kSpanStart + 10000;
    // A clip that is gone: nothing is written.
    req.clips.push_back({m_out + "/gone.mp4", kSpanStart, kSpanStart + 9800, 10000, 60, {0}});
    nivra::evidence::Result result;
    EXPECT_EQ(nivra::evidence::write_package(req, &result), nivra::evidence::EVIDENCE_ERR_READ);
    EXPECT_EQ(result.message, m_out + "/gone.mp4");
    EXPECT_FALSE(exists(m_out + "/report.html"));
    EXPECT_FALSE(exists(m_out + "/SHA256SUMS"));
    card_close(card);

    EXPECT_EQ(nivra::evidence::html_escape("<a href=\"x\">Tom & Jerry's</a>\x01\x1b"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
}

} // namespace
