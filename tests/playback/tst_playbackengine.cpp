// PlaybackEngine on simulator cards: a real session, a real decode worker and a
// QVideoSink whose pictures are identified by the time stamp drawn into them.
// The engine's time moves only when a test moves it (ManualTime), after the
// worker has decoded what becomes due: the pictures shown and dropped are
// exact however busy the machine is. Sound devices keep their own time.
//
// The "small" card: 320x240 H.264 at 10 fps (a picture every 100 ms, a key
// frame every 2 s), AAC sound, recorded 10:00:00-10:00:59.9 and
// 10:02:00-10:02:59.9 UTC on 2024-03-05 with the camera at UTC+1. The
// "noaudio" card: the same video, no sound, 08:00:00-08:00:39.9 on 2024-07-22.
#include "engine_test_util.h"
#include "sound_server.h"

#include "decode/decoder.h"
#include "playback/playback_engine.h"
#include "playback/trace.h"
#include "session/card_session.h"
#include "simcard.h"

#include <QAudioDevice>
#include <QImage>
#include <QMediaDevices>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using nivra::CardSession;
using nivra::PlaybackEngine;
using nivra::test::ManualTime;
using nivra::test::ownSinkInput;
using nivra::test::pactl;
using nivra::test::SinkProbe;
using nivra::test::stampOf;
using nivra::test::TraceCatcher;
using nivra::test::utcMs;

namespace {

// Long enough for a cold decoder and a busy machine; nothing waits this long
// when the engine works.
constexpr int kWaitMs = 20000;

const qlonglong kSmallFirst = utcMs("2024-03-05T10:00:00.000Z");
const qlonglong kSmallLastBeforeGap = utcMs("2024-03-05T10:00:59.900Z");
const qlonglong kSmallAfterGap = utcMs("2024-03-05T10:02:00.000Z");
const qlonglong kSmallLast = utcMs("2024-03-05T10:02:59.900Z");
const qlonglong kNoAudioFirst = utcMs("2024-07-22T08:00:00.000Z");

// One engine with its session and sink. The time and the session are
// declared first so the engine (which beats on the one and reads through the
// other's card reader) goes first.
struct Rig
{
    ManualTime time;
    CardSession session;
    SinkProbe probe;
    PlaybackEngine engine;
    QSignalSpy seeked{&engine, &PlaybackEngine::seeked};
    QSignalSpy ended{&engine, &PlaybackEngine::ended};
    QSignalSpy gapSkipped{&engine, &PlaybackEngine::gapSkipped};
    QSignalSpy chunkEnded{&engine, &PlaybackEngine::chunkEnded};
    QSignalSpy playingChanged{&engine, &PlaybackEngine::playingChanged};
    QSignalSpy speedChanged{&engine, &PlaybackEngine::speedChanged};
    QSignalSpy errorChanged{&engine, &PlaybackEngine::errorChanged};

    Rig()
    {
        engine.setTimeSource(&time);
        engine.setVideoSink(&probe.sink);
    }
    bool open(const char *dir)
    {
        if (!session.openPath(QString::fromUtf8(dir)))
            return false;
        engine.setCard(&session);
        return true;
    }
    // The landing time of the last seek (waits for the seeked signal number n).
    bool waitSeeked(int n)
    {
        QElapsedTimer timer;
        timer.start();
        while (seeked.count() < n && timer.elapsed() < kWaitMs)
            QTest::qWait(10);
        return seeked.count() >= n;
    }
    qlonglong landed() const { return seeked.isEmpty() ? -1 : seeked.last().at(0).toLongLong(); }

    // Waits in real time until the worker has decoded up to untilMs or can
    // decode no more for now.
    bool waitDecoded(qlonglong untilMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (engine.decodedUntil() < untilMs) {
            if (timer.elapsed() > kWaitMs)
                return false;
            QTest::qWait(2);
        }
        return true;
    }
    // Moves the engine's time on by ms. While playing it goes in steps of
    // stepMs, each once the worker has decoded what the step makes due.
    bool advance(qint64 ms, qint64 stepMs = 20)
    {
        for (qint64 done = 0; done < ms;) {
            const qint64 step = qMin(stepMs, ms - done);
            // A picture interval of the card plus what the step plays.
            if (engine.isPlaying() && !waitDecoded(engine.position() + 200 + step * engine.speed()))
                return false;
            // A beat first lands a picture that came while the time stood.
            time.advance(0);
            time.advance(step);
            done += step;
        }
        return true;
    }
    // Plays on, stepping the time, until done() holds (within limitMs of
    // the engine's time). While paused, or while a sound device drives the
    // pictures in its own time, the engine's time follows the real one.
    bool playUntil(const std::function<bool()> &done, qint64 limitMs = 180000)
    {
        QElapsedTimer real;
        real.start();
        for (qint64 spent = 0; !done();) {
            if (real.elapsed() > kWaitMs)
                return false;
            if (!engine.isPlaying() || engine.audioClock()) {
                QTest::qWait(10);
                time.advance(10);
                continue;
            }
            if (spent > limitMs || !advance(20))
                return false;
            spent += 20;
        }
        return true;
    }
};

// Steps until a step takes effect (the next picture may still be decoding);
// true when one did.
bool stepOnce(Rig &rig)
{
    const qlonglong before = rig.engine.position();
    const int ends = rig.ended.count();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kWaitMs) {
        rig.engine.stepFrame();
        if (rig.engine.position() != before || rig.ended.count() != ends)
            return true;
        QTest::qWait(10);
    }
    return false;
}

bool isKeyFrame(CardSession &session, qlonglong timeMs)
{
    return session.keyframeAtOrBefore(timeMs) == timeMs;
}

} // namespace

class TestPlaybackEngine : public QObject
{
    Q_OBJECT

    // The sound server once a test has restarted it, for the tests after.
    QProcess m_restarted;

private slots:
    void initTestCase();
    void cleanupTestCase()
    {
        m_restarted.kill();
        m_restarted.waitForFinished();
    }

    void propertiesNotifyOnlyRealChanges();
    void openWithoutSeekStartsAtFirstPlayable();
    void seekLandsOnTheRightPicture_data();
    void seekLandsOnTheRightPicture();
    void playsInOrderAtNormalSpeed();
    void dropsWhenConsumerIsSlow();
    void gapIsSkippedWhenContinuous_data();
    void gapIsSkippedWhenContinuous();
    void gapStopsWhenNotContinuous();
    void gapReachedWhilePausedSignalsOnce();
    void endIsReportedAfterTheHold();
    void endMarkerAsFirstItem();
    void cardGoneIsAReadFailureNotTheEnd();
    void garbledKeyframePlaysFromTheNext();
    void speedChangesOnACardWithoutSound();
    void speedChangesOnACardWithSound();
    void stepFrameShowsTheNextPicture();
    void stepFrameAtTheEnd();
    void stepBackShowsThePictureBefore_data();
    void stepBackShowsThePictureBefore();
    void stepsBackAndForwardMeet();
    void steppingGoesOnWithSound();
    void seekAfterAStepIsKept_data();
    void seekAfterAStepIsKept();
    void closingTheCardFromInsideACallOut_data();
    void closingTheCardFromInsideACallOut();
    void stalledSoundFallsBackToTheWallClock();
    void decodeFailureAndRetry();
    void saveSnapshotNamesFiles();
    void aboutToCloseWhilePlaying();
    void audioClockDrivesPictures();
    void aSoundServerThatDoesNotAnswerHoldsNothing();
    void playAfterTheSoundServerRestartedHasSound();
};

