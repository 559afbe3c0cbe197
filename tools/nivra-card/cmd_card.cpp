// The card sub-commands: summary, ranges, month days, events, keyframes,
// stream probe and frames through a read cursor.
#include "card_time.h"
#include "cli.h"
#include "command_card.h"
#include "commands.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <new>
#include <vector>

namespace nivracard {
namespace {

int cmd_info(const Args &args)
{
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::None, &h, &status))
        return status;
    card_summary s{};
    int rc = card_get_summary(h.card, &s);
    if (rc != CARD_OK)
        return report_error(args, rc);
    if (args.json) {
        Json j = error_json(rc);
        j["summary"] = {{"formatMs", s.format_ms},
                        {"segmentCount", s.segment_count},
                        {"segmentSize", s.segment_size},
                        {"validSegments", s.valid_segments},
                        {"presentSegments", s.present_segments},
                        {"firstSecond", s.first_second},
                        {"lastSecond", s.last_second}};
        print_json(j);
    } else {
        printf("Recording directory %s\n", args.positional[0].c_str());
        printf("  formatted        %s UTC\n", utc_ms_text(static_cast<int64_t>(s.format_ms)).c_str());
        printf("  segments         %u listed, %u valid, %u present\n", s.segment_count, s.valid_segments,
               s.present_segments);
        printf("  segment size     %u bytes\n", s.segment_size);
        std::vector<card_range> ranges;
        if (s.valid_segments > 0 && all_ranges(h.card, &ranges) == CARD_OK) {
            const Clock camera(false, ranges);
            printf("  recorded         %s to %s UTC\n", utc_text(s.first_second).c_str(),
                   utc_text(s.last_second).c_str());
            printf("  camera time      %s to %s\n", camera.local_text(s.first_second).c_str(),
                   camera.local_text(s.last_second).c_str());
        } else if (s.valid_segments > 0)
            printf("  recorded         %s to %s UTC\n", utc_text(s.first_second).c_str(),
                   utc_text(s.last_second).c_str());
        else
            printf("  recorded         nothing\n");
    }
    return exit_status(rc);
}

int cmd_ranges(const Args &args)
{
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::Seconds, &h, &status))
        return status;
    const uint32_t from = h.from_second, to = h.to_second;
    int count = 0;
    int rc = card_ranges(h.card, from, to, nullptr, 0, &count);
    std::vector<card_range> ranges(static_cast<size_t>(count));
    if (rc == CARD_OK && count > 0)
        rc = card_ranges(h.card, from, to, ranges.data(), count, &count);
    if (rc != CARD_OK)
        return report_error(args, rc);
    if (args.json) {
        Json list = Json::array();
        for (const card_range &r : ranges)
            list.push_back({{"first", r.first},
                            {"last", r.last},
                            {"offset", r.utc_offset_min},
                            {"missing", r.missing != 0}});
        Json j;
        j["code"] = rc;
        j["ranges"] = std::move(list);
        print_json(j);
    } else {
        // Each range in its own offset, the camera's clock while it recorded.
        for (const card_range &r : ranges)
            printf("%s - %s UTC  %s - %s %s  %s\n", utc_text(r.first).c_str(), utc_text(r.last).c_str(),
                   utc_text(int64_t(r.first) + r.utc_offset_min * 60).c_str(),
                   utc_text(int64_t(r.last) + r.utc_offset_min * 60).c_str(),
                   offset_text(r.utc_offset_min).c_str(), r.missing ? "missing" : "playable");
        printf("%d range%s\n", count, count == 1 ? "" : "s");
    }
    return exit_status(rc);
}

int cmd_days(const Args &args)
{
    int year = 0, month = 0;
    if (!parse_int(args.positional[1], &year) || !parse_int(args.positional[2], &month)) {
        fprintf(stderr, "nivra-card: days: YEAR and MONTH must be numbers\n");
        return 2;
    }
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::None, &h, &status))
        return status;
    uint32_t mask = 0;
    int rc = card_month_days(h.card, year, month, nullptr, nullptr,
                             args.flags.count("--playable-only") ? 1 : 0, &mask);
    if (rc != CARD_OK)
        return report_error(args, rc);
    std::vector<int> days;
    for (int d = 1; d <= 31; ++d)
        if (mask & (1u << d))
            days.push_back(d);
    if (args.json) {
        Json j;
        j["code"] = rc;
        j["days"] = days;
        print_json(j);
    } else {
        printf("%04d-%02d:", year, month);
        for (int d : days)
            printf(" %d", d);
        printf(days.empty() ? " no recordings\n" : "\n");
    }
    return exit_status(rc);
}

