#include "playback/decode_worker.h"
#include "decode/decoder_platform.h"
#include "playback/trace.h"

#include <QtDebug>

#include <limits>

namespace nivra {

namespace {

qlonglong chunkDurationMs(const AudioChunk &chunk)
{
    if (chunk.channels < 1 || chunk.sampleRate < 1)
        return 0;
    return (qlonglong(chunk.samples.size() / chunk.channels) * 1000) / chunk.sampleRate;
}

qlonglong pictureBytes(const QVideoFrame &picture)
{
    if (!picture.isValid())
        return 0;
    const QSize size = picture.size();
    // Both supported formats are 4:2:0 with 8-bit samples.
    return qlonglong(size.width()) * size.height() +
           2 * qlonglong((size.width() + 1) / 2) * ((size.height() + 1) / 2);
}

} // namespace

DecodeWorker::DecodeWorker(const card_reader *card, const card_stream &stream, VideoMaker videoMaker,
                           AudioMaker audioMaker)
    : m_card(card), m_stream(stream),
      m_videoMaker(videoMaker ? std::move(videoMaker) : VideoMaker(&makeVideoDecoder)),
      m_audioMaker(audioMaker ? std::move(audioMaker) : AudioMaker(&makeAudioDecoder))
{}

DecodeWorker::~DecodeWorker()
{
    m_shell.stop();
    cursor_close(m_cursor);
    m_cursor = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        m_pictures.clear();
        m_audio.clear();
        m_queuedAudioMs = 0;
    }
    m_audioDecoder.reset();
    m_videoDecoder.reset();
}

bool DecodeWorker::start(QString *reason, QObject *owner, std::function<void()> picturesReady)
{
    if (cursor_open(m_card, &m_cursor) != CARD_OK) {
        if (reason)
            *reason = tr("Cannot read the recordings.");
        return false;
    }
    QString videoReason;
    m_videoDecoder = m_videoMaker(m_stream.video_codec, &videoReason);
    if (!m_videoDecoder) {
        m_decoderMissing = true;
        if (reason)
            *reason = videoReason;
        return false;
    }
    if (m_stream.audio_kind != AudioNone && m_stream.audio_kind != AudioUnknownFormat) {
        QString audioReason;
        m_audioDecoder = m_audioMaker(m_stream.audio_kind, m_stream.sample_rate, m_stream.channels,
                                      m_stream.object_type, &audioReason);
        if (m_audioDecoder)
            qInfo("audio decoder: %s", qUtf8Printable(m_audioDecoder->info()));
        else
            qWarning("no audio decoder: %s", qUtf8Printable(audioReason));
    }
    m_shell.start([this] { run(); }, owner, std::move(picturesReady));
    return true;
}

int DecodeWorker::postCommand(qlonglong targetMs, bool snap, int stride, bool withAudio)
{
    return post(SeekCommand{0, targetMs, snap, stride, withAudio});
}

int DecodeWorker::postStepBack(qlonglong keyframeMs, qlonglong beforeMs)
{
    SeekCommand command{0, keyframeMs, true, 0, false};
    command.beforeMs = beforeMs;
    return post(command);
}

int DecodeWorker::post(const SeekCommand &command)
{
    int generation;
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        generation = m_shell.nextGeneration();
        m_command = command;
        m_command.generation = generation;
        m_commandPending = true;
        m_pictures.clear();
        m_audio.clear();
        m_queuedAudioMs = 0;
        m_pictureQueued = false;
    }
    m_shell.wake();
    return generation;
}

std::optional<QueuedFrame> DecodeWorker::peekPicture(int generation)
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    while (!m_pictures.empty() && m_pictures.front().generation != generation)
        m_pictures.pop_front();
    if (m_pictures.empty())
        return std::nullopt;
    return m_pictures.front();
}

void DecodeWorker::popPicture()
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        if (!m_pictures.empty())
            m_pictures.pop_front();
    }
    m_shell.wake();
}

std::optional<AudioChunk> DecodeWorker::popAudioChunk(int generation)
{
    std::optional<AudioChunk> chunk;
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        while (!m_audio.empty() && m_audio.front().generation != generation) {
            m_queuedAudioMs -= m_audio.front().durationMs;
            m_audio.pop_front();
        }
        if (!m_audio.empty()) {
            chunk = std::move(m_audio.front().chunk);
            m_queuedAudioMs -= m_audio.front().durationMs;
            m_audio.pop_front();
        }
    }
    m_shell.wake();
    return chunk;
}

