// MOV/MP4 writer. Media data is copied into per-track pending chunks and
// written in interleaved chunks of about one second; the sample tables live in
// growable lists until movWriterFinish() builds the moov, one static function
// per box.
#include "export/mov_writer.h"

#include "codec/aac.h"
#include "codec/param_sets.h"
#include "export/grow_array.h"
#include "export/saturate.h"
#include "storage/card.h"
#include "storage/civil_time.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// One codec numbering across the layers: the card's stream description is
// handed on to the parameter-set reader and to this writer as it stands.
static_assert(int(MOVW_VIDEO_H264) == int(CARD_CODEC_H264) && int(PARAMS_H264) == int(CARD_CODEC_H264),
              "H.264 numbers differ");
static_assert(int(MOVW_VIDEO_H265) == int(CARD_CODEC_H265) && int(PARAMS_H265) == int(CARD_CODEC_H265),
              "H.265 numbers differ");

#include <new>

namespace {

constexpr uint32_t kVideoTimescale = 30000;
constexpr size_t kMaxRecordBytes = 4160;
constexpr size_t kMaxChapterText = 1000;
constexpr uint64_t kChunkBytesLimit = 8388608;
constexpr int kMaxOpenBoxes = 24;
constexpr int64_t kSecondsFrom1904 = 2082844800;

// A growable array of plain values; grows by doubling from `first`. push()
// returns false when memory runs out and leaves the array unchanged.
template <typename T> struct List
{
    T *data = nullptr;
    size_t count = 0;
    size_t capacity = 0;

    bool reserve(size_t wanted, size_t first) { return growArray(&data, &capacity, wanted, first); }
    bool push(const T &value, size_t first)
    {
        if (!reserve(count + 1, first))
            return false;
        data[count++] = value;
        return true;
    }
    void release()
    {
        free(data);
        data = nullptr;
        count = capacity = 0;
    }
};

// Stores the low n bytes of v at p, most significant first.
void storeBe(uint8_t *p, uint64_t v, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * (n - 1 - i)));
}

// Bytes in memory with big-endian writers and a stack of open boxes whose size
// is patched on close. Any failure marks the buffer failed; later writes are
// ignored.
struct Buf
{
    List<uint8_t> bytes;
    size_t open[kMaxOpenBoxes];
    int depth = 0;
    bool failed = false;

    uint8_t *grow(size_t n)
    {
        if (failed)
            return nullptr;
        if (!bytes.reserve(bytes.count + n, 4096)) {
            failed = true;
            return nullptr;
        }
        uint8_t *p = bytes.data + bytes.count;
        bytes.count += n;
        return p;
    }
    void put(const void *src, size_t n)
    {
        if (n == 0)
            return;
        if (uint8_t *p = grow(n))
            memcpy(p, src, n);
    }
    void zeros(size_t n)
    {
        if (uint8_t *p = grow(n))
            memset(p, 0, n);
    }
    void u8(uint32_t v)
    {
        if (uint8_t *p = grow(1))
            p[0] = static_cast<uint8_t>(v);
    }
    void u16(uint32_t v)
    {
        if (uint8_t *p = grow(2))
            storeBe(p, v, 2);
    }
    void u24(uint32_t v)
    {
        u8(v >> 16);
        u16(v & 0xFFFF);
    }
    void u32(uint32_t v)
    {
        if (uint8_t *p = grow(4))
            storeBe(p, v, 4);
    }
    void u64(uint64_t v)
    {
        u32(static_cast<uint32_t>(v >> 32));
        u32(static_cast<uint32_t>(v));
    }
    void tag(const char *fourcc) { put(fourcc, 4); }
    // Writes a 32-bit placeholder (a size or count known only later) and
    // returns its position for patch32.
    size_t placeholder32()
    {
        size_t at = bytes.count;
        u32(0);
        return at;
    }
    // Stores v at a position placeholder32 returned.
    void patch32(size_t at, uint32_t v)
    {
        if (!failed)
            storeBe(bytes.data + at, v, 4);
    }
    // Opens a box: size placeholder and type.
    void begin(const char *type)
    {
        if (failed)
            return;
        if (depth >= kMaxOpenBoxes) {
            failed = true;
            return;
        }
        open[depth++] = placeholder32();
        tag(type);
    }
    // Opens a full box (version and flags follow the type).
    void beginFull(const char *type, uint32_t version, uint32_t flags)
    {
        begin(type);
        u32((version << 24) | (flags & 0xFFFFFF));
    }
    void end()
    {
        if (failed || depth == 0) {
            failed = true;
            return;
        }
        size_t start = open[--depth];
        uint64_t size = bytes.count - start;
        if (size > 0xFFFFFFFFu) {
            failed = true;
            return;
        }
        patch32(start, static_cast<uint32_t>(size));
    }
};

// ---- The writer -------------------------------------------------------------

struct Track
{
    Buf pending; // bytes of the pending chunk
    uint32_t pendingSamples = 0;
    List<uint32_t> sizes;     // per sample (video, AAC, chapters)
    List<uint32_t> durations; // video: 1/30000 s
    List<uint64_t> chunkOffsets;
    List<uint32_t> chunkSamples;

    void release()
    {
        pending.bytes.release();
        sizes.release();
        durations.release();
        chunkOffsets.release();
        chunkSamples.release();
    }
};

struct Chapter
{
    int64_t timeMs;
    char *text;
};

} // namespace

struct MovWriter
{
    MovWriterConfig config;
    MovWriteFn write;
    void *context;
    int error = 0;
    uint64_t end = 0;      // current end of the file
    uint64_t mdatPos = 0;  // offset of the mdat header
    uint64_t indexPos = 0; // right after ftyp

    bool started = false;  // the first keyframe was taken
    bool finished = false; // movWriterFinish ran; the file is complete
    ParamSets params;      // the stream's parameter sets
    uint8_t record[kMaxRecordBytes];
    size_t recordLength = 0;
    SpsInfo sps;

    Track video;
    Track audio;
    List<uint32_t> sync;
    int64_t lastDecodeMs = 0;
    int64_t chunkFirstMs = 0;
    uint32_t lastDuration = 0;
    uint64_t aacFrames = 0;
    uint64_t aacBytes = 0;
    uint64_t alawSamples = 0;
    uint32_t keyframes = 0;
    uint32_t audioWrites = 0;
    uint32_t silenceInsertions = 0;
    List<Chapter> chapters;
    List<Chapter> subtitles;
    ParamSets scratch;   // parameter sets of the frame being added
    List<NalUnit> units; // the units of the frame being added
};

