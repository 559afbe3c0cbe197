// A build without OpenSSL's libcrypto or libavcodec (the core cross build)
// writes no evidence packages: --evidence says so and fails.
#include "export_run.h"

#include <stdio.h>

namespace nivracard {

int write_evidence(const Args &, card_reader *, const std::string &, int64_t, int64_t, const ExportProgress &,
                   Json *extra)
{
    (*extra)["evidence"] = {{"code", -1}, {"message", "evidence packages are not available in this build"}};
    fprintf(stderr, "nivra-card: evidence packages are not available in this build\n");
    return 2;
}

} // namespace nivracard
