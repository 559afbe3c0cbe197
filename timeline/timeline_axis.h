// The time axis of the timeline: label and tick steps for a view, and the
// label texts in the system locale's clock.
#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <functional>

namespace nivra {

struct AxisLabel
{
    qint64 t = 0; // time of the label's tick
    QString text;
};

struct TimelineAxis
{
    qint64 labelStep = 0;    // ms between labels (and long ticks)
    qint64 minorStep = 0;    // ms between ticks
    bool hourLabels = false; // the step is a whole number of hours
    QVector<AxisLabel> labels;
};

// Returns true when the system locale's short time format shows an AM/PM
// marker (any letter case). Read once per process, like the locale itself.
bool localeUsesTwelveHourClock();

// The clock's time of day (0 .. 86399999 ms) at a UTC instant.
using ClockOfDay = std::function<qint64(qint64 utcMs)>;

// Returns the axis of the view viewStart .. viewStart + span drawn width
// pixels wide: steps, and every label from its dayStart-aligned tick up to
// the view end whose x lies in 0 .. width, with its text. Labels read
// clockOfDay at their tick (a day with a clock change skips or repeats an
// hour); without it, the time since dayStart.
TimelineAxis timelineAxis(qint64 dayStart, qint64 viewStart, qint64 span, double width, bool twelveHour,
                          const ClockOfDay &clockOfDay = {});

} // namespace nivra