namespace {

int fail(MovWriter *w, int code)
{
    if (w->error == 0)
        w->error = code;
    return w->error;
}

// Writes bytes at the end of the file and advances it; returns the sticky code.
int writeAtEnd(MovWriter *w, const void *data, size_t length)
{
    if (length && w->write(w->context, w->end, data, length) != 0)
        return fail(w, MOVW_ERR_WRITE);
    w->end += length;
    return 0;
}

int writeAt(MovWriter *w, uint64_t offset, const void *data, size_t length)
{
    if (w->write(w->context, offset, data, length) != 0)
        return fail(w, MOVW_ERR_WRITE);
    return 0;
}

// Writes a track's pending chunk at the end and records it; returns a code.
int flushTrack(MovWriter *w, Track *t)
{
    if (t->pendingSamples == 0)
        return 0;
    if (!t->chunkOffsets.push(w->end, 1024) || !t->chunkSamples.push(t->pendingSamples, 1024))
        return fail(w, MOVW_ERR_NO_MEMORY);
    int rc = writeAtEnd(w, t->pending.bytes.data, t->pending.bytes.count);
    t->pending.bytes.count = 0;
    t->pendingSamples = 0;
    return rc;
}

// Applies the chunk rule: write out both pending chunks after about one second
// of video or 8 MiB of pending data. Returns a code.
int applyChunkRule(MovWriter *w)
{
    bool second = w->video.pendingSamples > 0 && w->lastDecodeMs - w->chunkFirstMs >= 1000;
    bool full = uint64_t(w->audio.pending.bytes.count) + w->video.pending.bytes.count > kChunkBytesLimit;
    if (!second && !full)
        return 0;
    int rc = flushTrack(w, &w->video);
    if (rc == 0)
        rc = flushTrack(w, &w->audio);
    return rc;
}

// ---- The boxes around the media: ftyp, the reserved free, mdat -----------------

// ftyp: the QuickTime brand for MOV; for MP4 the ISO brands, avc1 with H.264.
void writeFtyp(Buf &b, const MovWriterConfig &c)
{
    b.begin("ftyp");
    if (!c.mp4) {
        b.tag("qt  ");
        b.u32(0x200);
        b.tag("qt  ");
    } else {
        b.tag("isom");
        b.u32(0x200);
        b.tag("isom");
        b.tag("iso2");
        if (c.videoCodec == MOVW_VIDEO_H264)
            b.tag("avc1");
        b.tag("mp41");
    }
    b.end();
}

// The 8-byte header of a free box of `size` bytes (below 4 GiB).
void freeHeader(uint64_t size, uint8_t out[8])
{
    storeBe(out, size, 4);
    memcpy(out + 4, "free", 4);
}

// free: `size` bytes at the end of the file, zeros after the header, that
// the index may take later. Returns the sticky code.
int writeFree(MovWriter *w, uint64_t size)
{
    static const uint8_t kZeros[65536] = {};
    uint8_t header[8];
    freeHeader(size, header);
    int rc = writeAtEnd(w, header, 8);
    for (uint64_t left = size - 8; rc == 0 && left > 0;) {
        size_t n = left > sizeof kZeros ? sizeof kZeros : static_cast<size_t>(left);
        rc = writeAtEnd(w, kZeros, n);
        left -= n;
    }
    return rc;
}

// mdat with a 64-bit size, that of an empty box until finishMdat patches it.
// Returns the sticky code.
int writeMdatHeader(MovWriter *w)
{
    uint8_t header[16] = {0, 0, 0, 1, 'm', 'd', 'a', 't'};
    storeBe(header + 8, sizeof header, 8);
    w->mdatPos = w->end;
    return writeAtEnd(w, header, sizeof header);
}

// Patches the mdat size to cover every byte written since its header.
// Returns the sticky code.
int finishMdat(MovWriter *w)
{
    uint8_t size[8];
    storeBe(size, w->end - w->mdatPos, 8);
    return writeAt(w, w->mdatPos + 8, size, 8);
}

// ---- Decoder configuration records ----------------------------------------------

// Builds the avcC record from the stream's parameter sets; false when it
// cannot be built.
bool buildAvcC(MovWriter *w)
{
    const ParamSets &p = w->params;
    Buf b;
    size_t firstSps = SIZE_MAX;
    int nSps = 0, nPps = 0;
    for (size_t i = 0; i < p.count; ++i) {
        if (p.types[i] == 7) {
            if (firstSps == SIZE_MAX)
                firstSps = i;
            nSps++;
        } else {
            nPps++;
        }
    }
    if (firstSps == SIZE_MAX || p.lengths[firstSps] < 4 || nSps > 31)
        return false;
    const uint8_t *sps = p.bytes + p.offsets[firstSps];
    b.u8(1);
    b.u8(sps[1]);
    b.u8(sps[2]);
    b.u8(sps[3]);
    b.u8(0xFF);
    b.u8(0xE0 | nSps);
    for (size_t i = 0; i < p.count; ++i)
        if (p.types[i] == 7) {
            b.u16(static_cast<uint32_t>(p.lengths[i]));
            b.put(p.bytes + p.offsets[i], p.lengths[i]);
        }
    b.u8(nPps);
    for (size_t i = 0; i < p.count; ++i)
        if (p.types[i] == 8) {
            b.u16(static_cast<uint32_t>(p.lengths[i]));
            b.put(p.bytes + p.offsets[i], p.lengths[i]);
        }
    uint8_t profile = sps[1];
    if (profile != 66 && profile != 77 && profile != 88) {
        // The extension needs the chroma format and bit depths of the SPS.
        if (!w->sps.parsed)
            return false;
        b.u8(0xFC | w->sps.chromaFormat);
        b.u8(0xF8 | (w->sps.bitDepthLuma - 8));
        b.u8(0xF8 | (w->sps.bitDepthChroma - 8));
        b.u8(0);
    }
    bool ok = !b.failed && b.bytes.count <= kMaxRecordBytes;
    if (ok) {
        memcpy(w->record, b.bytes.data, b.bytes.count);
        w->recordLength = b.bytes.count;
    }
    b.bytes.release();
    return ok;
}

// Builds the hvcC record from the stream's parameter sets; false when it
// cannot be built.
bool buildHvcC(MovWriter *w)
{
    const ParamSets &p = w->params;
    if (!w->sps.parsed)
        return false;
    int layers = w->sps.maxSubLayers;
    for (size_t i = 0; i < p.count; ++i)
        if (p.types[i] == 32) {
            int n = vpsSubLayers(p.bytes + p.offsets[i], p.lengths[i]);
            if (n > layers)
                layers = n;
        }
    if (layers > 7)
        layers = 7;
    Buf b;
    b.u8(1);
    b.put(w->sps.ptl, 1);      // profile space, tier, profile idc
    b.put(w->sps.ptl + 1, 4);  // compatibility flags
    b.put(w->sps.ptl + 5, 6);  // constraint flags
    b.put(w->sps.ptl + 11, 1); // level idc
    b.u16(0xF000);
    b.u8(0xFC);
    b.u8(0xFC | w->sps.chromaFormat);
    b.u8(0xF8 | (w->sps.bitDepthLuma - 8));
    b.u8(0xF8 | (w->sps.bitDepthChroma - 8));
    b.u16(0);
    b.u8((layers << 3) | (w->sps.temporalIdNested << 2) | 3);
    b.u8(3); // arrays: VPS, SPS, PPS
    static const int kTypes[3] = {32, 33, 34};
    for (int type : kTypes) {
        int n = 0;
        for (size_t i = 0; i < p.count; ++i)
            n += p.types[i] == type;
        b.u8(0x80 | type);
        b.u16(n);
        for (size_t i = 0; i < p.count; ++i)
            if (p.types[i] == type) {
                b.u16(static_cast<uint32_t>(p.lengths[i]));
                b.put(p.bytes + p.offsets[i], p.lengths[i]);
            }
    }
    bool ok = !b.failed && b.bytes.count <= kMaxRecordBytes;
    if (ok) {
        memcpy(w->record, b.bytes.data, b.bytes.count);
        w->recordLength = b.bytes.count;
    }
    b.bytes.release();
    return ok;
}

// Takes the stream's parameter sets from the first keyframe; false when no
// decoder configuration record can be built from them.
bool takeStreamParams(MovWriter *w, const ParamSets &set)
{
    w->params = set;
    if (!readStreamParams(w->config.videoCodec, set, &w->sps))
        return false;
    return w->config.videoCodec == MOVW_VIDEO_H264 ? buildAvcC(w) : buildHvcC(w);
}

// Appends one AAC frame as a sample of the pending audio chunk.
int addAacSample(MovWriter *w, const uint8_t *data, size_t length)
{
    if (length > 0xFFFFFFFFu)
        return fail(w, MOVW_ERR_ARGUMENT);
    if (!w->audio.sizes.push(static_cast<uint32_t>(length), 4096))
        return fail(w, MOVW_ERR_NO_MEMORY);
    w->audio.pending.put(data, length);
    if (w->audio.pending.failed)
        return fail(w, MOVW_ERR_NO_MEMORY);
    w->audio.pendingSamples++;
    w->aacFrames++;
    w->aacBytes += length;
    return 0;
}

} // namespace

