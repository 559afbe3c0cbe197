// The day strip's view maths and selection rules: which stretch of which day
// the strip shows, how its times map to pixels, and what pointer and key
// edits make of the export selection. Plain values and functions, so that
// tables test them without a Quick item.
#pragma once

#include <QtGlobal>

namespace nivra {

// Returns a + b, saturated to the 64-bit range (QML can hand any value).
qint64 addSaturated(qint64 a, qint64 b);
// Clamps v to lo .. hi; lo wins when the bounds cross.
qint64 clampTo(qint64 v, qint64 lo, qint64 hi);
qint64 roundToSecond(qint64 t);

constexpr int kZoomLevels = 5;
// The finest two levels, which show key frames and the fine block colour.
constexpr qint64 kTickSpanLimit = 600000;
int clampZoom(int zoom);
// The span a zoom level shows; level 0 is a whole 24-hour day.
qint64 spanOfZoom(int zoom);

struct TimelineView
{
    qint64 dayStart = 0;
    // The next day's start as set; dayLength() judges it.
    qint64 dayEnd = 0;
    int zoom = 0;
    qint64 start = 0;
    double width = 0.0;

    // 23, 24 or 25 hours; anything else counts as 24.
    qint64 dayLength() const;
    qint64 dayLast() const;
    qint64 span() const;
    qint64 end() const { return start + span(); }
    bool shows(qint64 t) const { return t >= start && t <= end(); }
    double xForTime(qint64 t) const;
    qint64 timeAtX(double x) const;
    // Keeps the whole view inside the day.
    void clamp();
    // Zooms to level keeping anchor where it is on the strip; false when
    // the level is the one shown.
    bool zoomAt(int level, qint64 anchor);
};

// ---- The export selection ----------------------------------------------------

// A range of whole seconds inside the day, at least one second long; both
// -1 when there is none.
struct Selection
{
    qint64 start = -1;
    qint64 end = -1;

    bool valid() const { return start >= 0 && start < end; }
    bool operator==(const Selection &o) const { return start == o.start && end == o.end; }
    bool operator!=(const Selection &o) const { return !(*this == o); }
};

// Which part of the selection an edit moves (the keys' and QML's numbers).
enum SelectionPart
{
    WholeSelection = 0,
    SelectionStart = 1,
    SelectionEnd = 2
};

// Below this width a selection's handles sit outside it, so that its body
// stays grabbable.
constexpr double kNarrowSelectionPx = 70.0;

enum DragMode
{
    NoDrag,
    CreateDrag,
    StartHandleDrag,
    EndHandleDrag,
    MoveDrag
};

// A time in the day's last second counts as its very end, so that a range
// can reach the last recorded second.
qint64 promoteLastSecond(qint64 t, const TimelineView &view);
// from .. to in either order, inside the day; none when under a second.
Selection selectionBetween(qint64 from, qint64 to, const TimelineView &view);
// The selection moved by delta (one part or the whole), before
// selectionBetween judges it; unchanged when there is none.
Selection nudgedSelection(Selection s, int part, qint64 delta, const TimelineView &view);
// One part moved to the day's start or end (the whole keeps its length).
Selection selectionToBoundary(Selection s, int part, bool endOfDay, const TimelineView &view);

// What a press at x grabs: a handle (a narrow selection gets its handles
// outside it), the body, or nothing.
DragMode grabAt(double x, Selection s, const TimelineView &view);
bool insideSelection(double x, Selection s, const TimelineView &view);

// Where a drag started.
struct DragStart
{
    Selection pressed;
    qint64 anchor = -1; // the press's time, for a new selection
    double x = 0.0;
};
// The selection a drag to x makes, in whole seconds inside the day.
Selection draggedSelection(DragMode mode, double x, const DragStart &from, const TimelineView &view);

} // namespace nivra
