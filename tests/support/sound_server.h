// The PulseAudio server of this test, started by nivra-with-sound: its
// process, for tests that stop it (SIGSTOP) to see who waits for it.
#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QtGlobal>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

namespace nivra::test {

// 0 when the test runs without a server of its own.
inline pid_t testSoundServer()
{
    return pid_t(qEnvironmentVariableIntValue("NIVRA_TEST_PULSE_PID"));
}

// Stops the server until the guard goes, and wakes it then.
class StoppedSoundServer
{
public:
    explicit StoppedSoundServer(pid_t server) : m_server(server) { m_stopped = kill(server, SIGSTOP) == 0; }
    ~StoppedSoundServer() { resume(); }
    StoppedSoundServer(const StoppedSoundServer &) = delete;
    StoppedSoundServer &operator=(const StoppedSoundServer &) = delete;
    bool stopped() const { return m_stopped; }
    void resume()
    {
        if (m_stopped)
            kill(m_server, SIGCONT);
        m_stopped = false;
    }

private:
    pid_t m_server;
    bool m_stopped = false;
};

// Whether a server answers on the unix socket at path.
inline bool soundSocketAnswers(const QByteArray &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const bool ok =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Kills the test's server and starts the same one again on its socket, as a
// sound server restarts; the new server runs as *replacement (ended with it,
// or with this test). False when it could not.
inline bool restartTestSoundServer(QProcess *replacement)
{
    const pid_t old = testSoundServer();
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(old));
    if (old <= 0 || !cmdline.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> words = cmdline.readAll().split('\0');
    while (!words.isEmpty() && words.last().isEmpty())
        words.removeLast();
    QByteArray socketPath;
    for (const QByteArray &word : words) {
        const int at = word.indexOf("socket=");
        if (at >= 0)
            socketPath = word.mid(at + 7).split(' ').value(0);
    }
    if (words.isEmpty() || socketPath.isEmpty() || kill(old, SIGKILL) != 0)
        return false;
    QDeadlineTimer gone(5000);
    while (soundSocketAnswers(socketPath) && !gone.hasExpired())
        QThread::msleep(10);
    QStringList arguments;
    for (int i = 1; i < words.size(); ++i)
        arguments << QString::fromLocal8Bit(words[i]);
    const QString dir = QFileInfo(QString::fromLocal8Bit(socketPath)).path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        env.insert(QString::fromLatin1(name), dir);
    env.remove(QStringLiteral("PULSE_SERVER"));
    replacement->setProcessEnvironment(env);
    replacement->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    replacement->start(QString::fromLocal8Bit(words[0]), arguments);
    QDeadlineTimer up(10000);
    while (!soundSocketAnswers(socketPath) && !up.hasExpired())
        QThread::msleep(10);
    return soundSocketAnswers(socketPath);
}

} // namespace nivra::test
