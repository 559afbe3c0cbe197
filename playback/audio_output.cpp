#include "playback/audio_output.h"

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <cmath>
#include <cstring>
#include <utility>

namespace nivra {

namespace {

// Sound written ahead of what the device plays before the tick stops writing.
constexpr qlonglong kMaxQueuedMs = 399;
// Anchors that ended more than this before the playing position are dropped.
constexpr qlonglong kAnchorKeepMs = 1000;
// How long a closing output waits for its sound thread to end.
constexpr qint64 kJoinMs = 250;
// Sound threads left waiting for the sound server, at most: past that an
// open fails at once.
constexpr int kMaxAbandoned = 4;
std::atomic<int> s_abandoned{0};

} // namespace

void setUpResampler(Resampler *state, int inputRate, int inputChannels, int outputRate, int outputChannels)
{
    state->inputRate = inputRate;
    state->inputChannels = inputChannels;
    state->outputRate = outputRate;
    state->outputChannels = short(outputChannels);
    state->step = outputRate > 0 ? double(inputRate) / double(outputRate) : 1.0;
    state->position = 0.0;
    state->lastFrame.assign(size_t(qMax(inputChannels, 1)), 0.0f);
    state->hasLastFrame = false;
}

void resample(Resampler *state, const float *input, int frames, std::vector<float> *out)
{
    const int n = state->inputChannels;
    const int m = state->outputChannels;
    if (frames < 1 || n < 1 || m < 1)
        return;
    if (int(state->lastFrame.size()) < n)
        state->lastFrame.resize(size_t(n), 0.0f);
    // Frame -1 is the previous chunk's last frame when one is kept.
    auto at = [&](long long frame, int channel) {
        if (frame < 0)
            return state->hasLastFrame ? state->lastFrame[size_t(channel)] : input[channel];
        return input[frame * n + channel];
    };
    double position = state->position;
    long long i = (long long)std::floor(position);
    while (i + 1 < frames) {
        const float frac = float(position - double(i));
        for (int c = 0; c < m; ++c) {
            float value;
            if (n == 1) {
                const float a = at(i, 0);
                value = a + (at(i + 1, 0) - a) * frac;
            } else if (m == 1) {
                float a = 0.0f;
                float b = 0.0f;
                for (int k = 0; k < n; ++k) {
                    a += at(i, k);
                    b += at(i + 1, k);
                }
                value = (a + (b - a) * frac) / float(n);
            } else {
                const int k = qMin(c, n - 1);
                const float a = at(i, k);
                value = a + (at(i + 1, k) - a) * frac;
            }
            out->push_back(value);
        }
        position += state->step;
        i = (long long)std::floor(position);
    }
    state->position = position - frames;
    std::memcpy(state->lastFrame.data(), input + qsizetype(frames - 1) * n, sizeof(float) * size_t(n));
    state->hasLastFrame = true;
}

AudioOutput::AudioOutput(QObject *parent) : QObject(parent)
{
    connect(SoundWatcher::instance(), &SoundWatcher::outputsChanged, this, &AudioOutput::outputsChanged);
    startThread();
}

AudioOutput::~AudioOutput()
{
    endThread();
}

void AudioOutput::startThread()
{
    m_shared = std::make_shared<SoundShared>();
    m_thread = startSoundThread(m_shared, &m_device);
}

void AudioOutput::endThread()
{
    bool stuck = false;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->quit = true;
        m_shared->wanted = 0;
        m_shared->pending.clear();
        stuck = m_shared->busySinceNs >= 0 && soundSteadyNs() - m_shared->busySinceNs > kJoinMs * 1000000;
    }
    // Ending the event loop, not a queued call: once quit is seen the thread
    // may end and delete the device at any moment.
    m_thread->quit();
    QThread *thread = m_thread;
    m_thread = nullptr;
    m_device = nullptr;
    // A thread stuck in the sound back end is left to end by itself: closing
    // a card or quitting must not wait for the sound server.
    if (!stuck && thread->wait(QDeadlineTimer(kJoinMs))) {
        delete thread;
        return;
    }
    qWarning("sound output: the sound thread is waiting for the sound server; left to end by itself");
    s_abandoned.fetch_add(1);
    connect(thread, &QThread::finished, thread, [thread] {
        s_abandoned.fetch_sub(1);
        thread->deleteLater();
    });
    if (thread->isFinished()) {
        s_abandoned.fetch_sub(1);
        thread->deleteLater();
    }
}

void AudioOutput::post()
{
    if (m_device && !m_shared->posted.exchange(true))
        QMetaObject::invokeMethod(m_device, "reconcile", Qt::QueuedConnection);
}

void AudioOutput::forget()
{
    m_anchors.clear();
    m_writtenFrames = 0;
    m_format = QAudioFormat();
    m_resampler = Resampler();
}

void AudioOutput::open()
{
    forget();
    m_serial = ++m_serials;
    m_openedNs = soundSteadyNs();
    m_state = State::Opening;
    m_failure.clear();
    m_suspended = false;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->wanted = m_serial;
        m_shared->suspended = false;
        m_shared->volume = m_volume;
        m_shared->pending.clear();
        // Still inside an earlier call past the deadline: that thread is
        // left to end by itself and a new one tries, while few are left.
        m_stuck =
            m_shared->busySinceNs >= 0 && m_openedNs - m_shared->busySinceNs > kOpenDeadlineMs * 1000000;
    }
    if (m_stuck && s_abandoned.load() < kMaxAbandoned) {
        endThread();
        startThread();
        m_stuck = false;
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->wanted = m_serial;
        m_shared->volume = m_volume;
    }
    post();
}