void TestPlaybackEngine::initTestCase()
{
    // Software decoding: the same pictures on every machine.
    nivra::setDecodePolicy(nivra::PolicySoftware);
    QVERIFY(QFileInfo::exists(QStringLiteral(SMALL_CARD_DIR "/index.dat")));
    QVERIFY(QFileInfo::exists(QStringLiteral(NOAUDIO_CARD_DIR "/index.dat")));
}

void TestPlaybackEngine::propertiesNotifyOnlyRealChanges()
{
    PlaybackEngine engine;
    QCOMPARE(engine.position(), 0LL);
    QCOMPARE(engine.isPlaying(), false);
    QCOMPARE(engine.speed(), 1);
    QCOMPARE(engine.continuous(), true);
    QCOMPARE(engine.volume(), 1.0);
    QCOMPARE(engine.lastSeekTarget(), 0LL);

    QSignalSpy volume(&engine, &PlaybackEngine::volumeChanged);
    engine.setVolume(3.0); // clamps to 1, the current value
    QCOMPARE(volume.count(), 0);
    engine.setVolume(0.25);
    engine.setVolume(0.25);
    QCOMPARE(volume.count(), 1);
    engine.setVolume(-1.0);
    QCOMPARE(engine.volume(), 0.0);
    QCOMPARE(volume.count(), 2);

    QSignalSpy muted(&engine, &PlaybackEngine::mutedChanged);
    engine.setMuted(true);
    engine.setMuted(true);
    QCOMPARE(muted.count(), 1);

    QSignalSpy continuous(&engine, &PlaybackEngine::continuousChanged);
    engine.setContinuous(true);
    QCOMPARE(continuous.count(), 0);
    engine.setContinuous(false);
    QCOMPARE(continuous.count(), 1);

    QSignalSpy speed(&engine, &PlaybackEngine::speedChanged);
    for (int ignored : {0, 3, 5, 32, -1, 1})
        engine.setSpeed(ignored);
    QCOMPARE(speed.count(), 0);
    QCOMPARE(engine.speed(), 1);

    QSignalSpy sink(&engine, &PlaybackEngine::videoSinkChanged);
    QVideoSink videoSink;
    engine.setVideoSink(&videoSink);
    engine.setVideoSink(&videoSink);
    QCOMPARE(sink.count(), 1);

    // Without a card, play does nothing and a seek is only remembered.
    QSignalSpy playing(&engine, &PlaybackEngine::playingChanged);
    engine.play();
    engine.seek(1234);
    QCOMPARE(playing.count(), 0);
    QCOMPARE(engine.isPlaying(), false);
    QCOMPARE(engine.lastSeekTarget(), 0LL);
    // No picture in the sink: no snapshot.
    QCOMPARE(engine.saveSnapshot(QDir::tempPath()), QString());
}

void TestPlaybackEngine::openWithoutSeekStartsAtFirstPlayable()
{
    Rig rig;
    QSignalSpy card(&rig.engine, &PlaybackEngine::cardChanged);
    QSignalSpy info(&rig.engine, &PlaybackEngine::decoderInfoChanged);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QCOMPARE(card.count(), 1);
    QCOMPARE(rig.session.firstPlayableMs(), kSmallFirst);
    QVERIFY(rig.waitSeeked(1));
    QCOMPARE(rig.landed(), kSmallFirst);
    QCOMPARE(rig.engine.position(), kSmallFirst);
    QCOMPARE(rig.engine.lastSeekTarget(), kSmallFirst);
    QCOMPARE(rig.probe.lastStamp(), kSmallFirst);
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.engine.videoSize(), QSize(320, 240));
    QVERIFY(!rig.engine.decoderInfo().isEmpty());
    QCOMPARE(info.count(), 1);
    // Paused: nothing more is shown.
    QVERIFY(rig.advance(400));
    QCOMPARE(rig.probe.shown.size(), qsizetype(1));
    QCOMPARE(rig.seeked.count(), 1);
}

void TestPlaybackEngine::seekLandsOnTheRightPicture_data()
{
    QTest::addColumn<bool>("beforeOpen");
    QTest::addColumn<qlonglong>("target");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<qlonglong>("expected");

    const qlonglong mid = utcMs("2024-03-05T10:00:05.500Z");
    QTest::newRow("exact") << false << mid << false << mid;
    QTest::newRow("snapped to the key frame before")
        << false << mid << true << utcMs("2024-03-05T10:00:04.000Z");
    QTest::newRow("exact between pictures")
        << false << utcMs("2024-03-05T10:00:07.250Z") << false << utcMs("2024-03-05T10:00:07.300Z");
    QTest::newRow("snapped in the gap")
        << false << utcMs("2024-03-05T10:01:30.000Z") << true << kSmallAfterGap;
    QTest::newRow("exact in the gap")
        << false << utcMs("2024-03-05T10:01:30.000Z") << false << kSmallAfterGap;
    QTest::newRow("before open, exact") << true << mid << false << mid;
    QTest::newRow("before open, snapped")
        << true << utcMs("2024-03-05T10:02:13.900Z") << true << utcMs("2024-03-05T10:02:12.000Z");
}

void TestPlaybackEngine::seekLandsOnTheRightPicture()
{
    QFETCH(bool, beforeOpen);
    QFETCH(qlonglong, target);
    QFETCH(bool, snap);
    QFETCH(qlonglong, expected);

    Rig rig;
    if (beforeOpen) {
        // The engine already has the (closed) session; the seek waits for it.
        rig.engine.setCard(&rig.session);
        rig.engine.seek(target, snap);
        QVERIFY(rig.session.openPath(QStringLiteral(SMALL_CARD_DIR)));
        QVERIFY(rig.waitSeeked(1));
    } else {
        QVERIFY(rig.open(SMALL_CARD_DIR));
        QVERIFY(rig.waitSeeked(1));
        rig.engine.seek(target, snap);
        QVERIFY(rig.waitSeeked(2));
    }
    QCOMPARE(rig.landed(), expected);
    QCOMPARE(rig.probe.lastStamp(), expected);
    QCOMPARE(rig.engine.position(), expected);
    QCOMPARE(rig.engine.lastSeekTarget(), target);
    if (snap)
        QVERIFY(isKeyFrame(rig.session, expected));
    // A paused seek shows its picture and stays paused.
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.playingChanged.count(), 0);
}

