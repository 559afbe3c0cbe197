// What H.264/H.265 streams say about themselves: the parameter sets of an
// Annex-B frame (split, collected, compared) and the fields of a sequence
// parameter set that a decoder configuration record needs.
//
// Pure functions on caller-owned records, no allocation, no Qt. The MOV/MP4
// writer and the export writer both decide with these functions whether a
// keyframe can start a file, so the two never disagree; the Windows decoders
// take the coded size for their input type from here too.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Video codecs (the values of MOVW_VIDEO_* and CARD_CODEC_*).
enum
{
    PARAMS_H264 = 1,
    PARAMS_H265 = 2,
};

// Limits of one frame's parameter sets; beyond them the collection fails.
enum
{
    PARAMS_MAX_UNITS = 8,
    PARAMS_MAX_BYTES = 4096,
};

// One NAL unit of an Annex-B buffer, without its start code.
struct NalUnit
{
    const uint8_t *data;
    size_t length;
};

// The parameter-set units of one frame, copied in frame order.
struct ParamSets
{
    size_t count = 0;
    int types[PARAMS_MAX_UNITS];
    size_t offsets[PARAMS_MAX_UNITS];
    size_t lengths[PARAMS_MAX_UNITS];
    size_t total = 0; // bytes used in `bytes`
    uint8_t bytes[PARAMS_MAX_BYTES];
    bool failed = false; // more than PARAMS_MAX_UNITS units or PARAMS_MAX_BYTES bytes
};

// What a sequence parameter set tells a container writer.
struct SpsInfo
{
    bool parsed = false; // the fields below were read
    int width = 0;       // coded size after the cropping window
    int height = 0;
    int chromaFormat = 1; // 0 monochrome, 1 4:2:0, 2 4:2:2, 3 4:4:4
    int bitDepthLuma = 8;
    int bitDepthChroma = 8;
    // H.265 only
    int maxSubLayers = 1;
    int temporalIdNested = 0;
    uint8_t ptl[12] = {}; // general profile_tier_level bytes
};

// Calls fn(NalUnit) for each NAL unit of an Annex-B buffer: split at 00 00 01,
// trailing zero bytes removed (so 4-byte start codes work), empty units
// skipped. Bytes before the first start code belong to no unit. Start codes
// are found through memchr for their 01 byte: coded data rarely holds one, so
// most of a frame is skipped at memory speed.
template <typename Fn> void forEachNalUnit(const uint8_t *data, size_t length, Fn fn)
{
    size_t pos = 0; // the next start code begins at pos or later
    size_t start = SIZE_MAX;
    while (pos + 3 <= length) {
        const void *one = memchr(data + pos + 2, 1, length - pos - 2);
        if (!one)
            break;
        size_t p = size_t(static_cast<const uint8_t *>(one) - data);
        if (data[p - 1] != 0 || data[p - 2] != 0) {
            pos = p - 1;
            continue;
        }
        if (start != SIZE_MAX) {
            size_t stop = p - 2;
            while (stop > start && data[stop - 1] == 0)
                --stop;
            if (stop > start)
                fn(NalUnit{data + start, stop - start});
        }
        pos = p + 1;
        start = pos;
    }
    if (start != SIZE_MAX) {
        size_t stop = length;
        while (stop > start && data[stop - 1] == 0)
            --stop;
        if (stop > start)
            fn(NalUnit{data + start, stop - start});
    }
}

// Returns the NAL unit type of a non-empty unit.
int nalUnitType(int codec, const NalUnit &unit);

// Returns true for the parameter-set types (H.264: SPS 7, PPS 8; H.265: VPS
// 32, SPS 33, PPS 34).
bool isParamSetType(int codec, int type);

// Collects the parameter-set units among units into *set (emptied first).
void collectParamSets(int codec, const NalUnit *units, size_t unitCount, ParamSets *set);

// Collects the parameter-set units of an Annex-B frame into *set.
void collectFrameParamSets(int codec, const uint8_t *data, size_t length, ParamSets *set);

// Returns true when set holds a complete set (H.264: SPS and PPS; H.265:
// VPS, SPS and PPS) and its collection did not fail.
bool paramSetsComplete(int codec, const ParamSets &set);

// Returns true when both hold the same units in the same order.
bool sameParamSets(const ParamSets &a, const ParamSets &b);

// Reads the first SPS of set into *sps (reset first; left unparsed when
// unreadable). Returns true when a decoder configuration record can be built
// from set: complete, and with a readable SPS wherever the record needs one
// (always for H.265, for H.264 beyond the Baseline, Main and Extended
// profiles).
bool readStreamParams(int codec, const ParamSets &set, SpsInfo *sps);

// Parses an H.264 SPS unit (with its NAL header byte). Returns false when it
// is malformed or outside what a container can describe.
bool parseSps264(const uint8_t *data, size_t length, SpsInfo *info);

// Parses an H.265 SPS unit (with its 2-byte NAL header). Returns false when
// it is malformed or outside what a container can describe.
bool parseSps265(const uint8_t *data, size_t length, SpsInfo *info);

// Returns the sub-layer count of an H.265 VPS unit, 0 when unreadable.
int vpsSubLayers(const uint8_t *data, size_t length);
