#include "playback/playback_engine.h"

#include "playback/decode_worker.h"
#include "playback/picture_image.h"
#include "playback/snapshot.h"
#include "playback/trace.h"

#include <QImage>
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

} // namespace

class PlaybackEngine::Step
{
public:
    explicit Step(PlaybackEngine *engine) : m_engine(engine) { ++m_engine->m_depth; }
    ~Step()
    {
        if (--m_engine->m_depth == 0)
            m_engine->runCallOuts();
    }
    Step(const Step &) = delete;
    Step &operator=(const Step &) = delete;

private:
    PlaybackEngine *m_engine;
};

PlaybackEngine::PlaybackEngine(QObject *parent) : QObject(parent), m_clock(m_time), m_audio(m_time)
{
    connect(m_time, &TimeSource::beat, this, &PlaybackEngine::tick);
    // A device plugged in, or the sound server back: sound that found no
    // output tries one at once rather than at the next background try.
    connect(m_audio.systemOutput(), &AudioOutput::outputsChanged, this, [this] { m_audio.probeSoon(); });
}

PlaybackEngine::~PlaybackEngine()
{
    // The worker reads through the session's card reader: join it first.
    // Nothing is announced from here, and the queued call-outs are dropped:
    // whoever listens may be half destroyed already.
    m_time->setBeating(false);
    m_worker.reset();
    m_callOuts.clear();
}

void PlaybackEngine::setTimeSource(TimeSource *source)
{
    if (!source)
        source = &m_ownTime;
    if (source == m_time)
        return;
    const bool beating = m_time->isBeating();
    m_time->setBeating(false);
    disconnect(m_time, nullptr, this, nullptr);
    m_time = source;
    m_clock.setClock(m_time);
    m_audio.setClock(m_time);
    connect(m_time, &TimeSource::beat, this, &PlaybackEngine::tick);
    m_time->setBeating(beating);
    // Restart the clock's elapsed time on the new source.
    m_clock.setBase(m_clock.value());
}

qlonglong PlaybackEngine::decodedUntil() const
{
    if (!m_worker)
        return -1;
    return m_worker->decodedUntil(m_generation);
}

void PlaybackEngine::enter(State next)
{
    // The allowed changes: any state may close; a seek may replace any
    // command; a step back starts from a landed picture or follows one that
    // was asked for while stepping back; a landing ends the wait.
    const State from = m_state;
    bool allowed = true;
    switch (next) {
    case State::SteppingBack:
        allowed = from == State::Showing || from == State::Stepped || from == State::SteppingBack;
        break;
    case State::Showing:
        allowed = from == State::Landing || from == State::SteppingBack;
        break;
    case State::Stepped:
        allowed = from == State::Showing || from == State::Stepped || from == State::SteppingBack;
        break;
    case State::Landing:
        allowed = from != State::Closed || m_worker != nullptr;
        break;
    case State::Closed:
        break;
    }
    Q_ASSERT_X(allowed, "PlaybackEngine::enter", "state change not allowed");
    if (!allowed)
        qWarning("playback: state change %d -> %d not allowed", int(from), int(next));
    m_state = next;
}

bool PlaybackEngine::cardHoldsReader() const
{
    return m_card && m_card->reader() != nullptr;
}

// ---- Steps and call-outs ----------------------------------------------------

void PlaybackEngine::later(std::function<void()> run)
{
    m_callOuts.push_back({0, std::move(run)});
}

void PlaybackEngine::laterForCommand(std::function<void()> run)
{
    m_callOuts.push_back({m_commandSerial, std::move(run)});
}

void PlaybackEngine::reportEnd(const QueuedFrame &end)
{
    if (end.readError)
        laterForCommand([this] { emit readFailed(); });
    else
        laterForCommand([this] { emit ended(); });
}

void PlaybackEngine::notify(void (PlaybackEngine::*signal)())
{
    later([this, signal] { (this->*signal)(); });
}

void PlaybackEngine::runCallOuts()
{
    // A call-out that re-enters runs the rest of the queue from its own
    // step; this loop then finds it empty.
    while (m_depth == 0 && !m_callOuts.empty()) {
        CallOut callOut = std::move(m_callOuts.front());
        m_callOuts.pop_front();
        if (callOut.serial == 0 || callOut.serial == m_commandSerial)
            callOut.run();
    }
}

void PlaybackEngine::requestAudioSync()
{
    if (m_audioSyncQueued)
        return;
    m_audioSyncQueued = true;
    later([this] {
        m_audioSyncQueued = false;
        syncAudio();
    });
}

