// Export writer, the copying: reads frames through its own read cursor and
// feeds them to the MOV/MP4 writer, one file per continuous recording or one
// merged file, with audio drift correction and ".part" names until a file is
// complete. The planning of a range (runs, estimate, names) is in
// range_plan.cpp.
#include "export/export_writer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>

#include "codec/aac.h"
#include "codec/param_sets.h"
#include "export/export_file.h"
#include "export/export_internal.h"
#include "export/grow_array.h"
#include "export/mov_writer.h"

static_assert(int(CARD_CODEC_H264) == int(PARAMS_H264) && int(CARD_CODEC_H265) == int(PARAMS_H265),
              "the card's codec values are the parameter-set functions' own");

namespace {

constexpr uint64_t kProgressStep = 1048576;
constexpr int kAudioKeepNone = 0;
// Written pictures further apart than this leave a hole in their run.
constexpr int64_t kHoleMs = 1000;
// Key-frame spacings measured for the slack of each run, and the slack's
// key-frame interval when fewer than two key frames were seen.
constexpr int kKeyDeltas = 256;
constexpr int64_t kUnknownKeyIntervalMs = 10000;
// Rounding of frame times (whole ms) and of a run's last second (x999).
constexpr int64_t kSlackMarginMs = 100;

// What the finished files hold of one planned run.
struct RunWritten
{
    int64_t lastMs = -1;   // the latest picture of it written
    int64_t coveredMs = 0; // time its written pictures span, holes left out
};

struct ChapterMark
{
    int64_t fileMs;
    int64_t cardMs;
    int16_t offsetMin;
};

// The state of one exportRange call.
struct Exporter
{
    const card_reader *card = nullptr;
    const ExportOptions *opt = nullptr;
    ExportResult *result = nullptr;
    int64_t fromMs = 0;
    int64_t toMs = 0;
    int64_t cardEndMs = 0; // end of the card's last recorded second
    card_stream stream{};
    int audioMode = kAudioKeepNone; // MOVW_AUDIO_*
    bool recodeSound = false;       // the coder turns the card's G.711 into AAC
    int sampleRate = 0;
    int channels = 1;
    uint8_t asc[16] = {};
    int ascLength = 0;
    int videoIntervalMs = 67;
    const char *prefix = "NIVRA";
    const char *ext = ".mov";
    ExportRuns runs{};

    card_cursor *cursor = nullptr;
    MovWriter *mov = nullptr;
    ExportFile *file = nullptr;
    char tempPath[EXPORT_PATH_MAX] = {};
    bool writeFailed = false;

    int64_t firstMs = 0, lastMs = 0;
    int16_t firstOffset = 0, lastOffset = 0;
    int64_t segOrigin = 0;
    int64_t segBase = 0;
    int64_t lastDecode = -1;
    bool audioWritten = false;
    int64_t clockSecond = INT64_MIN; // the time track's latest second in the open file

    // The card's segment files the open file holds frames of, in the order met.
    uint16_t *segments = nullptr;
    int segmentCount = 0;
    int segmentCapacity = 0;

    ChapterMark *marks = nullptr;
    int markCount = 0;
    int markCapacity = 0;

    // Per planned run: what the finished files hold, and the same as the
    // open file began (restored when that file is abandoned).
    RunWritten *written = nullptr;
    RunWritten *writtenAtOpen = nullptr;
    int runCursor = 0;
    int64_t keyDeltas[kKeyDeltas] = {};
    int keyDeltaCount = 0;
    int64_t lastKeyMs = -1;
    uint64_t unusableKeys = 0; // key frames whose parameter sets cannot be read

