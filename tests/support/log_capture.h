// Collects the info and warning lines a test provokes, in order, so tests can
// compare the exact log texts.
#pragma once

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

namespace nivra::test {

class LogCapture
{
public:
    LogCapture()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }

    // The captured lines of one type, oldest first.
    QStringList lines(QtMsgType type = QtInfoMsg) const
    {
        QMutexLocker locker(&s_mutex);
        QStringList out;
        for (const auto &line : s_lines) {
            if (line.first == type)
                out << line.second;
        }
        return out;
    }
    // Lines of one type that start with prefix.
    QStringList linesStartingWith(const QString &prefix, QtMsgType type = QtInfoMsg) const
    {
        QStringList out;
        for (const QString &line : lines(type)) {
            if (line.startsWith(prefix))
                out << line;
        }
        return out;
    }
    void clear()
    {
        QMutexLocker locker(&s_mutex);
        s_lines.clear();
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        QMutexLocker locker(&s_mutex);
        s_lines.append({type, text});
    }

    inline static QMutex s_mutex;
    inline static QList<QPair<QtMsgType, QString>> s_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace nivra::test