int cmd_events(const Args &args)
{
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::Seconds, &h, &status))
        return status;
    const uint32_t from = h.from_second, to = h.to_second;
    int count = 0;
    int rc = card_events(h.card, from, to, nullptr, 0, &count);
    if (rc != CARD_OK)
        return report_error(args, rc);
    int capacity = count;
    if (!option_int(args, "--capacity", &capacity))
        return 2;
    // No more records can be filled than the scan found: room beyond that
    // would only take memory (a huge --capacity could exhaust it).
    const int slots = std::max(0, std::min(capacity, count));
    std::vector<card_event> events;
    try {
        events.resize(static_cast<size_t>(slots));
    } catch (const std::bad_alloc &) {
        return report_error(args, CARD_ERR_NO_MEMORY);
    }
    rc = card_events(h.card, from, to, slots > 0 ? events.data() : nullptr, capacity < 0 ? capacity : slots,
                     &count);
    if (rc != CARD_OK)
        return report_error(args, rc);
    events.resize(static_cast<size_t>(std::min(count, slots)));
    if (args.json) {
        Json list = Json::array();
        for (const card_event &e : events)
            list.push_back({{"first", e.first},
                            {"last", e.last},
                            {"seconds", card_event_seconds(&e)},
                            {"kinds", e.kinds},
                            {"state", e.state},
                            {"playable", e.playable},
                            {"offset", e.utc_offset_min}});
        Json j;
        j["code"] = rc;
        j["count"] = count;
        j["events"] = std::move(list);
        print_json(j);
    } else {
        static const char *states[] = {"ended", "open", "cut short"};
        for (const card_event &e : events)
            printf("%s UTC  %s %s  %5u s  %-24s %-9s %s\n", utc_text(e.first).c_str(),
                   utc_text(int64_t(e.first) + e.utc_offset_min * 60).c_str(),
                   offset_text(e.utc_offset_min).c_str(), card_event_seconds(&e), kind_list(e.kinds).c_str(),
                   e.state < 3 ? states[e.state] : "?", e.playable ? "playable" : "not playable");
        printf("%d event%s\n", count, count == 1 ? "" : "s");
    }
    return exit_status(rc);
}

struct KeyframeWalk
{
    std::vector<card_keyframe> records;
    uint64_t limit = UINT64_MAX;
};

int cmd_keyframes(const Args &args)
{
    KeyframeWalk walk;
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::Seconds, &h, &status,
                      [&] { return option_u64(args, "--limit", &walk.limit); }))
        return status;
    int rc = card_keyframes(
        h.card, h.from_second, h.to_second,
        [](const card_keyframe *k, void *context) {
            auto *w = static_cast<KeyframeWalk *>(context);
            if (w->records.size() >= w->limit)
                return 1;
            w->records.push_back(*k);
            return w->records.size() >= w->limit ? 1 : 0;
        },
        &walk);
    if (rc != CARD_OK)
        return report_error(args, rc);
    if (args.json) {
        Json list = Json::array();
        for (const card_keyframe &k : walk.records)
            list.push_back({{"timeMs", k.time_ms},
                            {"offset", k.utc_offset_min},
                            {"segment", k.segment},
                            {"fileOffset", k.file_offset},
                            {"flags", k.flags},
                            {"usable", k.usable},
                            {"kinds", k.kinds}});
        Json j;
        j["code"] = rc;
        j["keyframes"] = std::move(list);
        print_json(j);
    } else {
        for (const card_keyframe &k : walk.records)
            printf("%s UTC  %s  seg_%03u.dat @ %u%s  %s\n", utc_ms_text(k.time_ms).c_str(),
                   offset_text(k.utc_offset_min).c_str(), k.segment, k.file_offset,
                   k.usable ? "" : " (absent)", kind_list(k.kinds).c_str());
        printf("%zu keyframe%s\n", walk.records.size(), walk.records.size() == 1 ? "" : "s");
    }
    return exit_status(rc);
}

int cmd_probe(const Args &args)
{
    uint64_t at = 0;
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::None, &h, &status, [&] { return option_u64(args, "--at", &at); }))
        return status;
    card_stream s{};
    int rc = card_probe_stream(h.card, at, &s);
    if (rc < 0)
        return report_error(args, rc);
    if (args.json) {
        Json j;
        j["code"] = rc;
        j["stream"] = {{"videoCodec", s.video_codec},         {"audioKind", s.audio_kind},
                       {"sampleRate", s.sample_rate},         {"channels", s.channels},
                       {"objectType", s.object_type},         {"audioInterval", s.audio_interval_ms},
                       {"videoInterval", s.video_interval_ms}};
        print_json(j);
    } else if (rc == CARD_NO_MORE) {
        printf("nothing recorded at or after %s UTC\n", utc_ms_text(static_cast<int64_t>(at)).c_str());
    } else {
        static const char *codecs[] = {"not recognised", "H.264", "H.265"};
        static const char *audio[] = {"none", "AAC (ADTS)", "AAC (raw)", "G.711 A-law", "unknown"};
        printf("video  %s, one frame every %d ms\n",
               s.video_codec >= 0 && s.video_codec < 3 ? codecs[s.video_codec] : "?", s.video_interval_ms);
        printf("audio  %s", s.audio_kind >= 0 && s.audio_kind < 5 ? audio[s.audio_kind] : "?");
        if (s.audio_kind != CARD_AUDIO_NONE)
            printf(", %d Hz, %d channel%s, object type %d, one frame every %d ms", s.sample_rate, s.channels,
                   s.channels == 1 ? "" : "s", s.object_type, s.audio_interval_ms);
        printf("\n");
    }
    return exit_status(rc);
}

