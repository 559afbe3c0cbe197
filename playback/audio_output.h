// Plays decoded sound on the default output device and tells which media
// time the device is playing. GUI thread only.
#pragma once

#include "playback/decoder.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <deque>
#include <memory>
#include <vector>

class QAudioSink;
class QIODevice;

namespace nivra {

// Linear-interpolation resampler state, carried from chunk to chunk.
struct Resampler
{
    int inputRate = 0; // 0 = not set up
    int inputChannels = 0;
    int outputRate = 0;
    short outputChannels = 0;
    double step = 1.0;     // input rate / output rate
    double position = 0.0; // fractional input frame index for the next chunk
    std::vector<float> lastFrame;
    bool hasLastFrame = false;
};

// Sets the resampler up for a new input: position 0, no last frame.
void setUpResampler(Resampler *state, int inputRate, int inputChannels, int outputRate, int outputChannels);

// Resamples frames interleaved input frames of state->inputChannels into
// state->outputChannels, appending to *out: mono output takes the mean of the
// input channels, mono input goes to every output channel, otherwise output
// channel c takes input channel min(c, n - 1).
void resample(Resampler *state, const float *input, int frames, std::vector<float> *out);

// Called once a sink has started: keeps the sound back end's own teardown
// out of the process exit where it can crash (audio_output_linux.cpp; a
// no-op elsewhere).
void protectExitFromSoundTeardown();

class AudioOutput : public QObject
{
    Q_OBJECT
public:
    explicit AudioOutput(QObject *parent = nullptr);
    ~AudioOutput() override;

    // Opens the default output device; true when sound can be written.
    bool open();
    // Stops and deletes the sink and forgets everything written.
    void close();
    void setSuspended(bool suspended);
    // Clamps to 0..1; applied now and at every open.
    void setVolume(float volume);
    // Whether the presentation tick should write more sound.
    bool wantsData() const;
    // Converts a chunk to the device format, queues it and pumps.
    void write(const AudioChunk &chunk);
    // Drops old anchors and hands pending bytes to the device.
    void pump();
    // The media time being played, in ms; *valid says whether there is one.
    qlonglong clock(bool *valid) const;
    // Output frames the device has played since open; 0 without a sink.
    qlonglong playedFrames() const;
    // True when the device reported a failure (lost, or the stream refused);
    // running out of sound is none.
    bool failed() const;

    // The format the sink was opened with.
    QAudioFormat format() const { return m_format; }

private:
    // Where a written chunk lies in the output stream, in output frames:
    // summing rounded chunk durations drifts from the sound (whole µs per
    // 1024-frame chunk at 48 kHz: about 57 ms an hour).
    struct Anchor
    {
        qlonglong startFrame = 0;
        qlonglong endFrame = 0;
        qlonglong timeMs = 0;
    };

    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_push = nullptr;
    QAudioFormat m_format;
    Resampler m_resampler;
    QByteArray m_pending;
    std::deque<Anchor> m_anchors;
    qlonglong m_writtenFrames = 0;
    float m_volume = 1.0f;
};

} // namespace nivra
