// A build without the re-coder (the core cross build) makes no re-coded
// copies: --burn-time and --share say so and fail.
#include "export_run.h"

#include <stdio.h>

namespace nivracard {

int set_recoding(const Args &args, int64_t, std::shared_ptr<void> *keep, ExportOptions *options)
{
    keep->reset();
    options->coder = nullptr;
    if (!args.flags.count("--burn-time") && !args.flags.count("--share") && !args.has("--share-mb"))
        return 0;
    fprintf(stderr, "nivra-card: re-coded copies (--burn-time, --share) are not available in this build\n");
    return 2;
}

} // namespace nivracard
