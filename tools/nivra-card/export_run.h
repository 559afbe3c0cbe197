// What the export commands (export, events-export) share: progress on a
// terminal, Ctrl-C and the printed outcome.
#pragma once

#include "card_time.h"
#include "cli.h"

#include "export/export_writer.h"

#include <stdint.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace nivracard {

// Releases an estimate's runs when it goes.
struct EstimateHandle
{
    ExportEstimate estimate{};
    ~EstimateHandle() { exportRunsFree(&estimate.runs); }
};

// What the export callbacks share. Across several exports base counts the
// bytes of the ones finished and total the bytes of them all.
// A file the writer finished, with what an evidence package says of it.
struct DoneFile
{
    std::string path;
    ExportFileInfo info{}; // its segments pointer is not kept
    std::vector<uint16_t> segments;
};

struct ExportProgress
{
    std::vector<std::string> files;
    std::vector<DoneFile> done;
    // The runs not written whole, in the order the writer found them.
    std::vector<ExportLostRun> lost;
    bool terminal = false;
    bool printed = false;
    uint64_t base = 0;
    int64_t total = 0;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// ExportOptions callbacks; context is an ExportProgress. on_progress stops
// the export after Ctrl-C.
int on_progress(void *context, uint64_t read, int64_t expected);
void on_file_done(void *context, const char *path, const ExportFileInfo *info);
void on_run_lost(void *context, const ExportLostRun *run);
int32_t computer_offset_fn(uint32_t utc_seconds, void *context, const ExportOptions *options);

// Ends the progress line after an export.
void end_progress(const ExportProgress &run, int rc);

// Prints why and returns true when folder lies inside the card's folder (the
// first operand), links followed: an export never writes to the card.
bool refuse_output_on_card(const Args &args, const std::string &folder);

// The writer's message for rc, with the failed path of a write error.
std::string export_message(int rc, const ExportResult &result);

// Exit status of an export that wrote files but not all of its plan.
constexpr int kExitIncomplete = 3;

// Prints the outcome of an export (JSON or text: the files, the runs lost,
// in the clock's time) and returns the exit status. extra's members join the
// JSON object.
int report_export(const Args &args, int rc, const std::string &message, const ExportProgress &run,
                  const ExportResult &result, const Clock *clock, const Json &extra = Json::object());

// With --evidence: writes the evidence package of run's files for the range
// [from_ms, to_ms] into folder and adds its "evidence" member to *extra
// (report, manifest, stills, sources). Returns 0, or prints why and returns
// the exit status of a package that failed (the export itself stands).
int write_evidence(const Args &args, card_reader *card, const std::string &folder, int64_t from_ms,
                   int64_t to_ms, const ExportProgress &run, Json *extra);

// With --burn-time or --share [--share-mb N]: puts a re-coder for an export
// of duration_ms into options->coder (a share copy also makes it one MP4),
// kept alive by *keep. Returns 0, also without those options, or prints why
// and returns the exit status (not in this build, a range too long for the
// size).
int set_recoding(const Args &args, int64_t duration_ms, std::shared_ptr<void> *keep, ExportOptions *options);

} // namespace nivracard