int cmd_frames(const Args &args)
{
    uint64_t at = 0;
    int count = 10, stride = 0;
    CommandCard h;
    int status = 0;
    if (!open_command(args, RangeKind::None, &h, &status, [&] {
            return option_u64(args, "--at", &at) && option_int(args, "--count", &count) &&
                   option_int(args, "--stride", &stride);
        }))
        return status;
    card_cursor *cursor = nullptr;
    int rc = cursor_open(h.card, &cursor);
    if (rc != CARD_OK)
        return report_error(args, rc);
    rc = cursor_set_stride(cursor, stride);
    if (rc != CARD_OK) {
        cursor_close(cursor);
        return report_error(args, rc);
    }
    int64_t landed = -1;
    const int seek = cursor_seek(cursor, at, &landed);
    const bool read = args.flags.count("--read") > 0;
    std::vector<card_frame> frames;
    std::vector<uint8_t> buffer;
    int next = CARD_OK, read_code = CARD_OK;
    for (int i = 0; i < count; ++i) {
        card_frame f{};
        next = cursor_next(cursor, &f);
        if (next != CARD_OK)
            break;
        if (read) {
            buffer.resize(f.size);
            read_code = cursor_read(cursor, buffer.data(), buffer.size());
            if (read_code != CARD_OK)
                break;
        } else {
            cursor_skip(cursor);
        }
        frames.push_back(f);
    }
    cursor_close(cursor);
    static const char *types[] = {"key", "inter", "audio"};
    if (args.json) {
        Json list = Json::array();
        for (const card_frame &f : frames)
            list.push_back({{"type", f.type},
                            {"discontinuity", f.discontinuity},
                            {"offsetMin", f.utc_offset_min},
                            {"timeMs", f.time_ms},
                            {"size", f.size},
                            {"segment", f.segment},
                            {"fileOffset", f.file_offset}});
        Json j;
        j["code"] = seek;
        if (seek < 0)
            j["message"] = card_error_name(seek);
        j["landedMs"] = landed;
        j["frames"] = std::move(list);
        j["next"] = next;
        if (read_code != CARD_OK)
            j["readCode"] = read_code;
        print_json(j);
    } else {
        printf("seek: %s", card_error_name(seek));
        if (seek == CARD_OK)
            printf(", landed at %s UTC", utc_ms_text(landed).c_str());
        printf("\n");
        for (const card_frame &f : frames)
            printf("%s UTC %s  %-5s %7u bytes  seg_%03u.dat @ %u%s\n", utc_ms_text(f.time_ms).c_str(),
                   offset_text(f.utc_offset_min).c_str(), f.type < 3 ? types[f.type] : "?", f.size, f.segment,
                   f.file_offset, f.discontinuity ? "  (discontinuity)" : "");
        if (next != CARD_OK)
            printf("next: %s\n", card_error_name(next));
        if (read_code != CARD_OK)
            printf("read: %s\n", card_error_name(read_code));
    }
    return exit_status(seek);
}

} // namespace

std::vector<Command> card_commands()
{
    return {
        {"info", "info DIR [--json]", "the card summary", {}, {}, 1, 1, cmd_info},
        {"ranges",
         "ranges DIR [--from SEC] [--to SEC] [--json]",
         "recording ranges touching a span of UTC seconds",
         {"--from", "--to"},
         {},
         1,
         1,
         cmd_ranges},
        {"days",
         "days DIR YEAR MONTH [--playable-only] [--json]",
         "days of a month with recordings (each range's own offset)",
         {},
         {"--playable-only"},
         3,
         3,
         cmd_days},
        {"events",
         "events DIR [--from SEC] [--to SEC] [--capacity N] [--json]",
         "events from the index marks",
         {"--from", "--to", "--capacity"},
         {},
         1,
         1,
         cmd_events},
        {"keyframes",
         "keyframes DIR [--from SEC] [--to SEC] [--limit N] [--json]",
         "keyframe index entries",
         {"--from", "--to", "--limit"},
         {},
         1,
         1,
         cmd_keyframes},
        {"probe",
         "probe DIR [--at MS] [--json]",
         "codec and audio format at a time (default 0)",
         {"--at"},
         {},
         1,
         1,
         cmd_probe},
        {"frames",
         "frames DIR --at MS [--count N] [--stride N] [--read] [--json]",
         "frame headers from a cursor seek (count default 10)",
         {"--at", "--count", "--stride"},
         {"--read"},
         1,
         1,
         cmd_frames},
    };
}

} // namespace nivracard
