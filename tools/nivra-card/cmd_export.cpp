// The export sub-commands: plan (runs, names and size of a range before
// anything is written) and export (the batch export of a range into MOV or
// MP4 files, cancelled cleanly by Ctrl-C).
#include "cli.h"
#include "commands.h"
#include "local_time.h"

#include "export/export_file.h"
#include "export/export_writer.h"

#include <stdio.h>

#include <chrono>
#include <limits>
#include <string>
#include <vector>

namespace nivracard {
namespace {

struct CardHandle {
    card_reader *card = nullptr;
    ~CardHandle() { card_close(card); }
};

struct EstimateHandle {
    ExportEstimate estimate{};
    ~EstimateHandle() { exportRunsFree(&estimate.runs); }
};

// Reads the required --from and --to (ms since the epoch, UTC).
bool time_range(const Args &args, int64_t *from, int64_t *to)
{
    const char *names[2] = {"--from", "--to"};
    int64_t *outs[2] = {from, to};
    for (int i = 0; i < 2; ++i) {
        uint64_t v = 0;
        if (!args.values.count(names[i])) {
            fprintf(stderr, "nivra-card: %s MS is required\n", names[i]);
            return false;
        }
        if (!option_u64(args, names[i], &v))
            return false;
        if (v > uint64_t(std::numeric_limits<int64_t>::max())) {
            fprintf(stderr, "nivra-card: %s: out of range\n", names[i]);
            return false;
        }
        *outs[i] = int64_t(v);
    }
    return true;
}

// The camera's offset in minutes at a time: the offset of the recording
// range nearest to it (the first of equally near ones), 0 without ranges.
int camera_offset_min(const std::vector<card_range> &ranges, int64_t ms)
{
    int64_t s = ms < 0 ? -((-ms + 999) / 1000) : ms / 1000;
    int best = 0;
    int64_t best_distance = -1;
    for (const card_range &r : ranges) {
        int64_t d = s < r.first ? int64_t(r.first) - s : s > r.last ? s - int64_t(r.last) : 0;
        if (best_distance < 0 || d < best_distance) {
            best_distance = d;
            best = r.utc_offset_min;
        }
    }
    return best;
}

// Offset in seconds at ms: the computer's zone, or the camera's recorded one.
int32_t offset_seconds_at(bool computer, const std::vector<card_range> &ranges, int64_t ms)
{
    if (computer)
        return computer_offset_seconds(ms < 0 ? -((-ms + 999) / 1000) : ms / 1000);
    return camera_offset_min(ranges, ms) * 60;
}

int32_t computer_offset_fn(uint32_t utc_seconds, void *, const ExportOptions *)
{
    return computer_offset_seconds(int64_t(utc_seconds));
}

std::string export_name(int container, int64_t start, int64_t end, bool computer,
                        const std::vector<card_range> &ranges)
{
    char name[EXPORT_PATH_MAX];
    if (formatExportName(nullptr, container, start, end, offset_seconds_at(computer, ranges, start),
                         offset_seconds_at(computer, ranges, end), name, sizeof name) != 0)
        return std::string();
    return name;
}

int cmd_plan(const Args &args)
{
    int64_t from = 0, to = 0;
    if (!time_range(args, &from, &to))
        return 2;
    CardHandle h;
    int status = 0;
    if (!open_card(args, &h.card, &status))
        return status;
    const int container = args.flags.count("--mp4") ? 1 : 0;
    const bool computer = args.flags.count("--computer-time") != 0;

    EstimateHandle est;
    int rc = estimateExport(h.card, from, to, &est.estimate);
    std::vector<card_range> ranges;
    int count = 0;
    if (rc == 0)
        rc = card_ranges(h.card, 0, 0xFFFFFFFFu, nullptr, 0, &count);
    if (rc == 0 && count > 0) {
        ranges.resize(size_t(count));
        rc = card_ranges(h.card, 0, 0xFFFFFFFFu, ranges.data(), count, &count);
        ranges.resize(size_t(count));
    }
    if (rc < 0) {
        if (args.json) {
            Json j;
            j["code"] = rc;
            j["message"] = exportErrorName(rc);
            print_json(j);
        } else {
            fprintf(stderr, "nivra-card: %s (%d)\n", exportErrorName(rc), rc);
        }
        return exit_status(rc);
    }

    const ExportEstimate &e = est.estimate;
    const int code = e.runs.count > 0 ? EXPORT_OK : EXPORT_NOTHING;
    Json runs = Json::array();
    Json names = Json::array();
    for (int i = 0; i < e.runs.count; ++i) {
        const ExportRun &r = e.runs.items[i];
        runs.push_back({{"startMs", r.startMs}, {"endMs", r.endMs}, {"offset", r.offsetMin}});
        // A file is named after its last picture, which the estimate found.
        names.push_back(export_name(container, r.startMs, r.lastMs, computer, ranges));
    }
    std::string merged;
    if (e.runs.count > 0)
        merged = export_name(container, e.runs.items[0].startMs, e.runs.items[e.runs.count - 1].lastMs,
                             computer, ranges);
    if (args.json) {
        Json j;
        j["code"] = code;
        j["runs"] = std::move(runs);
        j["missing"] = e.missing != 0;
        j["durationMs"] = e.durationMs;
        j["bytes"] = e.bytes;
        j["names"] = std::move(names);
        j["mergedName"] = merged;
        print_json(j);
    } else {
        for (size_t i = 0; i < runs.size(); ++i)
            printf("%s - %s UTC  %s\n", utc_ms_text(runs[i]["startMs"].get<int64_t>()).c_str(),
                   utc_ms_text(runs[i]["endMs"].get<int64_t>()).c_str(),
                   names[i].get<std::string>().c_str());
        if (e.runs.count == 0)
            printf("nothing to export in the range\n");
        else
            printf("merged: %s\n%.1f s recorded, about %.1f MB%s\n", merged.c_str(),
                   double(e.durationMs) / 1000.0, double(e.bytes) / 1e6,
                   e.missing ? ", some recordings of the range are missing" : "");
    }
    return exit_status(code);
}

// What the export callbacks share.
struct ExportProgress {
    std::vector<std::string> files;
    bool terminal = false;
    bool printed = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

int on_progress(void *context, uint64_t read, int64_t expected)
{
    ExportProgress *run = static_cast<ExportProgress *>(context);
    if (interrupted())
        return 1;
    if (!run->terminal || expected <= 0)
        return 0;
    double done = double(read) / double(expected);
    if (done > 0.99)
        done = 0.99; // the estimate is rough; 100% is printed at the end
    double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - run->started).count();
    if (read > 0 && elapsed > 0.5) {
        long left = long(elapsed * (1.0 - done) / done + 0.5);
        fprintf(stderr, "\rexporting %3d%%  %ld:%02ld left   ", int(done * 100), left / 60, left % 60);
    } else {
        fprintf(stderr, "\rexporting %3d%%               ", int(done * 100));
    }
    fflush(stderr);
    run->printed = true;
    return 0;
}

void on_file_done(void *context, const char *path, const ExportFileInfo *)
{
    static_cast<ExportProgress *>(context)->files.push_back(path);
}

// Prints the outcome of an export (JSON or text) and returns the exit status.
int report_export(const Args &args, int rc, const std::string &message,
                  const std::vector<std::string> &files, const ExportResult &result)
{
    if (args.json) {
        Json j;
        j["code"] = rc;
        j["message"] = message;
        j["files"] = files;
        j["bytes"] = result.bytes;
        j["audioLeftOut"] = result.audioLeftOut != 0;
        print_json(j);
    } else {
        for (const std::string &f : files)
            printf("%s\n", f.c_str());
        if (result.audioLeftOut)
            printf("the sound of these recordings cannot be kept and was left out\n");
        if (rc != EXPORT_OK)
            fprintf(stderr, "nivra-card: %s (%d)\n", message.c_str(), rc);
    }
    return exit_status(rc);
}

int cmd_export(const Args &args)
{
    int64_t from = 0, to = 0;
    if (!time_range(args, &from, &to))
        return 2;
    CardHandle h;
    int status = 0;
    if (!open_card(args, &h.card, &status))
        return status;
    if (!args.values.count("--out")) {
        fprintf(stderr, "nivra-card: --out FOLDER is required\n");
        return 2;
    }
    const std::string folder = absolute_path(args.value("--out"));
    // Like the export panel: a folder that does not exist yet is made, with
    // the folders above it.
    if (exportMakeFolder(folder.c_str()) != 0)
        return report_export(args, EXPORT_ERR_WRITE, "cannot create the folder " + folder, {},
                             ExportResult{});

    EstimateHandle est;
    int64_t expected = 0;
    if (estimateExport(h.card, from, to, &est.estimate) == 0)
        expected = int64_t(est.estimate.bytes);

    ExportProgress run;
    run.terminal = stderr_is_terminal();
    ExportOptions o{};
    o.merge = args.flags.count("--merge") ? 1 : 0;
    o.container = args.flags.count("--mp4") ? 1 : 0;
    o.audio = args.flags.count("--no-audio") ? 0 : 1;
    o.folder = folder.c_str();
    o.utcOffset = args.flags.count("--computer-time") ? computer_offset_fn : nullptr;
    o.expectedBytes = expected;
    o.progress = on_progress;
    o.fileDone = on_file_done;
    o.context = &run;

    catch_interrupt();
    // Zeroed here: an argument the writer rejects returns before it clears it.
    ExportResult result{};
    int rc = exportRange(h.card, nullptr, from, to, &o, &result);
    if (run.printed)
        fprintf(stderr, rc == EXPORT_OK ? "\rexporting 100%%                \n" : "\n");

    std::string message = exportErrorName(rc);
    if (rc == EXPORT_ERR_WRITE && result.message[0])
        message += std::string(": ") + result.message;
    return report_export(args, rc, message, run.files, result);
}

} // namespace

std::vector<Command> export_commands()
{
    return {
        {"plan", "plan DIR --from MS --to MS [--mp4] [--computer-time] [--json]",
         "runs, file names and expected size of exporting a range (ms since the epoch, UTC)",
         {"--from", "--to"}, {"--mp4", "--computer-time"}, 1, 1, cmd_plan},
        {"export",
         "export DIR --from MS --to MS --out FOLDER [--mp4] [--merge] [--no-audio] "
         "[--computer-time] [--json]",
         "exports a range into MOV (or MP4) files; Ctrl-C cancels",
         {"--from", "--to", "--out"}, {"--mp4", "--merge", "--no-audio", "--computer-time"}, 1, 1,
         cmd_export},
    };
}

} // namespace nivracard
