// Built-in scenarios. Times are UTC; offsets are the camera clock's.
#include "scenario.h"

#include <cstring>

namespace cardgen {

namespace {

struct Preset
{
    const char *name;
    const char *json;
    const char *jsonTail = ""; // appended to json: the rest that presets differing in their start share
};

// The activity presets differ only in their video codec.
const char kActivityTail[] = R"("width": 640, "height": 360, "fps": 15, "keyint": 30, "bitrate": 200000},
      "audio": {"format": "aac-adts", "rate": 16000, "channels": 1, "bitrate": 32000},
      "spans": [{"start": "2024-05-14T09:00:00Z", "seconds": 720, "offsetMin": 120}],
      "segments": {"seconds": 60, "slots": 32, "sizeLimit": 8388608},
      "scene": {
        "noise": 3,
        "objects": [
          {"start": "2024-05-14T09:02:00Z", "seconds": 20, "x": 0.60, "y": 0.62, "w": 0.12, "h": 0.20,
           "luma": 220, "toX": 0.80, "toY": 0.62},
          {"start": "2024-05-14T09:09:00Z", "seconds": 30, "x": 0.10, "y": 0.64, "w": 0.14, "h": 0.24,
           "luma": 36}
        ],
        "lighting": [
          {"at": "2024-05-14T09:05:00Z", "delta": -50},
          {"at": "2024-05-14T09:06:00Z", "delta": 50}
        ],
        "sounds": [{"start": "2024-05-14T09:07:00Z", "seconds": 2, "dbfs": -6}]
      }
    })";