// ---- Public operations ---------------------------------------------------------

uint64_t movWriterReserve(const MovWriterConfig *config, int64_t expectedMs, int aacFrameMs, int chapters)
{
    if (!config)
        return 0;
    // Clamped before multiplying: 2^40 ms (35 years) already asks for far
    // more than the 4 GiB a reservation may take.
    const int64_t kLongest = int64_t(1) << 40;
    int64_t d = expectedMs < 0 ? 0 : expectedMs > kLongest ? kLongest : expectedMs;
    int64_t v = config->frameIntervalMs > 0 ? d * 4 / (3 * int64_t(config->frameIntervalMs)) : d * 4 / 201;
    int64_t a = 0;
    if (config->audioMode == MOVW_AUDIO_AAC) {
        int64_t f = aacFrameMs < 1 ? 64 : aacFrameMs;
        a = d * 4 / (3 * f) + 64;
    }
    int64_t c = chapters < 0 ? 0 : chapters;
    // A subtitle a second: its size and duration, and a chunk offset when a
    // chunk is written for it.
    int64_t t = config->timeTrack ? 20 * (d / 1000 + 2) : 0;
    int64_t e = 13 * v + 40 * (d / 1000) + 96 * c + 4 * a + t + 22336;
    return static_cast<uint64_t>(e + e / 10);
}

int movWriterStart(const MovWriterConfig *config, MovWriteFn write, void *context, MovWriter **out)
{
    if (out)
        *out = nullptr;
    if (!config || !write || !out)
        return MOVW_ERR_ARGUMENT;
    const MovWriterConfig &c = *config;
    if (c.videoCodec != MOVW_VIDEO_H264 && c.videoCodec != MOVW_VIDEO_H265)
        return MOVW_ERR_ARGUMENT;
    if (c.audioMode < MOVW_AUDIO_NONE || c.audioMode > MOVW_AUDIO_ALAW)
        return MOVW_ERR_ARGUMENT;
    if (c.audioMode == MOVW_AUDIO_ALAW && (c.sampleRate < 1 || c.channels > 2))
        return MOVW_ERR_ARGUMENT;
    if (c.audioConfigLength < 0 || c.audioConfigLength > 16)
        return MOVW_ERR_ARGUMENT;
    if (c.reserve >= 1 && c.reserve <= 7)
        return MOVW_ERR_ARGUMENT;
    if (c.mp4 == 1 && c.audioMode == MOVW_AUDIO_ALAW)
        return MOVW_ERR_ARGUMENT;

    MovWriter *w = new (std::nothrow) MovWriter();
    if (!w)
        return MOVW_ERR_NO_MEMORY;
    w->config = c;
    w->config.mp4 = c.mp4 == 1 ? 1 : 0;
    if (w->config.channels < 1)
        w->config.channels = 1;
    if (w->config.frameIntervalMs < 1)
        w->config.frameIntervalMs = 67;
    w->write = write;
    w->context = context;

    Buf b;
    writeFtyp(b, w->config);
    int rc = b.failed ? MOVW_ERR_NO_MEMORY : writeAtEnd(w, b.bytes.data, b.bytes.count);
    b.bytes.release();
    if (rc == 0 && c.reserve >= 0x100000000ull)
        rc = MOVW_ERR_ARGUMENT;
    w->indexPos = w->end;
    if (rc == 0 && c.reserve > 0)
        rc = writeFree(w, c.reserve);
    if (rc == 0)
        rc = writeMdatHeader(w);
    if (rc != 0) {
        delete w;
        return rc;
    }
    *out = w;
    return MOVW_OK;
}

int movWriterAddVideo(MovWriter *w, const uint8_t *data, size_t length, int64_t decodeMs, int keyframe)
{
    if (!w)
        return MOVW_ERR_ARGUMENT;
    if (w->error)
        return w->error;
    if (!data && length)
        return MOVW_ERR_ARGUMENT;
    const int codec = w->config.videoCodec;
    // One scan for the unit boundaries serves both the parameter sets and
    // the rewrite below.
    List<NalUnit> &units = w->units;
    units.count = 0;
    bool listed = true;
    forEachNalUnit(data, length, [&](const NalUnit &u) { listed = listed && units.push(u, 64); });
    if (!listed)
        return fail(w, MOVW_ERR_NO_MEMORY);
    ParamSets &set = w->scratch;
    collectParamSets(codec, units.data, units.count, &set);
    if (!w->started) {
        if (!keyframe || !paramSetsComplete(codec, set))
            return MOVW_ERR_NOT_READY;
        if (!takeStreamParams(w, set)) {
            w->params = ParamSets();
            return MOVW_ERR_NOT_READY;
        }
        w->started = true;
    } else if (set.failed || (set.count > 0 && !sameParamSets(set, w->params))) {
        return MOVW_PARAMS_CHANGED;
    }

    // Rewrite as length-prefixed units without the parameter sets.
    Buf &pending = w->video.pending;
    size_t before = pending.bytes.count;
    for (size_t i = 0; i < units.count; ++i) {
        const NalUnit &u = units.data[i];
        if (isParamSetType(codec, nalUnitType(codec, u)))
            continue;
        pending.u32(static_cast<uint32_t>(u.length));
        pending.put(u.data, u.length);
    }
    if (pending.failed)
        return fail(w, MOVW_ERR_NO_MEMORY);
    size_t sampleSize = pending.bytes.count - before;
    if (sampleSize == 0)
        return MOVW_OK;
    if (sampleSize > 0xFFFFFFFFu) {
        pending.bytes.count = before;
        return MOVW_ERR_ARGUMENT;
    }

    size_t n = w->video.sizes.count;
    if (n > 0 && decodeMs <= w->lastDecodeMs)
        decodeMs = w->lastDecodeMs + 1;
    if (!w->video.sizes.push(static_cast<uint32_t>(sampleSize), 4096) || !w->video.durations.push(0, 4096) ||
        (keyframe && !w->sync.push(static_cast<uint32_t>(n + 1), 4096))) {
        pending.bytes.count = before;
        return fail(w, MOVW_ERR_NO_MEMORY);
    }
    if (n > 0) {
        int64_t delta = decodeMs - w->lastDecodeMs;
        if (delta > 100000)
            delta = 100000;
        w->lastDuration = static_cast<uint32_t>(delta * 30);
        w->video.durations.data[n - 1] = w->lastDuration;
    }
    if (w->video.pendingSamples == 0)
        w->chunkFirstMs = decodeMs;
    w->video.pendingSamples++;
    w->lastDecodeMs = decodeMs;
    if (keyframe)
        w->keyframes++;
    return applyChunkRule(w);
}

