// --evidence for the export commands: the package beside the exported files.
#include "export_run.h"
#include "local_time.h"

#include "evidence/evidence.h"

#include <stdio.h>

namespace nivracard {

namespace {

int32_t computer_offset(int64_t utc_seconds)
{
    return computer_offset_seconds(utc_seconds);
}

int on_evidence_progress(void *context, int done, int total)
{
    const ExportProgress *run = static_cast<const ExportProgress *>(context);
    if (interrupted())
        return 1;
    if (run->terminal && total > 0) {
        fprintf(stderr, "\revidence package %3d%%   ", done * 100 / total);
        fflush(stderr);
    }
    return 0;
}

} // namespace

int write_evidence(const Args &, card_reader *card, const std::string &folder, int64_t from_ms, int64_t to_ms,
                   const ExportProgress &run, Json *extra)
{
    nivra::evidence::Request req;
    req.card = card;
    req.folder = folder;
    req.fromMs = from_ms;
    req.toMs = to_ms;
    req.computerOffset = computer_offset;
    req.program = "nivra-card";
    req.version = NIVRA_VERSION;
    req.progress = on_evidence_progress;
    req.context = const_cast<ExportProgress *>(&run);
    for (const DoneFile &d : run.done)
        req.clips.push_back(
            {d.path, d.info.firstMs, d.info.lastMs, d.info.videoDurationMs, d.info.offsetMin, d.segments});
    nivra::evidence::Result result;
    const int rc = nivra::evidence::write_package(req, &result);
    if (run.terminal)
        fprintf(stderr, "\n");
    Json e;
    e["code"] = rc;
    e["message"] = nivra::evidence::error_name(rc);
    e["report"] = result.report;
    e["manifest"] = rc == nivra::evidence::EVIDENCE_OK ? result.manifest : std::string();
    e["stills"] = result.stills;
    e["sources"] = result.sources;
    (*extra)["evidence"] = e;
    if (rc == nivra::evidence::EVIDENCE_OK)
        return 0;
    fprintf(stderr, "nivra-card: evidence package: %s%s%s (%d)\n", nivra::evidence::error_name(rc),
            result.message.empty() ? "" : ": ", result.message.c_str(), rc);
    return 2;
}

} // namespace nivracard