void DecodeWorker::discardAudioBefore(int generation, qlonglong timeMs)
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        while (!m_audio.empty() &&
               (m_audio.front().generation != generation || m_audio.front().chunk.timeMs < timeMs)) {
            m_queuedAudioMs -= m_audio.front().durationMs;
            m_audio.pop_front();
        }
    }
    m_shell.wake();
}

QString DecodeWorker::infoText() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_infoText;
}

QString DecodeWorker::errorText() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_errorText;
}

int DecodeWorker::segment() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_segment;
}

quint32 DecodeWorker::segmentOffset() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_segmentOffset;
}

qlonglong DecodeWorker::newestPictureTime() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    for (auto it = m_pictures.rbegin(); it != m_pictures.rend(); ++it) {
        if (!it->end)
            return it->timeMs;
    }
    return -1;
}

qlonglong DecodeWorker::decodedUntil(int generation) const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    if (m_commandPending || m_command.generation != generation)
        return -1;
    // Full sound alone does not count: it empties as the device plays, and
    // the pictures come on then.
    const bool ended = !m_pictures.empty() && m_pictures.back().end;
    if (ended || int(m_pictures.size()) >= kMaxPictures)
        return std::numeric_limits<qlonglong>::max();
    return m_pictures.empty() ? -1 : m_pictures.back().timeMs;
}

int DecodeWorker::queuedPictureCount() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return int(m_pictures.size());
}

qlonglong DecodeWorker::queuedAudioMs() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_queuedAudioMs;
}

qlonglong DecodeWorker::queuedBytes() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    qlonglong bytes = 0;
    for (const QueuedFrame &frame : m_pictures)
        bytes += pictureBytes(frame.picture);
    for (const QueuedAudio &audio : m_audio)
        bytes += qlonglong(audio.chunk.samples.size()) * qlonglong(sizeof(float));
    return bytes;
}

void DecodeWorker::pushFrame(QueuedFrame frame)
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        if (frame.generation != m_command.generation || m_commandPending)
            return;
        m_pictureQueued = m_pictureQueued || !frame.end;
        m_pictures.push_back(std::move(frame));
    }
    m_shell.handBack();
}

void DecodeWorker::pushAudio(AudioChunk chunk, int generation)
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    if (generation != m_command.generation || m_commandPending)
        return;
    const qlonglong duration = chunkDurationMs(chunk);
    m_audio.push_back({std::move(chunk), generation, duration});
    m_queuedAudioMs += duration;
    // Before the command's first picture (a stretch of damaged pictures with
    // sound intact), full sound would stop the reading short of the picture
    // that the engine waits for. That sound lies before the landing and is
    // never played: the oldest goes instead.
    while (!m_pictureQueued && m_queuedAudioMs > kMaxAudioMs / 2 && m_audio.size() > 1) {
        m_queuedAudioMs -= m_audio.front().durationMs;
        m_audio.pop_front();
    }
}

bool DecodeWorker::noteDecoderFailure()
{
    const QString error = m_videoDecoder->error();
    if (error.isEmpty())
        return false;
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    if (m_errorText.isEmpty())
        m_errorText = error;
    return true;
}

bool DecodeWorker::decodeVideo(const card_frame &frame, int generation, qlonglong startMs,
                               qlonglong *discontinuityMs)
{
    if (m_videoDecoder->send(m_payload.data(), frame.size, frame.time_ms))
        receivePictures(generation, startMs, discontinuityMs);
    return !noteDecoderFailure();
}

void DecodeWorker::receivePictures(int generation, qlonglong startMs, qlonglong *discontinuityMs)
{
    // Pictures before the start are decoded for the ones after them but never
    // copied out of the decoder.
    DecodedFrame decoded;
    while (m_videoDecoder->receiveFrom(&decoded, startMs)) {
        {
            std::lock_guard<std::mutex> lock(m_shell.mutex());
            if (m_infoText.isEmpty())
                m_infoText = m_videoDecoder->info();
        }
        const bool discontinuity = *discontinuityMs >= 0 && decoded.timeMs >= *discontinuityMs;
        if (discontinuity)
            *discontinuityMs = -1;
        if (verboseTraceEnabled())
            qDebug("TRACE decoded %lld%s", decoded.timeMs, discontinuity ? " (discont)" : "");
        if (decoded.timeMs >= startMs) {
            QueuedFrame queued;
            queued.picture = std::move(decoded.picture);
            queued.timeMs = decoded.timeMs;
            queued.discontinuity = discontinuity;
            queued.generation = generation;
            pushFrame(std::move(queued));
        }
        decoded = DecodedFrame();
    }
}