void TestPlaybackEngine::playsInOrderAtNormalSpeed()
{
    Rig rig;
    QSignalSpy stats(&rig.engine, &PlaybackEngine::statsChanged);
    QSignalSpy status(&rig.engine, &PlaybackEngine::statusChanged);
    TraceCatcher traces;
    // Without sound the engine's own clock paces the pictures.
    QVERIFY(rig.open(NOAUDIO_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong start = kNoAudioFirst + 10000;
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));
    const int firstShown = rig.probe.shown.size();
    const int presentedBefore = rig.engine.presentedFrames();
    const int droppedBefore = rig.engine.droppedFrames();

    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), true);
    QVERIFY(rig.advance(3000));
    rig.engine.pause();
    QCOMPARE(rig.engine.isPlaying(), false);

    // Three seconds of time show the 30 pictures of three seconds, each on
    // time, in order: none dropped, none early.
    const QList<qlonglong> shown = rig.probe.stamps().mid(firstShown);
    QList<qlonglong> expected;
    for (int i = 1; i <= 30; ++i)
        expected << start + 100 * i;
    QCOMPARE(shown, expected);
    QCOMPARE(rig.engine.position(), start + 3000);
    QCOMPARE(rig.engine.presentedFrames() - presentedBefore, 30);
    QCOMPARE(rig.engine.droppedFrames() - droppedBefore, 0);

    QVERIFY(stats.count() >= 1);
    QVERIFY(status.count() >= 1);
    const QVariantMap map = rig.engine.status();
    QVERIFY(map.value(QStringLiteral("segId")).toInt() >= 0);
    QVERIFY(map.value(QStringLiteral("offset")).toLongLong() > 0);
    QVERIFY(map.value(QStringLiteral("bufferMs")).toLongLong() >= 0);
    // Pictures 100 ms apart at 1×: 10 per second.
    QCOMPARE(map.value(QStringLiteral("fps")).toDouble(), 10.0);

    if (!nivra::traceEnabled())
        return;
    // Each picture was shown when the clock had reached it (5 ms early at most).
    static const QRegularExpression showLine(QStringLiteral("^TRACE show (\\d+) clock (\\d+)$"));
    int showLines = 0;
    for (const QString &line : traces.lines()) {
        const QRegularExpressionMatch match = showLine.match(line);
        if (!match.hasMatch())
            continue;
        ++showLines;
        QVERIFY2(match.captured(2).toLongLong() + 5 >= match.captured(1).toLongLong(), qPrintable(line));
    }
    QCOMPARE(showLines, 30);
}

void TestPlaybackEngine::dropsWhenConsumerIsSlow()
{
    Rig rig;
    TraceCatcher traces;
    QVERIFY(rig.open(NOAUDIO_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong start = kNoAudioFirst + 20000;
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));
    const int firstShown = rig.probe.shown.size();
    QSignalSpy stats(&rig.engine, &PlaybackEngine::statsChanged);

    // A machine that cannot keep up: 350 ms pass between two ticks, 3.5
    // picture intervals. Each tick shows the newest picture due and drops
    // the ones it overtook.
    rig.engine.play();
    QList<qlonglong> expected;
    for (int tick = 1; tick <= 8; ++tick) {
        QVERIFY(rig.advance(350, 350));
        // Due: every picture up to 5 ms after the clock.
        expected << start + (tick * 350 + 5) / 100 * 100;
    }
    rig.engine.pause();

    QCOMPARE(rig.probe.stamps().mid(firstShown), expected);
    const qlonglong last = expected.last();
    QCOMPARE(rig.engine.presentedFrames(), 8);
    QCOMPARE(qlonglong(rig.engine.droppedFrames()), (last - start) / 100 - 8);
    QVERIFY(stats.count() >= 1);

    if (!nivra::traceEnabled())
        return;
    static const QRegularExpression dropLine(
        QStringLiteral("^TRACE drop (\\d+) \\(next (\\d+), clock (\\d+), audio ([01])\\)$"));
    int dropLines = 0;
    for (const QString &line : traces.lines()) {
        const QRegularExpressionMatch match = dropLine.match(line);
        if (!match.hasMatch())
            continue;
        ++dropLines;
        // A dropped picture was overtaken by a later one that was due too.
        QVERIFY2(match.captured(1).toLongLong() < match.captured(2).toLongLong(), qPrintable(line));
        QVERIFY2(match.captured(3).toLongLong() + 5 >= match.captured(2).toLongLong(), qPrintable(line));
    }
    QCOMPARE(dropLines, rig.engine.droppedFrames());
    // The late ticks show up as gaps between ticks.
    QCOMPARE(
        traces.lines().filter(QRegularExpression(QStringLiteral("^TRACE tick gap 350 ms at \\d+$"))).size(),
        8);
}

