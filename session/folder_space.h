// FolderSpace: the free space on the drive an export folder is (or will
// be) on, as a property the export editor binds to. Measured again when the
// folder changes and whenever refresh() is called (after an export).
#pragma once

#include <QObject>
#include <QString>

namespace nivra {

class FolderSpace : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    // Free bytes there; -1 when unknown.
    Q_PROPERTY(qint64 bytes READ bytes NOTIFY bytesChanged)

public:
    explicit FolderSpace(QObject *parent = nullptr);

    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    qint64 bytes() const { return m_bytes; }

    Q_INVOKABLE void refresh();

signals:
    void folderChanged();
    void bytesChanged();

private:
    QString m_folder;
    qint64 m_bytes = -1;
};

// Free bytes on the drive of dir, measured at its nearest existing parent
// (the folder is made only when an export starts); -1 when unknown.
qint64 freeBytesAt(const QString &dir);

} // namespace nivra
