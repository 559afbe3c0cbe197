// The activity index of a card: for every key frame of every recording a
// small grid of mean luma values, for every second of sound its loudness.
// Built once from the key frames' bytes alone and kept in the user's cache
// folder, never on the card; questions about a day (what changed in this
// area, how loud was it) are then answered from the index in milliseconds.
// Plain C++ on the storage library and libavcodec; the window and nivra-card
// share it.
#pragma once

#include "storage/card.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace nivra::activity {

// Result codes.
enum
{
    ACT_OK = 0,             // success
    ACT_ERR_ARGUMENT = -1,  // invalid argument
    ACT_ERR_CARD = -2,      // the card's key-frame index could not be read
    ACT_ERR_DECODER = -3,   // no decoder for the card's video
    ACT_ERR_NO_MEMORY = -4, // out of memory
    ACT_ERR_CANCELLED = -5, // the progress callback stopped the build
};

// Returns the constant name of a result code ("ACT_ERR_DECODER").
const char *error_name(int code);

// 32 x 18 cells: a 16:9 picture in cells of 60 x 60 pixels at 1080p, fine
// enough to find a person in a room, and 576 bytes a key frame, so that a
// day with a key frame every 2 s stays near 25 MiB.
constexpr int kGridW = 32;
constexpr int kGridH = 18;
constexpr int kCells = kGridW * kGridH;

// One key frame: its time and its grid, or a hole when it did not decode.
struct KeyPicture
{
    int64_t time_ms = 0;
    uint8_t hole = 0;
    uint8_t grid[kCells] = {};
};

// One second of sound (UTC, its first millisecond) and its RMS in dBFS.
struct SoundSecond
{
    int64_t ms = 0;
    float dbfs = 0.0f;
};

// What is known of a span: pictures and seconds in time order.
struct Index
{
    std::vector<KeyPicture> pictures;
    std::vector<SoundSecond> seconds;
};

// What a build did.
struct BuildStats
{
    int64_t keyframes = 0;    // index entries in the span
    int64_t decoded = 0;      // key frames decoded now
    int64_t reused = 0;       // key frames taken from the cache
    int64_t holes = 0;        // key frames that did not decode
    uint64_t bytes_read = 0;  // key frame bytes read from the card
    uint64_t sound_bytes = 0; // sound bytes read from the card
};

// Receives the progress of a build in key frames; a non-zero return stops it.
typedef int (*progress_fn)(int64_t done, int64_t total, void *context);

// The folder every card's index goes in: $XDG_CACHE_HOME/nivra-player/activity
// (~/.cache when unset; %LOCALAPPDATA% on Windows).
std::string default_cache_dir();

// The card's identity: its format time and table geometry, the same from any
// path or reader it is opened through.
std::string card_identity(const card_reader *card);

// Loads the index of the recordings touching [from_ms, to_ms] from cache_dir,
// decoding and storing what is missing or not to be trusted (a damaged,
// truncated or other version's file is rebuilt), segments on up to threads
// threads (each with its own cursor and decoder; progress is called on the
// calling thread). Returns ACT_OK with *out filled (stats optional), or a
// negative code; the cache failing to write is not an error, the next build
// decodes again.
int build_index(card_reader *card, const std::string &cache_dir, int64_t from_ms, int64_t to_ms, Index *out,
                BuildStats *stats = nullptr, progress_fn progress = nullptr, void *context = nullptr,
                int threads = 1);

} // namespace nivra::activity
