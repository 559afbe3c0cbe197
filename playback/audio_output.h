// The sound output: the resampler to the device's format and AudioOutput,
// which plays decoded sound through the sound thread (sound_thread.h).
#pragma once

#include "decode/decoder.h"
#include "playback/sound_output.h"
#include "playback/sound_thread.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <deque>
#include <memory>
#include <vector>

class QThread;

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

// Keeps the sound back end's own teardown out of the process exit, where it
// can crash: each call registers an exit handler that ends the process before
// the ones registered earlier run. Called once the first sink has started and
// by main as it returns (audio_output_linux.cpp; a no-op elsewhere).
void protectExitFromSoundTeardown();

// Plays decoded sound on the default output device and tells which media
// time the device is playing. Used from the GUI thread, it never waits for
// the sound back end: that runs on a sound thread of its own, which opens
// the device in the background and is given up on past a deadline.
class AudioOutput : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    // How long an open may take before the output counts as not available.
    static constexpr qint64 kOpenDeadlineMs = 1000;

    explicit AudioOutput(QObject *parent = nullptr);
    ~AudioOutput() override;

    // Asks for the default output device, closing any open one; at once.
    void open() override;
    // Closes the device and forgets everything written; at once.
    void close() override;
    void setSuspended(bool suspended) override;
    // Clamps to 0..1; applied now and at every open.
    void setVolume(float volume) override;
    // Where the open stands; reading it takes up the sound thread's answer.
    State state() override;
    // Why the last open failed, in the back end's or the deadline's words.
    QString failureText() const override;
    // Whether the presentation tick should write more sound.
    bool wantsData() const override;
    // Converts a chunk to the device format and queues it for the device.
    void write(const AudioChunk &chunk) override;
    // Drops old anchors and has the queued bytes handed to the device.
    void pump() override;
    // The media time being played, in ms; *valid says whether there is one.
    qlonglong clock(bool *valid) const override;
    // Output frames the device has played since open; 0 without a sink.
    qlonglong playedFrames() const;
    // True when the device reported a failure (lost, or the stream refused);
    // running out of sound is none.
    bool failed() const override;

    // The format the sink was opened with (once open).
    QAudioFormat format() const { return m_format; }

signals:
    // The system's audio outputs changed (one plugged in, the default moved).
    void outputsChanged();

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
    // Queues a reconcile on the sound thread unless one is waiting.
    void post();
    void startThread();
    // Asks the sound thread to end and joins it, or leaves it to end by
    // itself when it is stuck in the back end.
    void endThread();
    void forget();

    std::shared_ptr<SoundShared> m_shared;
    QThread *m_thread = nullptr;
    SoundDevice *m_device = nullptr;
    quint64 m_serial = 0;  // of the open asked for last; 0 closed
    quint64 m_serials = 0; // the last serial handed out
    qint64 m_openedNs = 0; // when it was asked for
    bool m_stuck = false;  // the sound thread was already past its deadline
    State m_state = State::Closed;
    QString m_failure;
    bool m_suspended = false;
    QAudioFormat m_format;
    Resampler m_resampler;
    std::deque<Anchor> m_anchors;
    qlonglong m_writtenFrames = 0;
    float m_volume = 1.0f;
};

} // namespace nivra
