// The decode worker: one thread that reads frames through its own cursor,
// decodes them and fills a picture queue and a sound queue for the
// presentation tick. Every seek command carries a generation; everything
// queued is tagged with it and items of older commands are never handed out.
#pragma once

#include "base/worker_thread.h"
#include "decode/decoder.h"
#include "storage/card.h"

#include <QCoreApplication>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace nivra {

struct SeekCommand
{
    int generation = 0;
    qlonglong targetMs = 0;
    bool snap = false;
    int stride = 0; // 0, 2 or 4: read every frame or every n-th key frame
    bool withAudio = true;
    // A step back: starts at the last picture before this time (-1: a seek).
    qlonglong beforeMs = -1;
};

struct QueuedFrame
{
    QVideoFrame picture;
    qlonglong timeMs = 0;
    bool discontinuity = false;
    bool end = false;       // end marker: no picture
    bool readError = false; // the end came from a card that could not be read
    int generation = 0;
};

class DecodeWorker
{
    Q_DECLARE_TR_FUNCTIONS(DecodeWorker)
public:
    // At most this many pictures and this much sound are kept ahead.
    static constexpr int kMaxPictures = 8;
    static constexpr qlonglong kMaxAudioMs = 2000;

    using VideoMaker = std::function<std::unique_ptr<VideoDecoder>(int codec, QString *reason)>;
    using AudioMaker = std::function<std::unique_ptr<AudioDecoder>(int kind, int sampleRate, int channels,
                                                                   int objectType, QString *reason)>;

    // card stays owned by the caller and must outlive the worker. The makers
    // default to the decoder factories.
    DecodeWorker(const card_reader *card, const card_stream &stream, VideoMaker videoMaker = {},
                 AudioMaker audioMaker = {});
    // Stops and joins the thread, then closes the cursor and the decoders.
    ~DecodeWorker();
    DecodeWorker(const DecodeWorker &) = delete;
    DecodeWorker &operator=(const DecodeWorker &) = delete;

    // Opens the cursor, makes the decoders and starts the thread; false with
    // *reason when the cursor or the video decoder cannot be had. Once a
    // picture is queued, picturesReady runs soon on owner's thread.
    bool start(QString *reason, QObject *owner = nullptr, std::function<void()> picturesReady = {});

    // Replaces any earlier command, empties the queues; returns its generation.
    int postCommand(qlonglong targetMs, bool snap, int stride, bool withAudio);

    // Replaces any earlier command, empties the queues and queues the last
    // picture before beforeMs and the ones after it, read without sound from
    // the key frame at keyframeMs, which must lie before it. When nothing lies
    // between the two, the first picture at or after beforeMs comes first.
    // Returns the generation.
    int postStepBack(qlonglong keyframeMs, qlonglong beforeMs);

    // The front picture of generation (older items are discarded), still queued.
    std::optional<QueuedFrame> peekPicture(int generation);
    void popPicture();
    // Removes and returns the front sound chunk of generation.
    std::optional<AudioChunk> popAudioChunk(int generation);
    // Drops the sound of generation that starts before timeMs (and anything
    // older), so that sound nobody will play does not stop the reading.
    void discardAudioBefore(int generation, qlonglong timeMs);

    QString infoText() const;
    QString errorText() const;
    int segment() const;
    quint32 segmentOffset() const;
    // Time of the newest queued picture, -1 when there is none.
    qlonglong newestPictureTime() const;
    // How far the pictures of generation reach: the time of the newest; the
    // greatest time once no more come before some are taken (the queue is
    // full, or the end is queued); -1 when none is queued.
    qlonglong decodedUntil(int generation) const;
    int queuedPictureCount() const;
    qlonglong queuedAudioMs() const;
    // Bytes held by the queued pictures and sound.
    qlonglong queuedBytes() const;

    bool hasAudioDecoder() const { return m_audioDecoder != nullptr; }
    bool decoderMissing() const { return m_decoderMissing; }

private:
    struct QueuedAudio
    {
        AudioChunk chunk;
        int generation = 0;
        qlonglong durationMs = 0;
    };

    void run();
    int post(const SeekCommand &command);
    // Reads frame headers on from the cursor's place; returns the time of the
    // last video frame before beforeMs, -1 when the first one is not.
    qlonglong lastVideoTimeBefore(qlonglong beforeMs);
    void pushFrame(QueuedFrame frame);
    void pushAudio(AudioChunk chunk, int generation);
    // Sends a frame and queues the pictures it gives; false once the decoder
    // has given up.
    bool decodeVideo(const card_frame &frame, int generation, qlonglong startMs, qlonglong *discontinuityMs);
    void receivePictures(int generation, qlonglong startMs, qlonglong *discontinuityMs);
    // Stores the decoder's failure once; true when it has given up.
    bool noteDecoderFailure();

    const card_reader *m_card = nullptr;
    card_stream m_stream{};
    VideoMaker m_videoMaker;
    AudioMaker m_audioMaker;
    card_cursor *m_cursor = nullptr;
    std::unique_ptr<VideoDecoder> m_videoDecoder;
    std::unique_ptr<AudioDecoder> m_audioDecoder;
    bool m_decoderMissing = false;
    mutable WorkerThread m_shell;

    // Everything below is guarded by the shell's lock.
    bool m_commandPending = false;
    SeekCommand m_command;
    std::deque<QueuedFrame> m_pictures;
    std::deque<QueuedAudio> m_audio;
    qlonglong m_queuedAudioMs = 0;
    bool m_pictureQueued = false; // since the last command
    QString m_infoText;
    QString m_errorText;
    int m_segment = -1;
    quint32 m_segmentOffset = 0;

    // Worker thread only.
    std::vector<uint8_t> m_payload;
};

} // namespace nivra
