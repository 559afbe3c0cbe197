// AudioOutput against a real PulseAudio server (a null sink in CI): open,
// write, wantsData, pump, and a clock that follows the played frames.
#include "playback/audio_output.h"
#include "sound_server.h"

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using namespace nivra;
using nivra::test::StoppedSoundServer;

namespace {

AudioChunk tone(int rate, int channels, int frames, qlonglong timeMs)
{
    AudioChunk chunk;
    chunk.sampleRate = rate;
    chunk.channels = channels;
    chunk.timeMs = timeMs;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c)
            chunk.samples << 0.25f * std::sin(float(i) * 0.1f);
    }
    return chunk;
}

// Opens and waits for the sound thread's answer.
bool openNow(AudioOutput &output)
{
    output.open();
    QDeadlineTimer giveUp(5000);
    while (output.state() == AudioOutput::State::Opening && !giveUp.hasExpired())
        QTest::qWait(2);
    return output.state() == AudioOutput::State::Open;
}

} // namespace

class tst_AudioOutput : public QObject
{
    Q_OBJECT

    // The sound server once a test has restarted it, for the tests after.
    QProcess m_restarted;

private slots:
    void cleanupTestCase()
    {
        m_restarted.kill();
        m_restarted.waitForFinished();
    }

    void initTestCase()
    {
        if (!QMediaDevices::defaultAudioOutput().isNull())
            return;
        // CI starts a PulseAudio server; a missing device there is a failure.
        if (qgetenv("CI") == "true")
            QFAIL("no audio output device: is the PulseAudio server running?");
        QSKIP("no audio output device (start one with: pulseaudio -D --exit-idle-time=-1)");
    }

    void nothingWithoutOpen()
    {
        AudioOutput output;
        QVERIFY(!output.wantsData());
        output.write(tone(8000, 1, 800, 0));
        output.pump();
        bool valid = true;
        output.clock(&valid);
        QVERIFY(!valid);
    }

    // The output stops asking for sound once exactly 400 ms are written.
    // Played stays 0 on a suspended sink, so the count is exact; small chunks
    // at the device rate show any rounding of the per-chunk duration.
    void wantsFourHundredMsAhead_data()
    {
        QTest::addColumn<int>("framesPerChunk");
        QTest::newRow("one frame") << 1;
        QTest::newRow("three frames") << 3;
        QTest::newRow("AAC frame") << 1024;
    }

    void wantsFourHundredMsAhead()
    {
        QFETCH(int, framesPerChunk);
        AudioOutput output;
        QVERIFY(openNow(output));
        output.setSuspended(true);
        const int rate = output.format().sampleRate();
        qlonglong chunks = 0;
        while (output.wantsData() && chunks < rate) {
            output.write(tone(rate, 2, framesPerChunk, 0));
            ++chunks;
        }
        QCOMPARE(output.playedFrames(), 0);
        // The resampler holds the very first frame back to interpolate from.
        const qlonglong written = chunks * framesPerChunk - 1;
        const qlonglong limit = 400LL * rate;
        QVERIFY2(written * 1000 >= limit && (written - framesPerChunk) * 1000 < limit,
                 qPrintable(QString("%1 frames at %2 Hz").arg(written).arg(rate)));
    }

    // Whenever the clock is valid it is the media time of the output frame
    // the device is playing, between the played counts read before and
    // after it, whatever the server's start-up stall. Small chunks at the
    // device rate would show rounded chunk durations as a clock running fast.
    void clockFollowsThePlayedSound_data()
    {
        QTest::addColumn<int>("rate"); // 0: the device's rate
        QTest::addColumn<int>("framesPerChunk");
        QTest::addColumn<int>("durationMs");
        QTest::newRow("G.711 20 ms chunks") << 8000 << 160 << 1500;
        QTest::newRow("7 frames at the device rate") << 0 << 7 << 1000;
    }

    void clockFollowsThePlayedSound()
    {
        QFETCH(int, rate);
        QFETCH(int, framesPerChunk);
        QFETCH(int, durationMs);
        AudioOutput output;
        QVERIFY(openNow(output));
        const QAudioFormat format = output.format();
        QVERIFY(format.sampleRate() >= 1);
        QVERIFY(format.channelCount() >= 1);
        QVERIFY(format.sampleFormat() == QAudioFormat::Float || format.sampleFormat() == QAudioFormat::Int16);
        if (rate == 0)
            rate = format.sampleRate();
        bool valid = true;
        output.clock(&valid);
        QVERIFY(!valid); // nothing played yet
        QVERIFY(output.wantsData());

        const qlonglong start = 10000;
        QList<AudioChunk> chunks;
        for (qlonglong frame = 0; frame < qlonglong(rate) * durationMs / 1000; frame += framesPerChunk)
            chunks << tone(rate, 1, framesPerChunk, start + frame * 1000 / rate);
        // Media time of an output frame; the clock may be 1 ms off either way
        // (whole ms chunk times, the resampler's one-frame delay).
        const qlonglong deviceRate = format.sampleRate();
        auto mediaTime = [&](qlonglong frame) { return start + frame * 1000 / deviceRate; };

        QList<qlonglong> clocks;
        int next = 0;
        QDeadlineTimer giveUp(durationMs + 10000);
        while (!giveUp.hasExpired()) {
            while (next < chunks.size() && output.wantsData())
                output.write(chunks[next++]);
            output.pump();
            const qlonglong before = output.playedFrames();
            const qlonglong clock = output.clock(&valid);
            const qlonglong after = output.playedFrames();
            QVERIFY(before <= after);
            if (valid) {
                QVERIFY2(clock >= mediaTime(before) - 1 && clock <= mediaTime(after) + 1,
                         qPrintable(QString("clock %1, played %2..%3 frames = %4..%5 ms")
                                        .arg(clock)
                                        .arg(before)
                                        .arg(after)
                                        .arg(mediaTime(before))
                                        .arg(mediaTime(after))));
                clocks << clock;
            } else if (!clocks.isEmpty() && next == chunks.size()) {
                break; // everything played
            }
            QTest::qWait(5);
        }
        QVERIFY2(clocks.size() > 20, qPrintable(QString::number(clocks.size())));
        for (int i = 1; i < clocks.size(); ++i)
            QVERIFY2(clocks[i] >= clocks[i - 1],
                     qPrintable(QString("%1 %2").arg(clocks[i - 1]).arg(clocks[i])));
        QVERIFY(clocks.first() >= start);
        QVERIFY(clocks.last() < start + durationMs);
        QVERIFY2(clocks.last() - clocks.first() > durationMs / 2,
                 qPrintable(QString::number(clocks.last() - clocks.first())));
        // Everything written has been played: the clock is invalid again.
        QTRY_VERIFY_WITH_TIMEOUT((output.pump(), output.clock(&valid), !valid), 3000);
        output.close();
        output.clock(&valid);
        QVERIFY(!valid);
        QVERIFY(!output.wantsData());
        QCOMPARE(output.playedFrames(), 0);
    }

