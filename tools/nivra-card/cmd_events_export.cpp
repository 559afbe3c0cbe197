// events-export: one MOV or MP4 file per event of the chosen kinds on a day,
// padded before and after, clipped to what was recorded, with events whose
// padded times overlap written as one file.
#include "cli.h"
#include "command_card.h"
#include "commands.h"
#include "export_run.h"
#include "local_time.h"

#include "export/export_file.h"
#include "export/export_writer.h"
#include "storage/civil_time.h"

#include <ctype.h>
#include <stdio.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace nivracard {
namespace {

// "motion,person" (any letter case, or "all") into CARD_KIND_* bits.
bool parse_kinds(const std::string &text, uint16_t *out)
{
    *out = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string word = text.substr(start, comma - start);
        for (char &c : word)
            c = char(tolower(static_cast<unsigned char>(c)));
        const uint16_t bit = word == "all" ? 0x1F : kind_bit(word);
        if (!bit)
            return false;
        *out = uint16_t(*out | bit);
        start = comma + 1;
    }
    return *out != 0;
}

// One file to write (exportEventPieces) and the files it became.
struct Piece
{
    ExportEventPiece plan{};
    std::vector<std::string> files;
};

uint32_t clamp_seconds(int64_t ms)
{
    if (ms <= 0)
        return 0;
    return uint32_t(std::min<int64_t>(ms / 1000, 0xFFFFFFFFLL));
}

// The window whose events are exported: the --day in the command's clock,
// narrowed by --from and --to. Prints the error and returns false.
bool event_window(const Args &args, const Clock &clock, const TypedTime &tf, const TypedTime &tt,
                  int64_t *from, int64_t *to)
{
    *from = 0;
    *to = std::numeric_limits<int64_t>::max();
    if (args.values.count("--day")) {
        int64_t midnight = 0;
        if (!parse_day(args.value("--day"), &midnight)) {
            fprintf(stderr, "nivra-card: --day: not a date: %s (expected 2024-05-12)\n",
                    args.value("--day").c_str());
            return false;
        }
        *from = first_instant(clock, midnight);
        *to = first_instant(clock, midnight + kDayMs) - 1;
    }
    if (args.values.count("--from") && !resolve_time("--from", tf, clock, from))
        return false;
    if (args.values.count("--to") && !resolve_time("--to", tt, clock, to))
        return false;
    return true;
}

Json piece_json(const Piece &p)
{
    return {{"startMs", p.plan.fromMs}, {"endMs", p.plan.toMs},           {"kinds", p.plan.kinds},
            {"events", p.plan.events},  {"missing", p.plan.missing != 0}, {"files", p.files}};
}

