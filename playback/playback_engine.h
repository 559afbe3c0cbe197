// PlaybackEngine: plays the recordings of one CardSession into a QVideoSink
// and the default sound device. A decode worker thread reads and decodes
// ahead; the presentation tick on the GUI thread (the time source's beat)
// feeds the sound, paces the pictures to a media clock that follows the
// sound device, skips or stops at gaps and announces seeks, gaps and the end.
#pragma once

#include "playback/audio_sync.h"
#include "playback/media_clock.h"
#include "playback/time_source.h"
#include "session/card_session.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariantMap>
#include <QVideoSink>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace nivra {

class DecodeWorker;
struct QueuedFrame;

class PlaybackEngine : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::CardSession *card READ card WRITE setCard NOTIFY cardChanged)
    Q_PROPERTY(QVideoSink *videoSink READ videoSink WRITE setVideoSink NOTIFY videoSinkChanged)
    Q_PROPERTY(qlonglong position READ position NOTIFY positionChanged)
    Q_PROPERTY(bool playing READ isPlaying NOTIFY playingChanged)
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(bool continuous READ continuous WRITE setContinuous NOTIFY continuousChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(bool muted READ isMuted WRITE setMuted NOTIFY mutedChanged)
    Q_PROPERTY(QString decoderInfo READ decoderInfo NOTIFY decoderInfoChanged)
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorChanged)
    Q_PROPERTY(bool decodeFailed READ decodeFailed NOTIFY errorChanged)
    Q_PROPERTY(bool hevcExtensionNeeded READ hevcExtensionNeeded NOTIFY errorChanged)
    Q_PROPERTY(int droppedFrames READ droppedFrames NOTIFY statsChanged)
    Q_PROPERTY(int presentedFrames READ presentedFrames NOTIFY statsChanged)
    Q_PROPERTY(bool audioClock READ audioClock NOTIFY statsChanged)
    // False once sound that should play found no output (none, or a sound
    // server that does not answer); true again when one opens.
    Q_PROPERTY(bool soundAvailable READ soundAvailable NOTIFY soundAvailableChanged)
    Q_PROPERTY(QSize videoSize READ videoSize NOTIFY statsChanged)
    Q_PROPERTY(QVariantMap status READ status NOTIFY statusChanged)
    Q_PROPERTY(qlonglong lastSeekTarget READ lastSeekTarget NOTIFY seeked)

public:
    explicit PlaybackEngine(QObject *parent = nullptr);
    ~PlaybackEngine() override;

    CardSession *card() const { return m_card.data(); }
    void setCard(CardSession *card);
    QVideoSink *videoSink() const { return m_videoSink.data(); }
    void setVideoSink(QVideoSink *sink);
    qlonglong position() const { return m_position; }
    bool isPlaying() const { return m_playing; }
    int speed() const { return m_speed; }
    void setSpeed(int speed);
    bool continuous() const { return m_continuous; }
    void setContinuous(bool continuous);
    double volume() const { return m_volume; }
    void setVolume(double volume);
    bool isMuted() const { return m_muted; }
    void setMuted(bool muted);
    QString decoderInfo() const { return m_decoderInfo; }
    QString errorString() const { return m_errorString; }
    bool decodeFailed() const { return m_decodeFailed; }
    bool hevcExtensionNeeded() const { return m_hevcExtensionNeeded; }
    int droppedFrames() const { return m_droppedFrames; }
    int presentedFrames() const { return m_presentedFrames; }
    bool audioClock() const { return m_audio.clockInUse(); }
    bool soundAvailable() const { return m_soundAvailable; }
    QSize videoSize() const { return m_videoSize; }
    QVariantMap status() const { return m_status; }
    qlonglong lastSeekTarget() const { return m_lastSeekTarget; }

    // Where the engine takes its time and its tick from (not owned; null:
    // the steady clock and a 4 ms timer). Set it before the card.
    void setTimeSource(TimeSource *source);
    // How far the worker has decoded ahead: the time of the newest queued
    // picture of the current command; the greatest time once no more come
    // before some are shown (its queue is full or ends); -1 before the first.
    qlonglong decodedUntil() const;

    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void togglePlay();
    Q_INVOKABLE void seek(qlonglong utcMs, bool snapToKeyframe = true);
    Q_INVOKABLE void stepFrame();
    // Pauses and shows the picture before the one on screen, decoded from the
    // key frame before it; across segments and gaps, and nothing at the
    // card's first picture. Play then starts at that picture, as after
    // stepFrame; no seeked signal follows.
    Q_INVOKABLE void stepBackFrame();
    Q_INVOKABLE void retryDecode();
    Q_INVOKABLE void openHevcExtensionStore();
    Q_INVOKABLE QString saveSnapshot(QString folder = QString());

