// The decoder interfaces of playback and the factories that make them.
//
// All decoder calls, the factories and the chain run on the decode worker's
// thread; only the decode policy is written from elsewhere (an atomic).
#pragma once

#include <QList>
#include <QString>
#include <QVideoFrame>

#include <cstdint>
#include <memory>

namespace nivra {

// Video codec numbers of the stream description.
enum VideoCodec
{
    CodecUnknown = 0,
    CodecH264 = 1,
    CodecH265 = 2
};

// Audio kinds of the stream description.
enum AudioKind
{
    AudioNone = 0,
    AudioAacAdts = 1,
    AudioAacRaw = 2,
    AudioAlaw = 3,
    AudioUnknownFormat = 4,
};

// Decode policy: 0 automatic, 1 graphics card only, 2 software only.
enum DecodePolicy
{
    PolicyAuto = 0,
    PolicyHardware = 1,
    PolicySoftware = 2
};

struct DecodedFrame
{
    QVideoFrame picture;
    qlonglong timeMs = 0; // time of the coded frame the picture came from
};

struct AudioChunk
{
    QList<float> samples; // interleaved, nominal range -1..1
    int sampleRate = 0;
    int channels = 0;
    qlonglong timeMs = 0; // time of the first sample
};

class VideoDecoder
{
public:
    virtual ~VideoDecoder() = default;
    // True when the decoder took the packet. False with an empty error():
    // this packet was refused; false with an error(): the decoder gave up.
    virtual bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) = 0;
    // True with the next picture; false when none is ready or on failure.
    virtual bool receive(DecodedFrame *frame) = 0;
    // Like receive, but a picture whose time is before fromMs is released
    // inside the decoder: true with its time and a null picture. Skipping to
    // an exact picture then copies out only that one. Decoders that learn the
    // time only with the copy hand out every picture.
    virtual bool receiveFrom(DecodedFrame *frame, qlonglong fromMs)
    {
        (void)fromMs;
        return receive(frame);
    }
    // Forgets pictures and state of earlier packets (every seek).
    virtual void flush() = 0;
    // No more packets follow: pictures still held back become ready for
    // receive. A later send starts a new stream only after flush().
    virtual void drain() {}
    virtual QString info() const = 0;
    // The failure that made the decoder give up; empty while it works.
    virtual QString error() const = 0;
};

class AudioDecoder
{
public:
    virtual ~AudioDecoder() = default;
    // Decodes one coded frame, appending zero or more chunks. False on a
    // decoding failure (callers go on with the next frame).
    virtual bool decode(const uint8_t *data, uint64_t size, qlonglong timeMs, QList<AudioChunk> *chunks) = 0;
    virtual void flush() = 0;
    virtual QString info() const = 0;
};

// The saved decode policy (playback/decodePolicy); starts as 1.
void setDecodePolicy(int policy);
int decodePolicy();

// The policy in effect: NIVRA_DECODE when it holds "hw", "sw" or "auto"
// (read once per process), else the saved policy.
int effectiveDecodePolicy();

// Splits value at commas and tells whether a trimmed part is "all" or token,
// ignoring case.
bool listMatches(const QString &value, const QString &token);
// listMatches on the current value of an environment variable.
bool envListMatches(const char *variable, const QString &token);

// The token that names the platform's own decoders in NIVRA_SKIP_HW and
// NIVRA_SKIP_SW: "MF" on Windows, "SYSTEM" elsewhere.
QString systemDecoderToken();

// Makes the video decoder (a chain) for a codec under the effective policy,
// or returns null with *reason filled in.
std::unique_ptr<VideoDecoder> makeVideoDecoder(int codec, QString *reason);

// Makes the audio decoder for an audio kind, or returns null with *reason.
std::unique_ptr<AudioDecoder> makeAudioDecoder(int audioKind, int sampleRate, int channels, int objectType,
                                               QString *reason);

// True when the codec is H.265, the system software decoder is not skipped
// and the system lists no H.265 decoder (only ever true on Windows).
bool hevcExtensionNeeded(int codec);

// What the graphics card can decode; probed once per process.
struct GraphicsCapability
{
    bool probed = false;
    bool h264 = false;
    bool h265 = false;
    QString adapterName;
    QString failure;
};
const GraphicsCapability &graphicsCapability();

} // namespace nivra
