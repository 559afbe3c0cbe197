// The computer's time zone as the session and the export job use it.
#pragma once

#include <QTimeZone>
#include <QtGlobal>

namespace nivra {

// Returns the system time zone (Qt's view of TZ and the system settings).
QTimeZone systemTimeZone();

// Returns the system time zone's offset from UTC in seconds at utcMs.
// Safe to call from any thread.
int systemOffsetSeconds(qint64 utcMs);

} // namespace nivra
