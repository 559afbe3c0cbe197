// Turns a scenario into a recording directory, as the camera would write it.
#pragma once

#include "scenario.h"

#include <string>

namespace cardgen {

struct CardStats
{
    int segmentsWritten = 0;  // segment files on the card
    int segmentsRecorded = 0; // segments ever recorded (older ones overwritten by the ring)
    int timelineEntries = 0;
    long long videoFrames = 0; // in the segment files written
    long long audioFrames = 0;
    long long bytes = 0;
};

// Writes the recording directory `outDir` (created when needed; earlier card
// files in it are removed first). Returns false with *error on failure.
bool writeCard(const Scenario &scenario, const std::string &outDir, CardStats *stats, std::string *error);

} // namespace cardgen