qlonglong DecodeWorker::lastVideoTimeBefore(qlonglong beforeMs)
{
    // Bounds the walk when the key frame lies far before (a long group of
    // pictures at a high frame rate still fits).
    constexpr int kMaxFrames = 20000;
    qlonglong last = -1;
    card_frame frame{};
    for (int n = 0; n < kMaxFrames && cursor_next(m_cursor, &frame) == CARD_OK; ++n) {
        if (frame.type != CARD_FRAME_AUDIO) {
            if (qlonglong(frame.time_ms) >= beforeMs)
                break;
            last = qlonglong(frame.time_ms);
        }
        cursor_skip(m_cursor);
    }
    return last;
}

void DecodeWorker::run()
{
    DecoderThreadScope threadScope;
    bool idle = true;
    int generation = 0;
    qlonglong startMs = 0;
    qlonglong discontinuityMs = -1;
    SeekCommand command;
    for (;;) {
        WorkerThread::Lock lock = m_shell.lock();
        if (!m_shell.wait(lock, [&] {
                return m_commandPending ||
                       (!idle && int(m_pictures.size()) < kMaxPictures && m_queuedAudioMs < kMaxAudioMs);
            }))
            return;
        if (m_commandPending) {
            command = m_command;
            m_commandPending = false;
            lock.unlock();
            cursor_set_stride(m_cursor, command.stride);
            int64_t landed = 0;
            const uint64_t target = command.targetMs < 1 ? 0 : uint64_t(command.targetMs);
            int seek = cursor_seek(m_cursor, target, &landed);
            startMs = command.snap ? landed : qMax<qlonglong>(landed, command.targetMs);
            if (seek == CARD_OK && command.beforeMs >= 0) {
                // Frame headers are cheap: find the picture first, then decode
                // up to it from the key frame.
                const qlonglong previous = lastVideoTimeBefore(command.beforeMs);
                startMs = previous >= 0 ? previous : command.beforeMs;
                seek = cursor_seek(m_cursor, target, &landed);
            }
            m_videoDecoder->flush();
            if (m_audioDecoder)
                m_audioDecoder->flush();
            generation = command.generation;
            discontinuityMs = -1;
            if (seek != CARD_OK) {
                QueuedFrame end;
                end.end = true;
                end.readError = seek < 0;
                end.generation = generation;
                pushFrame(std::move(end));
                idle = true;
            } else {
                // A decoder that has given up decodes nothing more: reading
                // on would only run through the card.
                idle = noteDecoderFailure();
            }
            continue;
        }
        lock.unlock();

        card_frame frame{};
        const int next = cursor_next(m_cursor, &frame);
        if (next != CARD_OK) {
            // Decoders that reorder or run threads still hold the last pictures.
            m_videoDecoder->drain();
            receivePictures(generation, startMs, &discontinuityMs);
            QueuedFrame end;
            end.end = true;
            end.readError = next < 0;
            end.generation = generation;
            pushFrame(std::move(end));
            idle = true;
            continue;
        }
        const bool audio = frame.type == CARD_FRAME_AUDIO;
        if (!audio && verboseTraceEnabled())
            qDebug("TRACE read %c %llu%s", frame.type == CARD_FRAME_KEY ? 'I' : 'P',
                   (unsigned long long)frame.time_ms, frame.discontinuity ? " DISCONT" : "");
        if (frame.discontinuity)
            discontinuityMs = frame.time_ms;
        {
            std::lock_guard<std::mutex> guard(m_shell.mutex());
            m_segment = frame.segment;
            m_segmentOffset = frame.file_offset;
        }
        if (audio && (!command.withAudio || !m_audioDecoder)) {
            cursor_skip(m_cursor);
            continue;
        }
        if (m_payload.size() < frame.size)
            m_payload.resize(qMax<size_t>(frame.size, m_payload.capacity() * 3 / 2), 0);
        if (cursor_read(m_cursor, m_payload.data(), m_payload.size()) != CARD_OK) {
            cursor_skip(m_cursor);
            continue;
        }
        if (audio) {
            QList<AudioChunk> chunks;
            m_audioDecoder->decode(m_payload.data(), frame.size, frame.time_ms, &chunks);
            for (AudioChunk &chunk : chunks) {
                if (chunk.timeMs >= startMs)
                    pushAudio(std::move(chunk), generation);
            }
        } else if (!decodeVideo(frame, generation, startMs, &discontinuityMs)) {
            idle = true; // until the next command
        }
    }
}

} // namespace nivra
