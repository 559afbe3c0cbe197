// Parameter sets and SPS fields; see param_sets.h.
#include "codec/param_sets.h"

namespace {

// Reads bits of an RBSP, dropping emulation-prevention bytes (00 00 03).
// Reading past the end sets `over` and yields zeros.
struct BitReader
{
    const uint8_t *data;
    size_t length;
    size_t pos = 0; // byte position
    int bit = 0;    // bits used of data[pos]
    int zeros = 0;  // zero bytes seen before pos
    bool over = false;

    BitReader(const uint8_t *d, size_t n) : data(d), length(n) {}

    void skipEmulation()
    {
        if (bit == 0 && pos < length && zeros >= 2 && data[pos] == 3) {
            ++pos;
            zeros = 0;
        }
    }
    uint32_t u1()
    {
        skipEmulation();
        if (pos >= length) {
            over = true;
            return 0;
        }
        uint32_t v = (data[pos] >> (7 - bit)) & 1;
        if (++bit == 8) {
            zeros = data[pos] == 0 ? zeros + 1 : 0;
            bit = 0;
            ++pos;
        }
        return v;
    }
    uint64_t u(int n)
    {
        uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 1) | u1();
        return v;
    }
    uint32_t ue()
    {
        int lz = 0;
        while (u1() == 0) {
            if (over || ++lz > 31) {
                over = true;
                return 0;
            }
        }
        return static_cast<uint32_t>((uint64_t(1) << lz) - 1 + u(lz));
    }
    int32_t se()
    {
        uint32_t k = ue();
        return (k & 1) ? static_cast<int32_t>((k + 1) / 2) : -static_cast<int32_t>(k / 2);
    }
};

bool skipScalingList(BitReader &br, int size)
{
    int last = 8, next = 8;
    for (int j = 0; j < size; ++j) {
        if (next != 0) {
            int32_t delta = br.se();
            if (delta < -128 || delta > 127)
                return false;
            next = (last + delta + 256) % 256;
        }
        last = next == 0 ? last : next;
    }
    return !br.over;
}

// The cropping window of an SPS (H.264 frame cropping, H.265 conformance
// window), its offsets before they are scaled to luma samples; all 0 when
// its flag is not set.
struct Crop
{
    uint32_t left = 0, right = 0, top = 0, bottom = 0;
};

// Reads the window's flag and, when set, its four offsets.
Crop readCrop(BitReader &br)
{
    Crop c;
    if (br.u1()) {
        c.left = br.ue();
        c.right = br.ue();
        c.top = br.ue();
        c.bottom = br.ue();
    }
    return c;
}

// Reads profile_tier_level: the 12 general bytes into ptl, then skips the
// sub-layer parts.
bool readPtl265(BitReader &br, int maxSubLayersMinus1, uint8_t ptl[12])
{
    for (int i = 0; i < 12; ++i)
        ptl[i] = static_cast<uint8_t>(br.u(8));
    int profilePresent[8] = {}, levelPresent[8] = {};
    for (int i = 0; i < maxSubLayersMinus1; ++i) {
        profilePresent[i] = static_cast<int>(br.u1());
        levelPresent[i] = static_cast<int>(br.u1());
    }
    if (maxSubLayersMinus1 > 0)
        for (int i = maxSubLayersMinus1; i < 8; ++i)
            br.u(2);
    for (int i = 0; i < maxSubLayersMinus1; ++i) {
        if (profilePresent[i])
            br.u(88);
        if (levelPresent[i])
            br.u(8);
    }
    return !br.over;
}

// Adds u to set when it is a parameter set; marks the set failed when the
// limits are passed.
void addParamUnit(int codec, const NalUnit &u, ParamSets *set)
{
    if (set->failed)
        return;
    int type = nalUnitType(codec, u);
    if (!isParamSetType(codec, type))
        return;
    if (set->count >= PARAMS_MAX_UNITS || set->total + u.length > PARAMS_MAX_BYTES) {
        set->failed = true;
        return;
    }
    set->types[set->count] = type;
    set->offsets[set->count] = set->total;
    set->lengths[set->count] = u.length;
    memcpy(set->bytes + set->total, u.data, u.length);
    set->total += u.length;
    set->count++;
}

void clearParamSets(ParamSets *set)
{
    set->count = 0;
    set->total = 0;
    set->failed = false;
}

} // namespace

