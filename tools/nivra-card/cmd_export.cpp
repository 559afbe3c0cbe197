// The export sub-commands: plan (runs, names and size of a range before
// anything is written) and export (the batch export of a range into MOV or
// MP4 files, cancelled cleanly by Ctrl-C).
#include "cli.h"
#include "command_card.h"
#include "commands.h"
#include "export_run.h"
#include "local_time.h"

#include "export/export_file.h"
#include "export/export_writer.h"

#include <stdio.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace nivracard {

int on_progress(void *context, uint64_t read, int64_t expected)
{
    ExportProgress *run = static_cast<ExportProgress *>(context);
    if (interrupted())
        return 1;
    if (run->total > 0) {
        read += run->base;
        expected = run->total;
    }
    if (!run->terminal || expected <= 0)
        return 0;
    double done = double(read) / double(expected);
    if (done > 0.99)
        done = 0.99; // the estimate is rough; 100% is printed at the end
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - run->started).count();
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

void on_file_done(void *context, const char *path, const ExportFileInfo *info)
{
    ExportProgress *run = static_cast<ExportProgress *>(context);
    run->files.push_back(path);
    DoneFile done;
    done.path = path;
    done.info = *info;
    done.info.segments = nullptr;
    done.segments.assign(info->segments, info->segments + info->segmentCount);
    run->done.push_back(std::move(done));
}

void on_run_lost(void *context, const ExportLostRun *run)
{
    static_cast<ExportProgress *>(context)->lost.push_back(*run);
}

int32_t computer_offset_fn(uint32_t utc_seconds, void *, const ExportOptions *)
{
    return computer_offset_seconds(int64_t(utc_seconds));
}

void end_progress(const ExportProgress &run, int rc)
{
    if (run.printed)
        fprintf(stderr, rc == EXPORT_OK ? "\rexporting 100%%                \n" : "\n");
}

bool refuse_output_on_card(const Args &args, const std::string &folder)
{
    const std::string &card = args.positional.at(0);
    if (!exportPathIsInside(folder.c_str(), card.c_str()))
        return false;
    fprintf(stderr,
            "nivra-card: --out: %s is inside the card's folder %s, and the card is never written to; "
            "choose a folder elsewhere\n",
            folder.c_str(), card.c_str());
    return true;
}

std::string export_message(int rc, const ExportResult &result)
{
    std::string message = exportErrorName(rc);
    if ((rc == EXPORT_ERR_WRITE || rc == EXPORT_ERR_RECODE) && result.message[0])
        message += std::string(": ") + result.message;
    return message;
}

int report_export(const Args &args, int rc, const std::string &message, const ExportProgress &run,
                  const ExportResult &result, const Clock *clock, const Json &extra)
{
    // Nothing written where something was planned is a loss too.
    const bool finished = rc == EXPORT_OK || rc == EXPORT_NOTHING;
    const bool incomplete = finished && exportIncomplete(&result);
    if (args.json) {
        Json lost = Json::array();
        for (const ExportLostRun &l : run.lost)
            lost.push_back({{"startMs", l.startMs}, {"endMs", l.endMs}, {"writtenMs", l.writtenMs}});
        Json j;
        j["code"] = rc;
        j["message"] = message;
        j["files"] = run.files;
        j["bytes"] = result.bytes;
        j["audioLeftOut"] = result.audioLeftOut != 0;
        j["plannedMs"] = result.plannedMs;
        j["writtenMs"] = result.writtenMs;
        j["skippedFrames"] = result.skippedFrames;
        j["lost"] = std::move(lost);
        j["complete"] = rc == EXPORT_OK && !incomplete;
        for (auto it = extra.begin(); it != extra.end(); ++it)
            j[it.key()] = it.value();
        print_json(j);
    } else {
        for (const std::string &f : run.files)
            printf("%s\n", f.c_str());
        if (result.audioLeftOut)
            printf("the sound of these recordings cannot be kept and was left out\n");
        for (const ExportLostRun &l : run.lost) {
            const std::string from = clock ? clock->local_text(l.startMs / 1000) : utc_ms_text(l.startMs);
            const std::string to = clock ? clock->local_text(l.endMs / 1000) : utc_ms_text(l.endMs);
            fprintf(stderr, "nivra-card: warning: not written whole: %s - %s (%.1f s of %.1f s written)\n",
                    from.c_str(), to.c_str(), double(l.writtenMs) / 1000.0,
                    double(l.endMs - l.startMs) / 1000.0);
        }
        if (finished && result.skippedFrames > 0)
            fprintf(stderr, "nivra-card: warning: %llu damaged frames left out\n",
                    static_cast<unsigned long long>(result.skippedFrames));
        if (rc != EXPORT_OK && rc != EXPORT_NOTHING)
            fprintf(stderr, "nivra-card: %s (%d)\n", message.c_str(), rc);
    }
    return incomplete ? kExitIncomplete : exit_status(rc);
}

