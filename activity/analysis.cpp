#include "activity/analysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace nivra::activity {

namespace {

// Pictures further apart than this belong to different stretches of video.
constexpr int64_t kMaxStepMs = 10000;
// A cell's mean must move by more than this (in luma levels) whatever the
// picture's noise: grid means of hundreds of pixels hardly move by chance.
constexpr int kFloorLevels = 5;
// Lighting: most of the picture moving one way by at least this much.
constexpr int kLightingLevels = 8;
constexpr double kLightingShare = 0.5;
// A cell that changes at this share of the steps is the camera's own.
constexpr double kFrequentShare = 0.3;
// A cell that changes at regular intervals (a clock's digits, a time code)
// is the camera's own once it has done so this often.
constexpr int kRegularBursts = 5;
constexpr int64_t kMergeMs = 5000;

void deltaOf(const KeyPicture &p, const KeyPicture &q, std::array<int, kCells> *d)
{
    for (int c = 0; c < kCells; ++c)
        (*d)[size_t(c)] = int(q.grid[c]) - int(p.grid[c]);
}

int countAtMost(const std::array<int, kCells> &d, int v)
{
    int n = 0;
    for (int x : d)
        n += x <= v ? 1 : 0;
    return n;
}

int countWithin(const std::array<int, kCells> &d, int k)
{
    int n = 0;
    for (int x : d)
        n += x <= k && x >= -k ? 1 : 0;
    return n;
}

// The medians of the cells' moves: returns that of their sizes and sets
// *shift to that of the signed moves. Both lie near 0 but at a lamp, so
// they are found by counting outwards from 0: a week holds 300 000 steps,
// and a histogram's increments of the same few bins wait on each other.
int medians(const std::array<int, kCells> &d, int *shift)
{
    constexpr int half = kCells / 2;
    int v = 0;
    if (countAtMost(d, 0) > half) {
        while (v > -255 && countAtMost(d, v - 1) > half)
            --v;
    } else {
        while (v < 255 && countAtMost(d, v) <= half)
            ++v;
    }
    *shift = v;
    int k = 0;
    while (k < 255 && countWithin(d, k) <= half)
        ++k;
    return k;
}

// Lighting: at least half of the cells (masked ones left out) moved the way
// the median moved, by at least half of it.
bool isLighting(const std::array<int, kCells> &d, int shift, const CellSet &mask)
{
    if (std::abs(shift) < kLightingLevels)
        return false;
    int along = 0, counted = 0;
    for (int c = 0; c < kCells; ++c) {
        if (mask[size_t(c)])
            continue;
        ++counted;
        if (d[size_t(c)] * (shift > 0 ? 1 : -1) * 2 >= std::abs(shift))
            ++along;
    }
    return counted > 0 && double(along) >= kLightingShare * double(counted);
}

// True when the starts of a cell's bursts of change come at regular
// intervals, clearly longer than a step.
bool regularBursts(const std::vector<int64_t> &starts, int64_t stepMs)
{
    if (int(starts.size()) < kRegularBursts)
        return false;
    std::vector<int64_t> gaps;
    for (size_t i = 1; i < starts.size(); ++i)
        gaps.push_back(starts[i] - starts[i - 1]);
    std::vector<int64_t> sorted = gaps;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const int64_t typical = sorted[sorted.size() / 2];
    if (typical < 3 * stepMs)
        return false;
    // A step's length either way: the change is seen at the next key frame.
    const int64_t slack = std::max<int64_t>(stepMs * 5 / 4, typical / 10);
    size_t near = 0;
    for (int64_t g : gaps)
        near += std::llabs(g - typical) <= slack ? 1 : 0;
    if (near * 5 >= gaps.size() * 4)
        return true;
    // A clock's minute digit: a cell of it changes at some minutes only, so
    // its gaps are whole multiples of the shortest one. Only a long shortest
    // gap counts: random changes are near multiples of a short one by chance.
    const int64_t shortest = *std::min_element(gaps.begin(), gaps.end());
    if (shortest < 20 * stepMs)
        return false;
    const int64_t tight = stepMs * 5 / 4;
    near = 0;
    for (int64_t g : gaps) {
        const int64_t k = (g + shortest / 2) / shortest;
        near += std::llabs(g - k * shortest) <= tight * k ? 1 : 0;
    }
    return near * 5 >= gaps.size() * 4;
}

// The mask with a margin of two cells across and one up and down, so that a
// clock's rarely changing digits beside its busy ones go with them.
CellSet withMargin(const CellSet &mask)
{
    CellSet out = mask;
    for (int c = 0; c < kCells; ++c) {
        if (!mask[size_t(c)])
            continue;
        const int x = c % kGridW, y = c / kGridW;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && nx < kGridW && ny >= 0 && ny < kGridH)
                    out[size_t(ny * kGridW + nx)] = true;
            }
    }
    return out;
}

} // namespace

bool region_valid(const Region &r)
{
    const auto inside = [](double v) { return std::isfinite(v) && v >= 0.0 && v <= 1.0; };
    return inside(r.x) && inside(r.y) && inside(r.w) && inside(r.h) && r.w > 0.0 && r.h > 0.0 &&
           r.x + r.w <= 1.0 + 1e-9 && r.y + r.h <= 1.0 + 1e-9;
}

