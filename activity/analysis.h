// What the activity index says: the change between consecutive key frames,
// with the two kinds of change that are not activity set apart (lighting, and
// the camera's own burned-in clock and logo), and the changes in an area.
#pragma once

#include "activity/activity.h"

#include <bitset>

namespace nivra::activity {

using CellSet = std::bitset<kCells>;

// An area of the picture in fractions of its width and height.
struct Region
{
    double x = 0.0;
    double y = 0.0;
    double w = 1.0;
    double h = 1.0;
};

// True when the region is not empty and lies inside 0..1.
bool region_valid(const Region &region);
// The cells a region covers (any part of a cell counts).
CellSet region_cells(const Region &region);

// The change from one key frame to the next one.
struct Step
{
    int64_t from_ms = 0;
    int64_t to_ms = 0; // the first picture showing the change
    bool lighting = false;
    CellSet changed; // cells whose mean moved past the noise, lighting excluded
};

// The steps of a span of pictures and the cells masked as the camera's own
// (changing at nearly every key frame, or at regular intervals, as a clock's
// digits and a time code do).
struct Analysis
{
    std::vector<Step> steps;
    CellSet mask;
};

// Compares every picture with the one before it (no comparison across a hole
// or a gap of over 10 s) and learns the mask from the whole span.
Analysis analyse(const std::vector<KeyPicture> &pictures);

// The fraction of a step's unmasked cells in cells that changed (0 for a
// lighting step).
double changed_fraction(const Step &step, const CellSet &mask, const CellSet &cells);

enum ChangeKind
{
    CHANGE_AREA = 0,
    CHANGE_LIGHTING = 1
};

// A stretch of change: steps closer than 5 s merged.
struct Change
{
    int64_t start_ms = 0;
    int64_t end_ms = 0;
    int kind = CHANGE_AREA;
    double area = 0.0; // the largest fraction of the area changed in it
};

// The changes in region between from_ms and to_ms, in time order: steps
// where at least threshold of the area's unmasked cells changed, and the
// lighting steps.
std::vector<Change> find_changes(const Analysis &analysis, const Region &region, double threshold,
                                 int64_t from_ms, int64_t to_ms);

} // namespace nivra::activity
