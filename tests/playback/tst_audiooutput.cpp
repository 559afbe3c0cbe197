// AudioOutput against a real PulseAudio server (a null sink in CI): open,
// write, wantsData, pump, and a clock that follows the played position.
#include "playback/audio_output.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QtTest>

#include <cmath>

using namespace nivra;

namespace {

AudioChunk tone(int rate, int channels, int ms, qlonglong timeMs)
{
    AudioChunk chunk;
    chunk.sampleRate = rate;
    chunk.channels = channels;
    chunk.timeMs = timeMs;
    const int frames = rate * ms / 1000;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c)
            chunk.samples << 0.25f * std::sin(float(i) * 0.1f);
    }
    return chunk;
}

} // namespace

class tst_AudioOutput : public QObject
{
    Q_OBJECT

private slots:
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
        output.write(tone(8000, 1, 100, 0));
        output.pump();
        bool valid = true;
        output.clock(&valid);
        QVERIFY(!valid);
    }

    void clockFollowsThePlayedSound()
    {
        AudioOutput output;
        QVERIFY(output.open());
        const QAudioFormat format = output.format();
        QVERIFY(format.sampleRate() >= 1);
        QVERIFY(format.channelCount() >= 1);
        QVERIFY(format.sampleFormat() == QAudioFormat::Float || format.sampleFormat() == QAudioFormat::Int16);
        bool valid = true;
        output.clock(&valid);
        QVERIFY(!valid); // nothing played yet
        QVERIFY(output.wantsData());

        // 1.5 s of G.711-rate sound starting at media time 10000 ms, written
        // as the tick would: while the output wants data.
        const qlonglong start = 10000;
        QList<AudioChunk> chunks;
        for (int i = 0; i < 75; ++i)
            chunks << tone(8000, 1, 20, start + i * 20);
        int next = 0;
        while (next < chunks.size() && output.wantsData())
            output.write(chunks[next++]);
        // About 400 ms ahead, then it stops asking.
        QVERIFY2(next >= 15 && next <= 25, qPrintable(QString::number(next)));
        QVERIFY(!output.wantsData());

        QList<qlonglong> clocks;
        QElapsedTimer wall;
        wall.start();
        qlonglong firstValidWall = -1;
        qlonglong firstValidClock = -1;
        while (wall.elapsed() < 5000) {
            while (next < chunks.size() && output.wantsData())
                output.write(chunks[next++]);
            output.pump();
            const qlonglong clock = output.clock(&valid);
            if (valid) {
                if (firstValidWall < 0) {
                    firstValidWall = wall.elapsed();
                    firstValidClock = clock;
                }
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
        QVERIFY(clocks.last() < start + 1500);
        QVERIFY2(clocks.last() - clocks.first() > 1000,
                 qPrintable(QString::number(clocks.last() - clocks.first())));
        // The clock runs at about the wall clock's pace.
        const qlonglong wallSpan = wall.elapsed() - firstValidWall;
        const qlonglong clockSpan = clocks.last() - firstValidClock;
        QVERIFY2(qAbs(wallSpan - clockSpan) < 400,
                 qPrintable(QString("wall %1 clock %2").arg(wallSpan).arg(clockSpan)));
        // Everything written has been played: the clock is invalid again.
        QTRY_VERIFY_WITH_TIMEOUT((output.pump(), output.clock(&valid), !valid), 3000);
        output.close();
        output.clock(&valid);
        QVERIFY(!valid);
        QVERIFY(!output.wantsData());
    }

    void suspendStopsTheClock()
    {
        AudioOutput output;
        QVERIFY(output.open());
        for (int i = 0; i < 20; ++i)
            output.write(tone(48000, 2, 20, 5000 + i * 20));
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

    void ignoresEmptyChunks()
    {
        AudioOutput output;
        QVERIFY(output.open());
        AudioChunk empty;
        empty.sampleRate = 8000;
        empty.channels = 1;
        output.write(empty);
        AudioChunk noRate = tone(8000, 1, 20, 0);
        noRate.sampleRate = 0;
        output.write(noRate);
        AudioChunk noChannels = tone(8000, 1, 20, 0);
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