int nalUnitType(int codec, const NalUnit &u)
{
    return codec == PARAMS_H264 ? (u.data[0] & 0x1F) : ((u.data[0] >> 1) & 0x3F);
}

bool isParamSetType(int codec, int type)
{
    if (codec == PARAMS_H264)
        return type == 7 || type == 8;
    return type == 32 || type == 33 || type == 34;
}

void collectParamSets(int codec, const NalUnit *units, size_t unitCount, ParamSets *set)
{
    clearParamSets(set);
    for (size_t i = 0; i < unitCount && !set->failed; ++i)
        addParamUnit(codec, units[i], set);
}

void collectFrameParamSets(int codec, const uint8_t *data, size_t length, ParamSets *set)
{
    clearParamSets(set);
    forEachNalUnit(data, length, [&](const NalUnit &u) { addParamUnit(codec, u, set); });
}

bool paramSetsComplete(int codec, const ParamSets &set)
{
    if (set.failed)
        return false;
    bool vps = false, sps = false, pps = false;
    for (size_t i = 0; i < set.count; ++i) {
        int t = set.types[i];
        if (codec == PARAMS_H264) {
            sps |= t == 7;
            pps |= t == 8;
        } else {
            vps |= t == 32;
            sps |= t == 33;
            pps |= t == 34;
        }
    }
    return codec == PARAMS_H264 ? (sps && pps) : (vps && sps && pps);
}

bool sameParamSets(const ParamSets &a, const ParamSets &b)
{
    if (a.count != b.count)
        return false;
    for (size_t i = 0; i < a.count; ++i) {
        if (a.types[i] != b.types[i] || a.lengths[i] != b.lengths[i] ||
            memcmp(a.bytes + a.offsets[i], b.bytes + b.offsets[i], a.lengths[i]) != 0)
            return false;
    }
    return true;
}

bool readStreamParams(int codec, const ParamSets &set, SpsInfo *sps)
{
    *sps = SpsInfo();
    if (!paramSetsComplete(codec, set))
        return false;
    const int spsType = codec == PARAMS_H264 ? 7 : 33;
    size_t first = 0;
    while (set.types[first] != spsType)
        ++first;
    const uint8_t *u = set.bytes + set.offsets[first];
    const size_t n = set.lengths[first];
    if (codec == PARAMS_H264) {
        // avcC copies profile, compatibility and level from the SPS; beyond
        // the three 8-bit 4:2:0 profiles it also needs the chroma format and
        // bit depths.
        if (n < 4)
            return false;
        if (!parseSps264(u, n, sps))
            *sps = SpsInfo();
        return sps->parsed || u[1] == 66 || u[1] == 77 || u[1] == 88;
    }
    if (!parseSps265(u, n, sps))
        *sps = SpsInfo();
    return sps->parsed;
}