void PlaybackEngine::syncAudio()
{
    const bool inUseBefore = m_audio.clockInUse();
    const std::optional<qlonglong> deviceMs = m_audio.sync(
        [this] {
            AudioSync::Wanted wanted;
            wanted.command = m_audioWanted ? m_commandSerial : 0;
            wanted.playing = m_playing;
            wanted.landed = landed();
            wanted.volume = m_muted ? 0.0f : float(m_volume);
            return wanted;
        },
        [this]() -> std::optional<AudioChunk> {
            if (!m_worker)
                return std::nullopt;
            // Until the device's clock runs, the pictures follow the engine's:
            // sound they have left behind (read while the output opened) would
            // only pull them back.
            if (!m_audio.drivesClock() && m_clock.isRunning())
                m_worker->discardAudioBefore(m_generation, m_clock.value());
            return m_worker->popAudioChunk(m_generation);
        });
    if (deviceMs)
        m_clock.setBase(*deviceMs);
    if (m_audio.clockInUse() != inUseBefore)
        notify(&PlaybackEngine::statsChanged);
    if (m_audio.available() != m_soundAvailable) {
        m_soundAvailable = m_audio.available();
        notify(&PlaybackEngine::soundAvailableChanged);
    }
}

// ---- Opening and stopping ---------------------------------------------------

void PlaybackEngine::stop()
{
    m_time->setBeating(false);
    m_audioWanted = false;
    m_audio.stopDriving();
    requestAudioSync();
    m_worker.reset();
    ++m_commandSerial;
    enter(State::Closed);
    m_backQueued = 0;
    m_shownTime = -1;
    if (m_playing) {
        m_playing = false;
        m_clock.setRunning(false);
        notify(&PlaybackEngine::playingChanged);
    }
    if (!m_decoderInfo.isEmpty()) {
        m_decoderInfo.clear();
        notify(&PlaybackEngine::decoderInfoChanged);
    }
}

void PlaybackEngine::open()
{
    stop();
    if (!cardHoldsReader())
        return;
    auto worker = std::make_unique<DecodeWorker>(m_card->reader(), m_card->stream());
    QString reason;
    // A picture queued is taken by a tick at once rather than at the next
    // beat: a seek lands sooner.
    if (!worker->start(&reason, this, [this] { tick(); })) {
        const bool missing = worker->decoderMissing();
        worker.reset();
        setError(reason, missing);
        return;
    }
    m_worker = std::move(worker);
    clearError();
    if (m_droppedFrames != 0) {
        m_droppedFrames = 0;
        notify(&PlaybackEngine::statsChanged);
    }
    m_time->setBeating(true);
    const PendingSeek seek = m_seekOnOpen.value_or(PendingSeek{m_card->firstPlayableMs(), true});
    m_seekOnOpen.reset();
    postSeek(seek.targetMs, seek.snap);
}

void PlaybackEngine::postSeek(qlonglong targetMs, bool snap)
{
    if (!m_worker) {
        m_seekOnOpen = PendingSeek{targetMs, snap};
        return;
    }
    // The output is opened for this command by the sync that follows; should
    // it not open, the tick drops the sound read for it. The seek replaces a
    // stepped picture as the place to play from.
    m_audioWanted = m_worker->hasAudioDecoder() && m_speed == 1;
    commandPosted(m_worker->postCommand(targetMs, snap, strideFor(m_speed), m_audioWanted), State::Landing);
    m_lastSeekTarget = targetMs;
}

bool PlaybackEngine::postStepBack(qlonglong fromMs)
{
    // Behind a recording's first picture lies the end of the one before it.
    const qlonglong keyframe = cardHoldsReader() ? m_card->keyframeSearch(fromMs, true, true) : -1;
    if (keyframe < 0)
        return false; // the first picture of the card
    // Paused on the stepped picture: play asks for sound afresh.
    m_audioWanted = false;
    commandPosted(m_worker->postStepBack(keyframe, fromMs), State::SteppingBack);
    return true;
}

void PlaybackEngine::commandPosted(int generation, State next)
{
    m_generation = generation;
    ++m_commandSerial;
    enter(next);
    m_backQueued = 0;
    m_gapAnnouncedAt = -1;
    // Off without a signal until the sound of this command runs.
    m_audio.forgetClock();
    m_frameInterval = expectedIntervalFor(m_speed);
    requestAudioSync();
}

// ---- Control ----------------------------------------------------------------

void PlaybackEngine::setPlaying(bool playing)
{
    if (playing == m_playing)
        return;
    m_playing = playing;
    m_clock.setRunning(m_playing && landed());
    requestAudioSync();
    notify(&PlaybackEngine::playingChanged);
}

void PlaybackEngine::play()
{
    Step step(this);
    if (!m_worker && cardHoldsReader())
        open();
    if (!m_worker)
        return;
    if (m_state == State::Stepped && m_shownTime >= 0) {
        // Restart exactly at the stepped picture, with fresh sound.
        postSeek(m_shownTime, false);
    } else if (!m_playing) {
        retrySound();
    }
    setPlaying(true);
}

void PlaybackEngine::retrySound()
{
    // The sound of a command whose output was not available has been
    // dropped: a fresh command at the picture on screen reads it again for a
    // new output.
    if (landed() && m_shownTime >= 0 && m_audioWanted &&
        (m_audio.unavailableFor(m_commandSerial) || m_audio.lostFor(m_commandSerial) ||
         m_audio.recoveredFor(m_commandSerial)))
        postSeek(m_shownTime, false);
}

void PlaybackEngine::pause()
{
    Step step(this);
    setPlaying(false);
}

void PlaybackEngine::togglePlay()
{
    Step step(this);
    if (m_playing)
        pause();
    else
        play();
}

