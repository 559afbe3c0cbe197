// bench_index: the activity index against ffmpeg on the same hours of
// 1080p15 video with a key frame every 2 s, H.264 then H.265. For each it
// prints our build time, the bytes read against the key frames' own bytes
// and the peak memory growth; ffmpeg decoding the same key frames of the
// merged MP4 our export writes, and ffmpeg decoding every frame for scene
// changes (what desktop analysers do); then the time of an area query over
// one day and over seven. Usage: bench_index [MINUTES] (default 10), or
// bench_index query for the query figures alone.
#include "activity/analysis.h"
#include "export/export_writer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

namespace act = nivra::activity;

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int sh(const std::string &command)
{
    return std::system(command.c_str());
}

double timeCommand(const std::string &command)
{
    const double t0 = now();
    if (sh(command) != 0)
        fprintf(stderr, "command failed: %s\n", command.c_str());
    return now() - t0;
}

double peakMiB()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_maxrss) / 1024.0;
}

// The key frames' own bytes, read off their headers.
uint64_t keyframeBytes(card_reader *card)
{
    card_cursor *cursor = nullptr;
    if (cursor_open(card, &cursor) != CARD_OK)
        return 0;
    cursor_set_stride(cursor, 1);
    uint64_t bytes = 0;
    card_frame f;
    if (cursor_seek(cursor, 0, nullptr) == CARD_OK)
        while (cursor_next(cursor, &f) == CARD_OK) {
            if (f.type == CARD_FRAME_KEY)
                bytes += f.size;
            cursor_skip(cursor);
        }
    cursor_close(cursor);
    return bytes;
}

void benchCodec(const std::string &work, const char *codec, int minutes)
{
    const std::string dir = work + "/" + codec;
    sh("mkdir -p " + dir + "/out " + dir + "/cache");
    FILE *f = fopen((dir + "/scenario.json").c_str(), "w");
    fprintf(f,
            "{\"video\": {\"codec\": \"%s\", \"width\": 1920, \"height\": 1080, \"fps\": 15, \"keyint\": 30, "
            "\"bitrate\": 2000000},"
            "\"audio\": {\"format\": \"aac-adts\", \"rate\": 16000, \"channels\": 1},"
            "\"pooled\": true, \"poolGops\": 6,"
            "\"spans\": [{\"start\": \"2024-05-01T08:00:00Z\", \"seconds\": %d, \"offsetMin\": 0}],"
            "\"segments\": {\"seconds\": 300, \"slots\": %d, \"sizeLimit\": 134217728}}\n",
            codec, minutes * 60, minutes / 5 + 2);
    fclose(f);
    printf("\n== %s, %d min of 1080p15 (writing the card ...)\n", codec, minutes);
    fflush(stdout);
    if (sh(std::string(NIVRA_CARDGEN_PATH) + " --scenario " + dir + "/scenario.json " + dir + "/card") != 0)
        return;
    card_reader *card = nullptr;
    if (card_open((dir + "/card").c_str(), &card) != CARD_OK)
        return;
    card_summary s{};
    card_get_summary(card, &s);
    const int64_t from = int64_t(s.first_second) * 1000, to = card_last_ms(s.last_second);

    const double before = peakMiB();
    act::Index index;
    act::BuildStats stats;
    const double t0 = now();
    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    const int rc =
        act::build_index(card, dir + "/cache", from, to, &index, &stats, nullptr, nullptr, threads);
    const double built = now() - t0;
    const double grown = peakMiB() - before;
    const uint64_t keyBytes = keyframeBytes(card);
    // What the card holds, not what was asked for: a card too small for
    // the span keeps only its latest part.
    const double hours = double(to - from + 1) / 3600000.0;
    if (hours * 60.0 < minutes * 0.95)
        printf("  the card keeps only %.1f of the %d minutes\n", hours * 60.0, minutes);
    printf("ours (%d threads): %s, %lld key frames in %.2f s (%.1f s per 24 h), %lld holes\n", threads,
           act::error_name(rc), static_cast<long long>(stats.keyframes), built, built / hours * 24.0,
           static_cast<long long>(stats.holes));
    printf(
        "  video bytes read %.1f MiB against %.1f MiB of key frames: %.2fx (goal <= 1.2); sound %.2f MiB\n",
        double(stats.bytes_read) / 1048576.0, double(keyBytes) / 1048576.0,
        keyBytes ? double(stats.bytes_read) / double(keyBytes) : 0.0, double(stats.sound_bytes) / 1048576.0);
    printf("  peak memory grew by %.1f MiB\n", grown);
    sh("du -sb --apparent-size " + dir +
       "/cache | awk '{printf \"  index on disk: %.2f MiB, %.1f MiB per 24 h\\n\", $1/1048576, "
       "$1/1048576*24/" +
       std::to_string(hours) + "}'");
    const double reopen0 = now();
    act::build_index(card, dir + "/cache", from, to, &index, &stats);
    printf("  reopened: %.3f s, %lld decoded\n", now() - reopen0, static_cast<long long>(stats.decoded));

    ExportOptions o;
    std::memset(&o, 0, sizeof o);
    const std::string out = dir + "/out";
    o.folder = out.c_str();
    o.container = 1;
    o.merge = 1;
    o.audio = 1;
    ExportResult r;
    if (exportRange(card, nullptr, from, to, &o, &r) != 0)
        fprintf(stderr, "export failed: %s\n", r.message);
    card_close(card);
    const std::string mp4 = "\"$(ls " + out + "/*.mp4 | head -1)\"";
    const double keyOnly =
        timeCommand("ffmpeg -v error -skip_frame nokey -i " + mp4 + " -vf scale=64:36,format=gray -f null -");
    const double every =
        timeCommand("ffmpeg -v error -i " + mp4 + " -vf \"select='gt(scene,0.02)'\" -f null -");
    printf("ffmpeg key frames only: %.2f s (ours %.2fx of it; goal <= 0.8)\n", keyOnly, built / keyOnly);
    printf("ffmpeg every frame, scene select: %.2f s (ours %.1fx faster; goal >= 20)\n", every,
           every / built);
}

