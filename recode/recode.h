// Re-coding an export: the camera's clock burned into the picture, and the
// smaller copy for sharing (H.264 at 720p at most, AAC sound, a bit rate that
// keeps the file under a chosen size). Qt-free, shared by the window and
// nivra-card; it plugs into the export writer as its ExportCoder, so that
// ranges, files, progress, cancel and the check against the plan stay the
// copy's own.
#pragma once

#include <stdint.h>

#include <memory>

#include "export/export_writer.h"

namespace nivra::recode {

struct Settings
{
    bool burnClock = false;   // the clock drawn in the picture's bottom-right corner
    int maxWidth = 0;         // 0: the card's picture size; else scaled down to fit,
    int maxHeight = 0;        //    never up
    int64_t videoBitRate = 0; // bits a second; 0: a constant quality
    bool soundToAac = false;  // G.711 sound re-coded to AAC (an MP4 cannot hold it)
};

// The share copy: the sizes on offer (MB of 10^6 bytes), its picture and sound.
constexpr int kShareSizesMb[] = {8, 16, 25, 50};
constexpr int kShareDefaultMb = 25;
constexpr int kShareWidth = 1280;
constexpr int kShareHeight = 720;

// The video bit rate that keeps a share copy of durationMs under maxBytes
// with its sound; 0 when the range is too long for a picture worth watching.
int64_t shareVideoBitRate(int64_t maxBytes, int64_t durationMs);

// The settings of a re-coded copy of durationMs: the clock burned in, and a
// share copy kept under shareMb MB (0: none); mp4 when the file is an MP4,
// whose G.711 sound then becomes AAC. False when the range is too long for
// the share copy's size.
bool copySettings(bool burnClock, int shareMb, int64_t durationMs, bool mp4, Settings *out);

// True when this FFmpeg has the H.264 encoder (libx264) that re-coding needs.
bool available();

// FFmpeg's figures on closing an encoder off, its errors kept: for a
// command-line program, whose standard error is the user's.
void quietCodecLogs();

// One re-coding export; hook() goes into ExportOptions::coder and lives as
// long as this object.
class Coder
{
public:
    explicit Coder(const Settings &settings);
    ~Coder();
    Coder(const Coder &) = delete;
    Coder &operator=(const Coder &) = delete;

    const ExportCoder *hook() const;

    struct State;

private:
    std::unique_ptr<State> m;
};

} // namespace nivra::recode