    uint8_t *buffer = nullptr;
    size_t bufferCap = 0;
    ParamSets *params = nullptr; // work area for a keyframe's parameter sets
    uint64_t bytesRead = 0;
    uint64_t threshold = 0;
};

// Local offset in seconds at a UTC ms time for a frame stored with offsetMin.
int64_t localOffset(const Exporter &e, int64_t utcMs, int16_t offsetMin)
{
    if (e.opt->utcOffset)
        return e.opt->utcOffset(clampSecond(utcMs), e.opt->utcOffsetContext, e.opt);
    return int64_t(offsetMin) * 60;
}

// The folder with a separator appended when it has none at its end; false
// when it does not fit.
bool folderWithSeparator(const char *folder, char *out, size_t size)
{
    size_t n = strlen(folder);
    bool has = n > 0 && (folder[n - 1] == '/' || folder[n - 1] == '\\' || exportIsSeparator(folder[n - 1]));
    int w = snprintf(out, size, has ? "%s" : "%s%c", folder, exportSeparator());
    return w > 0 && size_t(w) < size;
}

// Picks a path that does not exist: dir + name, else dir + stem + "_N" +
// suffix for N = 1..999. Returns 0 and fills out, or -1.
int freePath(const char *dir, const char *name, size_t suffixLength, char *out, size_t size)
{
    int w = snprintf(out, size, "%s%s", dir, name);
    if (w < 0 || size_t(w) >= size)
        return -1;
    if (!exportPathExists(out))
        return 0;
    size_t stem = strlen(name) - suffixLength;
    for (int n = 1; n <= 999; ++n) {
        w = snprintf(out, size, "%s%.*s_%d%s", dir, int(stem), name, n, name + stem);
        if (w < 0 || size_t(w) >= size)
            return -1;
        if (!exportPathExists(out))
            return 0;
    }
    return -1;
}

// Copies text into the result's message, cut to fit.
void setMessage(Exporter &e, const char *text)
{
    size_t n = strlen(text);
    if (n >= sizeof e.result->message)
        n = sizeof e.result->message - 1;
    memcpy(e.result->message, text, n);
    e.result->message[n] = 0;
}

int fileWrite(void *context, uint64_t offset, const void *data, size_t length)
{
    Exporter *e = static_cast<Exporter *>(context);
    if (exportFileWriteAt(e->file, offset, data, length) != 0) {
        e->writeFailed = true;
        return 1;
    }
    return 0;
}

// Closes and deletes the open temporary file, if any; what it held of the
// runs is not written after all.
void abandonFile(Exporter &e)
{
    movWriterFree(e.mov);
    e.mov = nullptr;
    if (e.file) {
        exportFileClose(e.file);
        e.file = nullptr;
        exportFileDelete(e.tempPath);
        if (e.written)
            memcpy(e.written, e.writtenAtOpen, sizeof(RunWritten) * size_t(e.runs.count));
    }
    e.markCount = 0;
}

// Counts a picture at card time t as written into the run that holds it.
void noteWritten(Exporter &e, int64_t t)
{
    const ExportRuns &runs = e.runs;
    if (runs.count == 0 || !e.written)
        return;
    int i = e.runCursor < runs.count ? e.runCursor : runs.count - 1;
    while (i > 0 && t < runs.items[i].startMs - kRunJoinMs)
        --i;
    while (i + 1 < runs.count && t > runs.items[i].endMs + kRunJoinMs)
        ++i;
    const ExportRun &r = runs.items[i];
    if (t < r.startMs - kRunJoinMs || t > r.endMs + kRunJoinMs)
        return;
    e.runCursor = i;
    RunWritten &w = e.written[i];
    if (w.lastMs >= 0 && t <= w.lastMs)
        return;
    w.coveredMs += w.lastMs >= 0 && t - w.lastMs <= kHoleMs ? t - w.lastMs : e.videoIntervalMs;
    w.lastMs = t;
}

// Notes the spacing of key frames as the cursor passes them.
void noteKey(Exporter &e, const card_frame &f)
{
    if (f.time_ms < e.fromMs || f.time_ms > e.toMs)
        return;
    const int64_t delta = f.time_ms - e.lastKeyMs;
    if (e.lastKeyMs >= 0 && !f.discontinuity && delta > 0 && delta < 60000 && e.keyDeltaCount < kKeyDeltas)
        e.keyDeltas[e.keyDeltaCount++] = delta;
    e.lastKeyMs = f.time_ms;
}

// The median key-frame spacing seen, or kUnknownKeyIntervalMs.
int64_t keyInterval(Exporter &e)
{
    if (e.keyDeltaCount == 0)
        return kUnknownKeyIntervalMs;
    int64_t *d = e.keyDeltas;
    const int n = e.keyDeltaCount;
    // Insertion sort: at most kKeyDeltas values.
    for (int i = 1; i < n; ++i) {
        const int64_t v = d[i];
        int j = i;
        for (; j > 0 && d[j - 1] > v; --j)
            d[j] = d[j - 1];
        d[j] = v;
    }
    return d[n / 2];
}

// Holds each planned run against what the finished files hold of it: a run
// that lost more than one key-frame interval (and a picture) is reported.
void checkRuns(Exporter &e)
{
    ExportResult &result = *e.result;
    result.keyframeIntervalMs = keyInterval(e);
    const int64_t slack = result.keyframeIntervalMs + e.videoIntervalMs + kSlackMarginMs;
    for (int i = 0; i < e.runs.count && e.written; ++i) {
        const ExportRun &r = e.runs.items[i];
        const int64_t planned = r.endMs - r.startMs;
        int64_t written = e.written[i].coveredMs;
        if (written > planned)
            written = planned;
        if (planned - written <= slack)
            continue;
        result.lostRuns++;
        result.lostMs += planned - written;
        if (e.opt->runLost) {
            const ExportLostRun lost{r.startMs, r.endMs, written};
            e.opt->runLost(e.opt->context, &lost);
        }
    }
}

bool addMark(Exporter &e, int64_t fileMs, int64_t cardMs, int16_t offsetMin)
{
    if (!growArray(&e.marks, &e.markCapacity, size_t(e.markCount) + 1, 16))
        return false;
    e.marks[e.markCount++] = ChapterMark{fileMs, cardMs, offsetMin};
    return true;
}

// True when a keyframe's parameter sets can start a file: the same rule the
// MOV/MP4 writer applies to its first keyframe, so no file is opened for a
// keyframe that the writer would then refuse.
bool canStartFile(Exporter &e, const uint8_t *data, size_t length)
{
    collectFrameParamSets(e.stream.video_codec, data, length, e.params);
    SpsInfo sps;
    return readStreamParams(e.stream.video_codec, *e.params, &sps);
}

int flushSound(Exporter &e);

// Opens a new temporary file for a keyframe at card time T with offset O.
int openFile(Exporter &e, int64_t T, int16_t O)
{
    e.segmentCount = 0;
    if (e.written)
        memcpy(e.writtenAtOpen, e.written, sizeof(RunWritten) * size_t(e.runs.count));
    char dir[EXPORT_PATH_MAX];
    if (!folderWithSeparator(e.opt->folder, dir, sizeof dir)) {
        setMessage(e, e.opt->folder);
        return EXPORT_ERR_WRITE;
    }
    CivilTime t = localTime(T, localOffset(e, T, O));
    char name[EXPORT_PATH_MAX];
    char suffix[16];
    snprintf(suffix, sizeof suffix, "%s.part", e.ext);
    int w = snprintf(name, sizeof name, "%s_%04d%02d%02d_%02d%02d%02d%s", e.prefix, t.year, t.month, t.day,
                     t.hour, t.minute, t.second, suffix);
    if (w < 0 || size_t(w) >= sizeof name) {
        setMessage(e, e.opt->folder);
        return EXPORT_ERR_WRITE;
    }
    if (freePath(dir, name, strlen(suffix), e.tempPath, sizeof e.tempPath) != 0) {
        // Report the first path tried (cut to the message size).
        char full[2 * EXPORT_PATH_MAX];
        snprintf(full, sizeof full, "%s%s", dir, name);
        setMessage(e, full);
        e.tempPath[0] = 0;
        return EXPORT_ERR_WRITE;
    }
    if (exportFileCreate(e.tempPath, &e.file) != 0) {
        setMessage(e, e.tempPath);
        e.file = nullptr;
        return EXPORT_ERR_WRITE;
    }
    e.writeFailed = false;

    const ExportCoder *coder = e.opt->coder;
    if (coder) {
        ExportCoderSound sound{};
        char text[256] = {};
        if (coder->begin(coder->context, &e.stream, &sound, text) != 0) {
            abandonFile(e);
            setMessage(e, text);
            return EXPORT_ERR_RECODE;
        }
        if (e.recodeSound) {
            e.sampleRate = sound.sampleRate;
            e.channels = sound.channels < 1 ? 1 : sound.channels;
            e.ascLength = sound.configLength < int(sizeof e.asc) ? sound.configLength : int(sizeof e.asc);
            memcpy(e.asc, sound.config, size_t(e.ascLength));
        }
    }

    MovWriterConfig c;
    memset(&c, 0, sizeof c);
    c.mp4 = e.opt->container == 1 ? 1 : 0;
    c.videoCodec = coder ? coder->videoCodec : e.stream.video_codec;
    c.audioMode = e.audioMode;
    c.sampleRate = e.audioMode == MOVW_AUDIO_AAC && e.ascLength == 0 ? 0 : e.sampleRate;
    c.channels = e.channels;
    memcpy(c.audioConfig, e.asc, size_t(e.ascLength));
    c.audioConfigLength = e.ascLength;
    c.frameIntervalMs = e.videoIntervalMs;
    c.startMs = T;
    c.offsetMin = O;

    // Expected duration: the rest of the run holding T (and the later runs
    // when merging), else up to the end of the range.
    // A keyframe up to 3000 ms past its run's end still belongs to that run.
    bool inRun = false;
    int64_t expected = 0;
    for (int i = 0; i < e.runs.count; ++i) {
        const ExportRun &r = e.runs.items[i];
        if (T >= r.startMs - kRunJoinMs && T <= r.endMs + kRunJoinMs) {
            inRun = true;
            expected = r.endMs - T;
            if (e.opt->merge)
                for (int k = i + 1; k < e.runs.count; ++k)
                    expected += e.runs.items[k].endMs - e.runs.items[k].startMs;
            break;
        }
    }
    if (!inRun) {
        // Nothing lies past the card's last recorded second, whatever toMs
        // says (the user interface may pass a far end), so the reservation's
        // products stay small.
        expected = (e.toMs < e.cardEndMs ? e.toMs : e.cardEndMs) - T;
    }
    if (expected < 0)
        expected = 0;
    expected += 10000;
    int chapterAllowance = e.opt->merge ? e.runs.count + 1 : 0;
    c.timeTrack = e.opt->timeTrack ? 1 : 0;
    c.reserve = movWriterReserve(&c, expected, e.stream.audio_interval_ms, chapterAllowance);

    if (movWriterStart(&c, fileWrite, &e, &e.mov) != MOVW_OK) {
        e.mov = nullptr;
        abandonFile(e);
        setMessage(e, e.tempPath);
        return EXPORT_ERR_WRITE;
    }
    e.threshold = e.bytesRead;
    e.firstMs = e.lastMs = T;
    e.firstOffset = e.lastOffset = O;
    e.segOrigin = T;
    e.segBase = 0;
    e.lastDecode = -1;
    e.audioWritten = false;
    e.clockSecond = INT64_MIN;
    e.markCount = 0;
    return 0;
}

// Finishes the open file and moves it to its final name.
int finishFile(Exporter &e, int reason)
{
    if (!e.mov)
        return 0;
    if (e.recodeSound) {
        const int rc = flushSound(e);
        if (rc != 0) {
            abandonFile(e);
            return rc;
        }
    }
    if (e.markCount > 1) {
        for (int i = 0; i < e.markCount; ++i) {
            const ChapterMark &m = e.marks[i];
            CivilTime t = localTime(m.cardMs, localOffset(e, m.cardMs, m.offsetMin));
            char title[64];
            snprintf(title, sizeof title, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                     t.minute, t.second);
            if (movWriterAddChapter(e.mov, m.fileMs, title) == MOVW_ERR_NO_MEMORY) {
                abandonFile(e);
                return CARD_ERR_NO_MEMORY;
            }
        }
    }
    MovWriterStats stats;
    int rc = movWriterFinish(e.mov, &stats);
    if (rc != MOVW_OK) {
        abandonFile(e);
        if (rc == MOVW_ERR_NO_MEMORY)
            return CARD_ERR_NO_MEMORY;
        if (rc == MOVW_ERR_WRITE) {
            setMessage(e, e.tempPath);
            return EXPORT_ERR_WRITE;
        }
        return EXPORT_ERR_STREAM;
    }
    movWriterFree(e.mov);
    e.mov = nullptr;
    ExportFile *f = e.file;
    e.file = nullptr;
    e.markCount = 0;
    if (exportFileCommit(f) != 0) {
        exportFileDelete(e.tempPath);
        setMessage(e, e.tempPath);
        return EXPORT_ERR_WRITE;
    }

    char name[EXPORT_PATH_MAX];
    char finalPath[EXPORT_PATH_MAX];
    char dir[EXPORT_PATH_MAX];
    int ok = folderWithSeparator(e.opt->folder, dir, sizeof dir) &&
             formatExportName(e.prefix, e.opt->container, e.firstMs, e.lastMs,
                              int32_t(localOffset(e, e.firstMs, e.firstOffset)),
                              int32_t(localOffset(e, e.lastMs, e.lastOffset)), name, sizeof name) == 0 &&
             freePath(dir, name, strlen(e.ext), finalPath, sizeof finalPath) == 0 &&
             exportFileRename(e.tempPath, finalPath) == 0;
    if (!ok) {
        exportFileDelete(e.tempPath);
        setMessage(e, e.tempPath);
        return EXPORT_ERR_WRITE;
    }
    e.result->files++;
    e.result->writtenMs += stats.videoDurationMs;
    if (e.opt->fileDone) {
        ExportFileInfo info;
        memset(&info, 0, sizeof info);
        info.firstMs = e.firstMs;
        info.lastMs = e.lastMs;
        info.offsetMin = e.firstOffset;
        info.fileSize = stats.fileSize;
        info.videoDurationMs = stats.videoDurationMs;
        info.videoSamples = stats.videoSamples;
        info.audioCount = stats.audioCount;
        info.silenceInsertions = stats.silenceInsertions;
        info.chapters = stats.chapters;
        info.indexAtFront = stats.indexAtFront;
        info.width = stats.width;
        info.height = stats.height;
        info.endReason = reason;
        info.segments = e.segments;
        info.segmentCount = e.segmentCount;
        e.opt->fileDone(e.opt->context, finalPath, &info);
    }
    return 0;
}

// Notes that the open file holds a frame of segment; false when out of memory.
bool noteSegment(Exporter &e, uint16_t segment)
{
    for (int i = e.segmentCount - 1; i >= 0; --i)
        if (e.segments[i] == segment)
            return true;
    if (!growArray(&e.segments, &e.segmentCapacity, size_t(e.segmentCount) + 1, 16))
        return false;
    e.segments[e.segmentCount++] = segment;
    return true;
}

// Maps a MOV/MP4 writer failure to an export code.
int writerFailure(Exporter &e, int rc)
{
    if (rc == MOVW_ERR_NO_MEMORY)
        return CARD_ERR_NO_MEMORY;
    setMessage(e, e.tempPath);
    return EXPORT_ERR_WRITE;
}

// Hands sound to the writer; sound before the first AAC configuration is
// dropped. Returns a code.
int writeAudio(Exporter &e, const uint8_t *data, size_t length)
{
    const int rc = movWriterAddAudio(e.mov, data, length);
    if (rc == MOVW_ERR_NOT_READY)
        return 0;
    if (rc != MOVW_OK)
        return writerFailure(e, rc);
    e.audioWritten = true;
    return 0;
}

// Writes the sound frames a coder gave back.
int writeCoded(Exporter &e, const ExportCoded &out)
{
    for (int i = 0; i < out.count; ++i) {
        const int rc = writeAudio(e, out.frames[i], out.lengths[i]);
        if (rc != 0)
            return rc;
    }
    return 0;
}

// Writes the sound the coder still holds back, at the end of a file.
int flushSound(Exporter &e)
{
    ExportCoded out{};
    char text[256] = {};
    if (e.opt->coder->flush(e.opt->coder->context, &out, text) != 0) {
        setMessage(e, text);
        return EXPORT_ERR_RECODE;
    }
    return writeCoded(e, out);
}

// Re-codes one sound frame of the card (length bytes in buffer) at file
// time t and writes what the coder gives back; silence fills a gap before
// it, counting what the coder holds back.
int recodeAudio(Exporter &e, int64_t t, size_t length)
{
    const ExportCoder *coder = e.opt->coder;
    ExportCoded out{};
    int64_t pending = 0;
    char text[256] = {};
    const int64_t written = movWriterAudioSamples(e.mov);
    if (coder->audio(coder->context, e.buffer, length, &out, &pending, text) != 0) {
        setMessage(e, text);
        return EXPORT_ERR_RECODE;
    }
    const int64_t drift = int64_t(e.sampleRate) * t / 1000 - written - pending;
    if (drift > 1024 && drift <= int64_t(e.sampleRate) * 60) {
        const int rc = movWriterAddSilence(e.mov, drift, nullptr);
        if (rc != MOVW_OK)
            return writerFailure(e, rc);
    }
    return writeCoded(e, out);
}

// Hands one audio frame to the writer with drift correction.
int handleAudio(Exporter &e, const card_frame &f)
{
    int64_t t = e.segBase - e.segOrigin + f.time_ms;
    if (t < 0)
        return 0;
    if (e.recodeSound)
        return recodeAudio(e, t, f.size);
    const uint8_t *data = e.buffer;
    size_t length = f.size;
    int64_t rate = e.sampleRate;
    int64_t written = movWriterAudioSamples(e.mov);
    bool aac = e.audioMode == MOVW_AUDIO_AAC;
    int64_t perFrame = aac ? 1024 : int64_t(length) / e.channels;
    int64_t tolerance = perFrame / 2 > rate / 50 ? perFrame / 2 : rate / 50;
    int64_t drift = rate * t / 1000 - written;
    if (drift > tolerance && drift <= rate * 60) {
        int rc = movWriterAddSilence(e.mov, drift, nullptr);
        if (rc != MOVW_OK)
            return writerFailure(e, rc);
    }
    if (drift < -tolerance) {
        if (aac || -drift >= perFrame)
            return 0;
        size_t cut = size_t(-drift) * size_t(e.channels);
        data += cut;
        length -= cut;
    }
    return writeAudio(e, data, length);
}

// Sets the AudioSpecificConfig the writer starts with.
void buildAsc(Exporter &e, int objectType, int rateIndex, int channels)
{
    aacPackConfig(objectType, rateIndex, channels, e.asc);
    e.ascLength = 2;
}

// Chooses how the stream's sound is written; sets audioLeftOut when it cannot.
void chooseAudio(Exporter &e)
{
    const card_stream &s = e.stream;
    e.audioMode = MOVW_AUDIO_NONE;
    if (!e.opt->audio || s.audio_kind == CARD_AUDIO_NONE)
        return;
    int ch = s.channels < 1 ? 1 : s.channels;
    e.channels = ch;
    e.sampleRate = s.sample_rate;
    if (s.sample_rate > 0 && ch <= 2) {
        int index = aacRateIndex(s.sample_rate);
        if (s.audio_kind == CARD_AUDIO_AAC_ADTS) {
            e.audioMode = MOVW_AUDIO_AAC;
            // The configuration is known from the probe before the first
            // ADTS header arrives, so silence can go in front of a first
            // frame that lags its keyframe. A channel configuration of 0 (a
            // PCE in the stream) is left to the headers.
            if (index >= 0 && s.channels >= 1)
                buildAsc(e, s.object_type, index, ch);
        } else if (s.audio_kind == CARD_AUDIO_AAC_RAW) {
            if (index >= 0) {
                buildAsc(e, s.object_type, index, ch);
                e.audioMode = MOVW_AUDIO_AAC;
            }
        } else if (s.audio_kind == CARD_AUDIO_ALAW) {
            e.recodeSound = e.opt->coder && e.opt->coder->soundToAac;
            e.audioMode = e.recodeSound ? MOVW_AUDIO_AAC : MOVW_AUDIO_ALAW;
        }
    }
    if (e.audioMode == MOVW_AUDIO_NONE)
        e.result->audioLeftOut = 1;
}

int report(Exporter &e)
{
    if (!e.opt->progress)
        return 0;
    return e.opt->progress(e.opt->context, e.bytesRead, e.opt->expectedBytes);
}

// The time track: at the first picture of every second of the camera's
// clock, that second as "2024-05-14 09:05:03 (UTC+2)", shown from where the
// second began (the file's start at most). Returns a code.
// The camera's clock at a frame, as "2024-05-14 09:05:03 (UTC+2)".
void clockText(const Exporter &e, const card_frame &f, char *text, size_t size)
{
    const int64_t second = floorDivide(f.time_ms, 1000);
    const int64_t offset = localOffset(e, f.time_ms, f.utc_offset_min);
    const CivilTime t = localTime(second * 1000, offset);
    char zone[16] = "UTC";
    if (offset != 0) {
        const int64_t minutes = (offset < 0 ? -offset : offset) / 60;
        if (minutes % 60)
            snprintf(zone, sizeof zone, "UTC%c%d:%02d", offset < 0 ? '-' : '+', int(minutes / 60),
                     int(minutes % 60));
        else
            snprintf(zone, sizeof zone, "UTC%c%d", offset < 0 ? '-' : '+', int(minutes / 60));
    }
    snprintf(text, size, "%04d-%02d-%02d %02d:%02d:%02d (%s)", t.year, t.month, t.day, t.hour, t.minute,
             t.second, zone);
}

int addClockSubtitle(Exporter &e, const card_frame &f, int64_t decode)
{
    const int64_t second = floorDivide(f.time_ms, 1000);
    if (!e.opt->timeTrack || second == e.clockSecond)
        return 0;
    e.clockSecond = second;
    char text[64];
    clockText(e, f, text, sizeof text);
    const int rc = movWriterAddSubtitle(e.mov, decode - (f.time_ms - second * 1000), text);
    return rc == MOVW_OK ? 0 : writerFailure(e, rc);
}

// Hands a video frame to the writer; opens a new file on a parameter change.
int handleVideo(Exporter &e, const card_frame &f, bool &needKey)
{
    int key = f.type == CARD_FRAME_KEY;
    if (needKey) {
        if (e.mov) {
            e.segOrigin = f.time_ms;
            e.segBase = e.lastDecode + e.videoIntervalMs;
        } else {
            if (!canStartFile(e, e.buffer, f.size)) {
                ++e.unusableKeys;
                return 0;
            }
            int rc = openFile(e, f.time_ms, f.utc_offset_min);
            if (rc != 0)
                return rc;
        }
        if (e.opt->merge && !addMark(e, e.segBase, f.time_ms, f.utc_offset_min))
            return CARD_ERR_NO_MEMORY;
        needKey = false;
    }
    int64_t decode = e.segBase - e.segOrigin + f.time_ms;
    if (e.lastDecode >= 0 && decode <= e.lastDecode)
        decode = e.lastDecode + 1;
    const uint8_t *data = e.buffer;
    size_t length = f.size;
    if (const ExportCoder *coder = e.opt->coder) {
        char clock[64];
        clockText(e, f, clock, sizeof clock);
        ExportCoded out{};
        char text[256] = {};
        if (coder->video(coder->context, e.buffer, f.size, key, clock, &out, text) != 0) {
            setMessage(e, text);
            return EXPORT_ERR_RECODE;
        }
        // A picture the decoder could not make (damage) is left out.
        if (out.count < 1)
            return 0;
        data = out.frames[0];
        length = out.lengths[0];
        key = out.keyframe;
    }
    int rc = movWriterAddVideo(e.mov, data, length, decode, key);
    if (rc == MOVW_PARAMS_CHANGED) {
        rc = finishFile(e, EXPORT_END_CHANGE);
        if (rc != 0)
            return rc;
        rc = openFile(e, f.time_ms, f.utc_offset_min);
        if (rc != 0)
            return rc;
        if (e.opt->merge && !addMark(e, 0, f.time_ms, f.utc_offset_min))
            return CARD_ERR_NO_MEMORY;
        decode = 0;
        rc = movWriterAddVideo(e.mov, data, length, decode, key);
    }
    if (rc == MOVW_ERR_NOT_READY) {
        if (!e.audioWritten && e.lastDecode < 0) {
            abandonFile(e);
            needKey = true;
        }
        return 0;
    }
    if (rc != MOVW_OK)
        return writerFailure(e, rc);
    e.lastMs = f.time_ms;
    e.lastOffset = f.utc_offset_min;
    e.lastDecode = decode;
    noteWritten(e, f.time_ms);
    return addClockSubtitle(e, f, decode);
}

// The frame loop of exportRange; returns the code to end with.
int copyFrames(Exporter &e)
{
    int rc = cursor_open(e.card, &e.cursor);
    if (rc != 0)
        return rc;
    rc = cursor_seek(e.cursor, uint64_t(e.fromMs < 0 ? 0 : e.fromMs), nullptr);
    if (rc < 0)
        return rc;
    e.params = new (std::nothrow) ParamSets();
    if (!e.params)
        return CARD_ERR_NO_MEMORY;
    if (report(e) != 0 && rc == 0)
        return EXPORT_CANCELLED;
    e.threshold = e.bytesRead + kProgressStep;
    if (rc == CARD_NO_MORE)
        return 0;
    bool needKey = true;
    bool anyRead = false;
    for (;;) {
        if (e.bytesRead >= e.threshold) {
            e.threshold = e.bytesRead + kProgressStep;
            if (report(e) != 0)
                return EXPORT_CANCELLED;
        }
        card_frame f;
        rc = cursor_next(e.cursor, &f);
        if (rc == CARD_NO_MORE)
            return 0;
        if (rc != 0)
            return rc;
        const bool video = f.type != CARD_FRAME_AUDIO;
        if (f.type == CARD_FRAME_KEY)
            noteKey(e, f);
        if (video && f.time_ms > e.toMs) {
            cursor_skip(e.cursor);
            return 0;
        }
        if (f.discontinuity && e.mov) {
            if (!e.opt->merge) {
                rc = finishFile(e, EXPORT_END_GAP);
                if (rc != 0)
                    return rc;
            }
            needKey = true;
        }
        bool skip;
        if (!video)
            skip = !e.mov || needKey || e.audioMode == MOVW_AUDIO_NONE || f.time_ms > e.toMs ||
                   f.time_ms < e.segOrigin;
        else
            skip = needKey && (f.type != CARD_FRAME_KEY || f.time_ms < e.fromMs);
        if (skip) {
            cursor_skip(e.cursor);
            if (anyRead && f.time_ms <= e.toMs)
                e.bytesRead += f.size;
            continue;
        }
        if (!growArray(&e.buffer, &e.bufferCap, f.size, 65536))
            return CARD_ERR_NO_MEMORY;
        rc = cursor_read(e.cursor, e.buffer, e.bufferCap);
        if (rc != 0)
            return rc;
        anyRead = true;
        e.bytesRead += f.size;
        e.result->bytes += f.size;
        rc = video ? handleVideo(e, f, needKey) : handleAudio(e, f);
        if (rc != 0)
            return rc;
        if (e.mov && !noteSegment(e, f.segment))
            return CARD_ERR_NO_MEMORY;
    }
}

} // namespace

