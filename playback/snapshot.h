// Snapshots: the shown picture saved as a PNG named by its time on the
// camera's clock, never overwriting one saved before.
#pragma once

#include <QImage>
#include <QString>

namespace nivra {

// The folder snapshots go to when none is given: "NIVRA Player" in the
// user's pictures.
QString defaultSnapshotFolder();

// Saves image into folder (made when missing) as NIVRA_yyyyMMdd_HHmmss_zzz.png
// of shownUtcMs at offsetSeconds, with _1, _2, ... when the name is taken.
// Returns the native path, or an empty string when nothing was saved.
QString saveSnapshotFile(const QImage &image, qlonglong shownUtcMs, int offsetSeconds, const QString &folder);

} // namespace nivra