const Preset kPresets[] = {
    // A couple of minutes with one gap and two events, cheap enough for any test.
    {"small", R"({
      "video": {"codec": "h264", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 200000},
      "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
      "spans": [
        {"start": "2024-03-05T10:00:00Z", "seconds": 60, "offsetMin": 60},
        {"start": "2024-03-05T10:02:00Z", "seconds": 60, "offsetMin": 60}
      ],
      "segments": {"seconds": 30, "slots": 16},
      "events": [
        {"start": "2024-03-05T10:00:22Z", "seconds": 14, "kinds": 1},
        {"start": "2024-03-05T10:02:20Z", "open": true, "kinds": 18}
      ]
    })"},
    // What the README demo opens: three days, gaps, every kind of event, sound.
    // The last day is encoded picture by picture so its clock shows real time;
    // the longer, older spans reuse pooled GOPs.
    {"demo", R"({
      "video": {"codec": "h264", "width": 640, "height": 360, "fps": 15, "keyint": 30, "bitrate": 160000},
      "audio": {"format": "aac-adts", "rate": 16000, "channels": 1, "bitrate": 32000},
      "pooled": true,
      "poolGops": 12,
      "spans": [
        {"start": "2024-05-12T06:30:00Z", "seconds": 2400, "offsetMin": 120},
        {"start": "2024-05-12T14:00:00Z", "seconds": 1500, "offsetMin": 120},
        {"start": "2024-05-13T08:15:00Z", "seconds": 1800, "offsetMin": 120},
        {"start": "2024-05-13T19:40:00Z", "seconds": 1200, "offsetMin": 120},
        {"start": "2024-05-14T07:05:00Z", "seconds": 120, "offsetMin": 120, "pooled": false},
        {"start": "2024-05-14T07:20:00Z", "seconds": 60, "offsetMin": 120, "pooled": false},
        {"start": "2024-05-14T09:00:00Z", "seconds": 900, "offsetMin": 120}
      ],
      "segments": {"seconds": 60, "slots": 256},
      "events": [
        {"start": "2024-05-12T06:41:10Z", "seconds": 45, "kinds": 1},
        {"start": "2024-05-12T07:02:00Z", "seconds": 30, "kinds": 8},
        {"start": "2024-05-12T14:12:40Z", "seconds": 90, "kinds": 17},
        {"start": "2024-05-13T08:20:00Z", "seconds": 20, "kinds": 2},
        {"start": "2024-05-13T08:33:30Z", "seconds": 75, "kinds": 6},
        {"start": "2024-05-13T19:51:00Z", "seconds": 40, "kinds": 16},
        {"start": "2024-05-14T07:05:40Z", "seconds": 30, "kinds": 1},
        {"start": "2024-05-14T07:07:50Z", "seconds": 20, "kinds": 4},
        {"start": "2024-05-14T07:20:30Z", "seconds": 40, "kinds": 9},
        {"start": "2024-05-14T09:10:00Z", "open": true, "kinds": 16}
      ]
    })"},
    {"h265-g711", R"({
      "video": {"codec": "h265", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 150000},
      "audio": {"format": "alaw", "rate": 8000},
      "spans": [
        {"start": "2024-06-01T12:00:00Z", "seconds": 40, "offsetMin": -300},
        {"start": "2024-06-01T12:01:30Z", "seconds": 30, "offsetMin": -300}
      ],
      "segments": {"seconds": 20, "slots": 16},
      "events": [{"start": "2024-06-01T12:00:10Z", "seconds": 16, "kinds": 2}]
    })"},
    {"h264-rawaac", R"({
      "video": {"codec": "h264", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 200000},
      "audio": {"format": "aac-raw", "rate": 16000, "channels": 1},
      "spans": [
        {"start": "2024-07-20T08:00:00Z", "seconds": 40, "offsetMin": 0},
        {"start": "2024-07-20T08:01:00Z", "seconds": 40, "offsetMin": 0}
      ],
      "segments": {"seconds": 30, "slots": 16},
      "events": [{"start": "2024-07-20T08:00:05Z", "seconds": 10, "kinds": 1}]
    })"},
    {"g711-16k", R"({
      "video": {"codec": "h264", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 200000},
      "audio": {"format": "alaw", "rate": 16000},
      "spans": [{"start": "2024-07-21T08:00:00Z", "seconds": 40, "offsetMin": 330}],
      "segments": {"seconds": 20, "slots": 8}
    })"},
    {"noaudio", R"({
      "video": {"codec": "h264", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 200000},
      "audio": {"format": "none"},
      "spans": [{"start": "2024-07-22T08:00:00Z", "seconds": 40, "offsetMin": 0}],
      "segments": {"seconds": 20, "slots": 8}
    })"},
    // Local midnight at a month end, then a clock change with no gap between
    // the spans (01:00 UTC on 31 March: +60 -> +120).
    {"clockchange", R"({
      "video": {"codec": "h264", "width": 320, "height": 240, "fps": 10, "keyint": 20, "bitrate": 200000},
      "audio": {"format": "aac-adts", "rate": 16000},
      "spans": [
        {"start": "2024-01-31T22:59:30Z", "seconds": 60, "offsetMin": 60},
        {"start": "2024-03-31T00:59:20Z", "seconds": 40, "offsetMin": 60},
        {"start": "2024-03-31T01:00:00Z", "seconds": 40, "offsetMin": 120}
      ],
      "segments": {"seconds": 30, "slots": 16}
    })"},
    // Thousands of segments and a full, wrapped timeline table: 8300 spans of
    // 6 s, one segment each, in a ring of 2100 slots.
    {"big", R"({
      "video": {"codec": "h264", "width": 256, "height": 144, "fps": 5, "keyint": 10, "bitrate": 20000},
      "audio": {"format": "aac-adts", "rate": 8000, "channels": 1, "bitrate": 12000},
      "pooled": true,
      "poolGops": 6,
      "spans": [{"start": "2024-01-01T00:00:00Z", "seconds": 6, "offsetMin": 60}],
      "repeat": {"count": 8299, "every": 10},
      "segments": {"seconds": 60, "slots": 2100},
      "events": [
        {"start": "2024-01-01T20:00:00Z", "seconds": 30, "kinds": 1},
        {"start": "2024-01-01T21:00:02Z", "seconds": 2, "kinds": 16}
      ]
    })"},
    // For an activity index: a still, noisy scene (ground_truth.json lists
    // what changes when) with a bright object moving through the lower right
    // quarter, a dark one standing in the lower left, the light dimmed for a
    // minute and one loud burst of sound. A key frame every 2 s.
    {"activity", R"({"video": {"codec": "h264", )", kActivityTail},
    {"activity265", R"({"video": {"codec": "h265", )", kActivityTail},
};

} // namespace

std::string presetJson(const std::string &name)
{
    for (const Preset &p : kPresets)
        if (name == p.name)
            return std::string(p.json) + p.jsonTail;
    return std::string();
}

std::string presetNames()
{
    std::string out;
    for (const Preset &p : kPresets) {
        if (!out.empty())
            out += ' ';
        out += p.name;
    }
    return out;
}

} // namespace cardgen