void TestPlaybackEngine::gapIsSkippedWhenContinuous_data()
{
    QTest::addColumn<int>("speed");
    // At 1× the sound (when a device plays it) carries the clock across; at 2×
    // there is no sound and the engine itself must jump the clock.
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

void TestPlaybackEngine::gapIsSkippedWhenContinuous()
{
    QFETCH(int, speed);
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.setSpeed(speed);
    rig.engine.seek(utcMs("2024-03-05T10:00:58.500Z"), false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.play();
    // The real gap is a minute long (30 s at 2×); the skip takes about one
    // picture interval.
    QVERIFY(rig.playUntil([&] { return rig.gapSkipped.count() == 1; }, 3000));
    QCOMPARE(rig.gapSkipped.first().at(0).toLongLong(), kSmallLastBeforeGap);
    QCOMPARE(rig.gapSkipped.first().at(1).toLongLong(), kSmallAfterGap);
    QVERIFY(rig.playUntil([&] { return rig.engine.position() >= kSmallAfterGap + 1000; }, 3000));
    QCOMPARE(rig.gapSkipped.count(), 1);
    QCOMPARE(rig.chunkEnded.count(), 0);
    QCOMPARE(rig.engine.isPlaying(), true);
    // The first picture behind the gap was shown, right after the last one before it.
    const QList<qlonglong> stamps = rig.probe.stamps();
    const qsizetype before = stamps.indexOf(kSmallLastBeforeGap);
    QVERIFY(before >= 0);
    QCOMPARE(stamps.value(before + 1), kSmallAfterGap);
}

void TestPlaybackEngine::gapStopsWhenNotContinuous()
{
    Rig rig;
    rig.engine.setContinuous(false);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(utcMs("2024-03-05T10:00:58.500Z"), false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.play();
    QVERIFY(rig.playUntil([&] { return rig.chunkEnded.count() == 1; }, 3000));
    QCOMPARE(rig.chunkEnded.first().at(0).toLongLong(), kSmallLastBeforeGap);
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.engine.position(), kSmallLastBeforeGap);
    QCOMPARE(rig.probe.lastStamp(), kSmallLastBeforeGap);
    QVERIFY(rig.advance(300));
    QCOMPARE(rig.engine.position(), kSmallLastBeforeGap);

    // play continues behind the gap without a second stop.
    rig.engine.play();
    QVERIFY(rig.playUntil([&] { return rig.engine.position() >= kSmallAfterGap + 500; }, 3000));
    QCOMPARE(rig.chunkEnded.count(), 1);
    QCOMPARE(rig.gapSkipped.count(), 0);
    QCOMPARE(rig.seeked.count(), 2);
    QVERIFY(rig.probe.shown.size() >= 2);
}

void TestPlaybackEngine::gapReachedWhilePausedSignalsOnce()
{
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    // Paused on the last picture before the gap: the next one is behind it.
    rig.engine.seek(kSmallLastBeforeGap, false);
    QVERIFY(rig.waitSeeked(2));
    QTRY_COMPARE_WITH_TIMEOUT(rig.gapSkipped.count(), 1, kWaitMs);
    QCOMPARE(rig.gapSkipped.first().at(0).toLongLong(), kSmallLastBeforeGap);
    QCOMPARE(rig.gapSkipped.first().at(1).toLongLong(), kSmallAfterGap);
    QVERIFY(rig.advance(500));
    QCOMPARE(rig.gapSkipped.count(), 1);
    QCOMPARE(rig.engine.position(), kSmallLastBeforeGap);
    QCOMPARE(rig.engine.isPlaying(), false);
}

void TestPlaybackEngine::endIsReportedAfterTheHold()
{
    Rig rig;
    QSignalSpy status(&rig.engine, &PlaybackEngine::statusChanged);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(utcMs("2024-03-05T10:02:58.000Z"), false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.play();
    QVERIFY(rig.playUntil([&] { return rig.ended.count() == 1; }, 3000));
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.engine.position(), kSmallLast);
    QCOMPARE(rig.probe.lastStamp(), kSmallLast);
    // Nothing but the end marker is queued: the status shows no buffer.
    const int statusBefore = status.count();
    QVERIFY(rig.advance(500));
    QCOMPARE(status.count(), statusBefore + 1);
    QCOMPARE(rig.engine.status().value(QStringLiteral("bufferMs")).toLongLong(), 0);

    // Playing again ends again after the hold; nothing new is shown.
    const int shown = rig.probe.shown.size();
    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), true);
    QVERIFY(rig.playUntil([&] { return rig.ended.count() == 2; }, 1000));
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.probe.shown.size(), shown);
    QCOMPARE(rig.engine.position(), kSmallLast);
}

void TestPlaybackEngine::cardGoneIsAReadFailureNotTheEnd()
{
    // The card pulled out while it plays: a seek cannot read it, which is
    // said as such, not as "no more recordings".
    nivra::test::TempDir tmp("engine-gone");
    const std::string card = tmp.path() + "/card";
    QCOMPARE(nivra::test::runCommand("cp -r " + nivra::test::shellQuote(SMALL_CARD_DIR) + " " +
                                     nivra::test::shellQuote(card)),
             0);
    Rig rig;
    QSignalSpy readFailed(&rig.engine, &PlaybackEngine::readFailed);
    QVERIFY(rig.open(card.c_str()));
    QVERIFY(rig.waitSeeked(1));
    QCOMPARE(nivra::test::runCommand("rm " + nivra::test::shellQuote(card) + "/seg_*.dat"), 0);
    rig.engine.seek(kSmallAfterGap, true);
    QTRY_COMPARE_WITH_TIMEOUT(readFailed.count(), 1, kWaitMs);
    QCOMPARE(rig.ended.count(), 0);
    QCOMPARE(rig.engine.isPlaying(), false);
}

void TestPlaybackEngine::garbledKeyframePlaysFromTheNext()
{
    // The first keyframe garbled behind an intact header: the recording
    // plays from the next keyframe, 2 s later, although the sound of those
    // 2 s would fill the worker's sound queue before any picture comes.
    nivra::test::TempDir dir("engine-garbled");
    QVERIFY(nivra::test::generateDamagedPresetCard(
        "small", R"({"framePayloadGarbled": [{"segment": 0, "frame": 0}]})", dir.path()));
    Rig rig;
    QVERIFY(rig.open(dir.path().c_str()));
    QVERIFY(rig.waitSeeked(1));
    QCOMPARE(rig.landed(), kSmallFirst + 2000);
    QCOMPARE(rig.probe.lastStamp(), kSmallFirst + 2000);
    QVERIFY(rig.engine.errorString().isEmpty());
}

void TestPlaybackEngine::endMarkerAsFirstItem()
{
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), true);
    // Nothing is recorded after this time.
    rig.engine.seek(utcMs("2024-03-05T10:30:00.000Z"), true);
    QTRY_COMPARE_WITH_TIMEOUT(rig.ended.count(), 1, kWaitMs);
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.seeked.count(), 1);
    QVERIFY(rig.advance(300));
    QCOMPARE(rig.ended.count(), 1);

    // The end behaves as when a picture was shown before it: play ends
    // again after the hold, a step reports the end, nothing is shown.
    const int shown = rig.probe.shown.size();
    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), true);
    QVERIFY(rig.playUntil([&] { return rig.ended.count() == 2; }, 1000));
    QCOMPARE(rig.engine.isPlaying(), false);
    rig.engine.stepFrame();
    QCOMPARE(rig.ended.count(), 3);
    QCOMPARE(rig.probe.shown.size(), shown);
    QCOMPARE(rig.seeked.count(), 1);
    // A seek back to the recordings lands as usual.
    rig.engine.seek(kSmallFirst, true);
    QVERIFY(rig.waitSeeked(2));
    QCOMPARE(rig.landed(), kSmallFirst);
}

