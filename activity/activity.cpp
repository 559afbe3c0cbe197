#include "activity/activity.h"

#include "activity/decoders.h"
#include "export/export_file.h"
#include "storage/crc.h"
#include "storage/file_io.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

namespace nivra::activity {

namespace {

// Bumped whenever what a file holds or how a grid is measured changes; a
// file of another version is rebuilt.
constexpr uint32_t kVersion = 1;
constexpr char kMagic[8] = {'N', 'V', 'A', 'C', 'T', 'I', 'D', 'X'};
constexpr size_t kHeaderBytes = 40;
constexpr size_t kPictureBytes = 8 + 1 + kCells;
constexpr size_t kSecondBytes = 8 + 2;
// Key frames are looked up this far around the span, so that the segments
// at its edges are indexed whole.
constexpr uint32_t kMarginSeconds = 4 * 3600;

// The key frames of one segment file as the card's index lists them: the
// unit the cache keeps, since the camera writes a segment once.
struct Segment
{
    uint16_t number = 0;
    std::vector<int64_t> keyTimes;
};

struct Entries
{
    std::vector<Segment> segments;
};

int collectEntry(const card_keyframe *k, void *context)
{
    Entries *e = static_cast<Entries *>(context);
    if (!k->usable)
        return 0;
    if (e->segments.empty() || e->segments.back().number != k->segment)
        e->segments.push_back({k->segment, {}});
    e->segments.back().keyTimes.push_back(k->time_ms);
    return 0;
}

void put(std::vector<uint8_t> *out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back(uint8_t(value >> (8 * i)));
}

uint64_t get(const uint8_t *p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint64_t(p[i]) << (8 * i);
    return value;
}

struct Cached
{
    std::vector<KeyPicture> pictures;
    std::vector<SoundSecond> seconds;
};

std::vector<uint8_t> encode(const Segment &segment, const Cached &c)
{
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + c.pictures.size() * kPictureBytes + c.seconds.size() * kSecondBytes + 4);
    out.insert(out.end(), kMagic, kMagic + 8);
    put(&out, kVersion, 4);
    put(&out, kGridW, 2);
    put(&out, kGridH, 2);
    put(&out, segment.number, 4);
    put(&out, c.pictures.size(), 4);
    put(&out, c.seconds.size(), 4);
    put(&out, 0, 4);
    put(&out, uint64_t(segment.keyTimes.front()), 8);
    for (const KeyPicture &p : c.pictures) {
        put(&out, uint64_t(p.time_ms), 8);
        out.push_back(p.hole);
        out.insert(out.end(), p.grid, p.grid + kCells);
    }
    for (const SoundSecond &s : c.seconds) {
        put(&out, uint64_t(s.ms), 8);
        put(&out, uint16_t(int16_t(std::lround(s.dbfs * 100.0f))), 2);
    }
    put(&out, storage::crc32(out.data(), out.size()), 4);
    return out;
}

// True when bytes hold this segment's index whole, for exactly the key frames
// the card lists now (a segment still being written gains some).
bool decode(const std::vector<uint8_t> &bytes, const Segment &segment, Cached *out)
{
    if (bytes.size() < kHeaderBytes + 4 || std::memcmp(bytes.data(), kMagic, 8) != 0)
        return false;
    const uint8_t *h = bytes.data();
    const size_t pictures = get(h + 20, 4), seconds = get(h + 24, 4);
    if (get(h + 8, 4) != kVersion || get(h + 12, 2) != kGridW || get(h + 14, 2) != kGridH ||
        get(h + 16, 4) != segment.number || int64_t(get(h + 32, 8)) != segment.keyTimes.front() ||
        pictures != segment.keyTimes.size() || seconds > 1000000 ||
        bytes.size() != kHeaderBytes + pictures * kPictureBytes + seconds * kSecondBytes + 4 ||
        get(h + bytes.size() - 4, 4) != storage::crc32(h, bytes.size() - 4))
        return false;
    const uint8_t *p = h + kHeaderBytes;
    out->pictures.resize(pictures);
    for (size_t i = 0; i < pictures; ++i, p += kPictureBytes) {
        KeyPicture &k = out->pictures[i];
        k.time_ms = int64_t(get(p, 8));
        k.hole = p[8];
        std::memcpy(k.grid, p + 9, kCells);
        if (k.time_ms != segment.keyTimes[i])
            return false;
    }
    out->seconds.resize(seconds);
    for (size_t i = 0; i < seconds; ++i, p += kSecondBytes) {
        out->seconds[i].ms = int64_t(get(p, 8));
        out->seconds[i].dbfs = float(int16_t(uint16_t(get(p + 8, 2)))) / 100.0f;
    }
    return true;
}

bool readFile(const std::string &path, std::vector<uint8_t> *out)
{
    storage::FileHandle file = storage::file_open(path.c_str());
    if (file == storage::kNoFile)
        return false;
    const int64_t size = storage::file_size(file);
    bool ok = size > 0 && size < (int64_t(1) << 31);
    if (ok) {
        out->resize(size_t(size));
        ok = storage::file_read_at(file, 0, out->data(), out->size()) == size;
    }
    storage::file_close(file);
    return ok;
}

// Writes under a temporary name, then replaces the old file: a reader never
// sees half a file, and a crash leaves at worst a stray temporary.
void writeFile(const std::string &folder, const std::string &path, const std::vector<uint8_t> &bytes)
{
    if (exportMakeFolder(folder.c_str()) != 0)
        return;
    const std::string temporary = path + ".part";
    ExportFile *file = nullptr;
    if (exportFileCreate(temporary.c_str(), &file) != 0)
        return;
    if (exportFileWriteAt(file, 0, bytes.data(), bytes.size()) != 0) {
        exportFileClose(file);
        exportFileDelete(temporary.c_str());
        return;
    }
    if (exportFileCommit(file) != 0) {
        exportFileDelete(temporary.c_str());
        return;
    }
    if (exportPathExists(path.c_str()))
        exportFileDelete(path.c_str());
    if (exportFileRename(temporary.c_str(), path.c_str()) != 0)
        exportFileDelete(temporary.c_str());
}

// Decodes the segment's key frames and sound, reading nothing else: inter
// frames are passed over by their headers.
int indexSegment(card_cursor *cursor, GridDecoder *grids, LoudnessMeter *sound, const Segment &segment,
                 Cached *out, BuildStats *stats)
{
    out->pictures.assign(segment.keyTimes.size(), KeyPicture());
    for (size_t i = 0; i < segment.keyTimes.size(); ++i) {
        out->pictures[i].time_ms = segment.keyTimes[i];
        out->pictures[i].hole = 1;
    }
    std::vector<uint8_t> payload;
    size_t next = 0; // the first key frame not yet met
    if (cursor_seek(cursor, uint64_t(segment.keyTimes.front()), nullptr) == CARD_OK) {
        card_frame frame;
        while (cursor_next(cursor, &frame) == CARD_OK && frame.segment == segment.number) {
            const bool key = frame.type == CARD_FRAME_KEY;
            if (frame.type == CARD_FRAME_INTER || (!key && frame.type != CARD_FRAME_AUDIO)) {
                cursor_skip(cursor);
                continue;
            }
            while (key && next < segment.keyTimes.size() && segment.keyTimes[next] < frame.time_ms)
                ++next;
            const bool listed =
                key && next < segment.keyTimes.size() && segment.keyTimes[next] == frame.time_ms;
            if ((key && !listed) || (!key && !sound)) {
                cursor_skip(cursor);
                continue;
            }
            try {
                payload.resize(frame.size + 64);
            } catch (const std::bad_alloc &) {
                return ACT_ERR_NO_MEMORY;
            }
            if (cursor_read(cursor, payload.data(), frame.size) != CARD_OK) {
                cursor_skip(cursor);
                continue;
            }
            (key ? stats->bytes_read : stats->sound_bytes) += frame.size;
            // libavcodec reads up to 64 bytes past a packet's end.
            std::fill(payload.begin() + frame.size, payload.end(), uint8_t(0));
            if (key) {
                KeyPicture &p = out->pictures[next++];
                p.hole = grids->decode(payload.data(), frame.size, p.grid) ? 0 : 1;
                ++stats->decoded;
                if (next == segment.keyTimes.size() && !sound)
                    break;
            } else {
                sound->add(payload.data(), frame.size, frame.time_ms);
            }
        }
    }
    if (sound)
        out->seconds = sound->seconds();
    return ACT_OK;
}

std::string segmentFile(const std::string &folder, const Segment &segment)
{
    return folder + exportSeparator() + "s" + std::to_string(segment.number) + "-" +
           std::to_string(segment.keyTimes.front()) + ".idx";
}

// A segment to index: from the cache, or decoded by one of the workers.
struct Job
{
    const Segment *segment = nullptr;
    std::string path;
    Cached cached;
};

// What the workers share. Each takes the next missing segment, decodes it
// with a cursor and decoder of its own, and stores it in the cache.
struct Work
{
    card_reader *card;
    const card_stream *stream;
    std::string folder;
    std::vector<Job> *jobs;
    const std::vector<size_t> *missing;
    std::atomic<size_t> next{0};
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> decoded{0};
    std::atomic<uint64_t> bytesRead{0};
    std::atomic<uint64_t> soundBytes{0};
    std::atomic<int> rc{ACT_OK};
    std::atomic<bool> cancelled{false};
    // Called by the calling thread after each of its segments.
    progress_fn progress = nullptr;
    void *context = nullptr;
    int64_t total = 0;
};

void runJobs(Work *work, bool reports)
{
    card_cursor *cursor = nullptr;
    GridDecoder grids;
    int rc = cursor_open(work->card, &cursor) == CARD_OK ? grids.open(work->stream->video_codec)
                                                         : ACT_ERR_NO_MEMORY;
    while (rc == ACT_OK && !work->cancelled && work->rc.load() == ACT_OK) {
        const size_t n = work->next.fetch_add(1);
        if (n >= work->missing->size())
            break;
        Job &job = (*work->jobs)[(*work->missing)[n]];
        // A meter of its own: a segment's seconds are its own alone.
        LoudnessMeter meter;
        LoudnessMeter *sound = meter.open(*work->stream) == ACT_OK ? &meter : nullptr;
        BuildStats stats;
        rc = indexSegment(cursor, &grids, sound, *job.segment, &job.cached, &stats);
        if (rc != ACT_OK)
            break;
        if (!job.path.empty())
            writeFile(work->folder, job.path, encode(*job.segment, job.cached));
        work->decoded += stats.decoded;
        work->bytesRead += stats.bytes_read;
        work->soundBytes += stats.sound_bytes;
        const int64_t done = work->done += int64_t(job.segment->keyTimes.size());
        if (reports && work->progress && work->progress(done, work->total, work->context) != 0)
            work->cancelled = true;
    }
    if (rc != ACT_OK) {
        int expected = ACT_OK;
        work->rc.compare_exchange_strong(expected, rc);
    }
    cursor_close(cursor);
}

} // namespace

