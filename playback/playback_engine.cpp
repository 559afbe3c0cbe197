#include "playback/playback_engine.h"
#include "playback/decode_worker.h"
#include "playback/trace.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QtDebug>

namespace nivra {

namespace {

constexpr int kTickMs = 4;
// A picture is due this much before its time.
constexpr qlonglong kEarlyMs = 5;
// The hold time of the picture on screen lies between these.
constexpr qlonglong kHoldFloorMs = 30;
constexpr qlonglong kHoldCeilingMs = 10000;
constexpr qint64 kStatusPeriodMs = 500;
constexpr int kStatsEvery = 15;
constexpr qint64 kTickGapTraceMs = 40;

bool validSpeed(int speed)
{
    return speed == 1 || speed == 2 || speed == 4 || speed == 8 || speed == 16;
}

// 0 normal, 1 fast (8×), 2 fastest (16×).
int speedClass(int speed)
{
    return speed >= 16 ? 2 : speed >= 8 ? 1 : 0;
}

// Key-frame stride of the read cursor for a speed.
int strideFor(int speed)
{
    static const int strides[] = {0, 2, 4};
    return strides[speedClass(speed)];
}

// Time between pictures until two have been shown.
qlonglong expectedIntervalFor(int speed)
{
    static const qlonglong intervals[] = {67, 4000, 8000};
    return intervals[speedClass(speed)];
}

// Counts a call in progress for as long as it lives.
class Busy
{
public:
    explicit Busy(int *depth) : m_depth(depth) { ++*m_depth; }
    ~Busy() { --*m_depth; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    int *m_depth;
};

} // namespace

PlaybackEngine::PlaybackEngine(QObject *parent) : QObject(parent)
{
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_tickTimer.setInterval(kTickMs);
    connect(&m_tickTimer, &QTimer::timeout, this, &PlaybackEngine::tick);
}

PlaybackEngine::~PlaybackEngine()
{
    // The worker reads through the session's card reader: join it first.
    stop();
}

bool PlaybackEngine::cardHoldsReader() const
{
    return m_card && m_card->reader() != nullptr;
}

// ---- Opening and stopping ---------------------------------------------------

void PlaybackEngine::stop()
{
    m_tickTimer.stop();
    {
        Busy busy(&m_busy);
        m_audio.close();
    }
    m_audioActive = false;
    m_worker.reset();
    ++m_commandSerial;
    m_landed = false;
    m_shownTime = -1;
    if (m_playing) {
        m_playing = false;
        m_clock.setRunning(false);
        emit playingChanged();
    }
    if (!m_decoderInfo.isEmpty()) {
        m_decoderInfo.clear();
        emit decoderInfoChanged();
    }
}

void PlaybackEngine::open()
{
    stop();
    if (!cardHoldsReader())
        return;
    auto worker = std::make_unique<DecodeWorker>(m_card->reader(), m_card->stream());
    QString reason;
    if (!worker->start(&reason)) {
        const bool missing = worker->decoderMissing();
        worker.reset();
        setError(reason, missing);
        return;
    }
    m_worker = std::move(worker);
    clearError();
    if (m_droppedFrames != 0) {
        m_droppedFrames = 0;
        emit statsChanged();
    }
    m_tickTimer.start();
    const bool pending = m_pendingTarget >= 0;
    const qlonglong target = pending ? m_pendingTarget : m_card->firstPlayableMs();
    const bool snap = pending ? m_pendingSnap : true;
    m_pendingTarget = -1;
    postSeek(target, snap);
}

void PlaybackEngine::postSeek(qlonglong targetMs, bool snap)
{
    if (!m_worker) {
        m_pendingTarget = targetMs;
        m_pendingSnap = snap;
        return;
    }
    {
        Busy busy(&m_busy);
        m_audio.close();
        m_audioActive = false;
        if (m_worker->hasAudioDecoder() && m_speed == 1 && m_audio.open()) {
            m_audioActive = true;
            m_audio.setVolume(m_muted ? 0.0f : float(m_volume));
            if (!m_playing)
                m_audio.setSuspended(true);
        }
    }
    m_generation = m_worker->postCommand(targetMs, snap, strideFor(m_speed), m_audioActive);
    ++m_commandSerial;
    m_lastSeekTarget = targetMs;
    m_landed = false;
    m_gapLatch = false;
    m_audioClock = false;
    m_frameInterval = expectedIntervalFor(m_speed);
}

// ---- Control ----------------------------------------------------------------

void PlaybackEngine::setPlaying(bool playing)
{
    if (playing == m_playing)
        return;
    m_playing = playing;
    m_clock.setRunning(m_playing && m_landed);
    if (m_audioActive) {
        Busy busy(&m_busy);
        m_audio.setSuspended(!m_playing);
    }
    emit playingChanged();
}

void PlaybackEngine::play()
{
    if (!m_worker && cardHoldsReader())
        open();
    if (!m_worker)
        return;
    if (m_stepped) {
        m_stepped = false;
        // Restart exactly at the stepped picture, with fresh sound. Without a
        // picture on screen (closed and reopened since) there is nothing to
        // return to.
        if (m_shownTime >= 0)
            postSeek(m_shownTime, false);
    }
    setPlaying(true);
}

void PlaybackEngine::pause()
{
    setPlaying(false);
}

void PlaybackEngine::togglePlay()
{
    if (m_playing)
        pause();
    else
        play();
}

void PlaybackEngine::seek(qlonglong utcMs, bool snapToKeyframe)
{
    postSeek(utcMs, snapToKeyframe);
}

void PlaybackEngine::setSpeed(int speed)
{
    if (!validSpeed(speed) || speed == m_speed)
        return;
    const bool hasAudio = m_worker && m_worker->hasAudioDecoder();
    const bool audioBefore = hasAudio && m_speed == 1;
    const bool audioAfter = hasAudio && speed == 1;
    const bool classChanged = speedClass(speed) != speedClass(m_speed);
    m_speed = speed;
    m_clock.setRate(speed);
    if (classChanged || audioBefore != audioAfter)
        postSeek(m_shownTime >= 0 ? m_shownTime : m_position, speed >= 8);
    emit speedChanged();
}

void PlaybackEngine::stepFrame()
{
    if (!m_worker || !m_landed)
        return;
    setPlaying(false);
    const std::optional<QueuedFrame> front = m_worker->peekPicture(m_generation);
    if (!front)
        return;
    if (front->end) {
        // The end marker stays queued: every further step reports the end again.
        emit ended();
        return;
    }
    m_worker->popPicture();
    showPicture(front->picture);
    if (m_shownTime >= 0 && m_shownTime < front->timeMs)
        m_frameInterval = front->timeMs - m_shownTime;
    m_shownTime = m_position = front->timeMs;
    m_clock.setBase(front->timeMs);
    m_gapLatch = false;
    m_stepped = true;
    emit positionChanged();
}

void PlaybackEngine::retryDecode()
{
    if (!cardHoldsReader())
        return;
    const qlonglong position = m_position;
    clearError();
    open();
    if (position >= 1)
        postSeek(position, false);
}

// ---- Properties -------------------------------------------------------------

void PlaybackEngine::setCard(CardSession *card)
{
    if (card == m_card)
        return;
    if (m_card)
        disconnect(m_card, nullptr, this, nullptr);
    stop();
    m_pendingTarget = -1;
    m_card = card;
    if (card) {
        connect(card, &CardSession::aboutToClose, this, &PlaybackEngine::stop);
        connect(card, &CardSession::changed, this, [this] {
            if (cardHoldsReader() && !m_worker)
                open();
        });
        if (cardHoldsReader())
            open();
    }
    emit cardChanged();
}

void PlaybackEngine::setVideoSink(QVideoSink *sink)
{
    if (sink == m_videoSink)
        return;
    m_videoSink = sink;
    emit videoSinkChanged();
}

void PlaybackEngine::setContinuous(bool continuous)
{
    if (continuous == m_continuous)
        return;
    m_continuous = continuous;
    emit continuousChanged();
}

void PlaybackEngine::setVolume(double volume)
{
    volume = qBound(0.0, volume, 1.0);
    if (qFuzzyCompare(volume, m_volume))
        return;
    m_volume = volume;
    Busy busy(&m_busy);
    m_audio.setVolume(m_muted ? 0.0f : float(m_volume));
    emit volumeChanged();
}

void PlaybackEngine::setMuted(bool muted)
{
    if (muted == m_muted)
        return;
    m_muted = muted;
    Busy busy(&m_busy);
    m_audio.setVolume(m_muted ? 0.0f : float(m_volume));
    emit mutedChanged();
}

// ---- Errors -----------------------------------------------------------------

void PlaybackEngine::setError(const QString &text, bool decodeFailure)
{
    const bool failed = decodeFailure && !text.isEmpty();
    const bool hevc = failed && cardHoldsReader() && nivra::hevcExtensionNeeded(m_card->stream().video_codec);
    if (text == m_errorString && failed == m_decodeFailed && hevc == m_hevcExtensionNeeded)
        return;
    m_errorString = text;
    m_decodeFailed = failed;
    m_hevcExtensionNeeded = hevc;
    emit errorChanged();
}

void PlaybackEngine::clearError()
{
    if (m_errorString.isEmpty() && !m_decodeFailed && !m_hevcExtensionNeeded)
        return;
    m_errorString.clear();
    m_decodeFailed = false;
    m_hevcExtensionNeeded = false;
    emit errorChanged();
}

// ---- Snapshot and store link ------------------------------------------------

QString PlaybackEngine::saveSnapshot(QString folder)
{
    if (!m_videoSink)
        return QString();
    const QVideoFrame frame = m_videoSink->videoFrame();
    if (!frame.isValid())
        return QString();
    const QImage image = frame.toImage();
    if (image.isNull())
        return QString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
                 QStringLiteral("/NIVRA Player");
    if (!QDir().mkpath(folder))
        return QString();
    // After a stop the sink still shows the last picture, whose time the
    // position kept.
    const qlonglong shown = m_shownTime >= 0 ? m_shownTime : m_position;
    const int offsetSeconds = m_card ? m_card->offsetSecondsAt(shown) : 0;
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(shown, Qt::UTC).toOffsetFromUtc(offsetSeconds);
    const QString base =
        folder + QStringLiteral("/NIVRA_") + local.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    QString path = base + QStringLiteral(".png");
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("_%1.png").arg(n);
    if (!image.save(path, "PNG"))
        return QString();
    return QDir::toNativeSeparators(path);
}

void PlaybackEngine::openHevcExtensionStore()
{
    openHevcStorePage();
}

// ---- Presentation tick ------------------------------------------------------

void PlaybackEngine::showPicture(const QVideoFrame &picture)
{
    if (m_videoSink)
        m_videoSink->setVideoFrame(picture);
}

bool PlaybackEngine::updateVideoSize(const QVideoFrame &picture)
{
    const QSize size = picture.size();
    if (size == m_videoSize)
        return false;
    m_videoSize = size;
    return true;
}

void PlaybackEngine::tick()
{
    if (traceEnabled()) {
        static QElapsedTimer sinceLastTick;
        if (sinceLastTick.isValid() && sinceLastTick.elapsed() > kTickGapTraceMs)
            qDebug("TRACE tick gap %lld ms at %lld", qlonglong(sinceLastTick.elapsed()), m_shownTime);
        sinceLastTick.start();
    }
    // The sound backend may run a nested event loop while a sink is made,
    // suspended or destroyed; a tick from inside it must not touch the
    // output half-way, nor may a tick run inside a tick.
    if (m_busy > 0 || !m_worker)
        return;
    Busy busy(&m_busy);

    if (m_errorString.isEmpty()) {
        const QString error = m_worker->errorText();
        if (!error.isEmpty()) {
            const quint64 serial = m_commandSerial;
            setError(error, true);
            if (serial != m_commandSerial)
                return;
        }
    }

    if (m_audioActive && m_playing && m_landed) {
        while (m_audio.wantsData()) {
            std::optional<AudioChunk> chunk = m_worker->popAudioChunk(m_generation);
            if (!chunk)
                break;
            m_audio.write(*chunk);
        }
        m_audio.pump();
    }

    if (!m_landed)
        tickLanding();
    else
        tickLanded();
}

void PlaybackEngine::tickLanding()
{
    // A handler of any signal below may seek, stop or close the card; the
    // serial tells that the rest of this tick no longer applies.
    const quint64 serial = m_commandSerial;
    const std::optional<QueuedFrame> front = m_worker->peekPicture(m_generation);
    if (!front)
        return;
    m_worker->popPicture();
    if (front->end) {
        setPlaying(false);
        if (serial != m_commandSerial)
            return;
        emit ended();
        return;
    }
    showPicture(front->picture);
    if (updateVideoSize(front->picture)) {
        emit statsChanged();
        if (serial != m_commandSerial)
            return;
    }
    m_shownTime = m_position = front->timeMs;
    emit positionChanged();
    if (serial != m_commandSerial)
        return;
    m_clock.setBase(front->timeMs);
    m_landed = true;
    m_clock.setRunning(m_playing);
    const QString info = m_worker->infoText();
    if (info != m_decoderInfo) {
        m_decoderInfo = info;
        emit decoderInfoChanged();
        if (serial != m_commandSerial)
            return;
    }
    emit seeked(front->timeMs);
}

void PlaybackEngine::tickLanded()
{
    const quint64 serial = m_commandSerial;
    bool audioDriven = false;
    qlonglong now = m_clock.value();
    if (m_playing && m_audioActive) {
        bool valid = false;
        const qlonglong audioNow = m_audio.clock(&valid);
        if (valid) {
            now = audioNow;
            m_clock.setBase(now);
            audioDriven = true;
            if (!m_audioClock) {
                m_audioClock = true;
                emit statsChanged();
                if (serial != m_commandSerial)
                    return;
            }
        }
    }

    const int droppedBefore = m_droppedFrames;
    QVideoFrame candidate;
    qlonglong candidateTime = -1;
    const qlonglong hold = qMin(qMax(m_frameInterval, kHoldFloorMs), kHoldCeilingMs);
    for (;;) {
        const std::optional<QueuedFrame> front = m_worker->peekPicture(m_generation);
        if (!front)
            break;
        const qlonglong reference = candidateTime >= 0 ? candidateTime : m_shownTime;
        if (front->end) {
            // The end follows once the last picture has been held for its interval.
            if (m_playing && candidateTime < 0 && now >= reference + hold) {
                setPlaying(false);
                if (serial != m_commandSerial)
                    return;
                emit ended();
                if (serial != m_commandSerial)
                    return;
            }
            break;
        }
        if (front->discontinuity) {
            if (candidateTime >= 0)
                break; // the gap is handled after this picture has been shown
            if (!m_gapLatch) {
                m_gapLatch = true;
                if (!m_continuous) {
                    setPlaying(false);
                    if (serial != m_commandSerial)
                        return;
                    emit chunkEnded(reference);
                    if (serial != m_commandSerial)
                        return;
                    break;
                }
                emit gapSkipped(reference, front->timeMs);
                if (serial != m_commandSerial)
                    return;
            }
            // Jump the clock across the gap once the last picture has had its
            // hold time; a clock driven by the sound device is left alone.
            if (m_playing && !audioDriven && now < front->timeMs && now >= reference + hold) {
                m_clock.setBase(front->timeMs);
                now = front->timeMs;
            }
        }
        if (!m_playing || now + kEarlyMs < front->timeMs)
            break;
        m_worker->popPicture();
        m_gapLatch = false;
        if (candidateTime >= 0) {
            ++m_droppedFrames;
            if (traceEnabled())
                qDebug("TRACE drop %lld (next %lld, clock %lld, audio %d)", candidateTime, front->timeMs, now,
                       audioDriven ? 1 : 0);
        }
        candidate = front->picture;
        candidateTime = front->timeMs;
    }

    bool statsDue = false;
    if (candidateTime >= 0 && updateVideoSize(candidate)) {
        emit statsChanged();
        if (serial != m_commandSerial)
            return;
    }

    if (!m_statusTimer.isValid() || m_statusTimer.elapsed() >= kStatusPeriodMs) {
        m_statusTimer.start();
        rebuildStatus(candidateTime >= 0 ? candidateTime : m_shownTime);
        emit statusChanged();
        if (serial != m_commandSerial)
            return;
    }

    if (candidateTime >= 0) {
        if (traceEnabled())
            qDebug("TRACE show %lld clock %lld", candidateTime, now);
        if (m_shownTime >= 0 && m_shownTime < candidateTime)
            m_frameInterval = candidateTime - m_shownTime;
        ++m_presentedFrames;
        statsDue = m_presentedFrames % kStatsEvery == 0;
        showPicture(candidate);
        m_shownTime = m_position = candidateTime;
        emit positionChanged();
        if (serial != m_commandSerial)
            return;
    }
    if (statsDue || m_droppedFrames != droppedBefore)
        emit statsChanged();
}

void PlaybackEngine::rebuildStatus(qlonglong referenceMs)
{
    const int segment = m_worker->segment();
    const quint32 offset = m_worker->segmentOffset();
    const qlonglong newest = m_worker->newestPictureTime();
    qlonglong bufferMs = 0;
    if (newest >= 0 && referenceMs >= 0 && newest > referenceMs)
        bufferMs = newest - referenceMs;
    const double fps = m_speed < 8 && m_frameInterval > 0 ? 1000.0 / double(m_frameInterval) : 0.0;
    QVariantMap status;
    status.insert(QStringLiteral("segId"), segment);
    status.insert(QStringLiteral("offset"), qlonglong(offset));
    status.insert(QStringLiteral("bufferMs"), bufferMs);
    status.insert(QStringLiteral("fps"), fps);
    m_status = status;
}

} // namespace nivra