// A day (and a week) of pictures 2 s apart made from the index's own, then
// the area query the window makes.
void benchQuery()
{
    for (int days : {1, 7}) {
        std::vector<act::KeyPicture> pictures(size_t(days) * 43200);
        for (size_t i = 0; i < pictures.size(); ++i) {
            act::KeyPicture &p = pictures[i];
            p.time_ms = 1714550400000 + int64_t(i) * 2000;
            for (int c = 0; c < act::kCells; ++c)
                p.grid[c] = uint8_t(80 + (c % 40) + ((i * 31 + size_t(c) * 17) % 5));
            if (i % 997 < 8)
                for (int c = 300; c < 340; ++c)
                    p.grid[c] = 220;
        }
        const double t0 = now();
        const act::Analysis a = act::analyse(pictures);
        const double analysed = now() - t0;
        const std::vector<act::Change> found = act::find_changes(
            a, {0.5, 0.4, 0.3, 0.3}, 0.02, pictures.front().time_ms, pictures.back().time_ms);
        const double total = now() - t0;
        printf("area query over %d day%s: %.0f ms (analysis %.0f ms), %zu changes (goal <= %d ms)\n", days,
               days == 1 ? "" : "s", total * 1000.0, analysed * 1000.0, found.size(), days == 1 ? 100 : 500);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "query") == 0) {
        benchQuery();
        return 0;
    }
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    char tmpl[] = "/tmp/nivra-bench-activity-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const std::string work = tmpl;
    benchCodec(work, "h264", minutes);
    benchCodec(work, "h265", minutes);
    printf("\n");
    benchQuery();
    sh("rm -rf " + work);
    return 0;
}
