// Helpers for the plain-code tests: running the independent tools (ffmpeg,
// ffprobe, mediainfo, mkvmerge, GStreamer), temporary folders and Annex-B
// handling of reference streams.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace exporttest {

struct CommandResult
{
    int status = -1;    // exit status, -1 when the command could not run
    std::string output; // standard output
    std::string errors; // standard error
};

// Runs a shell command; stdout and stderr are captured separately.
CommandResult run(const std::string &command);

// Creates a fresh folder under /tmp; removed by removeTree.
std::string makeTempDir();
void removeTree(const std::string &path);

std::vector<uint8_t> readFile(const std::string &path);
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
bool exists(const std::string &path);
std::vector<std::string> listDir(const std::string &path);

// One NAL unit (without start code).
struct Nal
{
    std::vector<uint8_t> bytes;
};
// Splits an Annex-B stream into NAL units.
std::vector<Nal> splitNals(const std::vector<uint8_t> &stream);
// Splits an Annex-B stream into access units at access unit delimiters
// (H.264 type 9, H.265 type 35); each unit keeps its start codes.
std::vector<std::vector<uint8_t>> splitAccessUnits(const std::vector<uint8_t> &stream, int codec);
// True when the access unit holds an IDR/IRAP picture.
bool isKeyframe(const std::vector<uint8_t> &au, int codec);
// NAL type of a unit for codec 1 (H.264) or 2 (H.265).
int nalType(const Nal &nal, int codec);

// Splits an ADTS stream into its frames (headers kept).
std::vector<std::vector<uint8_t>> splitAdts(const std::vector<uint8_t> &stream);

// Value of `key=value` in ffprobe's default/flat output, "" when absent.
std::string field(const std::string &text, const std::string &key);
// Every value of `key=value` lines, in order.
std::vector<std::string> fields(const std::string &text, const std::string &key);

} // namespace exporttest