signals:
    void cardChanged();
    void videoSinkChanged();
    void positionChanged();
    void playingChanged();
    void speedChanged();
    void continuousChanged();
    void volumeChanged();
    void mutedChanged();
    void decoderInfoChanged();
    void errorChanged();
    void statsChanged();
    void soundAvailableChanged();
    void statusChanged();
    void gapSkipped(qlonglong fromMs, qlonglong toMs);
    void chunkEnded(qlonglong atMs);
    void ended();
    // The card could not be read where playback went on (pulled out?).
    void readFailed();
    void seeked(qlonglong landedMs);

private:
    // Every entry point (property setters, invokable methods, the tick and
    // the session's signals) runs as one step: it brings the engine state up
    // to date without calling out, and queues what has to go out (sound
    // output calls, pictures for the video sink, signals). The queue runs
    // when the outermost step ends. A call-out that comes back into the
    // engine (a signal handler, or an event loop the sound backend runs)
    // thus always finds the state complete; its own step queues behind the
    // call-outs still waiting and runs them all when it ends.
    class Step;
    struct CallOut
    {
        quint64 serial = 0; // non-zero: dropped once the command has been replaced
        std::function<void()> run;
    };
    void later(std::function<void()> run);
    // A call-out about the current command (a picture of it, an event
    // signal): dropped when a newer command or a stop comes first.
    void laterForCommand(std::function<void()> run);
    // Queues ended(), or readFailed() when the end marker says the card failed.
    void reportEnd(const QueuedFrame &end);
    void notify(void (PlaybackEngine::*signal)());
    void runCallOuts();

    // Where the engine is. Every change goes through enter(), which knows
    // the allowed ones.
    enum class State
    {
        Closed,       // no decode worker: no card reader, or no decoder for it
        Landing,      // a seek was posted; its first picture is awaited
        SteppingBack, // a step back was posted; its picture is awaited
        Showing,      // landed: pictures are paced to the clock while playing
        Stepped,      // paused on a picture a step showed; play restarts there
    };
    void enter(State next);
    // The current command's first picture (or its end) has been shown.
    bool landed() const { return m_state == State::Showing || m_state == State::Stepped; }

    // Brings the sound output in line with the state; a call-out only.
    void requestAudioSync();
    void syncAudio();
    // The output is open for the current command.
    bool audioActive() const { return m_audio.activeFor(m_commandSerial); }

    void stop();
    void open();
    void postSeek(qlonglong targetMs, bool snap);
    // False when no picture lies before fromMs.
    bool postStepBack(qlonglong fromMs);
    // What every command resets, after the worker has taken it; enters next.
    void commandPosted(int generation, State next);
    void setPlaying(bool playing);
    // Opens the output anew for sound that found none (a seek in place).
    void retrySound();
    void setError(const QString &text, bool decodeFailure);
    void clearError();
    bool cardHoldsReader() const;
    void showPicture(const QVideoFrame &picture);
    // Stores the picture's size; true when it differs from the last one.
    bool updateVideoSize(const QVideoFrame &picture);
    void tick();
    // The tick while waiting for the first picture of the current command.
    void tickLanding();
    // The tick once that picture is on screen: pacing, gaps and the end.
    void tickLanded();
    void rebuildStatus(qlonglong referenceMs);

    QPointer<CardSession> m_card;
    QPointer<QVideoSink> m_videoSink;
    std::unique_ptr<DecodeWorker> m_worker;
    TimeSource m_ownTime;
    TimeSource *m_time = &m_ownTime;
    MediaClock m_clock;
    AudioSync m_audio;
    State m_state = State::Closed;
    int m_generation = 0;
    // Bumped by every command and every stop; never 0, which marks
    // call-outs that belong to no command.
    quint64 m_commandSerial = 1;
    int m_depth = 0; // steps in progress
    std::deque<CallOut> m_callOuts;
    bool m_audioWanted = false; // the current command reads sound
    bool m_audioSyncQueued = false;
    // Closed: a seek asked for before there was a worker, made once it opens.
    struct PendingSeek
    {
        qlonglong targetMs = 0;
        bool snap = true;
    };
    std::optional<PendingSeek> m_seekOnOpen;
    // SteppingBack: further steps asked for before its picture landed.
    int m_backQueued = 0;
    // The first picture behind the gap already announced at the queue's
    // front; -1 when none is.
    qlonglong m_gapAnnouncedAt = -1;
    bool m_decodeFailed = false;
    bool m_hevcExtensionNeeded = false;
    qlonglong m_lastSeekTarget = 0;
    qlonglong m_position = 0;
    qlonglong m_shownTime = -1;
    qlonglong m_frameInterval = 67;
    bool m_playing = false;
    int m_speed = 1;
    bool m_continuous = true;
    double m_volume = 1.0;
    bool m_muted = false;
    bool m_soundAvailable = true;
    QString m_decoderInfo;
    QString m_errorString;
    int m_droppedFrames = 0;
    QSize m_videoSize;
    QVariantMap m_status;
    qint64 m_statusAtNs = -1; // when the status was last rebuilt
    qint64 m_lastTickNs = -1; // for the trace of late ticks
    int m_presentedFrames = 0;
};

// Opens the store page of the HEVC Video Extensions (Windows only; elsewhere
// nothing happens).
void openHevcStorePage();

} // namespace nivra
