#include "playback/sound_thread.h"

#include "playback/audio_output.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace nivra {

namespace {

constexpr qint32 kDeviceBufferUs = 200000;
// How often the device is pumped and its played count read while a sink
// is open: the presentation tick's beat.
constexpr int kPumpMs = 4;

// Marks a call into the sound back end, for the GUI side's deadline.
class Busy
{
public:
    explicit Busy(SoundShared &shared) : m_shared(shared)
    {
        std::lock_guard<std::mutex> lock(m_shared.mutex);
        m_shared.busySinceNs = soundSteadyNs();
    }
    ~Busy()
    {
        std::lock_guard<std::mutex> lock(m_shared.mutex);
        m_shared.busySinceNs = -1;
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    SoundShared &m_shared;
};

} // namespace

qint64 soundSteadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SoundDevice::SoundDevice(std::shared_ptr<SoundShared> shared) : m_shared(std::move(shared))
{}

SoundDevice::~SoundDevice()
{
    closeSink();
}

void SoundDevice::reconcile()
{
    m_shared->posted.store(false);
    for (;;) {
        quint64 wanted = 0;
        bool suspended = false;
        bool quit = false;
        float volume = 1.0f;
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            wanted = m_shared->wanted;
            suspended = m_shared->suspended;
            volume = m_shared->volume;
            quit = m_shared->quit.load();
        }
        if (quit) {
            closeSink();
            thread()->quit();
            return;
        }
        if (wanted != m_openFor) {
            closeSink();
            if (wanted != 0)
                openSink(wanted);
            continue; // the wish may have changed while the back end worked
        }
        if (!m_sink)
            return;
        if (sinkLost()) {
            // The server went away and Qt has closed the stream itself:
            // resuming or suspending it now would act on a dead stream,
            // which Qt 6.4's PulseAudio back end aborts on.
            closeSink();
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->deviceError = true;
            return;
        }
        if (suspended != m_suspended) {
            Busy busy(*m_shared);
            m_suspended = suspended;
            if (suspended)
                m_sink->suspend();
            else
                m_sink->resume();
            continue;
        }
        if (volume != m_volume) {
            m_volume = volume;
            m_sink->setVolume(volume);
        }
        pump();
        return;
    }
}

bool SoundDevice::sinkLost() const
{
    // Plain getters: they do not call into the sound server.
    return m_sink->error() == QAudio::FatalError || m_sink->state() == QAudio::StoppedState;
}

void SoundDevice::closeSink()
{
    if (m_timer)
        m_timer->stop();
    const quint64 was = m_openFor;
    m_openFor = 0;
    m_push = nullptr;
    if (m_sink) {
        Busy busy(*m_shared);
        m_sink->stop();
        m_sink.reset();
    }
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    if (was != 0 && m_shared->openFor == was)
        m_shared->openFor = 0;
}

void SoundDevice::openSink(quint64 serial)
{
    m_openFor = serial;
    m_suspended = false;
    QString failure;
    QAudioFormat format;
    {
        Busy busy(*m_shared);
        // The back end is set up on the watcher's thread, not on this one,
        // which may be abandoned.
        const bool ready = SoundWatcher::instance()->waitReady(&m_shared->quit);
        const QAudioDevice device = ready ? QMediaDevices::defaultAudioOutput() : QAudioDevice();
        if (device.isNull()) {
            failure = QStringLiteral("no audio output device");
        } else {
            format = device.preferredFormat();
            if (format.sampleRate() < 1)
                format.setSampleRate(48000);
            if (format.channelCount() < 1) {
                format.setChannelCount(2);
                format.setChannelConfig(QAudioFormat::ChannelConfigUnknown);
            }
            format.setSampleFormat(QAudioFormat::Float);
            if (!device.isFormatSupported(format))
                format.setSampleFormat(QAudioFormat::Int16);
            float volume = 1.0f;
            {
                std::lock_guard<std::mutex> lock(m_shared->mutex);
                volume = m_shared->volume;
            }
            m_sink = std::make_unique<QAudioSink>(device, format);
            m_sink->setBufferSize(format.bytesForDuration(kDeviceBufferUs));
            m_sink->setVolume(volume);
            m_volume = volume;
            m_push = m_sink->start();
            if (!m_push || m_sink->error() == QAudio::OpenError || m_sink->error() == QAudio::FatalError) {
                failure = QStringLiteral("the sound device refused the stream (error %1)")
                              .arg(int(m_sink->error()));
                m_push = nullptr;
                m_sink->stop();
                m_sink.reset();
            }
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_sink) {
            m_shared->openFor = serial;
            m_shared->format = format;
            m_shared->playedFrames = 0;
            m_shared->sampledNs = soundSteadyNs();
            m_shared->deviceError = false;
        } else {
            m_shared->failedFor = serial;
            m_shared->failure = failure;
        }
    }
    if (!m_sink)
        return;
    static std::once_flag started;
    std::call_once(started, protectExitFromSoundTeardown);
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setInterval(kPumpMs);
        connect(m_timer, &QTimer::timeout, this, &SoundDevice::reconcile);
    }
    m_timer->start();
}