namespace {

std::string export_name(int container, int64_t start, int64_t end, const Clock &clock)
{
    char name[EXPORT_PATH_MAX];
    if (formatExportName(nullptr, container, start, end, clock.offset_seconds(start),
                         clock.offset_seconds(end), name, sizeof name) != 0)
        return std::string();
    return name;
}

int cmd_plan(const Args &args)
{
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::Typed, &h, &status))
        return status;
    const Clock &clock = h.clock;
    const int64_t from = h.from_ms, to = h.to_ms;
    const int container = args.flags.count("--mp4") ? 1 : 0;

    EstimateHandle est;
    int rc = estimateExport(h.card, from, to, &est.estimate);
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
        names.push_back(export_name(container, r.startMs, r.lastMs, clock));
    }
    std::string merged;
    if (e.runs.count > 0)
        merged =
            export_name(container, e.runs.items[0].startMs, e.runs.items[e.runs.count - 1].lastMs, clock);
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
                   utc_ms_text(runs[i]["endMs"].get<int64_t>()).c_str(), names[i].get<std::string>().c_str());
        if (e.runs.count == 0)
            printf("nothing to export in the range\n");
        else
            printf("merged: %s\n%.1f s recorded, about %.1f MB%s\n", merged.c_str(),
                   double(e.durationMs) / 1000.0, double(e.bytes) / 1e6,
                   e.missing ? ", some recordings of the range are missing" : "");
    }
    return exit_status(code);
}

int cmd_export(const Args &args)
{
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::Typed, &h, &status))
        return status;
    const int64_t from = h.from_ms, to = h.to_ms;
    if (!args.values.count("--out")) {
        fprintf(stderr, "nivra-card: --out FOLDER is required\n");
        return 2;
    }
    const std::string folder = absolute_path(args.value("--out"));
    if (refuse_output_on_card(args, folder))
        return 2;
    // Like the export panel: a folder that does not exist yet is made, with
    // the folders above it.
    if (exportMakeFolder(folder.c_str()) != 0)
        return report_export(args, EXPORT_ERR_WRITE, "cannot create the folder " + folder, ExportProgress{},
                             ExportResult{}, &h.clock);

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
    o.timeTrack = args.flags.count("--time-track") ? 1 : 0;
    o.folder = folder.c_str();
    o.utcOffset = args.flags.count("--computer-time") ? computer_offset_fn : nullptr;
    o.expectedBytes = expected;
    o.progress = on_progress;
    o.fileDone = on_file_done;
    o.runLost = on_run_lost;
    o.context = &run;
    std::shared_ptr<void> coder;
    const int refused = set_recoding(args, est.estimate.durationMs, &coder, &o);
    if (refused != 0)
        return refused;

    catch_interrupt();
    // Zeroed here: an argument the writer rejects returns before it clears it.
    ExportResult result{};
    int rc = exportRange(h.card, nullptr, from, to, &o, &result);
    end_progress(run, rc);
    Json extra = Json::object();
    if (rc == EXPORT_OK && args.flags.count("--evidence")) {
        const int failed = write_evidence(args, h.card, folder, from, to, run, &extra);
        if (failed != 0) {
            report_export(args, rc, export_message(rc, result), run, result, &h.clock, extra);
            return failed;
        }
    }
    return report_export(args, rc, export_message(rc, result), run, result, &h.clock, extra);
}

} // namespace

std::vector<Command> export_commands()
{
    return {
        {"plan",
         "plan DIR --from TIME --to TIME [--day DATE] [--mp4] [--computer-time] [--json]",
         "runs, file names and expected size of exporting a range",
         {"--from", "--to", "--day"},
         {"--mp4", "--computer-time"},
         1,
         1,
         cmd_plan},
        {"export",
         "export DIR --from TIME --to TIME [--day DATE] --out FOLDER [--mp4] [--merge] [--no-audio] "
         "[--time-track] [--burn-time] [--share [--share-mb N]] [--evidence] [--computer-time] [--json]",
         "exports a range into MOV (or MP4) files; Ctrl-C cancels. A TIME is ms since the epoch (UTC),\n"
         "      2024-05-12T08:41:00, \"2024-05-12 08:41\" or 08:41:00 with --day 2024-05-12, read in\n"
         "      the camera's time (or this computer's with --computer-time); --time-track adds the\n"
         "      camera's clock as a subtitle track; --burn-time draws it into the picture (re-coded as\n"
         "      H.264); --share makes one MP4 that plays anywhere: H.264 at 720p at most, AAC sound,\n"
         "      under N MB (8, 16, 25 or 50; 25 if not given); --evidence writes report.html and\n"
         "      SHA256SUMS beside the files",
         {"--from", "--to", "--day", "--out", "--share-mb"},
         {"--mp4", "--merge", "--no-audio", "--time-track", "--burn-time", "--share", "--evidence",
          "--computer-time"},
         1,
         1,
         cmd_export},
    };
}

} // namespace nivracard