int movWriterAddAudio(MovWriter *w, const uint8_t *data, size_t length)
{
    if (!w)
        return MOVW_ERR_ARGUMENT;
    if (w->error)
        return w->error;
    if (w->config.audioMode == MOVW_AUDIO_NONE || length == 0 || !w->started)
        return MOVW_OK;
    if (!data)
        return MOVW_ERR_ARGUMENT;
    if (w->config.audioMode == MOVW_AUDIO_ALAW) {
        size_t ch = static_cast<size_t>(w->config.channels);
        size_t usable = length - length % ch;
        if (usable == 0)
            return MOVW_OK;
        w->audio.pending.put(data, usable);
        if (w->audio.pending.failed)
            return fail(w, MOVW_ERR_NO_MEMORY);
        w->audio.pendingSamples += static_cast<uint32_t>(usable / ch);
        w->alawSamples += usable / ch;
        w->audioWrites++;
        return MOVW_OK;
    }

    if (!isAdtsHeader(data, length)) {
        if (w->config.audioConfigLength == 0)
            return MOVW_ERR_NOT_READY;
        return addAacSample(w, data, length);
    }
    size_t pos = 0;
    AdtsHeader h;
    while (adtsReadHeader(data + pos, length - pos, &h)) {
        if (h.frameLength <= h.headerLength || h.frameLength > length - pos)
            break;
        if (h.rawBlocks == 1) {
            if (w->config.audioConfigLength == 0) {
                aacPackConfig(h.objectType, h.rateIndex, h.channelConfig, w->config.audioConfig);
                w->config.audioConfigLength = 2;
                if (w->config.sampleRate <= 0)
                    w->config.sampleRate = h.sampleRate;
                if (h.channelConfig != 0)
                    w->config.channels = h.channelConfig;
            }
            int rc = addAacSample(w, data + pos + h.headerLength, h.frameLength - h.headerLength);
            if (rc != 0)
                return rc;
        }
        pos += h.frameLength;
    }
    return MOVW_OK;
}

int movWriterAddSilence(MovWriter *w, int64_t samples, int64_t *inserted)
{
    if (inserted)
        *inserted = 0;
    if (!w)
        return MOVW_ERR_ARGUMENT;
    if (w->error)
        return w->error;
    if (w->config.audioMode == MOVW_AUDIO_NONE || samples <= 0 || !w->started)
        return MOVW_OK;
    if (w->config.audioMode == MOVW_AUDIO_ALAW) {
        size_t bytes = static_cast<size_t>(samples) * static_cast<size_t>(w->config.channels);
        uint8_t *p = w->audio.pending.grow(bytes);
        if (!p)
            return fail(w, MOVW_ERR_NO_MEMORY);
        memset(p, 0xD5, bytes);
        w->audio.pendingSamples += static_cast<uint32_t>(samples);
        w->alawSamples += static_cast<uint64_t>(samples);
        w->silenceInsertions++;
        if (inserted)
            *inserted = samples;
        return MOVW_OK;
    }
    if (w->config.audioConfigLength == 0 || (w->config.audioConfig[0] & 0xF8) != 0x10 ||
        w->config.channels > 2)
        return MOVW_OK;
    static const uint8_t kMono[4] = {0x01, 0x40, 0x20, 0x07};
    static const uint8_t kStereo[6] = {0x21, 0x10, 0x04, 0x60, 0x8C, 0x1C};
    int64_t copies = (samples + 512) / 1024;
    for (int64_t i = 1; i <= copies; ++i) {
        int rc = w->config.channels == 2 ? addAacSample(w, kStereo, sizeof kStereo)
                                         : addAacSample(w, kMono, sizeof kMono);
        if (rc == 0 && i % 64 == 0)
            rc = applyChunkRule(w);
        if (rc != 0)
            return rc;
    }
    if (copies > 0)
        w->silenceInsertions++;
    if (inserted)
        *inserted = copies * 1024;
    return MOVW_OK;
}

int64_t movWriterAudioSamples(const MovWriter *w)
{
    if (!w)
        return 0;
    if (w->config.audioMode == MOVW_AUDIO_ALAW)
        return static_cast<int64_t>(w->alawSamples);
    return static_cast<int64_t>(w->aacFrames * 1024);
}

namespace {

// Keeps a copy of text (cut to kMaxChapterText) at timeMs in list.
int addText(MovWriter *w, List<Chapter> *list, int64_t timeMs, const char *text)
{
    if (!w || !text)
        return MOVW_ERR_ARGUMENT;
    if (w->error)
        return w->error;
    size_t n = strlen(text);
    if (n > kMaxChapterText)
        n = kMaxChapterText;
    char *copy = static_cast<char *>(malloc(n + 1));
    if (!copy)
        return fail(w, MOVW_ERR_NO_MEMORY);
    memcpy(copy, text, n);
    copy[n] = 0;
    if (!list->push(Chapter{timeMs < 0 ? 0 : timeMs, copy}, 1024)) {
        free(copy);
        return fail(w, MOVW_ERR_NO_MEMORY);
    }
    return MOVW_OK;
}

void freeTexts(List<Chapter> *list)
{
    for (size_t i = 0; i < list->count; ++i)
        free(list->data[i].text);
    list->release();
}

} // namespace

int movWriterAddChapter(MovWriter *w, int64_t timeMs, const char *text)
{
    return addText(w, w ? &w->chapters : nullptr, timeMs, text);
}

int movWriterAddSubtitle(MovWriter *w, int64_t timeMs, const char *text)
{
    return addText(w, w ? &w->subtitles : nullptr, timeMs, text);
}

