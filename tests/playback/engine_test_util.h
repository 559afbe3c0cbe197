// A video sink that records which simulator picture it was given and when,
// and a catcher for the engine's trace lines.
#pragma once

#include "playback/time_source.h"
#include "stamp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <QVideoFrame>
#include <QVideoSink>

#include <functional>

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
            if (onShown)
                onShown();
        });
    }
    qlonglong lastStamp() const { return shown.isEmpty() ? -1 : shown.last().stamp; }
    QList<qlonglong> stamps() const
    {
        QList<qlonglong> out;
        for (const ShownPicture &picture : shown)
            out << picture.stamp;
        return out;
    }

    QVideoSink sink;
    QList<ShownPicture> shown;
    // Runs on every picture shown, inside the engine's call-out.
    std::function<void()> onShown;

private:
    QElapsedTimer m_wall;
};

// The engine's time, moved on only by the test. It still beats every 4 ms of
// real time, so that work that waits for no time (landing a seek, a step)
// goes on by itself; pictures are due only as the test moves the time.
class ManualTime : public nivra::TimeSource
{
public:
    qint64 nowNs() const override { return m_ns; }
    // Moves the time on and beats at once.
    void advance(qint64 ms)
    {
        pass(ms);
        if (isBeating())
            emit beat();
    }
    // Moves the time on without a beat (from inside the engine's call-outs).
    void pass(qint64 ms) { m_ns += ms * 1000000; }

private:
    qint64 m_ns = 1000000000;
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

// Runs pactl; its output, or a null string when it cannot be run or fails.
inline QString pactl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QString();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}

// The number of this process's newest sound stream on the server (one an
// earlier output closed may linger), or an empty string.
inline QString ownSinkInput()
{
    const QString list = pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")});
    const QString pid =
        QStringLiteral("application.process.id = \"%1\"").arg(QCoreApplication::applicationPid());
    QString newest;
    for (const QString &block : list.split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts)) {
        const QString number = block.section(QLatin1Char('\n'), 0, 0).trimmed();
        if (block.contains(pid) && (newest.isEmpty() || number.toLongLong() > newest.toLongLong()))
            newest = number;
    }
    return newest;
}

} // namespace nivra::test
