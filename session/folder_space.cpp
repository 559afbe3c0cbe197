#include "session/folder_space.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace nivra {

qint64 freeBytesAt(const QString &dir)
{
    if (dir.isEmpty())
        return -1;
    QString path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return -1;
    return storage.bytesAvailable();
}

FolderSpace::FolderSpace(QObject *parent) : QObject(parent)
{}

void FolderSpace::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    emit folderChanged();
    refresh();
}

void FolderSpace::refresh()
{
    const qint64 bytes = freeBytesAt(m_folder);
    if (bytes == m_bytes)
        return;
    m_bytes = bytes;
    emit bytesChanged();
}

} // namespace nivra