void movWriterFree(MovWriter *w)
{
    if (!w)
        return;
    w->video.release();
    w->audio.release();
    w->sync.release();
    w->units.release();
    freeTexts(&w->chapters);
    freeTexts(&w->subtitles);
    delete w;
}

const char *movWriterErrorName(int code)
{
    switch (code) {
    case MOVW_OK:
        return "ok";
    case MOVW_PARAMS_CHANGED:
        return "parameter sets changed";
    case MOVW_ERR_ARGUMENT:
        return "invalid argument";
    case MOVW_ERR_NO_MEMORY:
        return "out of memory";
    case MOVW_ERR_WRITE:
        return "write failed";
    case MOVW_ERR_NOT_READY:
        return "not ready";
    default:
        return "unknown error";
    }
}

// ---- Finishing: chapter samples and the moov tree --------------------------------

namespace {

enum TrackKind
{
    kVideo,
    kAudio,
    kText,    // the chapters
    kSubtitle // the time track
};

// One track as the moov describes it.
struct TrackOut
{
    TrackKind kind;
    uint32_t id;
    uint32_t timescale;
    uint64_t mediaDuration; // in timescale units
    uint32_t durationMs;    // in the movie timescale
    const Track *track;
};

// What finish computed for the boxes.
struct MoovInfo
{
    uint32_t createTime;
    uint32_t movieMs;
    uint32_t nextId;
    bool hasAudio;
    bool hasChapters;
    uint32_t chapterId;
};

const uint32_t kMatrix[9] = {0x00010000, 0, 0, 0, 0x00010000, 0, 0, 0, 0x40000000};

void putMatrix(Buf &b)
{
    for (uint32_t v : kMatrix)
        b.u32(v);
}

void writeMvhd(Buf &b, const MoovInfo &m)
{
    b.beginFull("mvhd", 0, 0);
    b.u32(m.createTime);
    b.u32(m.createTime);
    b.u32(1000);
    b.u32(m.movieMs);
    b.u32(0x00010000);
    b.u16(0x0100);
    b.zeros(10);
    putMatrix(b);
    b.zeros(24);
    b.u32(m.nextId);
    b.end();
}

void writeTkhd(Buf &b, const MoovInfo &m, const TrackOut &t, const MovWriter *w)
{
    // Chapters are read through the chapter reference, never shown as a track.
    b.beginFull("tkhd", 0, t.kind == kText ? 2 : 3);
    b.u32(m.createTime);
    b.u32(m.createTime);
    b.u32(t.id);
    b.u32(0);
    b.u32(t.durationMs);
    b.zeros(8);
    b.u16(0); // layer
    b.u16(0); // alternate group
    b.u16(t.kind == kAudio ? 0x0100 : 0);
    b.u16(0);
    putMatrix(b);
    // Subtitles are laid over the picture, so their box is the picture's.
    bool pictured = t.kind == kVideo || t.kind == kSubtitle;
    b.u32(pictured ? static_cast<uint32_t>(w->sps.width) << 16 : 0);
    b.u32(pictured ? static_cast<uint32_t>(w->sps.height) << 16 : 0);
    b.end();
}

void writeTref(Buf &b, uint32_t chapterId)
{
    b.begin("tref");
    b.begin("chap");
    b.u32(chapterId);
    b.end();
    b.end();
}

void writeMdhd(Buf &b, const MoovInfo &m, const TrackOut &t)
{
    bool wide = t.mediaDuration > 0xFFFFFFFFu;
    b.beginFull("mdhd", wide ? 1 : 0, 0);
    if (wide) {
        b.u64(m.createTime);
        b.u64(m.createTime);
        b.u32(t.timescale);
        b.u64(t.mediaDuration);
    } else {
        b.u32(m.createTime);
        b.u32(m.createTime);
        b.u32(t.timescale);
        b.u32(static_cast<uint32_t>(t.mediaDuration));
    }
    b.u16(0x55C4);
    b.u16(0);
    b.end();
}

// A handler box: MOV form with component type and a counted name, MP4 form with
// a zero-terminated name.
void writeHdlr(Buf &b, bool mp4, const char *componentType, const char *subtype, const char *name)
{
    b.beginFull("hdlr", 0, 0);
    if (mp4)
        b.u32(0);
    else
        b.tag(componentType);
    b.tag(subtype);
    b.zeros(12);
    size_t n = strlen(name);
    if (mp4) {
        b.put(name, n);
        b.u8(0);
    } else {
        b.u8(static_cast<uint32_t>(n));
        b.put(name, n);
    }
    b.end();
}

void writeVmhd(Buf &b)
{
    b.beginFull("vmhd", 0, 1);
    b.u16(0);
    b.u16(0);
    b.u16(0);
    b.u16(0);
    b.end();
}

void writeSmhd(Buf &b)
{
    b.beginFull("smhd", 0, 0);
    b.u16(0);
    b.u16(0);
    b.end();
}

void writeGmhd(Buf &b)
{
    b.begin("gmhd");
    b.beginFull("gmin", 0, 0);
    b.u16(0x0040);
    b.u16(0x8000);
    b.u16(0x8000);
    b.u16(0x8000);
    b.u16(0);
    b.u16(0);
    b.end();
    b.begin("text");
    putMatrix(b);
    b.end();
    b.end();
}

void writeDinf(Buf &b)
{
    b.begin("dinf");
    b.beginFull("dref", 0, 0);
    b.u32(1);
    b.beginFull("url ", 0, 1);
    b.end();
    b.end();
    b.end();
}

void writeAvcCOrHvcC(Buf &b, const MovWriter *w)
{
    b.begin(w->config.videoCodec == MOVW_VIDEO_H264 ? "avcC" : "hvcC");
    b.put(w->record, w->recordLength);
    b.end();
}

void writeVideoEntry(Buf &b, const MovWriter *w)
{
    bool mp4 = w->config.mp4;
    b.begin(w->config.videoCodec == MOVW_VIDEO_H264 ? "avc1" : "hvc1");
    b.zeros(6);
    b.u16(1);
    b.u16(0); // version
    b.u16(0); // revision
    b.u32(0); // vendor
    b.u32(mp4 ? 0 : 512);
    b.u32(mp4 ? 0 : 512);
    b.u16(static_cast<uint32_t>(w->sps.width));
    b.u16(static_cast<uint32_t>(w->sps.height));
    b.u32(0x00480000);
    b.u32(0x00480000);
    b.u32(0);
    b.u16(1);
    b.zeros(32);
    b.u16(0x0018);
    b.u16(0xFFFF);
    writeAvcCOrHvcC(b, w);
    b.end();
}

void putDescriptorHeader(Buf &b, uint32_t tag, uint32_t length)
{
    b.u8(tag);
    b.u8(0x80);
    b.u8(0x80);
    b.u8(0x80);
    b.u8(length);
}

// Largest byte sum of about one second of consecutive AAC frames, in bits.
uint32_t aacMaxBitrate(const MovWriter *w)
{
    const List<uint32_t> &sizes = w->audio.sizes;
    uint64_t window = (static_cast<uint64_t>(w->config.sampleRate) + 1023) / 1024;
    if (window == 0)
        window = 1;
    uint64_t sum = 0, best = 0;
    for (size_t i = 0; i < sizes.count; ++i) {
        sum += sizes.data[i];
        if (i >= window)
            sum -= sizes.data[i - window];
        if (sum > best)
            best = sum;
    }
    uint64_t bits = best * 8;
    return saturate32(bits);
}

void writeEsds(Buf &b, const MovWriter *w, uint32_t trackId)
{
    uint32_t n = static_cast<uint32_t>(w->config.audioConfigLength);
    uint64_t divisor = w->aacFrames * 1024000 / static_cast<uint64_t>(w->config.sampleRate);
    uint64_t avg = divisor ? w->aacBytes * 8000 / divisor : 0;
    b.beginFull("esds", 0, 0);
    putDescriptorHeader(b, 3, n + 32);
    b.u16(trackId);
    b.u8(0);
    putDescriptorHeader(b, 4, n + 18);
    b.u8(0x40);
    b.u8(0x15);
    b.u24(0);
    b.u32(aacMaxBitrate(w));
    b.u32(saturate32(avg));
    putDescriptorHeader(b, 5, n);
    b.put(w->config.audioConfig, n);
    putDescriptorHeader(b, 6, 1);
    b.u8(2);
    b.end();
}

void writeWave(Buf &b, const MovWriter *w, uint32_t trackId)
{
    b.begin("wave");
    b.begin("frma");
    b.tag("mp4a");
    b.end();
    b.begin("mp4a");
    b.u32(0);
    b.end();
    writeEsds(b, w, trackId);
    b.u32(8);
    b.u32(0);
    b.end();
}

void writeAudioEntry(Buf &b, const MovWriter *w, uint32_t trackId)
{
    bool aac = w->config.audioMode == MOVW_AUDIO_AAC;
    bool mov = !w->config.mp4;
    uint32_t rate = static_cast<uint32_t>(w->config.sampleRate);
    b.begin(aac ? "mp4a" : "alaw");
    b.zeros(6);
    b.u16(1);
    b.u16(aac && mov ? 1 : 0);
    b.u16(0);
    b.u32(0);
    b.u16(static_cast<uint32_t>(w->config.channels));
    b.u16(16);
    b.u16(aac && mov ? 0xFFFE : 0);
    b.u16(0);
    b.u32(rate > 65535 ? 0 : rate << 16);
    if (aac && !mov) {
        writeEsds(b, w, trackId);
    } else if (aac) {
        b.u32(1024);
        b.u32(0);
        b.u32(0);
        b.u32(2);
        writeWave(b, w, trackId);
    }
    b.end();
}

void writeTextEntry(Buf &b)
{
    b.begin("text");
    b.zeros(6);
    b.u16(1);
    b.u32(1);   // display flags
    b.u8(0);    // horizontal justification
    b.u8(0);    // vertical justification
    b.u32(0);   // background colour
    b.zeros(8); // default text box
    b.u16(0);   // start char
    b.u16(0);   // end char
    b.u16(1);   // font ID
    b.u8(0);    // font style flags
    b.u8(0);    // font size
    b.u32(0);   // text colour
    b.begin("ftab");
    b.u16(1);
    b.u16(1);
    b.u8(0);
    b.end();
    b.end();
}

// tx3g: centred at the bottom, white on nothing, the player's default size.
void writeTx3gEntry(Buf &b)
{
    b.begin("tx3g");
    b.zeros(6);
    b.u16(1);
    b.u32(0);           // display flags
    b.u8(1);            // horizontal justification: centre
    b.u8(0xFF);         // vertical justification: bottom
    b.u32(0);           // background colour (RGBA)
    b.zeros(8);         // default text box
    b.u16(0);           // style: start char
    b.u16(0);           // end char
    b.u16(1);           // font ID
    b.u8(0);            // face style flags
    b.u8(18);           // font size
    b.u32(0xFFFFFFFFu); // text colour (RGBA)
    b.begin("ftab");
    b.u16(1);
    b.u16(1);
    b.u8(5);
    b.put("Serif", 5);
    b.end();
    b.end();
}

// nmhd: the null media header ISO files give a subtitle track.
void writeNmhd(Buf &b)
{
    b.beginFull("nmhd", 0, 0);
    b.end();
}

void writeStsd(Buf &b, const MovWriter *w, const TrackOut &t)
{
    b.beginFull("stsd", 0, 0);
    b.u32(1);
    if (t.kind == kVideo)
        writeVideoEntry(b, w);
    else if (t.kind == kAudio)
        writeAudioEntry(b, w, t.id);
    else if (t.kind == kSubtitle)
        writeTx3gEntry(b);
    else
        writeTextEntry(b);
    b.end();
}

// Run-length encodes a duration list into stts entries.
void writeSttsList(Buf &b, const List<uint32_t> &durations)
{
    b.beginFull("stts", 0, 0);
    size_t countPos = b.placeholder32();
    uint32_t entries = 0;
    size_t i = 0;
    while (i < durations.count) {
        size_t j = i + 1;
        while (j < durations.count && durations.data[j] == durations.data[i])
            ++j;
        b.u32(static_cast<uint32_t>(j - i));
        b.u32(durations.data[i]);
        ++entries;
        i = j;
    }
    b.patch32(countPos, entries);
    b.end();
}

void writeSttsConstant(Buf &b, uint64_t count, uint32_t delta)
{
    b.beginFull("stts", 0, 0);
    if (count == 0) {
        b.u32(0);
    } else {
        b.u32(1);
        b.u32(saturate32(count));
        b.u32(delta);
    }
    b.end();
}

void writeStss(Buf &b, const List<uint32_t> &sync)
{
    b.beginFull("stss", 0, 0);
    b.u32(static_cast<uint32_t>(sync.count));
    for (size_t i = 0; i < sync.count; ++i)
        b.u32(sync.data[i]);
    b.end();
}

void writeStsc(Buf &b, const Track &t)
{
    b.beginFull("stsc", 0, 0);
    size_t countPos = b.placeholder32();
    uint32_t entries = 0;
    for (size_t i = 0; i < t.chunkSamples.count; ++i) {
        if (i > 0 && t.chunkSamples.data[i] == t.chunkSamples.data[i - 1])
            continue;
        b.u32(static_cast<uint32_t>(i + 1));
        b.u32(t.chunkSamples.data[i]);
        b.u32(1);
        ++entries;
    }
    b.patch32(countPos, entries);
    b.end();
}

// stco, or co64 when any chunk of the track lies beyond 4 GiB.
void writeChunkOffsets(Buf &b, const Track &t)
{
    bool wide = false;
    for (size_t i = 0; i < t.chunkOffsets.count; ++i)
        wide |= t.chunkOffsets.data[i] > 0xFFFFFFFFu;
    b.beginFull(wide ? "co64" : "stco", 0, 0);
    b.u32(static_cast<uint32_t>(t.chunkOffsets.count));
    for (size_t i = 0; i < t.chunkOffsets.count; ++i) {
        if (wide)
            b.u64(t.chunkOffsets.data[i]);
        else
            b.u32(static_cast<uint32_t>(t.chunkOffsets.data[i]));
    }
    b.end();
}

void writeStszList(Buf &b, const List<uint32_t> &sizes)
{
    b.beginFull("stsz", 0, 0);
    b.u32(0);
    b.u32(static_cast<uint32_t>(sizes.count));
    for (size_t i = 0; i < sizes.count; ++i)
        b.u32(sizes.data[i]);
    b.end();
}

void writeStszConstant(Buf &b, uint32_t size, uint64_t count)
{
    b.beginFull("stsz", 0, 0);
    b.u32(size);
    b.u32(saturate32(count));
    b.end();
}

void writeStbl(Buf &b, const MovWriter *w, const TrackOut &t)
{
    b.begin("stbl");
    writeStsd(b, w, t);
    const Track &tr = *t.track;
    if (t.kind == kVideo) {
        writeSttsList(b, tr.durations);
        writeStss(b, w->sync);
        writeStsc(b, tr);
        writeChunkOffsets(b, tr);
        writeStszList(b, tr.sizes);
    } else if (t.kind == kAudio) {
        if (w->config.audioMode == MOVW_AUDIO_AAC)
            writeSttsConstant(b, w->aacFrames, 1024);
        else
            writeSttsConstant(b, w->alawSamples, 1);
        writeStsc(b, tr);
        writeChunkOffsets(b, tr);
        if (w->config.audioMode == MOVW_AUDIO_AAC)
            writeStszList(b, tr.sizes);
        else
            writeStszConstant(b, static_cast<uint32_t>(w->config.channels), w->alawSamples);
    } else {
        writeSttsList(b, tr.durations);
        writeStsc(b, tr);
        writeChunkOffsets(b, tr);
        writeStszList(b, tr.sizes);
    }
    b.end();
}

void writeMinf(Buf &b, const MovWriter *w, const TrackOut &t)
{
    b.begin("minf");
    if (t.kind == kVideo)
        writeVmhd(b);
    else if (t.kind == kAudio)
        writeSmhd(b);
    else if (t.kind == kSubtitle && w->config.mp4)
        writeNmhd(b);
    else
        writeGmhd(b);
    if (!w->config.mp4)
        writeHdlr(b, false, "dhlr", "url ", "DataHandler");
    writeDinf(b);
    writeStbl(b, w, t);
    b.end();
}

void writeMdia(Buf &b, const MovWriter *w, const MoovInfo &m, const TrackOut &t)
{
    static const char *const kSubtypes[4] = {"vide", "soun", "text", "sbtl"};
    static const char *const kNames[4] = {"VideoHandler", "SoundHandler", "TextHandler", "SubtitleHandler"};
    b.begin("mdia");
    writeMdhd(b, m, t);
    writeHdlr(b, w->config.mp4 != 0, "mhlr", kSubtypes[t.kind], kNames[t.kind]);
    writeMinf(b, w, t);
    b.end();
}

void writeTrak(Buf &b, const MovWriter *w, const MoovInfo &m, const TrackOut &t)
{
    b.begin("trak");
    writeTkhd(b, m, t, w);
    if ((t.kind == kVideo || t.kind == kAudio) && m.hasChapters)
        writeTref(b, m.chapterId);
    writeMdia(b, w, m, t);
    b.end();
}

// The creation-date metadata of MOV files: local time with the UTC offset.
void writeCreationMeta(Buf &b, const MovWriter *w)
{
    int offset = w->config.offsetMin;
    CivilTime t = civilFromSeconds(w->config.startMs / 1000 + int64_t(offset) * 60);
    int absOffset = offset < 0 ? -offset : offset;
    char text[64];
    int n = snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d%02d", t.year, t.month, t.day,
                     t.hour, t.minute, t.second, offset >= 0 ? '+' : '-', absOffset / 60, absOffset % 60);
    if (n < 0 || n >= static_cast<int>(sizeof text))
        n = 0;
    b.begin("meta");
    b.beginFull("hdlr", 0, 0);
    b.u32(0);
    b.tag("mdta");
    b.zeros(12);
    b.u8(0);
    b.end();
    b.beginFull("keys", 0, 0);
    b.u32(1);
    b.u32(40);
    b.tag("mdta");
    b.put("com.apple.quicktime.creationdate", 32);
    b.end();
    b.begin("ilst");
    b.begin("\0\0\0\1");
    b.begin("data");
    b.u32(1);
    b.u32(0);
    b.put(text, static_cast<size_t>(n));
    b.end();
    b.end();
    b.end();
    b.end();
}