void AudioOutput::close()
{
    forget();
    m_serial = 0;
    m_state = State::Closed;
    m_suspended = false;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->wanted == 0 && m_shared->pending.isEmpty())
            return;
        m_shared->wanted = 0;
        m_shared->pending.clear();
    }
    post();
}

AudioOutput::State AudioOutput::state()
{
    if (m_state != State::Opening)
        return m_state;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->openFor == m_serial) {
            m_format = m_shared->format;
            m_state = State::Open;
        } else if (m_shared->failedFor == m_serial) {
            m_failure = m_shared->failure;
            m_state = State::Failed;
        }
    }
    if (m_state == State::Open) {
        m_resampler.outputRate = m_format.sampleRate();
        m_resampler.outputChannels = short(m_format.channelCount());
    } else if (m_state == State::Opening &&
               (m_stuck || soundSteadyNs() - m_openedNs > kOpenDeadlineMs * 1000000)) {
        m_failure = QStringLiteral("the sound server did not answer within %1 ms").arg(kOpenDeadlineMs);
        m_state = State::Failed;
        // The late answer, if one comes, closes the device again.
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->wanted == m_serial)
            m_shared->wanted = 0;
    }
    return m_state;
}

QString AudioOutput::failureText() const
{
    return m_failure;
}

void AudioOutput::setSuspended(bool suspended)
{
    if (m_serial == 0 || suspended == m_suspended)
        return;
    m_suspended = suspended;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->suspended = suspended;
    }
    post();
}

void AudioOutput::setVolume(float volume)
{
    volume = qBound(0.0f, volume, 1.0f);
    if (volume == m_volume)
        return;
    m_volume = volume;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->volume = volume;
    }
    post();
}

qlonglong AudioOutput::playedFrames() const
{
    if (m_state != State::Open)
        return 0;
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->openFor == m_serial ? m_shared->playedFrames : 0;
}

bool AudioOutput::wantsData() const
{
    if (m_state != State::Open)
        return false;
    const qlonglong rate = m_format.sampleRate();
    const qlonglong queuedMs =
        rate < 1 ? 0 : qMax<qlonglong>(0, (m_writtenFrames - playedFrames()) * 1000 / rate);
    return queuedMs <= kMaxQueuedMs;
}

void AudioOutput::write(const AudioChunk &chunk)
{
    if (m_state != State::Open || chunk.channels < 1 || chunk.sampleRate < 1 || chunk.samples.isEmpty())
        return;
    if (chunk.sampleRate != m_resampler.inputRate || chunk.channels != m_resampler.inputChannels)
        setUpResampler(&m_resampler, chunk.sampleRate, chunk.channels, m_format.sampleRate(),
                       m_format.channelCount());
    std::vector<float> converted;
    resample(&m_resampler, chunk.samples.constData(), int(chunk.samples.size() / chunk.channels), &converted);
    const int outputChannels = m_format.channelCount();
    if (converted.empty() || outputChannels < 1 || m_format.sampleRate() < 1)
        return;
    const qlonglong framesOut = qlonglong(converted.size()) / outputChannels;
    QByteArray bytes;
    if (m_format.sampleFormat() == QAudioFormat::Float) {
        bytes = QByteArray(reinterpret_cast<const char *>(converted.data()),
                           qsizetype(converted.size() * sizeof(float)));
    } else {
        bytes.resize(qsizetype(converted.size() * sizeof(int16_t)));
        auto *samples = reinterpret_cast<int16_t *>(bytes.data());
        for (size_t i = 0; i < converted.size(); ++i)
            samples[i] = int16_t(std::lround(qBound(-1.0f, converted[i], 1.0f) * 32767.0f));
    }
    m_anchors.push_back({m_writtenFrames, m_writtenFrames + framesOut, chunk.timeMs});
    m_writtenFrames += framesOut;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (m_shared->wanted != m_serial)
            return;
        m_shared->pending.append(bytes);
    }
    post();
}

void AudioOutput::pump()
{
    if (m_state != State::Open)
        return;
    const qlonglong played = playedFrames();
    const qlonglong keep = qlonglong(m_format.sampleRate()) * kAnchorKeepMs / 1000;
    while (m_anchors.size() > 1 && m_anchors.front().endFrame + keep < played)
        m_anchors.pop_front();
}

bool AudioOutput::failed() const
{
    if (m_state != State::Open)
        return false;
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->openFor != m_serial || m_shared->deviceError;
}

qlonglong AudioOutput::clock(bool *valid) const
{
    *valid = false;
    const qlonglong rate = m_format.sampleRate();
    if (m_state != State::Open || m_anchors.empty() || rate < 1)
        return 0;
    const qlonglong played = playedFrames();
    if (played <= 0 || played >= m_writtenFrames)
        return 0;
    for (auto it = m_anchors.rbegin(); it != m_anchors.rend(); ++it) {
        if (it->startFrame <= played) {
            *valid = true;
            return (played - it->startFrame) * 1000 / rate + it->timeMs;
        }
    }
    return 0;
}

} // namespace nivra