// Parses an H.264 SPS unit (with its NAL header byte) into *info.
bool parseSps264(const uint8_t *data, size_t length, SpsInfo *info)
{
    if (length < 4)
        return false;
    BitReader br(data + 1, length - 1);
    uint32_t profile = static_cast<uint32_t>(br.u(8));
    br.u(16); // constraint flags, level
    br.ue();  // seq_parameter_set_id
    int chroma = 1;
    int separatePlanes = 0;
    if (profile == 100 || profile == 110 || profile == 122 || profile == 244 || profile == 44 ||
        profile == 83 || profile == 86 || profile == 118 || profile == 128 || profile == 138 ||
        profile == 139 || profile == 134 || profile == 135) {
        chroma = static_cast<int>(br.ue());
        if (chroma > 3)
            return false;
        if (chroma == 3)
            separatePlanes = static_cast<int>(br.u1());
        uint32_t depthLuma = br.ue();
        uint32_t depthChroma = br.ue();
        if (depthLuma > 6 || depthChroma > 6)
            return false;
        info->bitDepthLuma = static_cast<int>(depthLuma) + 8;
        info->bitDepthChroma = static_cast<int>(depthChroma) + 8;
        br.u1(); // qpprime_y_zero_transform_bypass_flag
        if (br.u1()) {
            int lists = chroma != 3 ? 8 : 12;
            for (int i = 0; i < lists; ++i)
                if (br.u1() && !skipScalingList(br, i < 6 ? 16 : 64))
                    return false;
        }
    }
    info->chromaFormat = chroma;
    br.ue(); // log2_max_frame_num_minus4
    uint32_t pocType = br.ue();
    if (pocType == 0) {
        br.ue();
    } else if (pocType == 1) {
        br.u1();
        br.se();
        br.se();
        uint32_t cycle = br.ue();
        if (cycle > 255)
            return false;
        for (uint32_t i = 0; i < cycle; ++i)
            br.se();
    } else if (pocType != 2) {
        return false;
    }
    br.ue(); // max_num_ref_frames
    br.u1(); // gaps_in_frame_num_value_allowed_flag
    uint32_t widthMbs = br.ue() + 1;
    uint32_t heightUnits = br.ue() + 1;
    uint32_t frameMbsOnly = br.u1();
    if (!frameMbsOnly)
        br.u1();
    br.u1(); // direct_8x8_inference_flag
    const Crop crop = readCrop(br);
    if (br.over || widthMbs > 1024 || heightUnits > 1024)
        return false;
    int arrayType = separatePlanes ? 0 : chroma;
    uint32_t unitX = arrayType == 0 ? 1 : (arrayType == 3 ? 1 : 2);
    uint32_t unitY = (arrayType == 0 ? 1 : (arrayType == 1 ? 2 : 1)) * (2 - frameMbsOnly);
    uint64_t w = uint64_t(widthMbs) * 16;
    uint64_t h = uint64_t(heightUnits) * 16 * (2 - frameMbsOnly);
    uint64_t cw = uint64_t(unitX) * (uint64_t(crop.left) + crop.right);
    uint64_t ch = uint64_t(unitY) * (uint64_t(crop.top) + crop.bottom);
    if (cw >= w || ch >= h)
        return false;
    info->width = static_cast<int>(w - cw);
    info->height = static_cast<int>(h - ch);
    info->parsed = true;
    return true;
}

// Parses an H.265 SPS unit (with its 2-byte NAL header) into *info.
bool parseSps265(const uint8_t *data, size_t length, SpsInfo *info)
{
    if (length < 15)
        return false;
    BitReader br(data + 2, length - 2);
    br.u(4); // sps_video_parameter_set_id
    int subLayersMinus1 = static_cast<int>(br.u(3));
    info->temporalIdNested = static_cast<int>(br.u1());
    if (subLayersMinus1 > 6)
        return false;
    info->maxSubLayers = subLayersMinus1 + 1;
    if (!readPtl265(br, subLayersMinus1, info->ptl))
        return false;
    br.ue(); // sps_seq_parameter_set_id
    uint32_t chroma = br.ue();
    if (chroma > 3)
        return false;
    int separatePlanes = chroma == 3 ? static_cast<int>(br.u1()) : 0;
    uint32_t w = br.ue();
    uint32_t h = br.ue();
    const Crop crop = readCrop(br);
    uint32_t depthLuma = br.ue();
    uint32_t depthChroma = br.ue();
    if (br.over || depthLuma > 8 || depthChroma > 8)
        return false;
    info->chromaFormat = static_cast<int>(chroma);
    info->bitDepthLuma = static_cast<int>(depthLuma) + 8;
    info->bitDepthChroma = static_cast<int>(depthChroma) + 8;
    int arrayType = separatePlanes ? 0 : static_cast<int>(chroma);
    uint64_t subW = (arrayType == 1 || arrayType == 2) ? 2 : 1;
    uint64_t subH = arrayType == 1 ? 2 : 1;
    uint64_t cw = subW * (uint64_t(crop.left) + crop.right);
    uint64_t ch = subH * (uint64_t(crop.top) + crop.bottom);
    if (w == 0 || h == 0 || w > 16888 || h > 16888 || cw >= w || ch >= h)
        return false;
    info->width = static_cast<int>(w - cw);
    info->height = static_cast<int>(h - ch);
    info->parsed = true;
    return true;
}

// Returns the sub-layer count of an H.265 VPS unit, 0 when unreadable.
int vpsSubLayers(const uint8_t *data, size_t length)
{
    if (length < 4)
        return 0;
    BitReader br(data + 2, length - 2);
    br.u(4 + 1 + 1 + 6);
    return static_cast<int>(br.u(3)) + 1;
}
