// Export writer: copies the coded video and audio of a time range from the
// card into MOV or MP4 files through the MOV/MP4 writer, without re-encoding.
//
// Plain-function interface, no Qt, no exceptions; integer result codes with
// fixed English texts (exportErrorName), caller-owned records. Files are
// written under a ".part" name and get their final, collision-free name only
// once complete, flushed and committed to disk.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "storage/card.h"

// ---- Result codes -------------------------------------------------------

enum
{
    EXPORT_OK = 0,             // success, at least one file written
    EXPORT_NOTHING = 1,        // nothing was written in the range
    EXPORT_CANCELLED = 2,      // the progress callback asked to stop
    EXPORT_ERR_CODEC = -20,    // video codec not recognised
    EXPORT_ERR_WRITE = -21,    // cannot write the output file (path in message)
    EXPORT_ERR_STREAM = -22,   // unsupported stream data
    EXPORT_ERR_MP4_ALAW = -23, // MP4 cannot hold G.711 audio
    EXPORT_ERR_RECODE = -24,   // the re-coder failed (its text in message)
    // Other negative codes are the card reader's (card_error_name).
};

// Why a file ended (ExportFileInfo::endReason).
enum
{
    EXPORT_END_RANGE = 0,  // end of the range
    EXPORT_END_GAP = 1,    // a recording gap (one file per recording)
    EXPORT_END_CHANGE = 2, // the stream parameters changed
};

enum
{
    EXPORT_PATH_MAX = 1024
};

// ---- Records --------------------------------------------------------------

// One continuous run of recording inside a range.
struct ExportRun
{
    int64_t startMs;   // UTC
    int64_t endMs;     // UTC
    int16_t offsetMin; // UTC offset of its first entry
    int64_t lastMs;    // UTC of the last video frame at or before endMs: the end a
                       // file of this run is named after (estimateExport; buildRuns
                       // leaves endMs here)
};

// A growable list of runs; a zeroed record is a valid empty list. Release
// with exportRunsFree().
struct ExportRuns
{
    ExportRun *items;
    int count;
    int capacity;
};

// What estimateExport() returns; release runs with exportRunsFree().
struct ExportEstimate
{
    ExportRuns runs;    // runs trimmed to their first usable keyframe
    int missing;        // some recordings of the range are not in the folder
    int64_t durationMs; // recorded time: sum of (end - start) of the runs
    uint64_t bytes;     // expected payload bytes
};

// One file of an event batch export: the padded times of one event, or of
// several whose padded times overlap, clipped to what was recorded.
struct ExportEventPiece
{
    int64_t fromMs;  // UTC: the key frame at or before its padded start (in its recording)
    int64_t toMs;    // UTC: the end of its padded times, or of the recording
    uint16_t kinds;  // CARD_KIND_* bits of its events
    int32_t events;  // events in it
    int32_t missing; // 1 when recordings of its padded times are not in the folder
    uint64_t bytes;  // expected payload bytes of exporting [fromMs, toMs]
};

// An event that an event batch export leaves out: nothing of its padded
// times was recorded.
struct ExportSkippedEvent
{
    uint32_t first;  // the event's start second (UTC)
    uint32_t last;   // its end second
    uint16_t kinds;  // its CARD_KIND_* bits
    int32_t missing; // 1: its recordings are not in the folder; 0: none were made
};

// Figures of one finished file, given to the fileDone callback.
struct ExportFileInfo
{
    int64_t firstMs;   // UTC ms of the first video frame
    int64_t lastMs;    // UTC ms of the last video frame
    int16_t offsetMin; // UTC offset stored with the first frame
    uint64_t fileSize;
    int64_t videoDurationMs;
    uint32_t videoSamples;
    uint32_t audioCount;
    uint32_t silenceInsertions;
    uint32_t chapters;
    int indexAtFront;
    int width;
    int height;
    int endReason; // EXPORT_END_*
    // The card's segment files (seg_NNN.dat numbers) it holds frames of, in
    // the order first met; valid during the callback only.
    const uint16_t *segments;
    int32_t segmentCount;
};

// A run of the plan that was not written whole: nothing of it, or more than
// one key-frame interval less than was planned (ExportOptions::runLost).
struct ExportLostRun
{
    int64_t startMs;   // UTC: where the plan had it start (the range's start at most)
    int64_t endMs;     // UTC: where it was to end
    int64_t writtenMs; // video time of it in the finished files
};

// What a re-coder gives back for one frame; valid until its next call.
struct ExportCoded
{
    const uint8_t *const *frames; // Annex-B video frames, or raw AAC frames
    const size_t *lengths;
    int count;
    int keyframe; // video: its frame is a key frame carrying its parameter sets
};

// The sound a re-coder makes, filled by ExportCoder::begin when it re-codes
// the card's sound to AAC.
struct ExportCoderSound
{
    int sampleRate;
    int channels;
    uint8_t config[16]; // AudioSpecificConfig
    int configLength;
};

// A re-coder between the card and the writer (the clock burned into the
// picture, the smaller copy for sharing): every video frame, and every sound
// frame it re-codes, goes through it in order, and the files hold what it
// gives back. Its calls return 0 or a negative EXPORT_* code, with its text in
// message (up to 256 bytes).
struct ExportCoder
{
    int videoCodec; // MOVW_VIDEO_* of the video it gives back
    int soundToAac; // 1: G.711 sound is re-coded to AAC; AAC is always copied
    // A file starts; its first video frame will be a key frame of stream.
    // *sound matters only when the sound is re-coded.
    int (*begin)(void *context, const card_stream *stream, ExportCoderSound *sound, char *message);
    // One video frame of the card (Annex B) and the camera's clock at it, as
    // the time track writes it; out may hold no frame (none ready yet).
    int (*video)(void *context, const uint8_t *data, size_t length, int keyframe, const char *clock,
                 ExportCoded *out, char *message);
    // One sound frame of the card; *pending gets the samples it holds back.
    int (*audio)(void *context, const uint8_t *data, size_t length, ExportCoded *out, int64_t *pending,
                 char *message);
    // The file ends: the sound it still holds back.
    int (*flush)(void *context, ExportCoded *out, char *message);
    void *context;
};

