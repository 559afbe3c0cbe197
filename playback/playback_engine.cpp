#include "playback/playback_engine.h"

#include "playback/decode_worker.h"
#include "playback/engine_step.h"
#include "playback/picture_image.h"
#include "playback/snapshot.h"
#include "playback/trace.h"

#include <QtDebug>

namespace nivra {

namespace {

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
    // The benchmarks time a seek from here to its picture on screen.
    if (traceEnabled())
        qDebug("TRACE seek request %lld %s", utcMs, snapToKeyframe ? "key" : "exact");
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

} // namespace nivra
