#include "timeline/timeline_axis.h"

#include "storage/civil_time.h"

#include <QLocale>
#include <QTime>

#include <iterator>

namespace nivra {

namespace {

constexpr qint64 kHourMs = 3600000;

// Label steps from fine to coarse; the first that leaves 70 px between
// labels wins.
constexpr qint64 kLabelSteps[] = {1000,   5000,   10000,   15000,   30000,   60000,    120000,  300000,
                                  600000, 900000, 1800000, 3600000, 7200000, 10800000, 21600000};

} // namespace

bool localeUsesTwelveHourClock()
{
    static const bool twelve =
        QLocale::system().timeFormat(QLocale::ShortFormat).contains(QLatin1String("ap"), Qt::CaseInsensitive);
    return twelve;
}

TimelineAxis timelineAxis(qint64 dayStart, qint64 viewStart, qint64 span, double width, bool twelveHour,
                          const ClockOfDay &clockOfDay)
{
    TimelineAxis axis;
    axis.labelStep = kLabelSteps[std::size(kLabelSteps) - 1];
    for (qint64 step : kLabelSteps) {
        if (double(step) * width / double(span) >= 70.0) {
            axis.labelStep = step;
            break;
        }
    }
    const qint64 step = axis.labelStep;
    axis.minorStep = (step >= 5000 && step % 5000 == 0) ? step / 5 : step / 2;
    axis.hourLabels = step >= kHourMs && step % kHourMs == 0;

    const QLocale locale = QLocale::system();
    const QString pattern = step >= 60000
                                ? (twelveHour ? QStringLiteral("h:mm AP") : QStringLiteral("HH:mm"))
                                : (twelveHour ? QStringLiteral("h:mm:ss AP") : QStringLiteral("HH:mm:ss"));
    const qint64 viewEnd = viewStart + span;
    const qint64 first = dayStart + floorDivide(viewStart - dayStart, step) * step;
    for (qint64 t = first; t <= viewEnd; t += step) {
        const double x = width * double(t - viewStart) / double(span);
        if (x < 0.0 || x > width)
            continue;
        AxisLabel label;
        label.t = t;
        const qint64 sinceStart = t - dayStart;
        const qint64 ofDay =
            clockOfDay ? clockOfDay(t) : sinceStart - floorDivide(sinceStart, kDayMs) * kDayMs;
        // The day's last tick reads 24 rather than the next day's 00 (a day
        // with a clock change lasts 23 or 25 hours).
        const bool dayEnd = sinceStart >= kDayMs - kHourMs && ofDay == 0;
        if (axis.hourLabels && !twelveHour && ofDay % kHourMs == 0) {
            label.text = QStringLiteral("%1").arg(dayEnd ? 24 : ofDay / kHourMs, 2, 10, QLatin1Char('0'));
        } else {
            label.text = locale.toString(QTime::fromMSecsSinceStartOfDay(int(ofDay)), pattern);
        }
        axis.labels.append(label);
    }
    return axis;
}

} // namespace nivra
