#include "timeline/timeline_view.h"

#include "storage/civil_time.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nivra {

namespace {

constexpr qint64 kSpans[kZoomLevels] = {kDayMs, 21600000, 3600000, 600000, 60000};
constexpr double kHandlePx = 16.0;
constexpr double kOuterHandlePx = 32.0;

} // namespace

qint64 addSaturated(qint64 a, qint64 b)
{
    qint64 r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return r;
}

qint64 clampTo(qint64 v, qint64 lo, qint64 hi)
{
    return v > hi ? std::max(hi, lo) : std::max(v, lo);
}

qint64 roundToSecond(qint64 t)
{
    return std::llround(double(t) / 1000.0) * 1000;
}

int clampZoom(int zoom)
{
    return std::clamp(zoom, 0, kZoomLevels - 1);
}

qint64 spanOfZoom(int zoom)
{
    return kSpans[clampZoom(zoom)];
}

qint64 TimelineView::dayLength() const
{
    // A clock change makes a day an hour shorter or longer, never more.
    const qint64 length = dayEnd - dayStart;
    return length >= kDayMs - 3600000 && length <= kDayMs + 3600000 ? length : kDayMs;
}

qint64 TimelineView::dayLast() const
{
    return addSaturated(dayStart, dayLength() - 1);
}

qint64 TimelineView::span() const
{
    return zoom <= 0 ? dayLength() : spanOfZoom(zoom);
}

double TimelineView::xForTime(qint64 t) const
{
    return width * double(t - start) / double(span());
}

qint64 TimelineView::timeAtX(double x) const
{
    return start + std::llround(double(span()) * x / std::max(width, 1.0));
}

void TimelineView::clamp()
{
    start = clampTo(start, dayStart, addSaturated(dayStart, dayLength() - span()));
}

bool TimelineView::zoomAt(int level, qint64 anchor)
{
    level = clampZoom(level);
    if (level == clampZoom(zoom))
        return false;
    const qint64 oldSpan = span();
    const double fraction = oldSpan < 1 ? 0.5 : double(anchor - start) / double(oldSpan);
    zoom = level;
    start = anchor - qint64(std::trunc(double(span()) * fraction));
    clamp();
    return true;
}

qint64 promoteLastSecond(qint64 t, const TimelineView &view)
{
    if (view.dayStart > 0 && t >= addSaturated(view.dayLast(), -999) && t <= view.dayLast())
        return view.dayLast();
    return t;
}

Selection selectionBetween(qint64 from, qint64 to, const TimelineView &view)
{
    qint64 a = std::min(from, to);
    qint64 b = std::max(from, to);
    if (view.dayStart > 0) {
        a = promoteLastSecond(std::clamp<qint64>(a, view.dayStart, view.dayLast()), view);
        b = promoteLastSecond(std::clamp<qint64>(b, view.dayStart, view.dayLast()), view);
    }
    if (a < 0 || b - a < 1000)
        return {};
    return {a, b};
}

Selection nudgedSelection(Selection s, int part, qint64 delta, const TimelineView &view)
{
    if (!s.valid())
        return s;
    if (part == SelectionStart) {
        s.start = clampTo(addSaturated(s.start, delta), view.dayStart, s.end - 1000);
    } else if (part == SelectionEnd) {
        s.end = clampTo(addSaturated(s.end, delta), s.start + 1000, view.dayLast());
    } else {
        const qint64 d = clampTo(delta, view.dayStart - s.start, view.dayLast() - s.end);
        s.start += d;
        s.end += d;
    }
    return s;
}

Selection selectionToBoundary(Selection s, int part, bool endOfDay, const TimelineView &view)
{
    if (!s.valid())
        return s;
    if (part == SelectionStart)
        s.start = endOfDay ? s.end - 1000 : view.dayStart;
    else if (part == SelectionEnd)
        s.end = endOfDay ? view.dayLast() : s.start + 1000;
    else
        return nudgedSelection(s, WholeSelection, endOfDay ? view.dayLast() - s.end : view.dayStart - s.start,
                               view);
    return s;
}

DragMode grabAt(double x, Selection s, const TimelineView &view)
{
    if (s.start < 0)
        return NoDrag;
    const double xs = view.xForTime(s.start);
    const double xe = view.xForTime(s.end);
    if (s.start < s.end && xe - xs < kNarrowSelectionPx) {
        if (x >= xs - kOuterHandlePx && x <= xs)
            return StartHandleDrag;
        if (x >= xe && x <= xe + kOuterHandlePx)
            return EndHandleDrag;
        return NoDrag;
    }
    const double ds = std::abs(x - xs);
    const double de = std::abs(x - xe);
    if (ds <= kHandlePx && ds <= de)
        return StartHandleDrag;
    if (de <= kHandlePx)
        return EndHandleDrag;
    return NoDrag;
}

bool insideSelection(double x, Selection s, const TimelineView &view)
{
    return s.start >= 0 && x > view.xForTime(s.start) && x < view.xForTime(s.end);
}

Selection draggedSelection(DragMode mode, double x, const DragStart &from, const TimelineView &view)
{
    const qint64 t = clampTo(roundToSecond(view.timeAtX(std::clamp(x, 0.0, std::max(view.width, 0.0)))),
                             view.dayStart, view.dayLast());
    Selection s = from.pressed;
    switch (mode) {
    case CreateDrag:
        s = {std::min(t, from.anchor), std::max(t, from.anchor)};
        break;
    case StartHandleDrag:
        s.start = clampTo(t, view.dayStart, from.pressed.end - 1000);
        break;
    case EndHandleDrag:
        s.end = clampTo(t, from.pressed.start + 1000, view.dayLast());
        break;
    case MoveDrag: {
        const qint64 delta = clampTo(roundToSecond(view.timeAtX(x) - view.timeAtX(from.x)),
                                     view.dayStart - from.pressed.start, view.dayLast() - from.pressed.end);
        s.start += delta;
        s.end += delta;
        break;
    }
    case NoDrag:
        return s;
    }
    if (view.dayStart > 0) {
        s.start = promoteLastSecond(s.start, view);
        s.end = promoteLastSecond(s.end, view);
    }
    return s;
}

} // namespace nivra
