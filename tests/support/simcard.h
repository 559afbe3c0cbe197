// Simulator cards for tests: recording directories written by the camera
// simulator nivra-cardgen (tools/nivra-cardgen), with real H.264/H.265 video
// and AAC/G.711 sound.
//
// Two ways to get one:
//  - at build time, from CMake (see tests/support/CMakeLists.txt):
//        nivra_sim_card(small_card small)            # name, preset
//        nivra_sim_card(my_card SCENARIO my.json)    # name, scenario file
//        add_dependencies(my_test nivra_simcard_small_card)
//        target_compile_definitions(my_test PRIVATE
//            SMALL_CARD_DIR="${NIVRA_SIMCARD_small_card}")
//  - at test time, into a fresh temporary directory:
//        nivra::test::TempDir dir("mytest");
//        ASSERT_TRUE(nivra::test::generatePresetCard("small", dir.path()));
//    or with a scenario written inline (damage, odd rings, ...):
//        ASSERT_TRUE(nivra::test::generateScenarioCard(json, dir.path()));
//
// Presets: small, demo, h265-g711, h264-rawaac, g711-16k, noaudio,
// clockchange, big, and the scene cards activity and activity265 (a still
// scene with objects, lighting steps and a sound burst, with the ground truth
// in ground_truth.json). `nivra-cardgen --print-preset NAME` prints a
// preset's scenario, a good start for your own.
#pragma once

#include <string>

namespace nivra::test {

// Returns the path of the built nivra-cardgen.
const char *cardgenPath();
// Returns the path of the built nivra-stampread.
const char *stampreadPath();

// A directory under /tmp, created empty and removed with everything in it.
class TempDir
{
public:
    explicit TempDir(const char *tag = "nivra");
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    // Returns the path, or an empty string when the directory could not be made.
    const std::string &path() const { return m_path; }
    // Returns path() + "/" + name.
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs a command through the shell; returns its exit status (-1 when it could
// not run) and its standard output and error in *output when given.
int runCommand(const std::string &command, std::string *output = nullptr);

// Quotes a string for the shell.
std::string shellQuote(const std::string &s);

// Writes a card of a built-in preset into dir; returns true on success. The
// tool's messages go to *log when given.
bool generatePresetCard(const std::string &preset, const std::string &dir, std::string *log = nullptr);

// Writes a card described by scenario JSON text into dir.
bool generateScenarioCard(const std::string &json, const std::string &dir, std::string *log = nullptr);

// Writes a card of a built-in preset damaged as damageJson says (the value
// of the scenario's "damage" object, say {"frameTimeAhead": [...]}).
bool generateDamagedPresetCard(const std::string &preset, const std::string &damageJson,
                               const std::string &dir, std::string *log = nullptr);

} // namespace nivra::test
