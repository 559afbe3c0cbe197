// The decode worker on simulator cards: generations, end markers, exact and
// snapped seeks, discontinuity pictures, queue bounds, strides and
// destruction while busy. Also run under ThreadSanitizer.
#include "card_frames.h"
#include "log_capture.h"
#include "test_decoders.h"

#include "decode/decoder.h"
#include "decode/ffmpeg_video_decoder.h"
#include "playback/decode_worker.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <limits>

using namespace nivra;
using namespace nivra::test;

namespace {

struct Collected
{
    QList<QueuedFrame> pictures; // without the end marker
    QList<AudioChunk> audio;
    bool ended = false;
};

// Pops everything of generation until its end marker (or the timeout).
Collected collect(DecodeWorker *worker, int generation, int timeoutMs = 60000, int maxPictures = -1)
{
    Collected out;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        bool progressed = false;
        while (auto chunk = worker->popAudioChunk(generation)) {
            out.audio << *chunk;
            progressed = true;
        }
        if (auto front = worker->peekPicture(generation)) {
            progressed = true;
            if (front->end) {
                out.ended = true;
                worker->popPicture();
                return out;
            }
            out.pictures << *front;
            worker->popPicture();
            if (maxPictures >= 0 && out.pictures.size() >= maxPictures)
                return out;
        }
        if (!progressed)
            QThread::msleep(1);
    }
    return out;
}

// The first picture of generation, waiting for it.
std::optional<QueuedFrame> firstPicture(DecodeWorker *worker, int generation, int timeoutMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (auto front = worker->peekPicture(generation))
            return front;
        QThread::msleep(1);
    }
    return std::nullopt;
}

class Card
{
public:
    explicit Card(const char *path)
    {
        m_open =
            card_open(path, &m_reader) == CARD_OK && card_probe_stream(m_reader, 0, &m_stream) == CARD_OK;
        if (m_open)
            m_frames = readCardFrames(m_reader, true, true);
        for (const CardFrame &f : m_frames) {
            if (f.header.type != CARD_FRAME_AUDIO)
                m_video << f.header;
            if (f.header.type == CARD_FRAME_KEY)
                m_keys << f.header.time_ms;
        }
    }
    ~Card() { card_close(m_reader); }
    bool isOpen() const { return m_open && !m_video.isEmpty(); }
    card_reader *reader() const { return m_reader; }
    const card_stream &stream() const { return m_stream; }
    const QList<CardFrame> &frames() const { return m_frames; }
    const QList<card_frame> &video() const { return m_video; }
    const QList<qlonglong> &keys() const { return m_keys; }

    // The first video frame at or after t.
    qlonglong videoAtOrAfter(qlonglong t) const
    {
        for (const card_frame &f : m_video) {
            if (f.time_ms >= t)
                return f.time_ms;
        }
        return -1;
    }
    // Where a seek to t lands: the last keyframe at or before t, or the next
    // one when t lies more than 3000 ms after it.
    qlonglong landing(qlonglong t) const
    {
        int found = 0;
        for (int i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i] <= t)
                found = i;
        }
        if (found + 1 < m_keys.size() && t - m_keys[found] > 3000)
            ++found;
        return m_keys[found];
    }

private:
    card_reader *m_reader = nullptr;
    card_stream m_stream{};
    bool m_open = false;
    QList<CardFrame> m_frames;
    QList<card_frame> m_video;
    QList<qlonglong> m_keys;
};

// Counts the pictures the real decoder copies out and the ones it releases
// without a copy.
struct CopyCount
{
    std::atomic<int> copied{0};
    std::atomic<int> released{0};
};