    void suspendStopsTheClock()
    {
        AudioOutput output;
        QVERIFY(openNow(output));
        for (int i = 0; i < 20; ++i)
            output.write(tone(48000, 2, 960, 5000 + i * 20));
        bool valid = false;
        QTRY_VERIFY_WITH_TIMEOUT((output.pump(), output.clock(&valid), valid), 3000);
        output.setSuspended(true);
        QTest::qWait(100);
        const qlonglong held = output.clock(&valid);
        QTest::qWait(200);
        const qlonglong later = output.clock(&valid);
        QVERIFY2(later - held <= 20, qPrintable(QString("%1 -> %2").arg(held).arg(later)));
        output.setSuspended(false);
        QTRY_VERIFY_WITH_TIMEOUT((output.pump(), output.clock(&valid) > later + 50), 3000);
    }

    // A sound server that stops answering holds no caller: an open fails at
    // its deadline, and destroying the output returns without waiting for
    // it. Once the server answers again, a new output plays.
    void aServerThatDoesNotAnswerHoldsNoCaller()
    {
        if (nivra::test::testSoundServer() <= 0)
            QSKIP("needs a sound server of its own (run through nivra-with-sound)");
        auto output = std::make_unique<AudioOutput>();
        QVERIFY(openNow(*output));
        output->write(tone(48000, 2, 4800, 0));
        StoppedSoundServer server(nivra::test::testSoundServer());
        QVERIFY(server.stopped());
        qint64 longest = 0;
        auto timed = [&](const std::function<void()> &call) {
            QElapsedTimer t;
            t.start();
            call();
            longest = qMax(longest, t.elapsed());
        };
        // The second open finds the sound thread still waiting: a fresh
        // thread tries, and waits as long.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QElapsedTimer since;
            since.start();
            timed([&] { output->open(); });
            AudioOutput::State state = AudioOutput::State::Opening;
            while (state == AudioOutput::State::Opening && since.elapsed() < 10000) {
                timed([&] { state = output->state(); });
                QTest::qWait(5);
            }
            QCOMPARE(state, AudioOutput::State::Failed);
            QVERIFY2(since.elapsed() < AudioOutput::kOpenDeadlineMs + 1000,
                     qPrintable(QString::number(since.elapsed())));
            QVERIFY(!output->failureText().isEmpty());
        }
        timed([&] { output.reset(); });
        // Well under the deadline: nothing waited for the server.
        QVERIFY2(longest < 900, qPrintable(QString("a call took %1 ms").arg(longest)));
        server.resume();
        AudioOutput fresh;
        QVERIFY(openNow(fresh));
    }

    // After the sound server restarted (the back end reconnects within a few
    // seconds), a new output opens again.
    void opensAgainAfterTheServerRestarted()
    {
        if (nivra::test::testSoundServer() <= 0)
            QSKIP("needs a sound server of its own (run through nivra-with-sound)");
        AudioOutput output;
        QVERIFY(openNow(output));
        QVERIFY(nivra::test::restartTestSoundServer(&m_restarted));
        QElapsedTimer since;
        since.start();
        bool opened = false;
        while (!opened && since.elapsed() < 15000) {
            opened = openNow(output);
            if (!opened)
                QTest::qWait(200);
        }
        QVERIFY(opened);
    }

    void ignoresEmptyChunks()
    {
        AudioOutput output;
        QVERIFY(openNow(output));
        AudioChunk empty;
        empty.sampleRate = 8000;
        empty.channels = 1;
        output.write(empty);
        AudioChunk noRate = tone(8000, 1, 160, 0);
        noRate.sampleRate = 0;
        output.write(noRate);
        AudioChunk noChannels = tone(8000, 1, 160, 0);
        noChannels.channels = 0;
        output.write(noChannels);
        QTest::qWait(100);
        bool valid = true;
        output.clock(&valid);
        QVERIFY(!valid);
        QVERIFY(output.wantsData());
    }
};

QTEST_MAIN(tst_AudioOutput)
#include "tst_audiooutput.moc"
