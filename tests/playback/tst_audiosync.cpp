// AudioSync against a real PulseAudio server (a null sink in CI): one output
// per command that plays sound, fed only while playing a landed command,
// its clock read, a stall found on the sync's own time source, and a sync
// that comes back into itself.
#include "playback/audio_sync.h"

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QtTest>

using nivra::AudioChunk;
using nivra::AudioSync;

namespace {

// 100 ms of quiet stereo sound at 48 kHz starting at timeMs.
AudioChunk quiet(qlonglong timeMs)
{
    AudioChunk chunk;
    chunk.sampleRate = 48000;
    chunk.channels = 2;
    chunk.timeMs = timeMs;
    chunk.samples.fill(0.0f, 4800 * 2);
    return chunk;
}

// A sync driven by hand: what is wanted, the sound on offer, the time.
struct Rig : nivra::Clock
{
    qint64 ns = 0;
    AudioSync sync{this};
    qint64 nowNs() const override { return ns; }
    AudioSync::Wanted wanted;
    qlonglong nextChunkMs = 0;
    qlonglong soundLeftMs = 0; // how much the pull still offers
    int pulls = 0;

    std::optional<qlonglong> run()
    {
        return sync.sync([this] { return wanted; },
                         [this]() -> std::optional<AudioChunk> {
                             if (soundLeftMs <= 0)
                                 return std::nullopt;
                             ++pulls;
                             soundLeftMs -= 100;
                             nextChunkMs += 100;
                             return quiet(nextChunkMs - 100);
                         });
    }
};

// Syncs until the output has opened for the wanted command (it opens on the
// sound thread).
bool openForWanted(Rig &rig)
{
    QDeadlineTimer giveUp(5000);
    while (!giveUp.hasExpired()) {
        rig.run();
        if (rig.sync.activeFor(rig.wanted.command))
            return true;
        QTest::qWait(2);
    }
    return false;
}

} // namespace

class TestAudioSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QMediaDevices::defaultAudioOutput().isNull())
            return;
        if (qgetenv("CI") == "true")
            QFAIL("no audio output device: is the PulseAudio server running?");
        QSKIP("no audio output device (start one with: pulseaudio -D --exit-idle-time=-1)");
    }

    void oneOutputPerCommand()
    {
        Rig rig;
        rig.wanted.command = 7;
        QCOMPARE(rig.run(), std::nullopt);
        QVERIFY(rig.sync.triedFor(7));
        QVERIFY(rig.sync.openingFor(7));
        QVERIFY(openForWanted(rig));
        QVERIFY(!rig.sync.openingFor(7));
        QVERIFY(rig.sync.available());
        rig.wanted.command = 8;
        rig.run();
        QVERIFY(!rig.sync.activeFor(7));
        QVERIFY(openForWanted(rig));
        // No command wants sound: closed.
        rig.wanted.command = 0;
        rig.run();
        QVERIFY(!rig.sync.activeFor(8));
        QVERIFY(rig.sync.triedFor(0));
    }

    void fedOnlyWhilePlayingALandedCommand_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("landed");
        QTest::addColumn<bool>("fed");
        QTest::newRow("paused") << false << true << false;
        QTest::newRow("playing, not landed") << true << false << false;
        QTest::newRow("playing, landed") << true << true << true;
    }

    void fedOnlyWhilePlayingALandedCommand()
    {
        QFETCH(bool, playing);
        QFETCH(bool, landed);
        QFETCH(bool, fed);
        Rig rig;
        rig.wanted = {1, playing, landed, 1.0f};
        rig.soundLeftMs = 2000;
        QVERIFY(openForWanted(rig));
        rig.run();
        QCOMPARE(rig.pulls > 0, fed);
        // It takes what the device asks for ahead, not everything on offer.
        QVERIFY(rig.pulls < 20);
    }

    void theDeviceClockIsReadAndForgotten()
    {
        Rig rig;
        rig.wanted = {1, true, true, 1.0f};
        rig.nextChunkMs = 50000;
        rig.soundLeftMs = 1000000;
        std::optional<qlonglong> read;
        QTRY_VERIFY_WITH_TIMEOUT((read = rig.run()) && *read > 50000, 10000);
        QVERIFY(*read < rig.nextChunkMs);
        QVERIFY(rig.sync.clockInUse());
        QVERIFY(rig.sync.drivesClock());
        // A new command: not the device's clock until its sound plays.
        rig.sync.forgetClock();
        QVERIFY(!rig.sync.clockInUse());
        QVERIFY(!rig.sync.drivesClock());
    }

    void aClockStandingStillWhilePlayingIsAStall()
    {
        Rig rig;
        rig.wanted = {1, true, true, 1.0f};
        rig.soundLeftMs = 1000000;
        std::optional<qlonglong> reading;
        QTRY_VERIFY_WITH_TIMEOUT((reading = rig.run()).value_or(0) >= 200, 10000);
        // The device stops taking sound behind the sync's back, as one taken
        // by another program does: wait until its clock stands in real time.
        rig.sync.output().setSuspended(true);
        qlonglong last = -1;
        int same = 0;
        for (int tick = 0; same < 5 && tick < 100; ++tick) {
            QTest::qWait(50);
            const qlonglong now = rig.run().value_or(-1);
            same = now == last ? same + 1 : 0;
            last = now;
        }
        QCOMPARE(same, 5);
        QVERIFY(rig.sync.clockInUse());
        reading = last;
        // The sync's time moves on in 100 ms steps while the device's clock
        // stands (a late timing report from the server may still move it
        // once): the stall comes on the first sync at least the stall time
        // after the last change.
        constexpr qint64 kStepNs = 100 * 1000000LL;
        qint64 changedNs = rig.ns;
        bool stalled = false;
        for (int step = 0; step < 100 && !stalled; ++step) {
            rig.ns += kStepNs;
            const std::optional<qlonglong> read = rig.run();
            stalled = !rig.sync.activeFor(1);
            if (stalled) {
                QCOMPARE(read, std::nullopt);
                const qint64 stillNs = rig.ns - changedNs;
                QVERIFY2(stillNs >= AudioSync::kStallMs * 1000000 &&
                             stillNs < AudioSync::kStallMs * 1000000 + kStepNs,
                         qPrintable(QString::number(stillNs)));
            } else if (read != reading) {
                // Changed, or read again after a time without a reading.
                reading = read;
                changedNs = rig.ns;
            }
        }
        QVERIFY(stalled);
        QVERIFY(!rig.sync.clockInUse());
        // Closed until the next command; the engine drops the sound meanwhile.
        QVERIFY(rig.sync.triedFor(1));
        QVERIFY(rig.sync.unavailableFor(1));
        QVERIFY(!rig.sync.available());
        rig.wanted.command = 2;
        QVERIFY(openForWanted(rig));
        QVERIFY(rig.sync.available());
    }

    // A sync asked for from inside a pull (a signal handler that seeks).
    void aSyncFromInsideAPullIsDoneByThePassInProgress()
    {
        Rig rig;
        rig.wanted = {1, true, true, 1.0f};
        QVERIFY(openForWanted(rig));
        int nested = 0;
        std::optional<qlonglong> inner = 0;
        rig.sync.sync([&] { return rig.wanted; },
                      [&]() -> std::optional<AudioChunk> {
                          if (nested++ == 0) {
                              // The state changes and a sync is asked for.
                              rig.wanted.command = 2;
                              inner = rig.sync.sync([&] { return rig.wanted; }, [] { return std::nullopt; });
                          }
                          return std::nullopt;
                      });
        QCOMPARE(nested, 1);
        QCOMPARE(inner, std::nullopt);
        // The outer pass saw the change and opened for the new command.
        QVERIFY(rig.sync.triedFor(2));
        QVERIFY(openForWanted(rig));
    }
};

QTEST_MAIN(TestAudioSync)
#include "tst_audiosync.moc"
