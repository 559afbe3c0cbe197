// The one duration rule of every text: whole seconds, rounded; hours and
// minutes from an hour on ("1h5m", "1h"), minutes and seconds below it
// ("2 min 3 s", "2 min", "4 s"). The window reads it through TextRules.
#pragma once

#include <QString>

namespace nivra {

QString durationText(qint64 ms);

} // namespace nivra