const char *error_name(int code)
{
    switch (code) {
    case ACT_OK:
        return "ACT_OK";
    case ACT_ERR_ARGUMENT:
        return "ACT_ERR_ARGUMENT";
    case ACT_ERR_CARD:
        return "ACT_ERR_CARD";
    case ACT_ERR_DECODER:
        return "ACT_ERR_DECODER";
    case ACT_ERR_NO_MEMORY:
        return "ACT_ERR_NO_MEMORY";
    case ACT_ERR_CANCELLED:
        return "ACT_ERR_CANCELLED";
    default:
        return "ACT_ERR_UNKNOWN";
    }
}

std::string card_identity(const card_reader *card)
{
    char identity[64];
    return ::card_identity(card, identity, sizeof identity) == CARD_OK ? std::string(identity)
                                                                       : std::string();
}

int build_index(card_reader *card, const std::string &cache_dir, int64_t from_ms, int64_t to_ms, Index *out,
                BuildStats *stats, progress_fn progress, void *context, int threads)
{
    if (!card || !out || from_ms < 0 || to_ms < from_ms)
        return ACT_ERR_ARGUMENT;
    BuildStats local;
    BuildStats *st = stats ? stats : &local;
    *st = BuildStats();
    out->pictures.clear();
    out->seconds.clear();

    const uint32_t from = uint32_t(std::min<int64_t>(from_ms / 1000, UINT32_MAX));
    const uint32_t to = uint32_t(std::min<int64_t>(to_ms / 1000, UINT32_MAX));
    Entries entries;
    if (card_keyframes(card, from > kMarginSeconds ? from - kMarginSeconds : 0,
                       to < UINT32_MAX - kMarginSeconds ? to + kMarginSeconds : UINT32_MAX, collectEntry,
                       &entries) != CARD_OK)
        return ACT_ERR_CARD;
    // The segments touching the span; those at the margin's edge may be cut.
    std::vector<Segment> wanted;
    for (size_t i = 0; i < entries.segments.size(); ++i) {
        const Segment &s = entries.segments[i];
        const int64_t nextStart =
            i + 1 < entries.segments.size() ? entries.segments[i + 1].keyTimes.front() : INT64_MAX;
        if (s.keyTimes.front() <= to_ms && nextStart > from_ms)
            wanted.push_back(s);
    }
    for (const Segment &s : wanted)
        st->keyframes += int64_t(s.keyTimes.size());

    const std::string folder =
        cache_dir.empty() ? std::string() : cache_dir + exportSeparator() + card_identity(card);
    std::vector<Job> jobs(wanted.size());
    std::vector<size_t> missing;
    int64_t done = 0;
    for (size_t i = 0; i < wanted.size(); ++i) {
        Job &job = jobs[i];
        job.segment = &wanted[i];
        job.path = folder.empty() ? std::string() : segmentFile(folder, wanted[i]);
        std::vector<uint8_t> bytes;
        if (!job.path.empty() && readFile(job.path, &bytes) && decode(bytes, wanted[i], &job.cached)) {
            st->reused += int64_t(wanted[i].keyTimes.size());
            done += int64_t(wanted[i].keyTimes.size());
        } else {
            missing.push_back(i);
        }
    }
    int rc = ACT_OK;
    if (!missing.empty()) {
        card_stream stream{};
        if (card_probe_stream(card, uint64_t(wanted[missing.front()].keyTimes.front()), &stream) != CARD_OK)
            return ACT_ERR_DECODER;
        Work work{card, &stream, folder, &jobs, &missing};
        work.done = done;
        const int count = std::clamp(threads, 1, int(missing.size()));
        std::vector<std::thread> workers;
        try {
            for (int i = 1; i < count; ++i)
                workers.emplace_back(runJobs, &work, false);
        } catch (const std::system_error &) {
            // Fewer threads than asked for: this one does the rest.
        }
        work.progress = progress;
        work.context = context;
        work.total = st->keyframes;
        // The calling thread works too, and alone reports the progress.
        runJobs(&work, true);
        for (std::thread &t : workers)
            t.join();
        rc = work.rc.load();
        if (rc == ACT_OK && work.cancelled)
            rc = ACT_ERR_CANCELLED;
        st->decoded += work.decoded.load();
        st->bytes_read += work.bytesRead.load();
        st->sound_bytes += work.soundBytes.load();
        if (rc == ACT_OK && progress && progress(work.done.load(), st->keyframes, context) != 0)
            rc = ACT_ERR_CANCELLED;
    }
    for (const Job &job : jobs) {
        for (const KeyPicture &p : job.cached.pictures)
            st->holes += p.hole;
        out->pictures.insert(out->pictures.end(), job.cached.pictures.begin(), job.cached.pictures.end());
        out->seconds.insert(out->seconds.end(), job.cached.seconds.begin(), job.cached.seconds.end());
    }
    // A second split between two segments is met in both: the louder part
    // stands for it.
    std::sort(out->seconds.begin(), out->seconds.end(),
              [](const SoundSecond &a, const SoundSecond &b) { return a.ms < b.ms; });
    std::vector<SoundSecond> merged;
    for (const SoundSecond &sec : out->seconds) {
        if (!merged.empty() && merged.back().ms == sec.ms)
            merged.back().dbfs = std::max(merged.back().dbfs, sec.dbfs);
        else
            merged.push_back(sec);
    }
    out->seconds = std::move(merged);
    return rc;
}

} // namespace nivra::activity