void TestPlaybackEngine::speedChangesOnACardWithoutSound()
{
    Rig rig;
    QVERIFY(rig.open(NOAUDIO_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong first = rig.landed();
    QCOMPARE(first, utcMs("2024-07-22T08:00:00.000Z"));

    // 1 → 2 → 4: the clock changes rate, nothing is re-read.
    rig.engine.setSpeed(2);
    rig.engine.setSpeed(4);
    QCOMPARE(rig.speedChanged.count(), 2);
    QCOMPARE(rig.engine.speed(), 4);
    const int playFrom = int(rig.probe.shown.size());
    rig.engine.play();
    // A picture every 25 ms of time: each one shown, none dropped.
    QVERIFY(rig.advance(1500, 25));
    rig.engine.pause();
    QCOMPARE(rig.seeked.count(), 1);
    QCOMPARE(rig.engine.lastSeekTarget(), first);
    QCOMPARE(rig.engine.position(), first + 4 * 1500);
    QCOMPARE(rig.probe.shown.size() - playFrom, 60);
    QCOMPARE(rig.engine.droppedFrames(), 0);

    // 4 → 8: re-seek at the picture on screen, snapping, key frames only.
    const qlonglong shownTime = rig.engine.position();
    rig.engine.setSpeed(8);
    QCOMPARE(rig.engine.lastSeekTarget(), shownTime);
    QVERIFY(rig.waitSeeked(2));
    QVERIFY(isKeyFrame(rig.session, rig.landed()));
    QVERIFY(rig.landed() <= shownTime);
    const int fastFrom = rig.probe.shown.size();
    QSignalSpy status(&rig.engine, &PlaybackEngine::statusChanged);
    rig.engine.play();
    QVERIFY(
        rig.playUntil([&] { return rig.probe.shown.size() >= fastFrom + 2 && status.count() >= 1; }, 20000));
    rig.engine.pause();
    for (int i = fastFrom; i < rig.probe.shown.size(); ++i)
        QVERIFY2(isKeyFrame(rig.session, rig.probe.shown.at(i).stamp),
                 qPrintable(QString::number(rig.probe.shown.at(i).stamp)));
    QCOMPARE(rig.engine.status().value(QStringLiteral("fps")).toDouble(), 0.0);

    // 8 → 16: same class change; 16 → 8 likewise re-seeks.
    rig.engine.setSpeed(16);
    QVERIFY(rig.waitSeeked(3));
    QVERIFY(isKeyFrame(rig.session, rig.landed()));
    QCOMPARE(rig.speedChanged.count(), 4);
}

void TestPlaybackEngine::speedChangesOnACardWithSound()
{
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(utcMs("2024-03-05T10:00:30.300Z"), false);
    QVERIFY(rig.waitSeeked(2));
    // 1 → 2 stops the sound: re-seek, without snapping, at the shown picture.
    rig.engine.setSpeed(2);
    QCOMPARE(rig.engine.lastSeekTarget(), utcMs("2024-03-05T10:00:30.300Z"));
    QVERIFY(rig.waitSeeked(3));
    QCOMPARE(rig.landed(), utcMs("2024-03-05T10:00:30.300Z"));
    // 2 → 4 keeps the class and has no sound either way: no re-seek.
    rig.engine.setSpeed(4);
    QVERIFY(rig.advance(300));
    QTest::qWait(50); // nothing lands
    QCOMPARE(rig.seeked.count(), 3);
    // 4 → 1 brings the sound back: re-seek.
    rig.engine.setSpeed(1);
    QVERIFY(rig.waitSeeked(4));
    QCOMPARE(rig.landed(), utcMs("2024-03-05T10:00:30.300Z"));
    QCOMPARE(rig.speedChanged.count(), 3);
}

void TestPlaybackEngine::stepFrameShowsTheNextPicture()
{
    Rig rig;
    QSignalSpy position(&rig.engine, &PlaybackEngine::positionChanged);
    // Before anything has landed a step does nothing.
    rig.engine.stepFrame();
    QCOMPARE(position.count(), 0);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong start = utcMs("2024-03-05T10:00:10.000Z");
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));

    // Paused: each step shows the next picture (it may still be decoding).
    QVERIFY(stepOnce(rig));
    QCOMPARE(rig.engine.position(), start + 100);
    QCOMPARE(rig.probe.lastStamp(), start + 100);
    QVERIFY(stepOnce(rig));
    QCOMPARE(rig.engine.position(), start + 200);
    QCOMPARE(rig.probe.lastStamp(), start + 200);
    QCOMPARE(rig.engine.isPlaying(), false);

    // While playing a step pauses first.
    rig.engine.play();
    QVERIFY(rig.advance(500));
    const qlonglong before = rig.engine.position();
    QCOMPARE(before, start + 200 + 500);
    QVERIFY(stepOnce(rig));
    QCOMPARE(rig.engine.isPlaying(), false);
    const qlonglong stepped = rig.engine.position();
    QCOMPARE(rig.probe.lastStamp(), stepped);
    QCOMPARE(stepped, before + 100);

    // play re-seeks exactly to the stepped picture.
    const int seeks = rig.seeked.count();
    rig.engine.play();
    QCOMPARE(rig.engine.lastSeekTarget(), stepped);
    QVERIFY(rig.waitSeeked(seeks + 1));
    QCOMPARE(rig.landed(), stepped);
    QCOMPARE(rig.engine.isPlaying(), true);
    // A second play does not seek again.
    rig.engine.pause();
    rig.engine.play();
    QVERIFY(rig.advance(200));
    QCOMPARE(rig.seeked.count(), seeks + 1);
}

void TestPlaybackEngine::stepBackShowsThePictureBefore_data()
{
    QTest::addColumn<qlonglong>("from");
    QTest::addColumn<qlonglong>("expected");
    // The card's segments hold 30 s each; a key frame every 2 s.
    QTest::newRow("inside a group") << utcMs("2024-03-05T10:00:05.500Z") << utcMs("2024-03-05T10:00:05.400Z");
    QTest::newRow("from a key frame")
        << utcMs("2024-03-05T10:00:06.000Z") << utcMs("2024-03-05T10:00:05.900Z");
    QTest::newRow("over a segment boundary")
        << utcMs("2024-03-05T10:00:30.000Z") << utcMs("2024-03-05T10:00:29.900Z");
    QTest::newRow("over a gap") << kSmallAfterGap << kSmallLastBeforeGap;
    QTest::newRow("at the first picture") << kSmallFirst << kSmallFirst;
}

void TestPlaybackEngine::stepBackShowsThePictureBefore()
{
    QFETCH(qlonglong, from);
    QFETCH(qlonglong, expected);
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(from, false);
    QVERIFY(rig.waitSeeked(2));
    QCOMPARE(rig.engine.position(), from);
    const int shown = rig.probe.shown.size();

    // Playing: the step pauses first.
    rig.engine.play();
    rig.engine.stepBackFrame();
    QCOMPARE(rig.engine.isPlaying(), false);
    if (expected == from) {
        QVERIFY(rig.advance(300));
        QTest::qWait(50); // nothing lands
        QCOMPARE(rig.probe.shown.size(), shown);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine.position(), expected, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(rig.probe.lastStamp(), expected, kWaitMs);
        // Only the target reaches the screen.
        QCOMPARE(rig.probe.shown.size(), shown + 1);
    }
    QCOMPARE(rig.engine.position(), expected);
    QCOMPARE(rig.seeked.count(), 2);
    QCOMPARE(rig.engine.isPlaying(), false);

    // Play starts at the stepped-back picture, with sound.
    if (expected != from) {
        rig.engine.play();
        QVERIFY(rig.waitSeeked(3));
        QCOMPARE(rig.landed(), expected);
    }
}