struct ExportOptions;

// Offset from UTC in seconds for a UTC second.
typedef int32_t (*ExportOffsetFn)(uint32_t utcSeconds, void *context, const ExportOptions *options);
// Progress: bytes read so far and expectedBytes; non-zero stops the export.
typedef int (*ExportProgressFn)(void *context, uint64_t bytesRead, int64_t expectedBytes);
// A file was finished and moved to its final path (UTF-8).
typedef void (*ExportFileDoneFn)(void *context, const char *path, const ExportFileInfo *info);
// A run of the plan was not written whole; called once the copy has ended.
typedef void (*ExportRunLostFn)(void *context, const ExportLostRun *run);

// What and how to export; read-only for the writer.
struct ExportOptions
{
    int merge;                // 1: one file for the whole range; 0: one per recording
    int container;            // 1: MP4; anything else: MOV
    int audio;                // non-zero: keep the sound when its format allows
    const char *folder;       // destination folder (UTF-8), required
    const char *prefix;       // file-name prefix; null means "NIVRA"
    ExportOffsetFn utcOffset; // null: the offset stored with each frame
    void *utcOffsetContext;
    int64_t expectedBytes;     // passed back with every progress report
    ExportProgressFn progress; // optional
    ExportFileDoneFn fileDone; // optional
    ExportRunLostFn runLost;   // optional
    void *context;             // for progress, fileDone and runLost
    int timeTrack;             // non-zero: a subtitle track with the camera's clock, one a second
    const ExportCoder *coder;  // null: the coded frames are copied as they are
};

// Outcome of exportRange(); cleared at entry.
struct ExportResult
{
    int32_t files;              // files finished and moved to their final names
    uint64_t bytes;             // payload bytes read from the card
    int32_t audioLeftOut;       // 1 when the sound could not be kept
    char message[1024];         // for -21: the path whose writing failed
    uint64_t skippedFrames;     // damaged frames left out (a time outside their recording)
    int32_t plannedRuns;        // continuous runs of recording in the range
    int64_t plannedMs;          // recorded time of the range: the runs' durations
    int64_t writtenMs;          // video time of the files finished
    int32_t lostRuns;           // runs not written whole (each told to runLost)
    int64_t lostMs;             // planned time of those runs that was not written
    int64_t keyframeIntervalMs; // the spacing of key frames seen, the slack of each run
};

// ---- Operations -------------------------------------------------------------

// Exports [fromMs, toMs] of card. stream may be null (probed at fromMs).
// Returns 0, 1, 2 or a negative code; fills *result.
int exportRange(const card_reader *card, const card_stream *stream, int64_t fromMs, int64_t toMs,
                const ExportOptions *options, ExportResult *result);

// Builds the runs of playable recording in [fromMs, toMs] into *runs (emptied
// first); *missing (optional) is set when recordings of the range are absent.
// Returns 0, -1 or -7.
int buildRuns(const card_reader *card, int64_t fromMs, int64_t toMs, ExportRuns *runs, int *missing);

// Runs trimmed to their first usable keyframe, with the time of their last
// video frame, recorded time and expected bytes of [fromMs, toMs]. Returns 0
// or a negative code; *out is filled.
int estimateExport(card_reader *card, int64_t fromMs, int64_t toMs, ExportEstimate *out);

// Plans an event batch export: each of events[0..count) that has one of
// kinds and starts within [fromMs, toMs] is padded by preSeconds before its
// start and postSeconds after its end, starts at the key frame at or before
// its padded start (within the same recording), and is clipped to its
// recorded time (estimateExport); pieces whose times overlap become one, in
// time order.
// pieces and skipped each have room for count records; *pieceCount gets the
// pieces, *skippedCount the events with nothing recorded, in their order.
// Returns 0, 1 when there is no piece, or a negative code.
int exportEventPieces(card_reader *card, const card_event *events, int count, uint16_t kinds,
                      uint32_t preSeconds, uint32_t postSeconds, int64_t fromMs, int64_t toMs,
                      ExportEventPiece *pieces, int *pieceCount, ExportSkippedEvent *skipped,
                      int *skippedCount);

// Writes the final file name for a piece from startMs to endMs (offsets in
// seconds at each end) into out. Returns 0, or -1 when it does not fit.
int formatExportName(const char *prefix, int container, int64_t startMs, int64_t endMs,
                     int32_t startOffsetSec, int32_t endOffsetSec, char *out, size_t outSize);

// Returns 1 when an export did not write all it planned: damaged frames left
// out, or a run of recording not written to within one key-frame interval of
// its plan (a file starts at a key frame, so up to that much of each run may
// go at its start), else 0.
int exportIncomplete(const ExportResult *result);

// Returns the planned time of the runs not written whole that is missing
// from the files (0 when none).
int64_t exportShortfallMs(const ExportResult *result);

// Adds the figures of one export of a batch to *total: files, bytes, the
// planned and written time, skipped frames and sound left out (message and
// code stay the caller's).
void exportResultAdd(ExportResult *total, const ExportResult *one);

// Releases the list; the record becomes a valid empty one. Null is a no-op.
void exportRunsFree(ExportRuns *runs);

// Returns the constant English text of an export result code.
const char *exportErrorName(int code);