void writeMoov(Buf &b, const MovWriter *w, const MoovInfo &m, const TrackOut *tracks, int trackCount)
{
    b.begin("moov");
    writeMvhd(b, m);
    for (int i = 0; i < trackCount; ++i)
        writeTrak(b, w, m, tracks[i]);
    if (!w->config.mp4)
        writeCreationMeta(b, w);
    b.end();
}

// Turns the chapter list into the samples of the text track (in *text) for a
// video of videoMs. Returns a code.
int buildChapterSamples(MovWriter *w, int64_t videoMs, Track *text)
{
    List<Chapter> &c = w->chapters;
    if (c.count == 0)
        return 0;
    // Stable insertion sort: chapters arrive almost in order.
    for (size_t i = 1; i < c.count; ++i) {
        Chapter x = c.data[i];
        size_t j = i;
        while (j > 0 && c.data[j - 1].timeMs > x.timeMs) {
            c.data[j] = c.data[j - 1];
            --j;
        }
        c.data[j] = x;
    }
    c.data[0].timeMs = 0;
    size_t kept = 0; // kept chapters are compacted to the front
    for (size_t i = 0; i < c.count; ++i) {
        Chapter x = c.data[i];
        if (i > 0 && x.timeMs >= videoMs) {
            free(x.text);
            continue;
        }
        if (kept > 0 && c.data[kept - 1].timeMs == x.timeMs) {
            free(c.data[kept - 1].text);
            c.data[kept - 1] = x;
            continue;
        }
        c.data[kept++] = x;
    }
    c.count = kept;
    for (size_t i = 0; i < kept; ++i) {
        size_t n = strlen(c.data[i].text);
        int64_t next = i + 1 < kept ? c.data[i + 1].timeMs : videoMs;
        int64_t duration = next - c.data[i].timeMs;
        if (duration < 1)
            duration = 1;
        text->pending.u16(static_cast<uint32_t>(n));
        text->pending.put(c.data[i].text, n);
        text->pending.u32(12);
        text->pending.tag("encd");
        text->pending.u32(0x00000100);
        if (!text->sizes.push(static_cast<uint32_t>(n + 14), 1024) ||
            !text->durations.push(static_cast<uint32_t>(duration), 1024))
            return fail(w, MOVW_ERR_NO_MEMORY);
        text->pendingSamples++;
    }
    if (text->pending.failed)
        return fail(w, MOVW_ERR_NO_MEMORY);
    return flushTrack(w, text);
}