void TestPlaybackEngine::stepsBackAndForwardMeet()
{
    Rig rig;
    QSignalSpy position(&rig.engine, &PlaybackEngine::positionChanged);
    rig.engine.stepBackFrame(); // nothing open: nothing happens
    QCOMPARE(position.count(), 0);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    // Two groups of pictures and a segment boundary lie behind the start.
    const qlonglong start = utcMs("2024-03-05T10:00:30.400Z");
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));

    QList<qlonglong> back{start};
    for (int i = 0; i < 6; ++i) {
        rig.engine.stepBackFrame();
        QTRY_COMPARE_WITH_TIMEOUT(rig.engine.position(), start - 100 * (i + 1), kWaitMs);
        QCOMPARE(rig.probe.lastStamp(), rig.engine.position());
        back << rig.engine.position();
    }
    // Four more at once, as a held key gives them: each lands in turn.
    for (int i = 0; i < 4; ++i)
        rig.engine.stepBackFrame();
    QTRY_COMPARE_WITH_TIMEOUT(rig.engine.position(), start - 1000, kWaitMs);
    QCOMPARE(rig.probe.lastStamp(), start - 1000);
    for (int i = 7; i <= 10; ++i)
        back << start - 100 * i;
    QCOMPARE(rig.seeked.count(), 2);

    QList<qlonglong> forward;
    for (int i = 0; i < 10; ++i) {
        QVERIFY(stepOnce(rig));
        QCOMPARE(rig.probe.lastStamp(), rig.engine.position());
        forward << rig.engine.position();
    }
    // Forward retraces the way back: start - 900 ... start.
    QCOMPARE(forward, QList<qlonglong>(back.rbegin() + 1, back.rend()));
}

void TestPlaybackEngine::stepFrameAtTheEnd()
{
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(kSmallLast - 100, false);
    QVERIFY(rig.waitSeeked(2));
    QVERIFY(stepOnce(rig));
    QCOMPARE(rig.engine.position(), kSmallLast);
    QCOMPARE(rig.probe.lastStamp(), kSmallLast);
    // The end marker is next: every step reports the end and leaves it there.
    QVERIFY(stepOnce(rig));
    QCOMPARE(rig.ended.count(), 1);
    const int ends = rig.ended.count();
    rig.engine.stepFrame();
    rig.engine.stepFrame();
    QCOMPARE(rig.ended.count(), ends + 2);
    QCOMPARE(rig.engine.position(), kSmallLast);
    QCOMPARE(rig.engine.isPlaying(), false);
}

void TestPlaybackEngine::steppingGoesOnWithSound()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("No sound output device (start PulseAudio with its dummy output)");
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong start = utcMs("2024-03-05T10:00:10.000Z");
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));
    // The sound read along with the pictures is not played while paused;
    // 40 steps are 4 s of it, twice what the worker keeps queued.
    for (int i = 1; i <= 40; ++i) {
        QVERIFY2(stepOnce(rig), qPrintable(QStringLiteral("step %1").arg(i)));
        QCOMPARE(rig.engine.position(), start + 100 * i);
    }
    QCOMPARE(rig.probe.lastStamp(), start + 4000);
    QCOMPARE(rig.ended.count(), 0);
}

void TestPlaybackEngine::seekAfterAStepIsKept_data()
{
    QTest::addColumn<bool>("waitForTheSeek");
    QTest::newRow("play after the seek landed") << true;
    // Clicking an event: seek and play at once.
    QTest::newRow("play right after the seek") << false;
}

void TestPlaybackEngine::seekAfterAStepIsKept()
{
    QFETCH(bool, waitForTheSeek);
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(utcMs("2024-03-05T10:00:10.000Z"), false);
    QVERIFY(rig.waitSeeked(2));
    QVERIFY(stepOnce(rig));
    QVERIFY(stepOnce(rig));

    const qlonglong target = utcMs("2024-03-05T10:00:30.500Z");
    rig.engine.seek(target, false);
    if (waitForTheSeek) {
        QVERIFY(rig.waitSeeked(3));
        QCOMPARE(rig.landed(), target);
    }
    rig.engine.play();
    // The seek stands: play does not return to the stepped picture.
    QCOMPARE(rig.engine.lastSeekTarget(), target);
    QVERIFY(rig.waitSeeked(3));
    QCOMPARE(rig.landed(), target);
    QVERIFY(rig.playUntil([&] { return rig.engine.position() >= target + 500; }, 3000));
    QCOMPARE(rig.seeked.count(), 3);
    QCOMPARE(rig.engine.isPlaying(), true);
}

void TestPlaybackEngine::closingTheCardFromInsideACallOut_data()
{
    QTest::addColumn<QString>("inside");
    QTest::addColumn<QString>("then");
    QTest::newRow("video sink, first picture of a seek") << "videoFrameChanged"
                                                         << "seek";
    QTest::newRow("video sink, while playing") << "videoFrameChanged"
                                               << "play";
    QTest::newRow("video sink, on a step") << "videoFrameChanged"
                                           << "step";
    QTest::newRow("playingChanged, on a step while playing") << "playingChanged"
                                                             << "step while playing";
    QTest::newRow("positionChanged, while playing") << "positionChanged"
                                                    << "play";
    QTest::newRow("seeked") << "seeked"
                            << "seek";
}

void TestPlaybackEngine::closingTheCardFromInsideACallOut()
{
    QFETCH(QString, inside);
    QFETCH(QString, then);
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong start = utcMs("2024-03-05T10:00:10.000Z");
    rig.engine.seek(start, false);
    QVERIFY(rig.waitSeeked(2));
    if (then == QLatin1String("step while playing")) {
        rig.engine.play();
        QVERIFY(rig.playUntil([&] { return rig.engine.position() >= start + 300; }, 3000));
    }

    // The first call-out of the kind closes the card from inside it.
    bool closed = false;
    int seekedAtClose = -1;
    int endedAtClose = -1;
    QObject context;
    const auto closeCard = [&] {
        if (closed)
            return;
        closed = true;
        rig.session.close();
        seekedAtClose = rig.seeked.count();
        endedAtClose = rig.ended.count();
    };
    if (inside == QLatin1String("videoFrameChanged"))
        QObject::connect(&rig.probe.sink, &QVideoSink::videoFrameChanged, &context, closeCard);
    else if (inside == QLatin1String("playingChanged"))
        QObject::connect(&rig.engine, &PlaybackEngine::playingChanged, &context, closeCard);
    else if (inside == QLatin1String("positionChanged"))
        QObject::connect(&rig.engine, &PlaybackEngine::positionChanged, &context, closeCard);
    else
        QObject::connect(&rig.engine, &PlaybackEngine::seeked, &context, closeCard);

    if (then == QLatin1String("seek"))
        rig.engine.seek(utcMs("2024-03-05T10:00:20.000Z"), false);
    else if (then == QLatin1String("play"))
        rig.engine.play();
    else
        rig.engine.stepFrame();
    QVERIFY(rig.playUntil([&] { return closed; }, 3000));
    QObject::disconnect(&context, nullptr, nullptr, nullptr);

    // Stopped as a close stops, with the picture on screen as the position.
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.engine.decoderInfo(), QString());
    QCOMPARE(rig.engine.position(), rig.probe.lastStamp());
    const int shown = rig.probe.shown.size();
    QVERIFY(rig.advance(300));
    QTest::qWait(50);
    QCOMPARE(rig.probe.shown.size(), shown);
    QCOMPARE(rig.seeked.count(), seekedAtClose);
    QCOMPARE(rig.ended.count(), endedAtClose);

    // Reopened, it starts over at the first playable time and plays from there.
    QVERIFY(rig.session.openPath(QStringLiteral(SMALL_CARD_DIR)));
    QVERIFY(rig.waitSeeked(seekedAtClose + 1));
    QCOMPARE(rig.landed(), kSmallFirst);
    rig.engine.play();
    QCOMPARE(rig.engine.lastSeekTarget(), kSmallFirst);
    QVERIFY(rig.playUntil([&] { return rig.engine.position() >= kSmallFirst + 300; }, 3000));
    QCOMPARE(rig.seeked.count(), seekedAtClose + 1);
}

