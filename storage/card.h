// Card storage: the camera's recording directory and the reader for it.
//
// Plain-function interface, no Qt, no exceptions. Every operation returns a
// result code: 0 success, 1 "nothing (more)", negative codes are errors; the
// text of a code comes from card_error_name(). Handles are opaque and are
// returned through out-parameters (null on failure); closing null is a no-op.
// Records are owned and zeroed by the caller and filled through out-pointers.
// List queries are called twice: capacity 0 asks for the count.
//
// A card reader is read-only after card_open() except for its per-segment
// index cache, which card_keyframes() fills (call it from one thread only).
// Each thread reads frames through its own cursor; close every cursor before
// the reader.
#pragma once

#include <stddef.h>
#include <stdint.h>

// ---- Result codes -------------------------------------------------------

enum
{
    CARD_OK = 0,                // success
    CARD_NO_MORE = 1,           // nothing (more) lies at or after the time
    CARD_ERR_ARGUMENT = -1,     // invalid argument
    CARD_ERR_NO_DIRECTORY = -2, // meta.dat or index.dat not found
    CARD_ERR_OLD_FORMAT = -3,   // recorded by old firmware (format version 1)
    CARD_ERR_NEW_FORMAT = -4,   // format version newer than this reader
    CARD_ERR_CORRUPT = -5,      // meta.dat or the index header/table is corrupt
    CARD_ERR_READ = -6,         // a file could not be opened or read
    CARD_ERR_NO_MEMORY = -7,    // out of memory
    CARD_ERR_NO_PENDING = -8,   // the cursor has no pending frame (or no position)
    CARD_ERR_BUFFER_SMALL = -9, // the buffer is shorter than the payload
};

// ---- Constants of the card format ---------------------------------------

enum
{
    CARD_PATH_MAX = 1023,          // bytes of a directory path (UTF-8)
    CARD_MAX_PAYLOAD = 0x400000,   // largest frame payload in bytes
    CARD_MAX_INDEX_ENTRIES = 2046, // index entries read per segment
    CARD_TIMELINE_CAPACITY = 8192, // slots of timeline.dat
};

// Frame types (card_frame::type).
enum
{
    CARD_FRAME_KEY = 0,   // video keyframe
    CARD_FRAME_INTER = 1, // video inter frame
    CARD_FRAME_AUDIO = 2, // audio
};

// Video codecs (card_stream::video_codec).
enum
{
    CARD_CODEC_UNKNOWN = 0,
    CARD_CODEC_H264 = 1,
    CARD_CODEC_H265 = 2,
};

// Audio kinds (card_stream::audio_kind).
enum
{
    CARD_AUDIO_NONE = 0,     // no audio frames
    CARD_AUDIO_AAC_ADTS = 1, // AAC with ADTS headers
    CARD_AUDIO_AAC_RAW = 2,  // raw AAC frames of 1024 samples
    CARD_AUDIO_ALAW = 3,     // G.711 A-law
    CARD_AUDIO_UNKNOWN = 4,  // audio present, format not recognised
};

// Event kind bits (card_event::kinds, card_keyframe::kinds).
enum
{
    CARD_KIND_MOTION = 0x01,
    CARD_KIND_SOUND = 0x02,
    CARD_KIND_CRYING = 0x04,
    CARD_KIND_PIR = 0x08,
    CARD_KIND_PERSON = 0x10,
};

// Index entry event flags (card_keyframe::flags).
enum
{
    CARD_MARK_CONTINUE = 0x01,
    CARD_MARK_START = 0x02,
    CARD_MARK_END = 0x04,
};

// Event states (card_event::state).
enum
{
    CARD_EVENT_ENDED = 0, // ended by an end mark
    CARD_EVENT_OPEN = 1,  // still open at the end of the scanned data
    CARD_EVENT_CUT = 2,   // cut short by the next start mark
};

// ---- Records --------------------------------------------------------------

// Summary of an opened card (card_get_summary).
struct card_summary
{
    uint64_t format_ms;        // when the card was formatted, ms since the epoch
    uint32_t segment_count;    // entries in the segment table
    uint32_t segment_size;     // segment size in bytes
    uint32_t valid_segments;   // valid table entries
    uint32_t present_segments; // valid entries whose file exists
    uint32_t first_second;     // earliest first second of a valid segment, 0 if none
    uint32_t last_second;      // latest last second of a valid segment, 0 if none
};