// Turns the subtitles into the samples of the time track (in *track) for a
// video of videoMs: each shown until the next, an empty sample before the
// first. Returns a code.
int buildSubtitleSamples(MovWriter *w, int64_t videoMs, Track *track)
{
    const List<Chapter> &c = w->subtitles;
    int64_t at = 0;
    const auto sample = [&](const char *text, size_t n, int64_t until) {
        track->pending.u16(static_cast<uint32_t>(n));
        track->pending.put(text, n);
        if (!track->sizes.push(static_cast<uint32_t>(n + 2), 1024) ||
            !track->durations.push(saturate32(until - at), 1024))
            return false;
        track->pendingSamples++;
        at = until;
        return true;
    };
    for (size_t i = 0; i < c.count; ++i) {
        const int64_t start = c.data[i].timeMs < at ? at : c.data[i].timeMs;
        if (start >= videoMs)
            break;
        const int64_t next =
            i + 1 < c.count && c.data[i + 1].timeMs < videoMs ? c.data[i + 1].timeMs : videoMs;
        if (next <= start)
            continue; // replaced by a later one at the same time
        if (start > at && !sample("", 0, start))
            return fail(w, MOVW_ERR_NO_MEMORY);
        if (!sample(c.data[i].text, strlen(c.data[i].text), next))
            return fail(w, MOVW_ERR_NO_MEMORY);
    }
    if (track->pending.failed)
        return fail(w, MOVW_ERR_NO_MEMORY);
    return flushTrack(w, track);
}

} // namespace

