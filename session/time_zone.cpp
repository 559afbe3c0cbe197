#include "session/time_zone.h"

#include <QDateTime>

namespace nivra {

QTimeZone systemTimeZone()
{
    return QTimeZone::systemTimeZone();
}

int systemOffsetSeconds(qint64 utcMs)
{
    return systemTimeZone().offsetFromUtc(QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC));
}

} // namespace nivra