void TestPlaybackEngine::stalledSoundFallsBackToTheWallClock()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("No sound output device (start PulseAudio with its dummy output)");
    if (pactl({QStringLiteral("info")}).isNull())
        QSKIP("pactl cannot reach the sound server");
    // A sink of this test's own, so that stalling it stalls no one else.
    const QString sinkName = QStringLiteral("nivra_stall_%1").arg(QCoreApplication::applicationPid());
    const QString module =
        pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"), "sink_name=" + sinkName})
            .trimmed();
    QVERIFY(!module.isEmpty());
    const auto unload = qScopeGuard([&] { pactl({QStringLiteral("unload-module"), module}); });

    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.seek(utcMs("2024-03-05T10:00:05.000Z"), false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.play();
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine.audioClock(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!ownSinkInput().isEmpty(), kWaitMs);
    QVERIFY(!pactl({QStringLiteral("move-sink-input"), ownSinkInput(), sinkName}).isNull());
    QVERIFY(!pactl({QStringLiteral("suspend-sink"), sinkName, QStringLiteral("1")}).isNull());
    const qlonglong stalledAt = rig.engine.position();

    // The device takes no more sound; after the stall time the pictures go
    // on by the engine's own clock.
    QVERIFY(rig.playUntil([&] { return !rig.engine.audioClock(); }, nivra::AudioSync::kStallMs + 1000));
    QVERIFY(rig.playUntil([&] { return rig.engine.position() >= stalledAt + 3000; }, 4000));
    QCOMPARE(rig.engine.isPlaying(), true);
    QCOMPARE(rig.seeked.count(), 2);
}

