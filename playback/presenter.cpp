// The engine's presentation tick: the first picture of a command, then the
// pictures paced to the clock while playing (late ones dropped), the gaps
// and the end, and the status the window shows.
#include "playback/decode_worker.h"
#include "playback/engine_step.h"
#include "playback/playback_engine.h"
#include "playback/trace.h"

#include <QtDebug>

#include <limits>

namespace nivra {

namespace {

// A picture is due this much before its time.
constexpr qlonglong kEarlyMs = 5;
// The hold time of the picture on screen lies between these.
constexpr qlonglong kHoldFloorMs = 30;
constexpr qlonglong kHoldCeilingMs = 10000;
constexpr qint64 kStatusPeriodNs = 500 * 1000000LL;
constexpr int kStatsEvery = 15;
constexpr qint64 kTickGapTraceNs = 40 * 1000000LL;

} // namespace

// ---- Presentation tick ------------------------------------------------------

void PlaybackEngine::showPicture(const QVideoFrame &picture)
{
    // Shown even when a call-out before it has moved on: the picture on
    // screen is always the one whose time is the position.
    later([this, picture] {
        if (m_videoSink)
            m_videoSink->setVideoFrame(picture);
    });
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
        const qint64 now = m_time->nowNs();
        if (m_lastTickNs >= 0 && now - m_lastTickNs > kTickGapTraceNs)
            qDebug("TRACE tick gap %lld ms at %lld", qlonglong((now - m_lastTickNs) / 1000000), m_shownTime);
        m_lastTickNs = now;
    }
    Step step(this);
    if (!m_worker)
        return;

    if (m_errorString.isEmpty()) {
        const QString error = m_worker->errorText();
        if (!error.isEmpty())
            setError(error, true);
    }

    // Sound read for a command whose output is not available is never
    // played; dropped, it cannot hold the reading up.
    if (m_audioWanted && m_audio.unavailableFor(m_commandSerial))
        m_worker->discardAudioBefore(m_generation, std::numeric_limits<qlonglong>::max());

    if (!landed())
        tickLanding();
    else
        tickLanded();

    if (m_playing && m_audio.recoveredFor(m_commandSerial))
        retrySound();
    if ((audioActive() && m_playing && landed()) || m_audio.openingFor(m_commandSerial) ||
        (m_playing && m_audioWanted && m_audio.unavailableFor(m_commandSerial)))
        requestAudioSync();
}

void PlaybackEngine::tickLanding()
{
    const std::optional<QueuedFrame> front = m_worker->peekPicture(m_generation);
    if (!front)
        return;
    if (front->end) {
        // Nothing to show: the end is reached as after the last picture. The
        // marker stays queued, so that play and step report the end again.
        enter(State::Showing);
        if (m_shownTime >= 0)
            m_clock.setBase(m_shownTime);
        setPlaying(false);
        reportEnd(*front);
        return;
    }
    m_worker->popPicture();
    showPicture(front->picture);
    if (updateVideoSize(front->picture))
        notify(&PlaybackEngine::statsChanged);
    m_shownTime = m_position = front->timeMs;
    notify(&PlaybackEngine::positionChanged);
    m_clock.setBase(front->timeMs);
    const bool steppingBack = m_state == State::SteppingBack;
    // Landed: the clock runs while playing (a step back lands paused).
    m_clock.setRunning(m_playing);
    const QString info = m_worker->infoText();
    if (info != m_decoderInfo) {
        m_decoderInfo = info;
        notify(&PlaybackEngine::decoderInfoChanged);
    }
    const qlonglong landedMs = front->timeMs;
    if (steppingBack) {
        // A step, not a seek: shown like stepFrame's pictures.
        m_gapAnnouncedAt = -1;
        if (m_playing) {
            // Play came while stepping: start at the picture with sound.
            postSeek(landedMs, false);
        } else if (m_backQueued > 0) {
            const int queued = m_backQueued - 1;
            if (postStepBack(landedMs)) {
                m_backQueued = queued;
            } else {
                m_backQueued = 0; // reached the first picture
                enter(State::Stepped);
            }
        } else {
            enter(State::Stepped);
        }
        return;
    }
    enter(State::Showing);
    laterForCommand([this, landedMs] { emit seeked(landedMs); });
}

void PlaybackEngine::tickLanded()
{
    // The clock was set from the device's position by the sound sync at the
    // end of the previous step and has run on the wall clock since.
    const bool audioDriven = m_audio.drivesClock() && m_playing && audioActive();
    qlonglong now = m_clock.value();

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
                reportEnd(*front);
            }
            break;
        }
        if (front->discontinuity) {
            if (candidateTime >= 0)
                break; // the gap is handled after this picture has been shown
            if (m_gapAnnouncedAt != front->timeMs) {
                m_gapAnnouncedAt = front->timeMs;
                if (!m_continuous) {
                    setPlaying(false);
                    laterForCommand([this, reference] { emit chunkEnded(reference); });
                    break;
                }
                const qlonglong after = front->timeMs;
                laterForCommand([this, reference, after] { emit gapSkipped(reference, after); });
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
        m_gapAnnouncedAt = -1;
        if (candidateTime >= 0) {
            ++m_droppedFrames;
            if (traceEnabled())
                qDebug("TRACE drop %lld (next %lld, clock %lld, audio %d)", candidateTime, front->timeMs, now,
                       audioDriven ? 1 : 0);
        }
        candidate = front->picture;
        candidateTime = front->timeMs;
    }

    if (candidateTime >= 0 && updateVideoSize(candidate))
        notify(&PlaybackEngine::statsChanged);

    const qint64 nowNs = m_time->nowNs();
    if (m_statusAtNs < 0 || nowNs - m_statusAtNs >= kStatusPeriodNs) {
        m_statusAtNs = nowNs;
        rebuildStatus(candidateTime >= 0 ? candidateTime : m_shownTime);
        notify(&PlaybackEngine::statusChanged);
    }

    bool statsDue = false;
    if (candidateTime >= 0) {
        if (traceEnabled())
            qDebug("TRACE show %lld clock %lld", candidateTime, now);
        if (m_shownTime >= 0 && m_shownTime < candidateTime)
            m_frameInterval = candidateTime - m_shownTime;
        ++m_presentedFrames;
        statsDue = m_presentedFrames % kStatsEvery == 0;
        showPicture(candidate);
        m_shownTime = m_position = candidateTime;
        notify(&PlaybackEngine::positionChanged);
    }
    if (statsDue || m_droppedFrames != droppedBefore)
        notify(&PlaybackEngine::statsChanged);
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
