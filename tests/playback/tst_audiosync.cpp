// AudioSync against a real PulseAudio server (a null sink in CI): one output
// per command that plays sound, fed only while playing a landed command,
// its clock read, and a sync that comes back into itself. The stall rule
// runs on an output whose clock the test moves, on the sync's own time.
#include "playback/audio_sync.h"
#include "playback/sound_output.h"

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
    explicit Rig(nivra::SoundOutput *output = nullptr) : sync(this, output) {}
    qint64 ns = 0;
    AudioSync sync;
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

// An output that opens at once, takes a few chunks and plays what the test
// says: its clock stands or moves only by hand.
class HandOutput : public nivra::SoundOutput
{
public:
    void open() override { m_open = true, m_writes = 0; }
    void close() override { m_open = false; }
    void setSuspended(bool) override {}
    void setVolume(float) override {}
    State state() override { return m_open ? State::Open : State::Closed; }
    QString failureText() const override { return {}; }
    bool wantsData() const override { return m_open && m_writes < 3; }
    void write(const AudioChunk &) override { ++m_writes; }
    void pump() override {}
    qlonglong clock(bool *valid) const override
    {
        *valid = m_open && clockMs >= 0;
        return clockMs;
    }
    bool failed() const override { return false; }

    qlonglong clockMs = -1;

private:
    bool m_open = false;
    int m_writes = 0;
};

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
        HandOutput output;
        Rig rig(&output);
        rig.wanted = {1, true, true, 1.0f};
        rig.soundLeftMs = 1000000;
        rig.run();
        QVERIFY(rig.sync.activeFor(1));
        // A clock that moves is read however long it plays.
        constexpr qint64 kStepNs = 100 * 1000000LL;
        output.clockMs = 0;
        for (int step = 0; step < 40; ++step) {
            rig.ns += kStepNs;
            output.clockMs += 100;
            QCOMPARE(rig.run().value_or(-1), output.clockMs);
        }
        QVERIFY(rig.sync.clockInUse());
        // It stands while playing: the stall comes on the first sync the
        // stall time after the last change, and not before.
        const qint64 changedNs = rig.ns;
        while (rig.sync.activeFor(1) && rig.ns - changedNs < 2 * AudioSync::kStallMs * 1000000) {
            rig.ns += kStepNs;
            const std::optional<qlonglong> read = rig.run();
            QCOMPARE(read.has_value(), rig.sync.activeFor(1));
        }
        QCOMPARE(rig.ns - changedNs, AudioSync::kStallMs * 1000000);
        QVERIFY(!rig.sync.clockInUse());
        // Closed until the next command; the engine drops the sound meanwhile.
        QVERIFY(rig.sync.triedFor(1));
        QVERIFY(rig.sync.unavailableFor(1));
        QVERIFY(!rig.sync.available());
        rig.wanted.command = 2;
        rig.run();
        QVERIFY(rig.sync.activeFor(2));
        QVERIFY(rig.sync.available());
        // Paused, a clock that stands is no stall.
        rig.wanted.playing = false;
        rig.run();
        rig.ns += 10 * AudioSync::kStallMs * 1000000;
        rig.run();
        rig.wanted.playing = true;
        rig.ns += kStepNs;
        QCOMPARE(rig.run().value_or(-1), output.clockMs);
        QVERIFY(rig.sync.activeFor(2));
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
