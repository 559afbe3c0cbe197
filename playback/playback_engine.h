// PlaybackEngine: plays the recordings of one CardSession into a QVideoSink
// and the default sound device. A decode worker thread reads and decodes
// ahead; a 4 ms timer on the GUI thread (the presentation tick) feeds the
// sound, paces the pictures to a media clock that follows the sound device,
// skips or stops at gaps and announces seeks, gaps and the end.
#pragma once

#include "playback/audio_output.h"
#include "playback/media_clock.h"
#include "session/card_session.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <QVideoSink>

#include <deque>
#include <functional>
#include <memory>

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
    Q_PROPERTY(bool internalBuild READ internalBuild CONSTANT)
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
    bool audioClock() const { return m_audioClock; }
    bool internalBuild() const { return false; }
    QSize videoSize() const { return m_videoSize; }
    QVariantMap status() const { return m_status; }
    qlonglong lastSeekTarget() const { return m_lastSeekTarget; }

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

    // Brings the sound output in line with the state: opened once per
    // command that wants sound, suspended while paused, fed and read for the
    // clock while playing. Runs as a call-out only, never inside itself.
    void requestAudioSync();
    void syncAudio();
    // One call into the output at most; true when another pass is needed.
    bool syncAudioOnce();
    void readAudioClock();
    // The output is open for the current command.
    bool audioActive() const { return m_audioFor != 0 && m_audioFor == m_commandSerial; }

    void stop();
    void open();
    void postSeek(qlonglong targetMs, bool snap);
    // False when no picture lies before fromMs.
    bool postStepBack(qlonglong fromMs);
    // What every command resets, after the worker has taken it.
    void commandPosted(int generation);
    // The last usable key frame before timeMs, looking back over earlier
    // recordings; -1 when there is none.
    qlonglong keyframeBefore(qlonglong timeMs) const;
    void setPlaying(bool playing);
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
    AudioOutput m_audio;
    QTimer m_tickTimer;
    MediaClock m_clock;
    int m_generation = 0;
    // Bumped by every command and every stop; never 0, which marks
    // call-outs that belong to no command.
    quint64 m_commandSerial = 1;
    int m_depth = 0; // steps in progress
    std::deque<CallOut> m_callOuts;
    // Sound output: what the state wants and what the output was told.
    bool m_audioWanted = false;  // the current command reads sound
    quint64 m_audioTriedFor = 0; // serial the output was last (re)opened for; 0 closed
    quint64 m_audioFor = 0;      // serial it is open and playing for; 0 none
    bool m_audioSuspended = false;
    float m_audioVolume = 1.0f;
    bool m_audioSyncQueued = false;
    bool m_inAudioCall = false;
    bool m_audioSyncAgain = false;
    // The last sync took the clock from the device.
    bool m_audioDriven = false;
    // Stall watch: the device's last clock value and since when it holds.
    qlonglong m_audioLastClock = -1;
    QElapsedTimer m_audioStill;
    bool m_landed = false;
    bool m_decodeFailed = false;
    bool m_hevcExtensionNeeded = false;
    qlonglong m_lastSeekTarget = 0;
    qlonglong m_pendingTarget = -1;
    bool m_pendingSnap = true;
    bool m_gapLatch = false;
    bool m_audioActive = false;
    qlonglong m_position = 0;
    qlonglong m_shownTime = -1;
    qlonglong m_frameInterval = 67;
    bool m_playing = false;
    int m_speed = 1;
    bool m_continuous = true;
    double m_volume = 1.0;
    bool m_muted = false;
    QString m_decoderInfo;
    QString m_errorString;
    int m_droppedFrames = 0;
    QSize m_videoSize;
    QVariantMap m_status;
    QElapsedTimer m_statusTimer;
    bool m_stepped = false;
    // The current command steps back; steps asked for before it landed.
    bool m_stepBack = false;
    int m_backQueued = 0;
    int m_presentedFrames = 0;
    bool m_audioClock = false;
};

// Opens the store page of the HEVC Video Extensions (Windows only; elsewhere
// nothing happens).
void openHevcStorePage();

} // namespace nivra
