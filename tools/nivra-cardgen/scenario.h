// What one simulated card holds: codecs, recordings, segment ring, events and
// the damage to apply. Read from JSON (a scenario file or a built-in preset).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cardgen {

enum class VideoCodec
{
    H264,
    H265
};
enum class AudioFormat
{
    None,
    AacAdts,
    AacRaw,
    Alaw,
    Unknown
};

struct VideoParams
{
    VideoCodec codec = VideoCodec::H264;
    int width = 320;
    int height = 240;
    int fps = 15;
    int keyint = 30;      // frames per GOP; every GOP starts with an IDR picture
    int bitrate = 300000; // bits per second
    bool quick = false;   // cheapest H.265 analysis; set for scene cards, whose pictures stand still
};

struct AudioParams
{
    AudioFormat format = AudioFormat::AacAdts;
    int rate = 16000;
    int channels = 1;
    int bitrate = 32000; // AAC only
};

// One continuous recording.
struct Span
{
    int64_t startMs = 0; // UTC
    int64_t lengthMs = 0;
    int offsetMin = 0; // camera clock's UTC offset
    int pooled = -1;   // -1: the scenario's default
};

struct EventSpec
{
    int64_t startMs = 0;
    int64_t lengthMs = 0; // ignored when open
    bool open = false;    // never ended
    int kinds = 0;
};

// Addresses one frame: segment by its place in time order among the segments
// left on the card (negative counts from the newest), frame by its place in
// the file (negative counts from the end).
struct FrameRef
{
    int segment = 0;
    int frame = 0;
};

struct Damage
{
    std::vector<int> deleteSegments; // segment places (time order, negative from newest)
    std::string metaBadChecksum;     // "", "A" or "B"
    bool metaGenerationWrap = false; // A = 0xFFFFFFFF (stale), B = 0 (current)
    bool version1 = false;           // old firmware's 40-byte records
    bool newerVersion = false;       // version 3 in both copies
    bool newerVersionBadChecksum = false;
    bool indexHeaderCorrupt = false;
    std::vector<int> indexBlockBadChecksum;
    std::vector<FrameRef> frameBadChecksum;
    std::vector<FrameRef> frameOverrun;        // payload size claims 1 byte past the segment size
    std::vector<FrameRef> frameTimeBack;       // time set 6 s before the previous frame
    std::vector<FrameRef> frameTimeAhead;      // time set one day ahead, checksum valid
    std::vector<FrameRef> framePayloadGarbled; // payload overwritten, header intact
    bool timelineAbsent = false;
    std::string timelineBadHeader; // "", "crc" (both copies) or "version"
    int timelineBadEntry = -1;     // entry (oldest = 0) given an offset of +855 min
    bool timelineOpenNewest = false;
};

// A scene card's pictures show a still background with scripted changes on
// it, and its sound stays quiet but for scripted bursts: material for testing
// an activity index against a known truth (ground_truth.json beside the card).
struct SceneObject
{
    int64_t startMs = 0; // UTC
    int64_t lengthMs = 0;
    double x = 0, y = 0, w = 0, h = 0; // fractions of the picture, top-left origin
    double toX = 0, toY = 0;           // where (x, y) has moved to at the end of its life
    int luma = 220;
};

struct LightingStep
{
    int64_t atMs = 0; // UTC; adds delta to the scene from here on
    int delta = 0;
};

struct SoundBurst
{
    int64_t startMs = 0; // UTC
    int64_t lengthMs = 0;
    double dbfs = -6; // RMS, relative to a full-scale square wave
};

struct Scene
{
    bool present = false;
    int noise = 0; // sensor noise, +-luma steps, new in every picture
    std::vector<SceneObject> objects;
    std::vector<LightingStep> lighting;
    std::vector<SoundBurst> sounds;
};

struct Scenario
{
    VideoParams video;
    AudioParams audio;
    int64_t formatTimeMs = 0;
    std::vector<Span> spans;
    bool pooled = false;
    int poolGops = 8;

    int segmentSeconds = 60;
    uint32_t segmentSizeLimit = 4u << 20;
    int slotCount = 64;    // segment table entries (the ring)
    int positionStart = 0; // table position of the first segment ever written
    int numberStart = 0;   // segment number of the first segment ever written
    int numberWrap = 0;    // segment numbers count modulo this (0: slots)
    int indexSlots = 0;    // slot count in the index header (0: numberWrap)
    uint32_t metaGeneration = 41;

    int timelineHead = 0; // slot of the first span ever written
    uint32_t timelineGeneration = 7;

    std::vector<EventSpec> events;
    Damage damage;
    Scene scene;
};

// Parses a scenario from JSON text; on failure returns false and sets *error.
bool parseScenario(const std::string &json, Scenario *out, std::string *error);

// Returns the JSON text of a built-in preset, or an empty string.
std::string presetJson(const std::string &name);

// Returns the names of the built-in presets, space separated.
std::string presetNames();

} // namespace cardgen
