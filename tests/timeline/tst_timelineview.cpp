// The strip's view maths and selection rules, from tables: the day's bounds
// (23, 24, 25 hours), zooming about an anchor, and what keys and drags make
// of the export selection at the day's edges.
#include "timeline/timeline_view.h"

#include <gtest/gtest.h>

namespace {

using nivra::Selection;
using nivra::TimelineView;

constexpr qint64 kDay = 1709596800000; // 2024-03-05 00:00 UTC
constexpr qint64 kHour = 3600000;

// A 24-hour day shown whole on a strip 864 px wide: 100 s a pixel.
TimelineView dayView()
{
    return {kDay, kDay + 24 * kHour, 0, kDay, 864.0};
}

TEST(TimelineView, DayLengthAndZoomAboutAnAnchor)
{
    struct Case
    {
        qint64 dayEnd;
        qint64 length;
    } lengths[] = {{kDay + 23 * kHour, 23 * kHour},
                   {kDay + 25 * kHour, 25 * kHour},
                   {kDay + 22 * kHour, 24 * kHour},
                   {0, 24 * kHour}};
    for (const Case &c : lengths) {
        TimelineView v = dayView();
        v.dayEnd = c.dayEnd;
        EXPECT_EQ(v.dayLength(), c.length) << c.dayEnd;
        EXPECT_EQ(v.dayLast(), kDay + c.length - 1);
    }

    // Zooming keeps the anchor's x, unless the view would leave the day.
    struct Zoom
    {
        int level;
        qint64 anchor;
        qint64 start;
    } zooms[] = {{2, kDay + 12 * kHour, kDay + 12 * kHour - kHour / 2},
                 {2, kDay - kHour, kDay},
                 {9, kDay + 24 * kHour - 1, kDay + 24 * kHour - 60000}};
    for (const Zoom &z : zooms) {
        TimelineView v = dayView();
        EXPECT_TRUE(v.zoomAt(z.level, z.anchor));
        EXPECT_EQ(v.start, z.start) << z.level << " " << z.anchor;
        EXPECT_FALSE(v.zoomAt(z.level, z.anchor));
    }
    TimelineView v = dayView();
    EXPECT_DOUBLE_EQ(v.xForTime(kDay + 12 * kHour), 432.0);
    EXPECT_EQ(v.timeAtX(432.0), kDay + 12 * kHour);
}

TEST(TimelineView, SelectionEditsStayInsideTheDay)
{
    const TimelineView v = dayView();
    const qint64 last = v.dayLast();
    const Selection morning{kDay + 8 * kHour, kDay + 9 * kHour};
    struct Case
    {
        const char *name;
        Selection result;
        Selection expected;
    } cases[] = {
        {"either order", nivra::selectionBetween(kDay + 9 * kHour, kDay + 8 * kHour, v), morning},
        {"clamped to the day", nivra::selectionBetween(kDay - kHour, kDay + kHour, v), {kDay, kDay + kHour}},
        {"under a second is none", nivra::selectionBetween(kDay + 5000, kDay + 5999, v), {}},
        {"the last second reaches the end", nivra::selectionBetween(kDay, last - 400, v), {kDay, last}},
        {"start nudged past the end",
         nivra::nudgedSelection(morning, nivra::SelectionStart, 2 * kHour, v),
         {kDay + 9 * kHour - 1000, kDay + 9 * kHour}},
        {"end nudged past the day",
         nivra::nudgedSelection(morning, nivra::SelectionEnd, 24 * kHour, v),
         {kDay + 8 * kHour, last}},
        {"whole nudged before the day keeps its length",
         nivra::nudgedSelection(morning, nivra::WholeSelection, -10 * kHour, v),
         {kDay, kDay + kHour}},
        {"start to the end",
         nivra::selectionToBoundary(morning, nivra::SelectionStart, true, v),
         {kDay + 9 * kHour - 1000, kDay + 9 * kHour}},
        {"whole to the end",
         nivra::selectionToBoundary(morning, nivra::WholeSelection, true, v),
         {last - kHour, last}},
        {"none stays none", nivra::nudgedSelection({}, nivra::WholeSelection, kHour, v), {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.result.start, c.expected.start) << c.name;
        EXPECT_EQ(c.result.end, c.expected.end) << c.name;
    }
}

TEST(TimelineView, GrabsAndDrags)
{
    TimelineView v = dayView();
    v.zoom = 2; // 1 h over 864 px
    v.start = kDay + 8 * kHour;
    const auto x = [&](qint64 t) { return v.xForTime(t); };
    const Selection wide{kDay + 8 * kHour + 600000, kDay + 8 * kHour + 1800000};
    const Selection narrow{kDay + 8 * kHour + 600000, kDay + 8 * kHour + 660000};
    struct Grab
    {
        Selection s;
        double x;
        nivra::DragMode mode;
    } grabs[] = {{wide, x(wide.start) + 10, nivra::StartHandleDrag},
                 {wide, x(wide.end) - 10, nivra::EndHandleDrag},
                 {wide, x(wide.start) + 40, nivra::NoDrag},
                 // A narrow one's handles lie outside it, its inside is the body.
                 {narrow, x(narrow.start) - 20, nivra::StartHandleDrag},
                 {narrow, x(narrow.start) + 5, nivra::NoDrag},
                 {narrow, x(narrow.end) + 20, nivra::EndHandleDrag},
                 {{}, 100, nivra::NoDrag}};
    for (const Grab &g : grabs)
        EXPECT_EQ(nivra::grabAt(g.x, g.s, v), g.mode) << g.x;
    EXPECT_TRUE(nivra::insideSelection(x(narrow.start) + 5, narrow, v));

    struct Drag
    {
        const char *name;
        nivra::DragMode mode;
        double x;
        nivra::DragStart from;
        Selection expected;
    } drags[] = {
        {"new, leftwards from the anchor",
         nivra::CreateDrag,
         x(kDay + 8 * kHour + 60400),
         {{}, kDay + 8 * kHour + 120000, 0},
         {kDay + 8 * kHour + 60000, kDay + 8 * kHour + 120000}},
        {"start handle past the end",
         nivra::StartHandleDrag,
         800,
         {wide, -1, 0},
         {wide.end - 1000, wide.end}},
        {"end handle before the start",
         nivra::EndHandleDrag,
         0,
         {wide, -1, 0},
         {wide.start, wide.start + 1000}},
        {"moved by whole seconds",
         nivra::MoveDrag,
         100.0,
         {wide, -1, 0.0},
         {wide.start + 417000, wide.end + 417000}},
    };
    for (const Drag &d : drags) {
        const Selection s = nivra::draggedSelection(d.mode, d.x, d.from, v);
        EXPECT_EQ(s.start, d.expected.start) << d.name;
        EXPECT_EQ(s.end, d.expected.end) << d.name;
    }
    // A move stops at the day's start with the length kept.
    v.start = kDay;
    const Selection early{kDay + 60000, kDay + 120000};
    EXPECT_EQ(nivra::draggedSelection(nivra::MoveDrag, 0, {early, -1, 500}, v),
              (Selection{kDay, kDay + 60000}));
}

} // namespace
