#include "playback/snapshot.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace nivra {

QString defaultSnapshotFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/NIVRA Player");
}

QString saveSnapshotFile(const QImage &image, qlonglong shownUtcMs, int offsetSeconds, const QString &folder)
{
    if (image.isNull() || folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QDateTime local =
        QDateTime::fromMSecsSinceEpoch(shownUtcMs, Qt::UTC).toOffsetFromUtc(offsetSeconds);
    const QString base =
        folder + QStringLiteral("/NIVRA_") + local.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    QString path = base + QStringLiteral(".png");
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("_%1.png").arg(n);
    if (!image.save(path, "PNG"))
        return QString();
    return QDir::toNativeSeparators(path);
}

} // namespace nivra