class CountingDecoder final : public VideoDecoder
{
public:
    CountingDecoder(std::unique_ptr<VideoDecoder> inner, CopyCount *count)
        : m_inner(std::move(inner)), m_count(count)
    {}
    bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) override
    {
        return m_inner->send(data, size, timeMs);
    }
    bool receive(DecodedFrame *frame) override
    {
        return receiveFrom(frame, std::numeric_limits<qlonglong>::min());
    }
    bool receiveFrom(DecodedFrame *frame, qlonglong fromMs) override
    {
        if (!m_inner->receiveFrom(frame, fromMs))
            return false;
        ++(frame->picture.isValid() ? m_count->copied : m_count->released);
        return true;
    }
    void flush() override { m_inner->flush(); }
    void drain() override { m_inner->drain(); }
    QString info() const override { return m_inner->info(); }
    QString error() const override { return m_inner->error(); }

private:
    std::unique_ptr<VideoDecoder> m_inner;
    CopyCount *m_count;
};

DecodeWorker::VideoMaker scripted(Script script, int n, int delayMs, QString name = "scripted")
{
    return
        [=](int, QString *) { return std::make_unique<ScriptedDecoder>(name, script, n, nullptr, delayMs); };
}

} // namespace

class tst_DecodeWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qunsetenv("NIVRA_DECODE");
        qunsetenv("NIVRA_AUDIO_DECODER");
        setDecodePolicy(PolicySoftware);
    }

    void init() { qunsetenv("NIVRA_AUDIO_DECODER"); }

    void playsEveryPictureInOrderToTheEnd()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        LogCapture log;
        DecodeWorker worker(card.reader(), card.stream());
        QString reason;
        QVERIFY2(worker.start(&reason), qPrintable(reason));
        QVERIFY(worker.hasAudioDecoder());
        QVERIFY(!worker.decoderMissing());
        QCOMPARE(log.linesStartingWith("audio decoder:"),
                 QStringList({"audio decoder: FFmpeg aac (software)"}));
        QCOMPARE(worker.newestPictureTime(), -1);

        const int g = worker.postCommand(card.video().first().time_ms, true, 0, true);
        const Collected got = collect(&worker, g);
        QVERIFY(got.ended);
        QCOMPARE(got.pictures.size(), card.video().size());
        // Discontinuity: the first picture at or after each flagged frame.
        QList<qlonglong> expectedDiscontinuities;
        for (const CardFrame &f : card.frames()) {
            if (f.header.discontinuity)
                expectedDiscontinuities << card.videoAtOrAfter(f.header.time_ms);
        }
        QVERIFY(!expectedDiscontinuities.isEmpty());
        QList<qlonglong> discontinuities;
        int stampMismatches = 0;
        for (int i = 0; i < got.pictures.size(); ++i) {
            const QueuedFrame &p = got.pictures[i];
            QCOMPARE(p.timeMs, card.video()[i].time_ms);
            QCOMPARE(p.generation, g);
            QVERIFY(!p.end);
            if (p.discontinuity)
                discontinuities << p.timeMs;
            if (i % 7 == 0 && pictureStamp(p.picture) != p.timeMs)
                ++stampMismatches;
        }
        QCOMPARE(stampMismatches, 0);
        QCOMPARE(discontinuities, expectedDiscontinuities);
        // Sound: in order, about as long as the card's audio frames.
        qlonglong audioMs = 0;
        for (int i = 0; i < got.audio.size(); ++i) {
            if (i > 0)
                QVERIFY(got.audio[i].timeMs >= got.audio[i - 1].timeMs);
            audioMs += got.audio[i].samples.size() * 1000 / got.audio[i].sampleRate;
        }
        const qlonglong videoMs = card.video().size() * 100;
        QVERIFY2(qAbs(audioMs - videoMs) < 1000, qPrintable(QString::number(audioMs)));
        QCOMPARE(worker.infoText(), QStringLiteral("FFmpeg h264 (software)"));
        QVERIFY(worker.errorText().isEmpty());
        QVERIFY(worker.segment() >= 0);
        QVERIFY(worker.segmentOffset() > 0);
        // Idle after the end: nothing more comes.
        QTest::qWait(200);
        QVERIFY(!worker.peekPicture(g));
        QVERIFY(!worker.popAudioChunk(g));
    }

    void exactSeekStartsAtTheTarget()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream());
        QVERIFY(worker.start(nullptr));
        const qlonglong target = card.video().first().time_ms + 5550;
        const int g = worker.postCommand(target, false, 0, true);
        const Collected got = collect(&worker, g, 30000, 20);
        QCOMPARE(got.pictures.size(), 20);
        QCOMPARE(got.pictures.first().timeMs, card.videoAtOrAfter(target));
        QCOMPARE(pictureStamp(got.pictures.first().picture), got.pictures.first().timeMs);
        QVERIFY(!got.audio.isEmpty());
        for (const AudioChunk &chunk : got.audio)
            QVERIFY2(chunk.timeMs >= target, qPrintable(QString::number(chunk.timeMs - target)));
        // Sound resumes with the first chunk at or after the target.
        QVERIFY(got.audio.first().timeMs < target + 100);
    }

    void snappedSeekStartsAtTheKeyframe()
    {
        Card card(CARD_H265);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream());
        QVERIFY(worker.start(nullptr));
        const qlonglong target = card.video().first().time_ms + 5550;
        const qlonglong landed = card.landing(target);
        QVERIFY(landed < target && landed >= target - 3000);
        const int g = worker.postCommand(target, true, 0, true);
        const auto first = firstPicture(&worker, g);
        QVERIFY(first);
        QCOMPARE(first->timeMs, landed);
        QCOMPARE(pictureStamp(first->picture), landed);
        QCOMPARE(worker.newestPictureTime() >= landed, true);
        QCOMPARE(worker.infoText(), QStringLiteral("FFmpeg hevc (software)"));
    }

    void seekPastTheLastRecordingGivesOnlyAnEndMarker()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream());
        QVERIFY(worker.start(nullptr));
        const int g = worker.postCommand(card.video().last().time_ms + 3600000, false, 0, true);
        const auto first = firstPicture(&worker, g);
        QVERIFY(first);
        QVERIFY(first->end);
        QCOMPARE(first->generation, g);
        worker.popPicture();
        QTest::qWait(200);
        QVERIFY(!worker.peekPicture(g));
        QVERIFY(!worker.popAudioChunk(g));
        QCOMPARE(worker.newestPictureTime(), -1);
    }

    void onlyTheNewestOfTwoCommandsRuns()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        ScriptLog log;
        const qlonglong first = card.video().first().time_ms;
        const qlonglong second = card.video().last().time_ms - 10000;
        {
            DecodeWorker worker(card.reader(), card.stream(), [&](int, QString *) {
                return std::make_unique<ScriptedDecoder>("scripted", Script::Normal, 0, &log);
            });
            // Both commands wait before the thread exists, so it wakes to both.
            const int g1 = worker.postCommand(first, true, 0, false);
            const int g2 = worker.postCommand(second, true, 0, false);
            QCOMPARE(g2, g1 + 1);
            QVERIFY(worker.start(nullptr));
            const Collected got = collect(&worker, g2, 30000, 10);
            QCOMPARE(got.pictures.size(), 10);
            QCOMPARE(got.pictures.first().timeMs, card.landing(second));
        }
        // One seek only: one flush, and the first packet read is the
        // keyframe of the second target.
        QCOMPARE(log.flushes, 1);
        QVERIFY(!log.packets.isEmpty());
        QByteArray keyframe;
        for (const CardFrame &f : card.frames()) {
            if (f.header.time_ms == card.landing(second) && f.header.type == CARD_FRAME_KEY)
                keyframe = f.payload;
        }
        QCOMPARE(log.packets.first(), keyframe);
    }

    void commandDuringALongDecodeDropsTheOldPictures()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream(), scripted(Script::Normal, 0, 300));
        QVERIFY(worker.start(nullptr));
        const qlonglong first = card.video().first().time_ms;
        const qlonglong second = card.video().last().time_ms - 10000;
        worker.postCommand(first, true, 0, false);
        QThread::msleep(150); // the worker is inside the first 300 ms send
        const int g2 = worker.postCommand(second, true, 0, false);
        // At 400 ms the old send has ended (its picture was dropped at push)
        // and the new one is still running: nothing is queued.
        QThread::msleep(250);
        QCOMPARE(worker.queuedPictureCount(), 0);
        QCOMPARE(worker.newestPictureTime(), -1);
        const Collected got = collect(&worker, g2, 30000, 3);
        QCOMPARE(got.pictures.size(), 3);
        for (const QueuedFrame &p : got.pictures) {
            QCOMPARE(p.generation, g2);
            QVERIFY(p.timeMs >= card.landing(second));
        }
        QCOMPARE(got.pictures.first().timeMs, card.landing(second));
    }

    void queuesStayBounded()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream());
        QVERIFY(worker.start(nullptr));
        const int g = worker.postCommand(card.video().first().time_ms, true, 0, true);
        QTRY_COMPARE_WITH_TIMEOUT(worker.queuedPictureCount(), DecodeWorker::kMaxPictures, 30000);
        QTest::qWait(300);
        QCOMPARE(worker.queuedPictureCount(), DecodeWorker::kMaxPictures);
        QVERIFY(worker.queuedAudioMs() < DecodeWorker::kMaxAudioMs);
        const qlonglong pictureBytes = 320 * 240 * 3 / 2;
        QVERIFY(worker.queuedBytes() <=
                DecodeWorker::kMaxPictures * pictureBytes + worker.queuedAudioMs() * 16 * 4 + 4096);
        // Taking only pictures lets sound pile up to its own bound, then the
        // worker stops although the picture queue has room.
        QElapsedTimer timer;
        timer.start();
        while (worker.queuedAudioMs() < DecodeWorker::kMaxAudioMs && timer.elapsed() < 30000) {
            if (worker.peekPicture(g))
                worker.popPicture();
            else
                QThread::msleep(1);
        }
        QVERIFY(worker.queuedAudioMs() >= DecodeWorker::kMaxAudioMs);
        while (worker.peekPicture(g))
            worker.popPicture();
        QTest::qWait(300);
        QCOMPARE(worker.queuedPictureCount(), 0);
        // One AAC chunk (1024 samples at 16 kHz) over the bound at most.
        QVERIFY(worker.queuedAudioMs() < DecodeWorker::kMaxAudioMs + 64);
        // Taking sound lets it go on.
        QVERIFY(worker.popAudioChunk(g));
        QTRY_VERIFY_WITH_TIMEOUT(worker.queuedPictureCount() > 0, 30000);
    }

    void stepBackCopiesOutOnlyFromThePictureBefore_data()
    {
        QTest::addColumn<qlonglong>("offset"); // of the step's origin after the key frame
        QTest::addColumn<int>("released");
        // 10 pictures a second: the picture before key + 1500 is key + 1400.
        QTest::newRow("inside the group") << 1500LL << 14;
        QTest::newRow("next to the key frame") << 1LL << 0;
    }

    void stepBackCopiesOutOnlyFromThePictureBefore()
    {
        QFETCH(qlonglong, offset);
        QFETCH(int, released);
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        CopyCount count;
        DecodeWorker worker(card.reader(), card.stream(), [&count](int codec, QString *reason) {
            auto inner = makeVideoDecoder(codec, reason);
            return inner ? std::make_unique<CountingDecoder>(std::move(inner), &count) : nullptr;
        });
        QVERIFY(worker.start(nullptr));
        const qlonglong key = card.keys().at(2);
        const qlonglong expected = key + offset - (offset > 1 ? 100 : 1);
        const int g = worker.postStepBack(key, key + offset);
        const Collected got = collect(&worker, g, 30000, 3);
        QCOMPARE(got.pictures.size(), 3);
        QCOMPARE(got.pictures.first().timeMs, expected);
        QCOMPARE(pictureStamp(got.pictures.first().picture), expected);
        QCOMPARE(got.pictures.at(2).timeMs, expected + 200);
        // Read without sound, and every picture before the target stayed
        // inside the decoder.
        QVERIFY(got.audio.isEmpty());
        QCOMPARE(count.released.load(), released);
        QVERIFY(count.copied.load() >= 3);
    }

    void strideReadsKeyframesWithoutSound()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream());
        QVERIFY(worker.start(nullptr));
        const qlonglong start = card.video().first().time_ms;
        const int g = worker.postCommand(start, true, 2, false);
        const Collected got = collect(&worker, g);
        QVERIFY(got.ended);
        QVERIFY(got.audio.isEmpty());
        QVERIFY(got.pictures.size() >= 10);
        QList<qlonglong> times;
        for (const QueuedFrame &p : got.pictures) {
            QVERIFY2(card.keys().contains(p.timeMs), qPrintable(QString::number(p.timeMs)));
            times << p.timeMs;
        }
        // Every second keyframe: 4 s apart inside a recording.
        QCOMPARE(times[1] - times[0], 4000);
        QVERIFY(got.pictures.size() < card.keys().size());
        // Back to every frame.
        const int g2 = worker.postCommand(start + 10000, false, 0, true);
        const Collected all = collect(&worker, g2, 30000, 12);
        QCOMPARE(all.pictures.size(), 12);
        for (int i = 1; i < all.pictures.size(); ++i)
            QCOMPARE(all.pictures[i].timeMs - all.pictures[i - 1].timeMs, 100);
    }

    void destructionWhileBusy()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        ScriptLog sent;
        {
            // A slow decoder that never delivers keeps the worker reading
            // (no queue ever fills): only the stop flag can end it before the
            // card's end.
            DecodeWorker worker(card.reader(), card.stream(), [&sent](int, QString *) {
                return std::make_unique<ScriptedDecoder>("slow", Script::NeverPicture, 0, &sent, 100);
            });
            QVERIFY(worker.start(nullptr));
            worker.postCommand(card.video().first().time_ms, true, 0, false);
            QThread::msleep(50);
        }
        // Joined mid-stream: the decoder saw a few of the card's frames, not all.
        QVERIFY2(sent.packets.size() < card.video().size() / 2,
                 qPrintable(QString::number(sent.packets.size())));
        {
            // With full queues the thread is asleep on the condition.
            DecodeWorker worker(card.reader(), card.stream());
            QVERIFY(worker.start(nullptr));
            worker.postCommand(card.video().first().time_ms, true, 0, true);
            QTRY_COMPARE_WITH_TIMEOUT(worker.queuedPictureCount(), DecodeWorker::kMaxPictures, 30000);
        }
        {
            // Started but never commanded.
            DecodeWorker worker(card.reader(), card.stream());
            QVERIFY(worker.start(nullptr));
        }
    }

    void decoderFailureStopsTheReading()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        DecodeWorker worker(card.reader(), card.stream(), scripted(Script::FailAfterCommit, 5, 0));
        QVERIFY(worker.start(nullptr));
        const int g = worker.postCommand(card.video().first().time_ms, true, 0, false);
        const Collected got = collect(&worker, g, 30000, 5);
        QCOMPARE(got.pictures.size(), 5);
        QTRY_COMPARE_WITH_TIMEOUT(worker.errorText(), QStringLiteral("scripted failed"), 30000);
        QCOMPARE(worker.infoText(), QStringLiteral("scripted"));
        // The sixth picture failed; the cursor stays on it and nothing more
        // (not even the end of the card) is queued.
        const card_frame failed = card.video().at(5);
        QTest::qWait(300);
        QVERIFY(!worker.peekPicture(g));
        QCOMPARE(worker.segment(), failed.segment);
        QCOMPARE(worker.segmentOffset(), failed.file_offset);
        // A new command does not start the reading again either.
        const int g2 = worker.postCommand(card.video().first().time_ms + 20000, true, 0, false);
        QTest::qWait(300);
        QVERIFY(!worker.peekPicture(g2));
        QCOMPARE(worker.segmentOffset(), failed.file_offset);
        QCOMPARE(worker.errorText(), QStringLiteral("scripted failed"));
    }

    void lastPicturesComeOutAtTheEnd_data()
    {
        QTest::addColumn<bool>("scriptedDecoder");
        QTest::addColumn<int>("threads");
        QTest::newRow("decoder holding three back") << true << 0;
        QTest::newRow("software, four frame threads") << false << 4;
        QTest::newRow("software, one thread") << false << 1;
    }

    void lastPicturesComeOutAtTheEnd()
    {
        QFETCH(bool, scriptedDecoder);
        QFETCH(int, threads);
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        setSoftwareDecoderThreads(threads);
        DecodeWorker worker(card.reader(), card.stream(),
                            scriptedDecoder ? scripted(Script::HoldBack, 3, 0) : DecodeWorker::VideoMaker());
        QVERIFY(worker.start(nullptr));
        setSoftwareDecoderThreads(0);
        const qlonglong from = card.video().last().time_ms - 1500;
        const int g = worker.postCommand(from, false, 0, true);
        const Collected got = collect(&worker, g);
        QVERIFY(got.ended);
        QList<qlonglong> expected;
        for (const card_frame &f : card.video()) {
            if (f.time_ms >= from)
                expected << f.time_ms;
        }
        QList<qlonglong> times;
        for (const QueuedFrame &p : got.pictures)
            times << p.timeMs;
        QCOMPARE(times, expected);
        if (!scriptedDecoder)
            QCOMPARE(pictureStamp(got.pictures.last().picture), expected.last());
        // The drained decoder decodes again after the next seek.
        const int g2 = worker.postCommand(from, false, 0, true);
        const auto first = firstPicture(&worker, g2);
        QVERIFY(first);
        QCOMPARE(first->timeMs, from);
    }

    void startFailures()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        card_stream unknown = card.stream();
        unknown.video_codec = 0;
        DecodeWorker missing(card.reader(), unknown);
        QString reason;
        QVERIFY(!missing.start(&reason));
        QVERIFY(missing.decoderMissing());
        QCOMPARE(reason, QStringLiteral("This video format is not supported."));

        DecodeWorker noCard(nullptr, card.stream());
        QVERIFY(!noCard.start(&reason));
        QCOMPARE(reason, QStringLiteral("Cannot read the recordings."));
        QVERIFY(!noCard.decoderMissing());
    }

    void audioDecoderChoices()
    {
        Card card(CARD_SMALL);
        QVERIFY(card.isOpen());
        {
            LogCapture log;
            card_stream odd = card.stream();
            odd.audio_kind = AudioUnknownFormat;
            DecodeWorker worker(card.reader(), odd);
            QVERIFY(worker.start(nullptr));
            QVERIFY(!worker.hasAudioDecoder());
            QVERIFY(log.lines(QtWarningMsg).isEmpty());
            QVERIFY(log.linesStartingWith("audio decoder").isEmpty());
        }
        {
            LogCapture log;
            qputenv("NIVRA_AUDIO_DECODER", "system");
            DecodeWorker worker(card.reader(), card.stream());
            QVERIFY(worker.start(nullptr));
            QVERIFY(!worker.hasAudioDecoder());
            QCOMPARE(log.lines(QtWarningMsg),
                     QStringList({"no audio decoder: this system has no AAC decoder of its own"}));
            // Without an audio decoder the sound frames are skipped unread.
            const int g = worker.postCommand(card.video().first().time_ms, true, 0, true);
            const Collected got = collect(&worker, g, 30000, 30);
            QCOMPARE(got.pictures.size(), 30);
            QVERIFY(got.audio.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(tst_DecodeWorker)
#include "tst_decodeworker.moc"
