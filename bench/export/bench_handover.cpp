// bench_handover [SECONDS]: the hand-over's costs at 1080p15 on this
// machine, each the median of three runs of nivra-card:
//  - an export with its evidence package beside the same export without,
//    from the page cache and (as root) from the disk;
//  - the clock burned in, and the share copy of an H.265 card, as multiples
//    of real time, beside ffmpeg doing the same work on our stream copy
//    (drawtext + libx264 veryfast; scale to 720p + libx264 at the same bit
//    rate + AAC).
// The cards (H.264 + AAC and H.265 + G.711, SECONDS long, 60 unless given)
// are written by nivra-cardgen into a temporary folder first.
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr int64_t kStartMs = 1717225200000; // 2024-06-01 07:00:00 UTC

int sh(const std::string &cmd)
{
    const int rc = system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Median seconds of three runs of cmd after clean (both shell commands).
double timed(const std::string &clean, const std::string &cmd)
{
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        sh(clean);
        const auto start = std::chrono::steady_clock::now();
        if (sh(cmd) != 0) {
            fprintf(stderr, "bench_handover: failed: %s\n", cmd.c_str());
            exit(1);
        }
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[1];
}

bool writeCard(const std::string &dir, const char *codec, const char *audio, int seconds)
{
    const std::string json = dir + ".json";
    FILE *f = fopen(json.c_str(), "w");
    if (!f)
        return false;
    fprintf(f,
            "{\"video\": {\"codec\": \"%s\", \"width\": 1920, \"height\": 1080, \"fps\": 15, \"keyint\": 30, "
            "\"bitrate\": 2000000}, \"audio\": {%s}, \"spans\": [{\"start\": \"2024-06-01T07:00:00Z\", "
            "\"seconds\": %d, \"offsetMin\": 120}], \"segments\": {\"seconds\": 60, \"slots\": 64}}\n",
            codec, audio, seconds);
    fclose(f);
    return sh(std::string("'") + NIVRA_CARDGEN_PATH + "' --scenario " + json + " " + dir + " > /dev/null") ==
           0;
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? atoi(argv[1]) : 60;
    if (seconds < 5)
        return 2;
    char pattern[] = "/tmp/nivra-bench-handover-XXXXXX";
    const char *made = mkdtemp(pattern);
    if (!made)
        return 1;
    const std::string root = made;
    const std::string h264 = root + "/h264", h265 = root + "/h265", out = root + "/out";
    if (!writeCard(h264, "h264", "\"format\": \"aac-adts\", \"rate\": 16000, \"channels\": 1", seconds) ||
        !writeCard(h265, "h265", "\"format\": \"alaw\", \"rate\": 8000", seconds)) {
        fprintf(stderr, "bench_handover: nivra-cardgen failed\n");
        return 1;
    }
    const std::string tool = std::string("'") + NIVRA_CARD_PATH + "'";
    const std::string range =
        " --from " + std::to_string(kStartMs) + " --to " + std::to_string(kStartMs + seconds * 1000 - 1);
    const std::string clean = "rm -rf " + out;
    const std::string quiet = " --out " + out + " > /dev/null";

    const double copy = timed(clean, tool + " export " + h264 + range + " --mp4" + quiet);
    const double evidence = timed(clean, tool + " export " + h264 + range + " --mp4 --evidence" + quiet);
    printf("evidence package, card in the page cache: export %.2f s, with the package %.2f s, +%.0f %% (goal "
           "<= 15 %%)\n",
           copy, evidence, (evidence / copy - 1.0) * 100.0);
    // As from a card: nothing of it cached (root only); the package then
    // reads what the copy has just brought in.
    const std::string drop = " && sync && echo 3 > /proc/sys/vm/drop_caches";
    if (sh("sync && echo 3 > /proc/sys/vm/drop_caches 2> /dev/null") == 0) {
        const double cold = timed(clean + drop, tool + " export " + h264 + range + " --mp4" + quiet);
        const double coldEvidence =
            timed(clean + drop, tool + " export " + h264 + range + " --mp4 --evidence" + quiet);
        printf("evidence package, card read from the disk: export %.2f s, with the package %.2f s, +%.0f %% "
               "(goal "
               "<= 15 %%)\n",
               cold, coldEvidence, (coldEvidence / cold - 1.0) * 100.0);
    }

    // The peers re-code our stream copy, so that both do the same work.
    const std::string source = root + "/source.mov", source265 = root + "/source265.mov";
    sh(clean + " && " + tool + " export " + h264 + range + " --merge" + quiet + " && mv " + out + "/*.mov " +
       source);
    sh(clean + " && " + tool + " export " + h265 + range + " --merge" + quiet + " && mv " + out + "/*.mov " +
       source265);
    const double burn = timed(clean, tool + " export " + h264 + range + " --burn-time" + quiet);
    const std::string font = std::string(NIVRA_CLOCK_FONT);
    const double burnPeer =
        timed("rm -f " + root + "/peer.mov",
              "ffmpeg -v error -y -i " + source + " -vf \"drawtext=fontfile=" + font +
                  ":text='%{pts\\:gmtime\\:1717232400}':fontsize=36:fontcolor=white:box=1:boxcolor=black@0.6:"
                  "x=w-tw-27:y=h-th-27\" -c:v libx264 -preset veryfast -crf 20 -c:a copy " +
                  root + "/peer.mov");
    printf("burned-in clock, 1080p15: ours %.2f s (%.1fx real time), ffmpeg %.2f s (%.1fx), ours/ffmpeg %.2f "
           "(goals >= 4x, <= 1.2)\n",
           burn, seconds / burn, burnPeer, seconds / burnPeer, burn / burnPeer);

    const double share = timed(clean, tool + " export " + h265 + range + " --share" + quiet);
    sh("ffprobe -v error -select_streams v -show_entries stream=bit_rate -of csv=p=0 " + out + "/*.mp4 > " +
       root + "/rate");
    long rate = 0;
    if (FILE *f = fopen((root + "/rate").c_str(), "r")) {
        if (fscanf(f, "%ld", &rate) != 1)
            rate = 0;
        fclose(f);
    }
    if (rate <= 0)
        rate = 1000000;
    const std::string kbps = std::to_string(rate / 1000) + "k";
    const double sharePeer = timed("rm -f " + root + "/peer.mp4",
                                   "ffmpeg -v error -y -i " + source265 +
                                       " -vf scale=1280:720 -c:v libx264 -preset veryfast -b:v " + kbps +
                                       " -maxrate " + kbps + " -bufsize " + std::to_string(2 * rate / 1000) +
                                       "k -c:a aac -b:a 48k -movflags +faststart " + root + "/peer.mp4");
    printf("share copy from H.265 1080p15: ours %.2f s (%.1fx real time), ffmpeg %.2f s (%.1fx), ours/ffmpeg "
           "%.2f (goals >= 4x, <= 1.2)\n",
           share, seconds / share, sharePeer, seconds / sharePeer, share / sharePeer);
    sh("rm -rf " + root);
    return 0;
}
