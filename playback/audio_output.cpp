#include "playback/audio_output.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <cmath>
#include <cstring>
#include <utility>

namespace nivra {

namespace {

// Sound written ahead of what the device plays before the tick stops writing.
constexpr qlonglong kMaxQueuedMs = 399;
// Anchors that ended more than this before the playing position are dropped.
constexpr qlonglong kAnchorKeepMs = 1000;
constexpr qint32 kDeviceBufferUs = 200000;

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
{}

AudioOutput::~AudioOutput()
{
    close();
}

bool AudioOutput::open()
{
    close();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format = device.preferredFormat();
    if (format.sampleRate() < 1)
        format.setSampleRate(48000);
    if (format.channelCount() < 1) {
        format.setChannelCount(2);
        format.setChannelConfig(QAudioFormat::ChannelConfigUnknown);
    }
    format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(format))
        format.setSampleFormat(QAudioFormat::Int16);
    m_format = format;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(format.bytesForDuration(kDeviceBufferUs));
    m_sink->setVolume(m_volume);
    m_push = m_sink->start();
    protectExitFromSoundTeardown();
    if (!m_push) {
        m_sink.reset();
        return false;
    }
    m_resampler = Resampler();
    m_resampler.outputRate = format.sampleRate();
    m_resampler.outputChannels = short(format.channelCount());
    return true;
}

void AudioOutput::close()
{
    // Stopping and destroying a PulseAudio sink can run a nested event loop;
    // the output must already look closed to anything that runs inside it.
    auto sink = std::move(m_sink);
    m_push = nullptr;
    m_pending.clear();
    m_anchors.clear();
    m_writtenFrames = 0;
    if (sink)
        sink->stop();
    sink.reset();
}

void AudioOutput::setSuspended(bool suspended)
{
    if (!m_sink)
        return;
    if (suspended)
        m_sink->suspend();
    else
        m_sink->resume();
}

void AudioOutput::setVolume(float volume)
{
    m_volume = qBound(0.0f, volume, 1.0f);
    if (m_sink)
        m_sink->setVolume(m_volume);
}

qlonglong AudioOutput::playedFrames() const
{
    const qlonglong rate = m_format.sampleRate();
    const qlonglong frameBytes = m_format.bytesPerFrame();
    if (!m_sink || rate < 1 || frameBytes < 1)
        return 0;
    // Nearest frame: the sink's µs are themselves cut down from frames.
    const qlonglong processed = (m_sink->processedUSecs() * rate + 500000) / 1000000;
    const qlonglong buffered = qMax<qlonglong>(0, m_sink->bufferSize() - m_sink->bytesFree()) / frameBytes;
    return qMax<qlonglong>(0, processed - buffered);
}

bool AudioOutput::wantsData() const
{
    if (!m_push)
        return false;
    if (!m_sink)
        return true;
    const qlonglong rate = m_format.sampleRate();
    const qlonglong queuedMs =
        rate < 1 ? 0 : qMax<qlonglong>(0, (m_writtenFrames - playedFrames()) * 1000 / rate);
    return queuedMs <= kMaxQueuedMs;
}

void AudioOutput::write(const AudioChunk &chunk)
{
    if (!m_push || chunk.channels < 1 || chunk.sampleRate < 1 || chunk.samples.isEmpty())
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
    m_pending.append(bytes);
    pump();
}

void AudioOutput::pump()
{
    if (!m_push)
        return;
    const qlonglong played = playedFrames();
    const qlonglong keep = qlonglong(m_format.sampleRate()) * kAnchorKeepMs / 1000;
    while (m_anchors.size() > 1 && m_anchors.front().endFrame + keep < played)
        m_anchors.pop_front();
    if (m_pending.isEmpty())
        return;
    const qint64 accepted = m_push->write(m_pending);
    if (accepted > 0)
        m_pending.remove(0, qsizetype(accepted));
}

bool AudioOutput::failed() const
{
    if (!m_sink)
        return false;
    const QAudio::Error error = m_sink->error();
    return error != QAudio::NoError && error != QAudio::UnderrunError;
}

qlonglong AudioOutput::clock(bool *valid) const
{
    *valid = false;
    const qlonglong rate = m_format.sampleRate();
    if (!m_sink || m_anchors.empty() || rate < 1)
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
