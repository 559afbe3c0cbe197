// The sound thread: the one place where the sound back end is called. Qt's
// audio sinks wait on the sound server inside open, start, suspend and stop
// (PulseAudio's back end forever when a stream fails while it connects), so
// none of that may run on the GUI thread. The GUI side says what it wants
// (open for a serial, suspended, volume) and queues bytes; this thread brings
// the device in line, pumps the bytes and publishes what the device has
// played. A thread stuck in the back end is abandoned, never joined.
#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>

class QAudioSink;
class QIODevice;
class QMediaDevices;
class QThread;
class QTimer;

namespace nivra {

// Shared between the GUI side and the sound thread, which may outlive it.
struct SoundShared
{
    std::mutex mutex;
    // A reconcile is queued on the sound thread and has not begun: a stuck
    // thread gets one, not one per write.
    std::atomic<bool> posted{false};
    // What the GUI side wants.
    quint64 wanted = 0; // the serial to be open for; 0: closed
    bool suspended = false;
    float volume = 1.0f;
    std::atomic<bool> quit{false};
    QByteArray pending; // bytes for the open sink of `wanted`
    // What the device is.
    quint64 openFor = 0;   // the serial its sink was started for
    quint64 failedFor = 0; // the serial whose open failed
    QString failure;       // why, in the back end's words
    QAudioFormat format;   // of openFor's sink
    bool deviceError = false;
    qlonglong playedFrames = 0; // by openFor's sink, when last read
    qint64 sampledNs = -1;      // steady time of that reading
    qint64 busySinceNs = -1;    // steady time a back-end call began; -1 none
};

// Steady nanoseconds on the clock the shared times use.
qint64 soundSteadyNs();

// The sound back end's home: one thread for the whole process that touches
// the back end first, so that its own objects (the connection to the sound
// server and its reconnection timer) live on a thread that never waits in a
// sink and is never abandoned, and that watches the system's outputs.
class SoundWatcher : public QObject
{
    Q_OBJECT
public:
    // Starts the thread on first use.
    static SoundWatcher *instance();

    // Waits until the back end has been set up or *quit turns true (checked
    // every few ms); true when it is set up.
    bool waitReady(const std::atomic<bool> *quit);
    // The same, for at most ms milliseconds.
    bool waitReadyFor(int ms);

signals:
    // The back end reported a change of the audio outputs (also of one
    // sink's state, and the outputs listed again after a reconnection).
    void outputsChanged();

private:
    SoundWatcher() = default;
    Q_INVOKABLE void setUp();

    std::mutex m_mutex;
    bool m_ready = false;
    QMediaDevices *m_devices = nullptr;
};

// Lives on a sound thread of its own, one per output.
class SoundDevice : public QObject
{
    Q_OBJECT
public:
    explicit SoundDevice(std::shared_ptr<SoundShared> shared);
    ~SoundDevice() override;

    // Brings the device in line with what is wanted and pumps; queued by
    // the GUI side after each change.
    Q_INVOKABLE void reconcile();

private:
    // The back end gave the sink up (its server went away).
    bool sinkLost() const;
    void closeSink();
    void openSink(quint64 serial);
    void pump();

    std::shared_ptr<SoundShared> m_shared;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_push = nullptr;
    QTimer *m_timer = nullptr;
    quint64 m_openFor = 0;
    bool m_suspended = false;
    float m_volume = -1.0f;
};

// Starts a sound thread running a SoundDevice for shared; the thread ends
// itself once shared->quit is set and it is free. *device gets the device.
QThread *startSoundThread(const std::shared_ptr<SoundShared> &shared, SoundDevice **device);

} // namespace nivra
