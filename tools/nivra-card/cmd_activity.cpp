// activity and loudness: the activity index on the command line, built into
// the same cache folder the window uses.
#include "activity/analysis.h"
#include "command_card.h"
#include "commands.h"
#include "local_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <thread>

namespace nivracard {

namespace {

namespace act = nivra::activity;

constexpr double kDefaultThreshold = 0.02;

int bad_input(const Args &args, const std::string &message)
{
    if (args.json)
        print_json({{"code", act::ACT_ERR_ARGUMENT}, {"message", message}});
    else
        fprintf(stderr, "nivra-card: %s\n", message.c_str());
    return 2;
}

bool parse_fraction(const std::string &text, double *out)
{
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || !end || *end != '\0' || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

// "X,Y,W,H" in fractions of the picture.
bool parse_region(const std::string &text, act::Region *out)
{
    std::stringstream in(text);
    std::string part;
    double v[4];
    int n = 0;
    while (std::getline(in, part, ',')) {
        if (n == 4 || !parse_fraction(part, &v[n]))
            return false;
        ++n;
    }
    if (n != 4)
        return false;
    *out = {v[0], v[1], v[2], v[3]};
    return act::region_valid(*out);
}

int on_index_progress(int64_t done, int64_t total, void *context)
{
    if (interrupted())
        return 1;
    if (*static_cast<bool *>(context) && total > 0) {
        fprintf(stderr, "\rindexing %3d%%", int(done * 100 / total));
        fflush(stderr);
    }
    return 0;
}

bool has_recordings(card_reader *card, int64_t from_ms, int64_t to_ms)
{
    std::vector<card_range> ranges(64);
    int count = 0;
    if (card_ranges(card, uint32_t(from_ms / 1000), uint32_t(to_ms / 1000), ranges.data(), int(ranges.size()),
                    &count) != CARD_OK)
        return false;
    for (int i = 0; i < std::min<int>(count, int(ranges.size())); ++i)
        if (!ranges[size_t(i)].missing)
            return true;
    return count > int(ranges.size());
}

// Opens the card, checks the range and builds what the index lacks of it.
bool open_index(const Args &args, CommandCard *h, act::Index *index, int *status,
                const std::function<bool()> &options)
{
    if (!open_command(args, RangeKind::Typed, h, status, options))
        return false;
    if (h->from_ms > h->to_ms) {
        *status = bad_input(args, "--from lies after --to");
        return false;
    }
    if (!has_recordings(h->card, h->from_ms, h->to_ms)) {
        *status = bad_input(args, "no recordings between --from and --to");
        return false;
    }
    catch_interrupt();
    bool terminal = stderr_is_terminal();
    // Every core: the command is what the user waits for.
    const int threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const int rc = act::build_index(h->card, act::default_cache_dir(), h->from_ms, h->to_ms, index, nullptr,
                                    on_index_progress, &terminal, threads);
    if (terminal)
        fprintf(stderr, "\r              \r");
    if (rc != act::ACT_OK) {
        if (args.json)
            print_json({{"code", rc}, {"message", act::error_name(rc)}});
        else
            fprintf(stderr, "nivra-card: the index could not be built: %s\n", act::error_name(rc));
        *status = 2;
        return false;
    }
    return true;
}

int cmd_activity(const Args &args)
{
    act::Region region;
    double threshold = kDefaultThreshold;
    bool optionsOk = true;
    std::string optionError;
    const auto options = [&] {
        if (args.has("--region") && !parse_region(args.value("--region"), &region)) {
            optionError = "--region needs X,Y,W,H: fractions of the picture (0-1), not empty";
            optionsOk = false;
        } else if (args.has("--threshold") && (!parse_fraction(args.value("--threshold"), &threshold) ||
                                               threshold < 0.0 || threshold > 1.0)) {
            optionError = "--threshold needs a fraction of the area between 0 and 1";
            optionsOk = false;
        }
        return optionsOk;
    };
    CommandCard h;
    act::Index index;
    int status = 0;
    if (!open_index(args, &h, &index, &status, options))
        return optionsOk ? status : bad_input(args, optionError);

    const act::Analysis analysis = act::analyse(index.pictures);
    const std::vector<act::Change> changes =
        act::find_changes(analysis, region, threshold, h.from_ms, h.to_ms);
    int64_t keyframes = 0, holes = 0;
    for (const act::KeyPicture &p : index.pictures) {
        if (p.time_ms < h.from_ms || p.time_ms > h.to_ms)
            continue;
        ++keyframes;
        holes += p.hole;
    }
    if (args.json) {
        Json list = Json::array();
        for (const act::Change &c : changes)
            list.push_back({{"startMs", c.start_ms},
                            {"endMs", c.end_ms},
                            {"kind", c.kind == act::CHANGE_LIGHTING ? "lighting" : "change"},
                            {"area", std::round(c.area * 1000.0) / 1000.0}});
        print_json({{"code", 0}, {"changes", std::move(list)}, {"keyframes", keyframes}, {"holes", holes}});
    } else {
        for (const act::Change &c : changes)
            printf("%s UTC  %5lld s  %-8s %3d%%\n", utc_ms_text(c.start_ms).c_str(),
                   static_cast<long long>((c.end_ms - c.start_ms) / 1000),
                   c.kind == act::CHANGE_LIGHTING ? "lighting" : "change", int(std::lround(c.area * 100.0)));
        printf("%zu change%s, %lld key frames, %lld holes\n", changes.size(), changes.size() == 1 ? "" : "s",
               static_cast<long long>(keyframes), static_cast<long long>(holes));
    }
    return 0;
}

int cmd_loudness(const Args &args)
{
    CommandCard h;
    act::Index index;
    int status = 0;
    if (!open_index(args, &h, &index, &status, {}))
        return status;
    Json list = Json::array();
    for (const act::SoundSecond &s : index.seconds) {
        if (s.ms + 999 < h.from_ms || s.ms > h.to_ms)
            continue;
        if (args.json)
            list.push_back({{"ms", s.ms}, {"dbfs", std::round(double(s.dbfs) * 100.0) / 100.0}});
        else
            printf("%s UTC  %7.2f dBFS\n", utc_ms_text(s.ms).c_str(), double(s.dbfs));
    }
    if (args.json)
        print_json({{"code", 0}, {"seconds", std::move(list)}});
    return 0;
}

} // namespace

std::vector<Command> activity_commands()
{
    return {
        {"activity",
         "activity DIR --from TIME --to TIME [--day DATE] [--region X,Y,W,H] [--threshold T] "
         "[--computer-time] "
         "[--json]",
         "changes in the picture (an area in fractions of it), from the activity index built into the\n"
         "      cache folder as needed; T is the share of the area that must change (default 0.02)",
         {"--from", "--to", "--day", "--region", "--threshold"},
         {"--computer-time"},
         1,
         1,
         cmd_activity},
        {"loudness",
         "loudness DIR --from TIME --to TIME [--day DATE] [--computer-time] [--json]",
         "the sound's loudness (RMS, dBFS) of every second, from the activity index",
         {"--from", "--to", "--day"},
         {"--computer-time"},
         1,
         1,
         cmd_loudness},
    };
}

} // namespace nivracard