void PlaybackEngine::seek(qlonglong utcMs, bool snapToKeyframe)
{
    Step step(this);
    postSeek(utcMs, snapToKeyframe);
}

void PlaybackEngine::setSpeed(int speed)
{
    Step step(this);
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
    notify(&PlaybackEngine::speedChanged);
}

void PlaybackEngine::stepFrame()
{
    Step step(this);
    if (!m_worker || !landed())
        return;
    setPlaying(false);
    const std::optional<QueuedFrame> front = m_worker->peekPicture(m_generation);
    if (!front)
        return;
    if (front->end) {
        // The end marker stays queued: every further step reports the end again.
        reportEnd(*front);
        return;
    }
    m_worker->popPicture();
    // Play starts over at the stepped picture with fresh sound: the sound
    // read up to here is never played, and left queued it would stop the
    // reading once the worker's sound bound is reached.
    m_worker->discardAudioBefore(m_generation, front->timeMs);
    showPicture(front->picture);
    if (m_shownTime >= 0 && m_shownTime < front->timeMs)
        m_frameInterval = front->timeMs - m_shownTime;
    m_shownTime = m_position = front->timeMs;
    m_clock.setBase(front->timeMs);
    m_gapAnnouncedAt = -1;
    enter(State::Stepped);
    notify(&PlaybackEngine::positionChanged);
}

void PlaybackEngine::stepBackFrame()
{
    Step step(this);
    if (!m_worker)
        return;
    setPlaying(false);
    if (!landed()) {
        // Held keys and quick calls step once per landed picture.
        if (m_state == State::SteppingBack)
            ++m_backQueued;
        return;
    }
    if (m_shownTime >= 0)
        postStepBack(m_shownTime);
}

void PlaybackEngine::retryDecode()
{
    Step step(this);
    if (!cardHoldsReader())
        return;
    const qlonglong position = m_position;
    // Nothing shown yet because the decoder gave up on the first picture
    // (not at its start): retry where that seek aimed, not at the card's
    // first recording.
    if (position < 1 && !m_seekOnOpen && m_lastSeekTarget > 0)
        m_seekOnOpen = PendingSeek{m_lastSeekTarget, false};
    clearError();
    open();
    if (position >= 1)
        postSeek(position, false);
}

// ---- Properties -------------------------------------------------------------

void PlaybackEngine::setCard(CardSession *card)
{
    Step step(this);
    if (card == m_card)
        return;
    if (m_card)
        disconnect(m_card, nullptr, this, nullptr);
    stop();
    m_seekOnOpen.reset();
    m_card = card;
    if (card) {
        // The session closes its card reader right after this signal: the
        // worker that reads through it is joined before.
        connect(card, &CardSession::aboutToClose, this, [this] {
            Step step(this);
            stop();
        });
        connect(card, &CardSession::changed, this, [this] {
            Step step(this);
            if (cardHoldsReader() && !m_worker)
                open();
        });
        if (cardHoldsReader())
            open();
    }
    notify(&PlaybackEngine::cardChanged);
}

void PlaybackEngine::setVideoSink(QVideoSink *sink)
{
    Step step(this);
    if (sink == m_videoSink)
        return;
    m_videoSink = sink;
    notify(&PlaybackEngine::videoSinkChanged);
}

void PlaybackEngine::setContinuous(bool continuous)
{
    Step step(this);
    if (continuous == m_continuous)
        return;
    m_continuous = continuous;
    notify(&PlaybackEngine::continuousChanged);
}

void PlaybackEngine::setVolume(double volume)
{
    Step step(this);
    volume = qBound(0.0, volume, 1.0);
    if (qFuzzyCompare(volume, m_volume))
        return;
    m_volume = volume;
    requestAudioSync();
    notify(&PlaybackEngine::volumeChanged);
}

void PlaybackEngine::setMuted(bool muted)
{
    Step step(this);
    if (muted == m_muted)
        return;
    m_muted = muted;
    requestAudioSync();
    notify(&PlaybackEngine::mutedChanged);
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
    notify(&PlaybackEngine::errorChanged);
}

void PlaybackEngine::clearError()
{
    if (m_errorString.isEmpty() && !m_decodeFailed && !m_hevcExtensionNeeded)
        return;
    m_errorString.clear();
    m_decodeFailed = false;
    m_hevcExtensionNeeded = false;
    notify(&PlaybackEngine::errorChanged);
}

// ---- Snapshot and store link ------------------------------------------------

QString PlaybackEngine::saveSnapshot(QString folder)
{
    if (!m_videoSink)
        return QString();
    const QVideoFrame frame = m_videoSink->videoFrame();
    if (!frame.isValid())
        return QString();
    // After a stop the sink still shows the last picture, whose time the
    // position kept.
    const qlonglong shown = m_shownTime >= 0 ? m_shownTime : m_position;
    return saveSnapshotFile(pictureImage(frame), shown, m_card ? m_card->offsetSecondsAt(shown) : 0,
                            folder.isEmpty() ? defaultSnapshotFolder() : folder);
}

void PlaybackEngine::openHevcExtensionStore()
{
    openHevcStorePage();
}

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
