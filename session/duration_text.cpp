#include "session/duration_text.h"

#include <QCoreApplication>

namespace nivra {

QString durationText(qint64 ms)
{
    qint64 s = (qMax<qint64>(0, ms) + 500) / 1000;
    const qint64 h = s / 3600, m = s % 3600 / 60;
    s %= 60;
    if (h > 0)
        return m == 0 ? QCoreApplication::translate("Format", "%1h").arg(h)
                      : QCoreApplication::translate("Format", "%1h%2m").arg(h).arg(m);
    if (m > 0)
        return s == 0 ? QCoreApplication::translate("Format", "%1 min").arg(m)
                      : QCoreApplication::translate("Format", "%1 min %2 s").arg(m).arg(s);
    return QCoreApplication::translate("Format", "%1 s").arg(s);
}

} // namespace nivra