int cmd_events_export(const Args &args)
{
    uint16_t kinds = 0x1F;
    if (args.values.count("--kinds") && !parse_kinds(args.value("--kinds"), &kinds)) {
        fprintf(stderr,
                "nivra-card: --kinds: expected a list of motion, sound, crying, pir, person or all: %s\n",
                args.value("--kinds").c_str());
        return 2;
    }
    uint32_t pre = 0, post = 0;
    if (!option_u32(args, "--pre", &pre) || !option_u32(args, "--post", &post))
        return 2;
    if (!args.values.count("--day") && !(args.values.count("--from") && args.values.count("--to"))) {
        fprintf(stderr, "nivra-card: --day DATE (or --from and --to) is required\n");
        return 2;
    }
    if (!args.values.count("--out")) {
        fprintf(stderr, "nivra-card: --out FOLDER is required\n");
        return 2;
    }
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::TypedOptional, &h, &status))
        return status;
    const Clock &clock = h.clock;
    int64_t from = 0, to = 0;
    if (!event_window(args, clock, h.typed_from, h.typed_to, &from, &to))
        return 2;

    int count = 0;
    int rc = card_events(h.card, clamp_seconds(from), clamp_seconds(to), nullptr, 0, &count);
    std::vector<card_event> events(size_t(std::max(count, 0)));
    if (rc == CARD_OK && count > 0)
        rc = card_events(h.card, clamp_seconds(from), clamp_seconds(to), events.data(), count, &count);
    if (rc != CARD_OK)
        return report_error(args, rc);
    events.resize(size_t(std::min(count, int(events.size()))));

    // Each event padded and clipped to its recorded time; the ones with
    // nothing recorded left are reported, not exported.
    std::vector<ExportEventPiece> planned(events.size());
    std::vector<ExportSkippedEvent> left_out(events.size());
    int piece_count = 0, skipped_count = 0;
    rc = exportEventPieces(h.card, events.data(), int(events.size()), kinds, pre, post, from, to,
                           planned.data(), &piece_count, left_out.data(), &skipped_count);
    if (rc < 0)
        return report_export(args, rc, exportErrorName(rc), ExportProgress{}, ExportResult{}, &clock);
    std::vector<Piece> merged(static_cast<size_t>(piece_count));
    for (size_t i = 0; i < merged.size(); ++i)
        merged[i].plan = planned[i];
    Json skipped = Json::array();
    for (int i = 0; i < skipped_count; ++i) {
        const ExportSkippedEvent &s = left_out[size_t(i)];
        skipped.push_back({{"first", s.first},
                           {"last", s.last},
                           {"kinds", s.kinds},
                           {"reason", s.missing ? "missing" : "not recorded"}});
    }

    const std::string folder = absolute_path(args.value("--out"));
    if (refuse_output_on_card(args, folder))
        return 2;
    if (!merged.empty() && exportMakeFolder(folder.c_str()) != 0)
        return report_export(args, EXPORT_ERR_WRITE, "cannot create the folder " + folder, ExportProgress{},
                             ExportResult{}, &clock, {{"exports", Json::array()}, {"skipped", skipped}});

    ExportProgress run;
    run.terminal = stderr_is_terminal();
    for (const Piece &p : merged)
        run.total += int64_t(p.plan.bytes);
    ExportOptions o{};
    o.merge = 1; // one file per event, across any gap inside it
    o.container = args.flags.count("--mp4") ? 1 : 0;
    o.audio = args.flags.count("--no-audio") ? 0 : 1;
    o.timeTrack = args.flags.count("--time-track") ? 1 : 0;
    o.folder = folder.c_str();
    o.utcOffset = args.flags.count("--computer-time") ? computer_offset_fn : nullptr;
    o.progress = on_progress;
    o.fileDone = on_file_done;
    o.runLost = on_run_lost;
    o.context = &run;

    catch_interrupt();
    ExportResult total{};
    std::string message;
    rc = EXPORT_NOTHING;
    for (size_t i = 0; i < merged.size(); ++i) {
        ExportResult result{};
        const size_t before = run.files.size();
        o.expectedBytes = int64_t(merged[i].plan.bytes);
        std::shared_ptr<void> coder;
        const int refused = set_recoding(args, merged[i].plan.toMs - merged[i].plan.fromMs, &coder, &o);
        if (refused != 0)
            return refused;
        const int one = exportRange(h.card, nullptr, merged[i].plan.fromMs, merged[i].plan.toMs, &o, &result);
        merged[i].files.assign(run.files.begin() + long(before), run.files.end());
        exportResultAdd(&total, &result);
        run.base += merged[i].plan.bytes;
        if (one == EXPORT_OK) {
            rc = EXPORT_OK;
        } else if (one != EXPORT_NOTHING) {
            rc = one; // cancelled or failed: the files so far stay, the rest is not written
            message = export_message(one, result);
            break;
        }
    }
    end_progress(run, rc);
    if (message.empty())
        message = exportErrorName(rc);

    Json exports = Json::array();
    for (const Piece &p : merged)
        exports.push_back(piece_json(p));
    if (!args.json) {
        for (const Piece &p : merged)
            printf("%s - %s  %s  %d event%s%s\n", clock.local_text(p.plan.fromMs / 1000).c_str(),
                   clock.local_text(p.plan.toMs / 1000).c_str(), kind_list(p.plan.kinds).c_str(),
                   p.plan.events, p.plan.events == 1 ? "" : "s", p.plan.missing ? ", partly missing" : "");
        for (const Json &s : skipped)
            printf("skipped %s  %s: %s\n", clock.local_text(s["first"].get<int64_t>()).c_str(),
                   kind_list(s["kinds"].get<uint16_t>()).c_str(),
                   s["reason"] == "missing" ? "its recordings are missing" : "nothing recorded");
        if (merged.empty() && skipped.empty())
            printf("no matching events\n");
    }
    Json extra = {{"exports", exports}, {"skipped", skipped}};
    if (rc == EXPORT_OK && args.flags.count("--evidence")) {
        const int failed = write_evidence(args, h.card, folder, from, to, run, &extra);
        if (failed != 0) {
            report_export(args, rc, message, run, total, &clock, extra);
            return failed;
        }
    }
    return report_export(args, rc, message, run, total, &clock, extra);
}

} // namespace

std::vector<Command> events_export_commands()
{
    return {
        {"events-export",
         "events-export DIR --day DATE [--kinds LIST] [--pre S] [--post S] [--from TIME] [--to TIME] "
         "--out FOLDER [--mp4] [--no-audio] [--time-track] [--burn-time] [--share [--share-mb N]] "
         "[--evidence] "
         "[--computer-time] [--json]",
         "one file per event of a day (kinds: motion,sound,crying,pir,person or all), padded by\n"
         "      --pre/--post seconds, overlapping ones as one file (--burn-time, --share as for export);\n"
         "      Ctrl-C cancels",
         {"--day", "--kinds", "--pre", "--post", "--from", "--to", "--out", "--share-mb"},
         {"--mp4", "--no-audio", "--time-track", "--burn-time", "--share", "--evidence", "--computer-time"},
         1,
         1,
         cmd_events_export},
    };
}

} // namespace nivracard
