// A video sink that records which simulator picture it was given and when,
// and a catcher for the engine's trace lines.
#pragma once

#include "stamp.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <QVideoFrame>
#include <QVideoSink>

namespace nivra::test {

// UTC milliseconds of an ISO date-time such as "2024-03-05T10:00:05.500Z".
inline qlonglong utcMs(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

// The stamp of a picture, -1 when it carries none.
inline qlonglong stampOf(QVideoFrame frame)
{
    if (!frame.isValid() || !frame.map(QVideoFrame::ReadOnly))
        return -1;
    int64_t value = -1;
    const bool ok = readStamp(frame.bits(0), frame.bytesPerLine(0), frame.width(), frame.height(), &value);
    frame.unmap();
    return ok ? qlonglong(value) : -1;
}

struct ShownPicture
{
    qlonglong stamp = -1;
    qint64 wallMs = 0; // since the probe was made
};

class SinkProbe : public QObject
{
public:
    SinkProbe()
    {
        m_wall.start();
        QObject::connect(&sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            shown.append({stampOf(frame), m_wall.elapsed()});
            // Slows the consumer on purpose: the GUI thread is blocked like a
            // machine that cannot keep up.
            if (delayMs > 0)
                QThread::msleep(delayMs);
        });
    }
    qlonglong lastStamp() const { return shown.isEmpty() ? -1 : shown.last().stamp; }
    qint64 wallMs() const { return m_wall.elapsed(); }

    QVideoSink sink;
    QList<ShownPicture> shown;
    int delayMs = 0;

private:
    QElapsedTimer m_wall;
};

// Collects the debug lines that start with "TRACE ".
class TraceCatcher
{
public:
    TraceCatcher()
    {
        {
            QMutexLocker locker(&s_mutex);
            s_lines.clear();
        }
        s_previous = qInstallMessageHandler(&TraceCatcher::handle);
    }
    ~TraceCatcher() { qInstallMessageHandler(s_previous); }
    QStringList lines() const
    {
        QMutexLocker locker(&s_mutex);
        return s_lines;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type != QtDebugMsg || !text.startsWith(QLatin1String("TRACE "))) {
            if (s_previous)
                s_previous(type, context, text);
            return;
        }
        QMutexLocker locker(&s_mutex);
        s_lines << text;
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
};

} // namespace nivra::test
