// The evidence package: what proves that exported clips are the card's
// original recordings. Beside the clips it writes report.html (the card, the
// range in both clocks, every file with its SHA-256 and the card's segment
// files it was copied from, each with its own, the events and bookmarks of
// the range and a still of each) and SHA256SUMS, which `sha256sum -c` checks
// and which covers the clips and the report.
//
// Qt-free, shared by the window and nivra-card. The card is only read. The
// manifest is written last, under a temporary name, then renamed: a folder
// without SHA256SUMS holds no finished package.
#pragma once

#include "storage/card.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace nivra::evidence {

enum
{
    EVIDENCE_OK = 0,
    EVIDENCE_CANCELLED = 2,     // the progress callback asked to stop
    EVIDENCE_ERR_READ = -30,    // a clip or a segment file could not be read (path in message)
    EVIDENCE_ERR_WRITE = -31,   // the report or the manifest could not be written (path in message)
    EVIDENCE_ERR_ARGUMENT = -32 // no card, no folder or no clip
};

const char *error_name(int code);

// One exported clip, as the export writer reported it.
struct Clip
{
    std::string path;   // UTF-8, in the package folder
    int64_t firstMs;    // UTC of its first picture
    int64_t lastMs;     // UTC of its last picture
    int64_t durationMs; // video duration
    int16_t offsetMin;  // camera UTC offset of its first picture
    std::vector<uint16_t> segments;
};

struct Bookmark
{
    int64_t ms; // UTC
    std::string note;
};

// The report's words. English by default; the window passes its translation.
// %1-style markers are not used: each label stands alone.
struct Texts
{
    std::string title = "Evidence package";
    std::string card = "Card";
    std::string folder = "Folder";
    std::string formatted = "Formatted";
    std::string identity = "Card identity";
    std::string range = "Range";
    std::string cameraTime = "Camera time";
    std::string computerTime = "This computer's time";
    std::string files = "Exported files";
    std::string name = "Name";
    std::string size = "Size";
    std::string duration = "Duration";
    std::string sourceFiles = "Copied from the card's files";
    std::string events = "Events and bookmarks";
    std::string time = "Time";
    std::string kind = "Kind";
    std::string note = "Note";
    std::string bookmark = "Bookmark";
    std::string start = "Start of the range";
    std::string none = "None";
    std::string noPicture = "No picture";
    std::string made = "Made by";
    std::string madeAt = "Made at";
    std::string check = "Check the files with: sha256sum -c SHA256SUMS";
    // CARD_KIND_* bits 0..4 in order: motion, sound, crying, PIR, person.
    std::string kinds[5] = {"Motion", "Sound", "Crying", "PIR", "Person"};
};

// Offset from UTC in seconds of this computer's clock at a UTC second.
typedef int32_t (*OffsetFn)(int64_t utcSeconds);

// Progress in steps done of total (files hashed, stills made); non-zero
// stops the package.
typedef int (*ProgressFn)(void *context, int done, int total);

struct Request
{
    card_reader *card = nullptr;
    std::string folder; // the package folder: the clips' folder
    int64_t fromMs = 0; // the range asked for (UTC)
    int64_t toMs = 0;
    std::vector<Clip> clips;
    std::vector<Bookmark> bookmarks;   // those in the range are listed
    OffsetFn computerOffset = nullptr; // null: the computer's clock is UTC
    std::string program = "NIVRA Player";
    std::string version;
    Texts texts;
    ProgressFn progress = nullptr;
    void *context = nullptr;
};

struct Result
{
    std::string report;   // path of report.html
    std::string manifest; // path of SHA256SUMS
    std::string message;  // the path a failure concerns
    int stills = 0;       // pictures in the report
    int sources = 0;      // segment files hashed
};

// Writes the package for req's clips. Returns EVIDENCE_OK, EVIDENCE_CANCELLED
// or a negative code; on anything but EVIDENCE_OK no SHA256SUMS is left.
int write_package(const Request &req, Result *out);

// The SHA-256 of a file as 64 lower-case hex digits, and its size. False when
// it cannot be read.
bool sha256_file(const std::string &path, std::string *hex, uint64_t *size = nullptr);

// Text made safe for HTML (&, <, >, " and ' as entities, control characters
// other than tab and newline dropped).
std::string html_escape(const std::string &text);

// A PNG of the key frame at or before utcMs (the frame's own time in
// *shownMs), at most maxWidth pixels wide. Empty when there is none that
// decodes.
std::string still_png(card_reader *card, int64_t utcMs, int maxWidth, int64_t *shownMs);

} // namespace nivra::evidence