void TestPlaybackEngine::decodeFailureAndRetry()
{
    // With every decoder skipped no video decoder can be made.
    qputenv("NIVRA_SKIP_SW", "all");
    qputenv("NIVRA_SKIP_HW", "all");
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QCOMPARE(rig.errorChanged.count(), 1);
    QCOMPARE(rig.engine.errorString(), QStringLiteral("Your graphics card cannot decode this video."));
    QCOMPARE(rig.engine.decodeFailed(), true);
    QCOMPARE(rig.engine.hevcExtensionNeeded(), false);
    // play tries to open again, fails the same way and publishes nothing new.
    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.errorChanged.count(), 1);
    QVERIFY(rig.advance(300));
    QTest::qWait(50);
    QCOMPARE(rig.seeked.count(), 0);
    QCOMPARE(rig.engine.position(), 0LL);
    qunsetenv("NIVRA_SKIP_SW");
    qunsetenv("NIVRA_SKIP_HW");

    // Retrying at position 0 opens at the first playable time, with no extra seek.
    rig.engine.retryDecode();
    QCOMPARE(rig.errorChanged.count(), 2);
    QCOMPARE(rig.engine.errorString(), QString());
    QCOMPARE(rig.engine.decodeFailed(), false);
    QVERIFY(rig.waitSeeked(1));
    QCOMPARE(rig.landed(), kSmallFirst);
    QCOMPARE(rig.engine.lastSeekTarget(), kSmallFirst);
    QVERIFY(rig.advance(300));
    QTest::qWait(50);
    QCOMPARE(rig.seeked.count(), 1);

    // Retrying elsewhere returns exactly to the picture on screen.
    const qlonglong at = utcMs("2024-03-05T10:00:41.700Z");
    rig.engine.seek(at, false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.retryDecode();
    QCOMPARE(rig.engine.lastSeekTarget(), at);
    QCOMPARE(rig.errorChanged.count(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(rig.seeked.count() >= 3 && rig.landed() == at, kWaitMs);
    QCOMPARE(rig.probe.lastStamp(), at);
}

void TestPlaybackEngine::saveSnapshotNamesFiles()
{
    nivra::test::TempDir dir("engine-snap");
    QVERIFY(!dir.path().empty());
    const QString folder = QString::fromStdString(dir.file("shots/deeper"));
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    const qlonglong at = utcMs("2024-03-05T10:00:10.200Z");
    rig.engine.seek(at, false);
    QVERIFY(rig.waitSeeked(2));
    QCOMPARE(rig.session.timeMode(), int(CardSession::RecordingTime));

    // Named in the camera's recorded offset (UTC+1), made with its parents.
    const QString base = folder + QStringLiteral("/NIVRA_20240305_110010_200");
    QCOMPARE(rig.engine.saveSnapshot(folder), QDir::toNativeSeparators(base + QStringLiteral(".png")));
    QCOMPARE(rig.engine.saveSnapshot(folder), QDir::toNativeSeparators(base + QStringLiteral("_1.png")));
    QCOMPARE(rig.engine.saveSnapshot(folder), QDir::toNativeSeparators(base + QStringLiteral("_2.png")));
    // The file is the picture on screen.
    QImage image(base + QStringLiteral("_1.png"));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(320, 240));
    image = image.convertToFormat(QImage::Format_Grayscale8);
    int64_t stamp = -1;
    QVERIFY(nivra::test::readStamp(image.constBits(), int(image.bytesPerLine()), image.width(),
                                   image.height(), &stamp));
    QCOMPARE(qlonglong(stamp), at);

    // A folder that cannot be made: an empty result.
    QFile blocker(QString::fromStdString(dir.file("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(rig.engine.saveSnapshot(blocker.fileName() + QStringLiteral("/sub")), QString());
    // Without a sink: empty.
    rig.engine.setVideoSink(nullptr);
    QCOMPARE(rig.engine.saveSnapshot(folder), QString());
}

void TestPlaybackEngine::aboutToCloseWhilePlaying()
{
    Rig rig;
    QSignalSpy info(&rig.engine, &PlaybackEngine::decoderInfoChanged);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.play();
    QVERIFY(rig.playUntil([&] { return rig.engine.position() > kSmallFirst + 300; }, 3000));
    QCOMPARE(info.count(), 1);
    const int playing = rig.playingChanged.count();

    rig.session.close();
    QCOMPARE(rig.engine.isPlaying(), false);
    QCOMPARE(rig.playingChanged.count(), playing + 1);
    QCOMPARE(rig.engine.decoderInfo(), QString());
    QCOMPARE(info.count(), 2);
    const qlonglong kept = rig.engine.position();
    QVERIFY(kept > kSmallFirst);
    QCOMPARE(rig.engine.errorString(), QString());
    QCOMPARE(rig.errorChanged.count(), 0);
    QVERIFY(rig.advance(300));
    QCOMPARE(rig.engine.position(), kept);
    // play without a card reader does nothing.
    rig.engine.play();
    QCOMPARE(rig.engine.isPlaying(), false);

    // Reopening the session starts over at its first playable time.
    QVERIFY(rig.session.openPath(QStringLiteral(SMALL_CARD_DIR)));
    QVERIFY(rig.waitSeeked(2));
    QCOMPARE(rig.landed(), kSmallFirst);
}

void TestPlaybackEngine::audioClockDrivesPictures()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("No sound output device (start PulseAudio with its dummy output)");
    Rig rig;
    QSignalSpy stats(&rig.engine, &PlaybackEngine::statsChanged);
    TraceCatcher traces;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    QCOMPARE(rig.engine.audioClock(), false);
    rig.engine.seek(utcMs("2024-03-05T10:00:05.000Z"), false);
    QVERIFY(rig.waitSeeked(2));
    rig.engine.play();
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine.audioClock(), kWaitMs);
    QVERIFY(stats.count() >= 1);
    // The server's first second can stall: judge the pacing after that.
    const qlonglong from = rig.engine.position();
    const int shownFrom = rig.probe.shown.size();
    const int tracesFrom = int(traces.lines().size());
    // The device's clock runs in real time; the engine's own stands still.
    QTest::qWait(3000);
    QVERIFY(rig.engine.audioClock());
    QVERIFY(rig.engine.position() > from + 1000);
    const auto shown = rig.probe.shown.mid(shownFrom);
    for (int i = 1; i < shown.size(); ++i)
        QVERIFY(shown.at(i).stamp > shown.at(i - 1).stamp);

    // A seek turns the audio clock off without a signal until the sound runs again.
    const int statsBefore = stats.count();
    rig.engine.seek(utcMs("2024-03-05T10:02:10.000Z"), false);
    QCOMPARE(rig.engine.audioClock(), false);
    QCOMPARE(stats.count(), statsBefore);
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine.audioClock(), kWaitMs);
    rig.engine.pause();

    if (!nivra::traceEnabled())
        return;
    // The clock of every show line after the start-up is the device's: the
    // pictures are shown at it, never ahead of it.
    static const QRegularExpression showLine(QStringLiteral("^TRACE show (\\d+) clock (\\d+)$"));
    int lines = 0;
    const QStringList all = traces.lines();
    for (int i = tracesFrom; i < all.size(); ++i) {
        const QRegularExpressionMatch match = showLine.match(all.at(i));
        if (!match.hasMatch())
            continue;
        ++lines;
        QVERIFY2(match.captured(2).toLongLong() + 5 >= match.captured(1).toLongLong(), qPrintable(all.at(i)));
    }
    QVERIFY(lines >= 10);
}

// The sound server stops answering while playing: a seek returns at once and
// lands, the pictures go on by the engine's clock, the sound is reported
// unavailable once however often it is tried, and play after the server is
// back brings the sound back.
void TestPlaybackEngine::aSoundServerThatDoesNotAnswerHoldsNothing()
{
    if (nivra::test::testSoundServer() <= 0)
        QSKIP("needs a sound server of its own (run through nivra-with-sound)");
    Rig rig;
    QSignalSpy available(&rig.engine, &PlaybackEngine::soundAvailableChanged);
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.play();
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine.audioClock(), kWaitMs);
    QVERIFY(rig.engine.soundAvailable());

    nivra::test::StoppedSoundServer server(nivra::test::testSoundServer());
    QVERIFY(server.stopped());
    const qlonglong targets[] = {utcMs("2024-03-05T10:00:10.000Z"), utcMs("2024-03-05T10:00:30.000Z")};
    for (int i = 0; i < 2; ++i) {
        QElapsedTimer call;
        call.start();
        rig.engine.seek(targets[i], false);
        // Well under the output's deadline: nothing waited for the server.
        QVERIFY2(call.elapsed() < 900, qPrintable(QString::number(call.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(rig.landed() == targets[i], kWaitMs);
        QVERIFY(rig.playUntil([&] { return rig.engine.position() >= targets[i] + 3000; }, 60000));
        // Tried again on the second seek, and not available again: no news.
        QTRY_VERIFY_WITH_TIMEOUT(!rig.engine.soundAvailable(), kWaitMs);
        QCOMPARE(available.count(), 1);
        QVERIFY(!rig.engine.audioClock());
    }

    server.resume();
    rig.engine.pause();
    rig.engine.play();
    QVERIFY(rig.playUntil([&] { return rig.engine.audioClock(); }));
    QVERIFY(rig.engine.soundAvailable());
    QCOMPARE(available.count(), 2);
}

// The sound server restarts while paused: play opens a new output and the
// device's clock drives the pictures again, without a seek by the user.
void TestPlaybackEngine::playAfterTheSoundServerRestartedHasSound()
{
    if (nivra::test::testSoundServer() <= 0)
        QSKIP("needs a sound server of its own (run through nivra-with-sound)");
    Rig rig;
    QVERIFY(rig.open(SMALL_CARD_DIR));
    QVERIFY(rig.waitSeeked(1));
    rig.engine.play();
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine.audioClock(), kWaitMs);
    rig.engine.pause();
    // Restarted once the pause has reached the device: Qt 6.4's PulseAudio
    // back end frees its connection on its own thread when the server goes,
    // and aborts should a suspend be under way on the sound thread then.
    QTest::qWait(300);
    QVERIFY(nivra::test::restartTestSoundServer(&m_restarted));
    // The old stream learns that its server went.
    QTest::qWait(500);
    rig.engine.play();
    // The back end reconnects in its own time: the engine's moves with it.
    QElapsedTimer real;
    real.start();
    while (!rig.engine.audioClock() && real.elapsed() < kWaitMs) {
        QTest::qWait(10);
        rig.time.advance(10);
    }
    QVERIFY(rig.engine.audioClock());
    const qlonglong from = rig.engine.position();
    QTest::qWait(1000);
    QVERIFY(rig.engine.audioClock());
    QVERIFY(rig.engine.position() > from + 500);
    rig.engine.pause();
}

QTEST_MAIN(TestPlaybackEngine)
#include "tst_playbackengine.moc"