// ---- Public operations ---------------------------------------------------------

int exportRange(const card_reader *card, const card_stream *stream, int64_t fromMs, int64_t toMs,
                const ExportOptions *options, ExportResult *result)
{
    if (!card || !options || !result || !options->folder || toMs < fromMs)
        return CARD_ERR_ARGUMENT;
    memset(result, 0, sizeof *result);
    Exporter e;
    e.card = card;
    e.opt = options;
    e.result = result;
    e.fromMs = fromMs;
    e.toMs = toMs;
    card_summary summary{};
    e.cardEndMs = card_get_summary(card, &summary) == 0 ? card_last_ms(summary.last_second) : toMs;
    // The plan first: what cannot be read of it, from the probe on, is lost.
    int rc = buildRuns(card, fromMs, toMs, &e.runs, nullptr);
    result->plannedRuns = e.runs.count;
    for (int i = 0; rc == 0 && i < e.runs.count; ++i)
        result->plannedMs += e.runs.items[i].endMs - e.runs.items[i].startMs;
    if (rc == 0 && e.runs.count > 0) {
        e.written = static_cast<RunWritten *>(calloc(size_t(e.runs.count), sizeof(RunWritten)));
        e.writtenAtOpen = static_cast<RunWritten *>(calloc(size_t(e.runs.count), sizeof(RunWritten)));
        if (!e.written || !e.writtenAtOpen)
            rc = CARD_ERR_NO_MEMORY;
        for (int i = 0; e.written && e.writtenAtOpen && i < e.runs.count; ++i)
            e.written[i] = e.writtenAtOpen[i] = RunWritten{};
    }
    if (rc == 0 && stream) {
        e.stream = *stream;
    } else if (rc == 0) {
        const int probed = card_probe_stream(card, uint64_t(fromMs < 0 ? 0 : fromMs), &e.stream);
        // Nothing recorded at or after fromMs (say, only missing files) is
        // nothing to export, not an unknown codec; a failed read (the card
        // pulled out) is that failure, not an unknown codec either.
        if (probed == CARD_NO_MORE) {
            checkRuns(e);
            rc = EXPORT_NOTHING;
        } else if (probed < 0) {
            rc = probed;
        }
    }
    if (rc == 0 && e.stream.video_codec != CARD_CODEC_H264 && e.stream.video_codec != CARD_CODEC_H265)
        rc = EXPORT_ERR_CODEC;
    if (rc == 0) {
        e.videoIntervalMs = e.stream.video_interval_ms < 1 ? 67 : e.stream.video_interval_ms;
        if (options->prefix)
            e.prefix = options->prefix;
        e.ext = options->container == 1 ? ".mp4" : ".mov";
        chooseAudio(e);
        if (options->container == 1 && e.audioMode == MOVW_AUDIO_ALAW)
            rc = EXPORT_ERR_MP4_ALAW;
    }
    if (rc == 0)
        rc = copyFrames(e);
    if (e.cursor)
        cursor_get_damaged(e.cursor, &result->skippedFrames);
    result->skippedFrames += e.unusableKeys;
    if (rc == 0) {
        rc = finishFile(e, EXPORT_END_RANGE);
        if (rc == 0) {
            report(e);
            rc = result->files == 0 ? EXPORT_NOTHING : EXPORT_OK;
            checkRuns(e);
        }
    }
    abandonFile(e);
    cursor_close(e.cursor);
    exportRunsFree(&e.runs);
    free(e.written);
    free(e.writtenAtOpen);
    free(e.marks);
    free(e.segments);
    free(e.buffer);
    delete e.params;
    return rc;
}

const char *exportErrorName(int code)
{
    switch (code) {
    case EXPORT_OK:
        return "success, at least one file written";
    case EXPORT_NOTHING:
        return "no more recordings";
    case EXPORT_CANCELLED:
        return "cancelled";
    case EXPORT_ERR_CODEC:
        return "video codec not recognised";
    case EXPORT_ERR_WRITE:
        return "cannot write the output file";
    case EXPORT_ERR_STREAM:
        return "unsupported stream data";
    case EXPORT_ERR_MP4_ALAW:
        return "MP4 cannot hold G.711 audio (use MOV or leave the audio out)";
    case EXPORT_ERR_RECODE:
        return "the video could not be re-coded";
    default:
        return card_error_name(code);
    }
}