CellSet region_cells(const Region &r)
{
    CellSet cells;
    if (!region_valid(r))
        return cells;
    const int x0 = std::clamp(int(std::floor(r.x * kGridW)), 0, kGridW - 1);
    const int y0 = std::clamp(int(std::floor(r.y * kGridH)), 0, kGridH - 1);
    const int x1 = std::clamp(int(std::ceil((r.x + r.w) * kGridW)), x0 + 1, kGridW);
    const int y1 = std::clamp(int(std::ceil((r.y + r.h) * kGridH)), y0 + 1, kGridH);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            cells[size_t(y * kGridW + x)] = true;
    return cells;
}

Analysis analyse(const std::vector<KeyPicture> &pictures)
{
    Analysis a;
    // Per step: the picture it ends on and the median move, which decides
    // whether it can be lighting at all.
    std::vector<size_t> later;
    std::vector<int> shifts;
    std::vector<int64_t> lengths;
    // A week holds 300 000 steps: grown by doubling, the copies and the
    // fresh pages cost more than the comparisons.
    const size_t most = pictures.empty() ? 0 : pictures.size() - 1;
    a.steps.reserve(most);
    later.reserve(most);
    shifts.reserve(most);
    lengths.reserve(most);
    std::array<int, kCells> d;
    for (size_t i = 1; i < pictures.size(); ++i) {
        const KeyPicture &p = pictures[i - 1];
        const KeyPicture &q = pictures[i];
        if (p.hole || q.hole || q.time_ms <= p.time_ms || q.time_ms - p.time_ms > kMaxStepMs)
            continue;
        deltaOf(p, q, &d);
        int shift = 0;
        // Most cells of a camera's picture are still: the median move is
        // the noise (compression and sensor), and the threshold follows it.
        const int noise = medians(d, &shift);
        const int threshold = std::max(kFloorLevels, 3 * noise + 3);
        Step step;
        step.from_ms = p.time_ms;
        step.to_ms = q.time_ms;
        for (int c = 0; c < kCells; ++c)
            if (d[size_t(c)] > threshold || d[size_t(c)] < -threshold)
                step.changed.set(size_t(c));
        a.steps.push_back(step);
        later.push_back(i);
        shifts.push_back(shift);
        lengths.push_back(q.time_ms - p.time_ms);
    }
    if (a.steps.empty())
        return a;
    std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
    const int64_t stepMs = lengths[lengths.size() / 2];

    // Lighting first, on every cell, so that a lamp does not teach the mask;
    // then judged again without the camera's own cells, which a lamp leaves
    // alone.
    const auto judgeLighting = [&](const CellSet &mask) {
        for (size_t i = 0; i < a.steps.size(); ++i) {
            if (std::abs(shifts[i]) < kLightingLevels)
                continue;
            deltaOf(pictures[later[i] - 1], pictures[later[i]], &d);
            a.steps[i].lighting = isLighting(d, shifts[i], mask);
        }
    };
    judgeLighting(CellSet());

    // One pass over the changed cells of each step, keeping each cell's
    // count and the starts of its bursts of change.
    std::array<size_t, kCells> changes{};
    std::array<size_t, kCells> lastChanged;
    lastChanged.fill(SIZE_MAX);
    std::vector<std::vector<int64_t>> bursts(kCells);
    size_t counted = 0;
    for (const Step &s : a.steps) {
        if (s.lighting)
            continue;
        for (size_t c = s.changed._Find_first(); c < size_t(kCells); c = s.changed._Find_next(c)) {
            ++changes[c];
            if (lastChanged[c] == SIZE_MAX || lastChanged[c] + 1 != counted)
                bursts[c].push_back(s.to_ms);
            lastChanged[c] = counted;
        }
        ++counted;
    }
    CellSet mask;
    for (int c = 0; c < kCells; ++c)
        if ((counted >= 10 && double(changes[size_t(c)]) >= kFrequentShare * double(counted)) ||
            regularBursts(bursts[size_t(c)], stepMs))
            mask[size_t(c)] = true;
    a.mask = withMargin(mask);

    judgeLighting(a.mask);
    for (Step &s : a.steps)
        if (s.lighting)
            s.changed.reset();
    return a;
}

double changed_fraction(const Step &step, const CellSet &mask, const CellSet &cells)
{
    const CellSet open = cells & ~mask;
    if (step.lighting || open.none())
        return 0.0;
    return double((step.changed & open).count()) / double(open.count());
}

std::vector<Change> find_changes(const Analysis &analysis, const Region &region, double threshold,
                                 int64_t from_ms, int64_t to_ms)
{
    std::vector<Change> out;
    const CellSet cells = region_cells(region);
    // The latest change of each kind, to merge the next step into.
    long latest[2] = {-1, -1};
    for (const Step &s : analysis.steps) {
        if (s.to_ms < from_ms || s.to_ms > to_ms)
            continue;
        const int kind = s.lighting ? CHANGE_LIGHTING : CHANGE_AREA;
        const double area = changed_fraction(s, analysis.mask, cells);
        if (!s.lighting && (area <= 0.0 || area < threshold))
            continue;
        if (latest[kind] >= 0 && s.to_ms - out[size_t(latest[kind])].end_ms < kMergeMs) {
            Change &c = out[size_t(latest[kind])];
            c.end_ms = s.to_ms;
            c.area = std::max(c.area, area);
            continue;
        }
        latest[kind] = long(out.size());
        out.push_back({s.to_ms, s.to_ms, kind, area});
    }
    return out;
}

} // namespace nivra::activity