// One frame header as cursor_next() returns it.
struct card_frame
{
    uint8_t type;           // CARD_FRAME_*
    uint8_t discontinuity;  // 1 when the time jumps past the gap threshold
    int16_t utc_offset_min; // camera UTC offset, minutes
    int64_t time_ms;        // second * 1000 + milliseconds
    uint32_t size;          // payload size in bytes
    uint16_t segment;       // segment number (seg_NNN.dat)
    uint32_t file_offset;   // byte offset of the frame header in that file
};

// What card_probe_stream() found at a time.
struct card_stream
{
    int32_t video_codec;       // CARD_CODEC_*
    int32_t audio_kind;        // CARD_AUDIO_*
    int32_t sample_rate;       // Hz, 0 when unknown
    int32_t channels;          // channel count
    int32_t object_type;       // AAC audio object type
    int32_t audio_interval_ms; // median spacing of audio frames, 0 when unknown
    int32_t video_interval_ms; // median spacing of video frames, 0 when unknown
};

// A recording range: playable time, or time whose segment files are absent.
struct card_range
{
    uint32_t first;         // first second (UTC)
    uint32_t last;          // last second (UTC), inclusive
    int16_t utc_offset_min; // camera UTC offset, minutes
    uint8_t missing;        // 0 playable, 1 segment files absent
};

// An event built from the index marks (card_events).
struct card_event
{
    uint32_t first;         // start second (UTC)
    uint32_t last;          // first + length (length kept in 16 bits)
    uint16_t kinds;         // CARD_KIND_* bits
    uint8_t state;          // CARD_EVENT_*
    uint8_t playable;       // 1 when the start lies in a playable range
    int16_t utc_offset_min; // offset of the range nearest to the start
};

// An event's duration in seconds: the length the card stores with it (last
// minus first). The one rule for every duration an event shows.
inline uint32_t card_event_seconds(const card_event *event)
{
    return event->last >= event->first ? event->last - event->first : 0;
}

// The last millisecond of a range, event or card whose last whole second
// (inclusive) is `last`: that whole second belongs to it. The one rule for
// where anything ends.
inline int64_t card_last_ms(uint32_t last)
{
    return int64_t(last) * 1000 + 999;
}

// A keyframe index entry (card_keyframes).
struct card_keyframe
{
    int64_t time_ms;        // entry second * 1000 + milliseconds
    int16_t utc_offset_min; // entry UTC offset, minutes
    uint16_t segment;       // segment number
    uint32_t file_offset;   // frame header offset in the segment file
    uint8_t flags;          // CARD_MARK_* bits of the entry
    uint8_t usable;         // 1 when the segment file is present
    uint16_t kinds;         // CARD_KIND_* bits of the entry
};

// ---- Handles and callbacks ------------------------------------------------

struct card_reader; // an opened recording directory
struct card_cursor; // reads frames of a card in time order

// Local-time offset in seconds for a UTC second (card_month_days).
typedef int32_t (*card_offset_fn)(uint32_t utc_second, void *context);
// Receives one keyframe; a non-zero return stops the walk (card_keyframes).
typedef int (*card_keyframe_fn)(const card_keyframe *keyframe, void *context);

// ---- Card reader ------------------------------------------------------------

// Opens and validates the recording directory at path (UTF-8; trailing "/" and
// "\" are ignored). Returns 0 and sets *out, or a negative code and *out = null.
int card_open(const char *path, card_reader **out);

// What a failed open can say beyond its code (card_open_detailed); a zeroed
// record says nothing.
struct card_open_detail
{
    uint8_t permission_denied;    // a card file or the folder may not be read by this user
    char path[CARD_PATH_MAX + 1]; // that file or folder (UTF-8), when permission_denied
};

// card_open, with *detail (optional) cleared and then filled when the open
// fails: a card the user may not read keeps its code (-2 for an unreadable
// folder, -5 for an unreadable meta.dat or index.dat), so that it is not
// told from damage by the code alone.
int card_open_detailed(const char *path, card_reader **out, card_open_detail *detail);

// Frees the reader and its caches; null is a no-op.
void card_close(card_reader *card);

