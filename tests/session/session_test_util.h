// Small helpers shared by the session and export job tests.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QVariantMap>

namespace sessiontest {

// Returns the UTC ms of an ISO 8601 UTC time ("2024-03-05T10:00:00Z").
inline qint64 utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

// Copies the files of a recording directory into dest (created). Returns false on failure.
inline bool copyCard(const QString &from, const QString &dest)
{
    if (!QDir().mkpath(dest))
        return false;
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), dest + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

inline qlonglong ms(const QVariantMap &map, const char *key)
{
    return map.value(QLatin1String(key)).toLongLong();
}

} // namespace sessiontest