int movWriterFinish(MovWriter *w, MovWriterStats *stats)
{
    if (stats)
        memset(stats, 0, sizeof *stats);
    if (!w)
        return MOVW_ERR_ARGUMENT;
    if (w->error)
        return w->error;
    if (w->finished)
        return MOVW_ERR_ARGUMENT;
    if (!w->started || w->video.sizes.count == 0)
        return MOVW_ERR_NOT_READY;
    w->finished = true;

    size_t n = w->video.sizes.count;
    w->video.durations.data[n - 1] =
        n == 1 ? static_cast<uint32_t>(w->config.frameIntervalMs) * 30 : w->lastDuration;
    int rc = flushTrack(w, &w->video);
    if (rc == 0)
        rc = flushTrack(w, &w->audio);
    if (rc != 0)
        return rc;

    uint64_t ticks = 0;
    for (size_t i = 0; i < n; ++i)
        ticks += w->video.durations.data[i];
    int64_t videoMs = static_cast<int64_t>((ticks * 1000 + 29999) / 30000);

    const int mode = w->config.audioMode;
    uint64_t audioSamples = mode == MOVW_AUDIO_AAC ? w->aacFrames * 1024 : w->alawSamples;
    bool hasAudio = mode != MOVW_AUDIO_NONE && audioSamples > 0 && w->config.sampleRate > 0 &&
                    (mode == MOVW_AUDIO_ALAW || w->config.audioConfigLength > 0);
    uint64_t rate = w->config.sampleRate > 0 ? static_cast<uint64_t>(w->config.sampleRate) : 1;
    int64_t audioMs = hasAudio ? static_cast<int64_t>((audioSamples * 1000 + rate - 1) / rate) : 0;

    Track text;
    rc = buildChapterSamples(w, videoMs, &text);
    if (rc != 0) {
        text.release();
        return rc;
    }
    bool hasChapters = text.sizes.count > 0;
    Track subtitles;
    rc = buildSubtitleSamples(w, videoMs, &subtitles);
    if (rc != 0) {
        text.release();
        subtitles.release();
        return rc;
    }

    rc = finishMdat(w);
    if (rc != 0) {
        text.release();
        subtitles.release();
        return rc;
    }

    MoovInfo m;
    int64_t created = w->config.startMs / 1000 + kSecondsFrom1904;
    // A date that does not fit, before 1904 too, is stored as all ones.
    m.createTime = created < 0 ? 0xFFFFFFFFu : saturate32(created);
    int64_t movieMs = videoMs > audioMs ? videoMs : audioMs;
    m.movieMs = saturate32(movieMs);
    m.hasAudio = hasAudio;
    m.hasChapters = hasChapters;
    m.chapterId = hasAudio ? 3 : 2;
    uint32_t clampVideoMs = saturate32(videoMs);

    TrackOut tracks[4];
    int count = 0;
    tracks[count++] = TrackOut{kVideo, 1, kVideoTimescale, ticks, clampVideoMs, &w->video};
    if (hasAudio)
        tracks[count++] =
            TrackOut{kAudio, 2, static_cast<uint32_t>(rate), audioSamples, saturate32(audioMs), &w->audio};
    if (hasChapters)
        tracks[count++] =
            TrackOut{kText, m.chapterId, 1000, static_cast<uint64_t>(videoMs), clampVideoMs, &text};
    if (subtitles.sizes.count > 0) {
        const uint32_t id = tracks[count - 1].id + 1;
        tracks[count++] =
            TrackOut{kSubtitle, id, 1000, static_cast<uint64_t>(videoMs), clampVideoMs, &subtitles};
    }
    m.nextId = tracks[count - 1].id + 1;

    Buf moov;
    writeMoov(moov, w, m, tracks, count);
    if (moov.failed || moov.depth != 0) {
        moov.bytes.release();
        text.release();
        subtitles.release();
        return fail(w, MOVW_ERR_NO_MEMORY);
    }
    uint64_t length = moov.bytes.count;
    uint64_t reserve = w->config.reserve;
    bool front = reserve > 0 && (length == reserve || length + 8 <= reserve);
    if (front) {
        rc = writeAt(w, w->indexPos, moov.bytes.data, moov.bytes.count);
        if (rc == 0 && length < reserve) {
            // The rest of the reservation stays a free box, its zeros in place.
            uint8_t header[8];
            freeHeader(reserve - length, header);
            rc = writeAt(w, w->indexPos + length, header, 8);
        }
    } else {
        rc = writeAtEnd(w, moov.bytes.data, moov.bytes.count);
    }
    moov.bytes.release();
    if (rc == 0 && stats) {
        stats->fileSize = w->end;
        stats->indexAtFront = front ? 1 : 0;
        stats->indexSize = length;
        stats->videoSamples = static_cast<uint32_t>(n);
        stats->keyframes = w->keyframes;
        stats->audioCount = mode == MOVW_AUDIO_AAC ? static_cast<uint32_t>(w->aacFrames) : w->audioWrites;
        stats->silenceInsertions = w->silenceInsertions;
        stats->chapters = static_cast<uint32_t>(text.sizes.count);
        stats->subtitles = static_cast<uint32_t>(subtitles.sizes.count);
        stats->videoDurationMs = videoMs;
        stats->audioDurationMs = audioMs;
        stats->width = w->sps.parsed ? w->sps.width : 0;
        stats->height = w->sps.parsed ? w->sps.height : 0;
    }
    text.release();
    subtitles.release();
    return rc;
}
