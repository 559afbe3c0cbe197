// --burn-time and --share for the export commands: the clock burned into the
// picture, and the smaller copy that plays anywhere.
#include "export_run.h"

#include "recode/recode.h"

#include <stdio.h>

namespace nivracard {

int set_recoding(const Args &args, int64_t duration_ms, std::shared_ptr<void> *keep, ExportOptions *options)
{
    const bool burn = args.flags.count("--burn-time") != 0;
    const bool share = args.flags.count("--share") != 0;
    keep->reset();
    options->coder = nullptr;
    if (args.has("--share-mb") && !share) {
        fprintf(stderr, "nivra-card: --share-mb goes with --share\n");
        return 2;
    }
    if (!burn && !share)
        return 0;
    if (!nivra::recode::available()) {
        fprintf(stderr, "nivra-card: this FFmpeg has no H.264 encoder (libx264): no re-coded copies\n");
        return 2;
    }
    nivra::recode::quietCodecLogs();
    int mb = 0;
    if (share) {
        mb = nivra::recode::kShareDefaultMb;
        if (!option_int(args, "--share-mb", &mb))
            return 2;
        if (mb < 1 || mb > 4096) {
            fprintf(stderr, "nivra-card: --share-mb: a size from 1 to 4096 MB\n");
            return 2;
        }
        // What a phone plays: one MP4 with its index first, the sound as AAC.
        options->container = 1;
        options->merge = 1;
    }
    nivra::recode::Settings settings;
    if (!nivra::recode::copySettings(burn, mb, duration_ms, options->container == 1, &settings)) {
        fprintf(stderr,
                "nivra-card: %.0f min is too long for a %d MB copy; choose a shorter range or a larger "
                "--share-mb\n",
                double(duration_ms) / 60000.0, mb);
        return 2;
    }
    auto coder = std::make_shared<nivra::recode::Coder>(settings);
    options->coder = coder->hook();
    *keep = coder;
    return 0;
}

} // namespace nivracard