void SoundDevice::pump()
{
    if (!m_push)
        return;
    const QAudioFormat format = m_sink->format();
    const qlonglong frameBytes = format.bytesPerFrame();
    const qlonglong rate = format.sampleRate();
    if (frameBytes < 1 || rate < 1)
        return;
    QByteArray bytes;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->wanted == m_openFor && !m_shared->pending.isEmpty()) {
            const qsizetype room = qsizetype(m_sink->bytesFree() / frameBytes * frameBytes);
            bytes = m_shared->pending.left(room);
            m_shared->pending.remove(0, bytes.size());
        }
    }
    if (!bytes.isEmpty()) {
        const qint64 accepted = m_push->write(bytes);
        if (accepted < bytes.size()) {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            if (m_shared->wanted == m_openFor)
                m_shared->pending.prepend(bytes.mid(qsizetype(qMax<qint64>(accepted, 0))));
        }
    }
    // Nearest frame: the sink's µs are themselves cut down from frames.
    const qlonglong processed = (m_sink->processedUSecs() * rate + 500000) / 1000000;
    const qlonglong buffered = qMax<qlonglong>(0, m_sink->bufferSize() - m_sink->bytesFree()) / frameBytes;
    const QAudio::Error error = m_sink->error();
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    if (m_shared->openFor != m_openFor)
        return;
    // Never back: the two readings are not taken at once, and after an
    // underrun the server may ask for less than the buffer's room for a
    // moment, which would read as frames taken back; the sound clock that
    // paces the pictures must not run backwards.
    m_shared->playedFrames = qMax(m_shared->playedFrames, qMax<qlonglong>(0, processed - buffered));
    m_shared->sampledNs = soundSteadyNs();
    m_shared->deviceError = error != QAudio::NoError && error != QAudio::UnderrunError;
}

SoundWatcher *SoundWatcher::instance()
{
    static SoundWatcher *watcher = [] {
        // Never ended: the back end's objects live on this thread until the
        // process exits.
        auto *thread = new QThread;
        thread->setObjectName(QStringLiteral("nivra-sound-watch"));
        auto *made = new SoundWatcher;
        made->moveToThread(thread);
        thread->start();
        QMetaObject::invokeMethod(made, "setUp", Qt::QueuedConnection);
        // The back end's own teardown at exit runs on the main thread and
        // aborts when the set-up is still talking to the server: let it end
        // first, unless the server does not answer.
        qAddPostRoutine([] { SoundWatcher::instance()->waitReadyFor(2000); });
        return made;
    }();
    return watcher;
}

void SoundWatcher::setUp()
{
    // The first use of the back end connects to the sound server, and may
    // wait for it.
    m_devices = new QMediaDevices(this);
    // The sinks' own connection to the server is made when the first sink
    // starts, and reconnects from the thread that made it: made here, by a
    // sink that starts and stops at once, it lives on a thread that is
    // never abandoned. (Should that start never return, no sound thread
    // gets the back end, and the sound stays unavailable: nothing waits.)
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isNull()) {
        QAudioSink first(device, device.preferredFormat());
        first.start();
        first.stop();
    }
    // Also when the server comes back after a restart: the back end then
    // lists the same outputs again.
    connect(m_devices, &QMediaDevices::audioOutputsChanged, this, &SoundWatcher::outputsChanged);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ready = true;
}

bool SoundWatcher::waitReadyFor(int ms)
{
    const qint64 deadline = soundSteadyNs() + qint64(ms) * 1000000;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_ready)
                return true;
        }
        if (soundSteadyNs() >= deadline)
            return false;
        QThread::msleep(5);
    }
}

bool SoundWatcher::waitReady(const std::atomic<bool> *quit)
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_ready)
                return true;
        }
        if (quit->load())
            return false;
        QThread::msleep(5);
    }
}

QThread *startSoundThread(const std::shared_ptr<SoundShared> &shared, SoundDevice **device)
{
    auto *thread = new QThread;
    thread->setObjectName(QStringLiteral("nivra-sound"));
    auto *made = new SoundDevice(shared);
    made->moveToThread(thread);
    // The device goes with its thread, on that thread.
    QObject::connect(thread, &QThread::finished, made, &QObject::deleteLater);
    thread->start();
    *device = made;
    return thread;
}

} // namespace nivra
