// nivra-cardgen: writes a simulated camera recording directory.
#include "cardwriter.h"
#include "scenario.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

extern "C" {
#include <libavutil/log.h>
}

namespace {

int usage(FILE *out = stderr)
{
    std::fprintf(out,
                 "usage: nivra-cardgen --preset NAME OUT_DIR\n"
                 "       nivra-cardgen --scenario FILE.json OUT_DIR\n"
                 "       nivra-cardgen --print-preset NAME\n"
                 "presets: %s\n",
                 cardgen::presetNames().c_str());
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return usage(stdout);
    if (argc == 3 && std::strcmp(argv[1], "--print-preset") == 0) {
        std::string json = cardgen::presetJson(argv[2]);
        if (json.empty())
            return usage();
        std::printf("%s\n", json.c_str());
        return 0;
    }
    if (argc != 4)
        return usage();
    std::string json;
    if (std::strcmp(argv[1], "--preset") == 0) {
        json = cardgen::presetJson(argv[2]);
        if (json.empty()) {
            std::fprintf(stderr, "nivra-cardgen: unknown preset '%s'\n", argv[2]);
            return usage();
        }
    } else if (std::strcmp(argv[1], "--scenario") == 0) {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "nivra-cardgen: cannot read %s\n", argv[2]);
            return 1;
        }
        std::ostringstream ss;
        ss << in.rdbuf();
        json = ss.str();
    } else {
        return usage();
    }

    av_log_set_level(AV_LOG_ERROR);
    cardgen::Scenario scenario;
    std::string error;
    if (!cardgen::parseScenario(json, &scenario, &error)) {
        std::fprintf(stderr, "nivra-cardgen: %s\n", error.c_str());
        return 1;
    }
    cardgen::CardStats stats;
    if (!cardgen::writeCard(scenario, argv[3], &stats, &error)) {
        std::fprintf(stderr, "nivra-cardgen: %s\n", error.c_str());
        return 1;
    }
    std::printf("segments %d (of %d recorded), timeline entries %d, video frames %lld, audio frames %lld, "
                "bytes %lld\n",
                stats.segmentsWritten, stats.segmentsRecorded, stats.timelineEntries, stats.videoFrames,
                stats.audioFrames, stats.bytes);
    return 0;
}
