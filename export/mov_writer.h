// MOV/MP4 writer: one QuickTime (MOV) or ISO base media (MP4) file from coded
// H.264/H.265 video (Annex B), AAC (ADTS or raw) or G.711 A-law audio and an
// optional list of chapter titles.
//
// Plain-function interface, no Qt, no exceptions. The writer never opens or
// seeks a file itself: every byte goes through a write callback that stores it
// at a given file offset. Media data is written while the export runs, in
// interleaved chunks inside one `mdat`; the index (`moov`) is built in memory by
// movWriterFinish() and placed into space reserved after `ftyp` when it fits,
// else appended at the end.
//
// Error handling is sticky: after -2 (out of memory) or -3 (write failed) every
// later call returns that code at once, and finish reports it.
#pragma once

#include <stddef.h>
#include <stdint.h>

// ---- Result codes -------------------------------------------------------

enum
{
    MOVW_OK = 0,             // success
    MOVW_PARAMS_CHANGED = 1, // the frame carries other parameter sets; nothing written
    MOVW_ERR_ARGUMENT = -1,  // invalid argument or configuration
    MOVW_ERR_NO_MEMORY = -2, // out of memory (sticky)
    MOVW_ERR_WRITE = -3,     // the write callback failed (sticky)
    MOVW_ERR_NOT_READY = -4, // no usable first keyframe / no AAC configuration / no video
};

// Video codecs (MovWriterConfig::videoCodec).
enum
{
    MOVW_VIDEO_H264 = 1,
    MOVW_VIDEO_H265 = 2,
};

// Audio modes (MovWriterConfig::audioMode).
enum
{
    MOVW_AUDIO_NONE = 0,
    MOVW_AUDIO_AAC = 1,
    MOVW_AUDIO_ALAW = 2,
};

// ---- Records --------------------------------------------------------------

// What to write; given to movWriterStart() and copied there.
struct MovWriterConfig
{
    int mp4;                 // 1: MP4 (ISO) file; 0: MOV
    int videoCodec;          // MOVW_VIDEO_*
    int audioMode;           // MOVW_AUDIO_*
    int sampleRate;          // Hz (AAC: 0 takes it from the first ADTS header)
    int channels;            // values below 1 become 1
    uint8_t audioConfig[16]; // AAC AudioSpecificConfig, when known in advance
    int audioConfigLength;   // 0..16; 0 takes it from the first ADTS header
    uint64_t reserve;        // bytes reserved for the index after ftyp; 0 for none
    int64_t startMs;         // UTC ms of the first video frame (creation times)
    int16_t offsetMin;       // UTC offset in minutes at startMs (MOV creation date)
    int frameIntervalMs;     // nominal video frame interval; below 1 becomes 67
    int timeTrack;           // 1: subtitles come about once a second (room in the reservation)
};

// Figures of a finished file (movWriterFinish); zeroed on entry.
struct MovWriterStats
{
    uint64_t fileSize;          // bytes in the file
    int indexAtFront;           // 1 when the moov went into the reserved space
    uint64_t indexSize;         // bytes of the moov box
    uint32_t videoSamples;      // video samples
    uint32_t keyframes;         // sync samples
    uint32_t audioCount;        // AAC frames, or G.711 writes
    uint32_t silenceInsertions; // movWriterAddSilence calls that inserted
    uint32_t chapters;          // chapter samples written
    uint32_t subtitles;         // subtitle samples written (the time track)
    int64_t videoDurationMs;    // video track duration
    int64_t audioDurationMs;    // audio track duration (0 without an audio track)
    int width;                  // coded (cropped) size, 0 when the SPS was unreadable
    int height;
};

struct MovWriter; // one file being written

// Stores length bytes at file offset; returns 0 on success, anything else
// fails the writer with -3.
typedef int (*MovWriteFn)(void *context, uint64_t offset, const void *data, size_t length);

// ---- Operations -------------------------------------------------------------

// Returns the number of bytes to reserve for the index of a file of about
// expectedMs of video with aacFrameMs audio frames and up to `chapters`
// chapters; changes nothing.
uint64_t movWriterReserve(const MovWriterConfig *config, int64_t expectedMs, int aacFrameMs, int chapters);

// Validates config, writes ftyp, the reservation and the mdat header. Returns
// 0 and sets *out, or a negative code and *out = null.
int movWriterStart(const MovWriterConfig *config, MovWriteFn write, void *context, MovWriter **out);

// Adds one Annex-B video frame at decodeMs. Returns 0, 1 when its parameter
// sets differ from the file's (nothing written), -4 when no usable first
// keyframe was taken yet, or a sticky error.
int movWriterAddVideo(MovWriter *writer, const uint8_t *data, size_t length, int64_t decodeMs, int keyframe);

// Adds audio (one raw AAC frame, ADTS frames or G.711 bytes). Returns 0, -4
// for AAC without a configuration, or a sticky error.
int movWriterAddAudio(MovWriter *writer, const uint8_t *data, size_t length);

// Inserts about `samples` audio samples of silence; *inserted (optional) gets
// how many were inserted. Returns 0 or a sticky error.
int movWriterAddSilence(MovWriter *writer, int64_t samples, int64_t *inserted);

// Returns the audio samples in the file so far (AAC frames x 1024, or G.711
// samples); 0 for null.
int64_t movWriterAudioSamples(const MovWriter *writer);

// Adds a chapter at timeMs (negative becomes 0) titled text (cut to 1000
// bytes). Returns 0, -1 or a sticky error.
int movWriterAddChapter(MovWriter *writer, int64_t timeMs, const char *text);

// Adds a subtitle shown from timeMs (file time, negative becomes 0) until the
// next one or the end of the video: a tx3g text track that players show as
// subtitles, such as the camera's clock. Subtitles come in time order (a
// later one at the same time replaces it); text is cut to 1000 bytes.
// Returns 0, -1 or a sticky error.
int movWriterAddSubtitle(MovWriter *writer, int64_t timeMs, const char *text);

// Writes the remaining media, the chapters and the index; fills *stats
// (optional). Returns 0, -4 when no video was written, or the sticky error.
int movWriterFinish(MovWriter *writer, MovWriterStats *stats);

// Releases the writer; writes nothing. Null is a no-op.
void movWriterFree(MovWriter *writer);

// Returns the constant English text of a writer result code.
const char *movWriterErrorName(int code);