// Returns the constant English text of a result code.
const char *card_error_name(int code);

// Fills *out. Returns 0, or -1 for a null argument.
int card_get_summary(const card_reader *card, card_summary *out);

// The card's identity, "card-<format ms>-<segments>x<segment size>": the same
// from any path or reader it is opened through, so that what this computer
// keeps about a card (its activity index, its bookmarks) finds it again.
// Returns 0, or -1 for a null argument or an out too small (48 bytes do).
int card_identity(const card_reader *card, char *out, size_t out_size);

// The recording directory the reader opened (UTF-8), as found from the path
// given to card_open(); null for a null card.
const char *card_directory(const card_reader *card);

// The path of segment file number (seg_NNN.dat) into out (UTF-8). Returns 0,
// or -1 when out is too small or an argument is null.
int card_segment_file(const card_reader *card, uint16_t number, char *out, size_t out_size);

// Describes the streams at or after time_ms. Zeroes *out first. Returns 0, 1
// when nothing lies at or after the time, or a negative code.
int card_probe_stream(const card_reader *card, uint64_t time_ms, card_stream *out);

// Counts the ranges with last >= from and first <= to into *count and copies
// the first min(count, capacity) into out, in range order. Returns 0 or -1.
int card_ranges(const card_reader *card, uint32_t from, uint32_t to, card_range *out, int capacity,
                int *count);

// Sets bit d (1..31) of *mask for every day d of year/month (local time) that a
// range touches. The offset function gives the local offset in seconds for a
// UTC second; null uses each range's own offset. playable_only skips missing
// ranges. Returns 0 or -1.
int card_month_days(const card_reader *card, int year, int month, card_offset_fn offset_fn, void *context,
                    int playable_only, uint32_t *mask);

// Scans the index marks of [from, to] for events; *count gets how many were
// found, the first min(count, capacity) are stored. Returns 0, -1, -6 or -7.
int card_events(const card_reader *card, uint32_t from, uint32_t to, card_event *out, int capacity,
                int *count);

// Calls callback for every keyframe index entry in [from, to] in time order and
// fills the reader's index cache. Returns 0 (also when stopped), -1 or -7.
int card_keyframes(card_reader *card, uint32_t from, uint32_t to, card_keyframe_fn callback, void *context);

// ---- Read cursor ---------------------------------------------------------------

// Creates a cursor on card, not positioned. Returns 0, -1 or -7; *out null on failure.
int cursor_open(const card_reader *card, card_cursor **out);

// Closes the cursor's file and frees it; null is a no-op.
void cursor_close(card_cursor *cursor);

// Positions on the keyframe at most 3000 ms before time_ms, or on the first one
// after it; *landed_ms (optional) gets its time. Returns 0; 1 when no present
// segment lies at or after the time (cursor_next then returns 1); -6 or -7
// (the cursor then holds no file and is not positioned).
int cursor_seek(card_cursor *cursor, uint64_t time_ms, int64_t *landed_ms);

// Returns the next frame header as the pending frame (the same one again until
// it is read or skipped). Returns 0, 1 at the end, -8 when not positioned, -1,
// -6 or -7. -6 means a header or index block could not be read although the
// file holds it (an I/O error, a file that shrank): not the end of the data.
// A frame with a valid header whose time lies more than 10 minutes past its
// segment's last recorded second is damage: it is skipped and counted
// (cursor_get_damaged), and does not end the file's readable data.
int cursor_next(card_cursor *cursor, card_frame *out);

// Reads the pending payload into buffer and consumes the frame. Returns 0, -8
// without a pending frame, -9 when length is too small or -6 on a short read
// (the frame then stays pending).
int cursor_read(card_cursor *cursor, void *buffer, size_t length);

// Consumes the pending frame without reading it. Returns 0 or -8.
int cursor_skip(card_cursor *cursor);

// Sets *count to the frames this cursor has skipped as damage since it was
// opened. Returns 0 or -1.
int cursor_get_damaged(const card_cursor *cursor, uint64_t *count);

// Sets the stride: 0 reads every frame, n > 0 every n-th keyframe index entry.
// Discards a pending frame. Returns 0, or -1 for a negative stride.
int cursor_set_stride(card_cursor *cursor, int stride);
