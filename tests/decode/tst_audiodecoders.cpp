// The audio decoders and the resampler: G.711 expansion, AAC with and without
// ADTS headers (streams made by the ffmpeg command line), the configuration
// bytes, the factory's choices, and resampling as a pure function.
#include "log_capture.h"

#include "decode/audio_decoders.h"
#include "decode/decoder.h"
#include "playback/audio_output.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace nivra;
using namespace nivra::test;

namespace {

// One AAC stream in ADTS frames, written by the ffmpeg command line.
struct AdtsStream
{
    QList<QByteArray> frames; // with headers
    int sampleRate = 0;
    int channels = 0;
    int objectType = 0;
};

bool makeAdts(int rate, int channels, int toneHz, AdtsStream *out, QString *error)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tone.aac");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-f", "lavfi", "-i",
                  QString("sine=frequency=%1:sample_rate=%2:duration=1").arg(toneHz).arg(rate), "-ac",
                  QString::number(channels), "-c:a", "aac", "-b:a", "96k", "-f", "adts", "-y", path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        *error = "ffmpeg failed: " + QString::fromLocal8Bit(ffmpeg.readAllStandardError());
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + path;
        return false;
    }
    const QByteArray all = file.readAll();
    static const int rates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                22050, 16000, 12000, 11025, 8000,  7350};
    for (qsizetype at = 0; at + 7 <= all.size();) {
        const auto *b = reinterpret_cast<const uint8_t *>(all.constData() + at);
        if (b[0] != 0xFF || (b[1] & 0xF6) != 0xF0) {
            *error = QString("lost ADTS sync at %1").arg(at);
            return false;
        }
        const int length = ((b[3] & 3) << 11) | (b[4] << 3) | (b[5] >> 5);
        out->objectType = (b[2] >> 6) + 1;
        out->sampleRate = rates[(b[2] >> 2) & 0x0F];
        out->channels = ((b[2] & 1) << 2) | (b[3] >> 6);
        out->frames << all.mid(at, length);
        at += length;
    }
    return !out->frames.isEmpty();
}

// Decodes every frame; headerless strips the 7-byte ADTS header first.
QList<AudioChunk> decodeAll(AudioDecoder *decoder, const AdtsStream &stream, bool headerless)
{
    QList<AudioChunk> chunks;
    qlonglong time = 5000;
    for (const QByteArray &frame : stream.frames) {
        const QByteArray data = headerless ? frame.mid(7) : frame;
        decoder->decode(reinterpret_cast<const uint8_t *>(data.constData()), uint64_t(data.size()), time,
                        &chunks);
        time += 1024 * 1000 / stream.sampleRate;
    }
    return chunks;
}

// Sign changes per second of channel c over the chunks (a tone of f Hz has 2f).
double crossingsPerSecond(const QList<AudioChunk> &chunks, int channel)
{
    int crossings = 0;
    qlonglong frames = 0;
    float previous = 0.0f;
    int rate = 1;
    for (const AudioChunk &chunk : chunks) {
        rate = chunk.sampleRate;
        for (qsizetype i = channel; i < chunk.samples.size(); i += chunk.channels) {
            const float value = chunk.samples[i];
            if ((value >= 0) != (previous >= 0) && std::abs(value - previous) > 1e-4f)
                ++crossings;
            previous = value;
            ++frames;
        }
    }
    return frames ? crossings * double(rate) / double(frames) : 0.0;
}

std::vector<float> run(Resampler *state, const std::vector<float> &input)
{
    std::vector<float> out;
    resample(state, input.data(), int(input.size()) / state->inputChannels, &out);
    return out;
}

} // namespace

class tst_AudioDecoders : public QObject
{
    Q_OBJECT

private slots:
    void init() { qunsetenv("NIVRA_AUDIO_DECODER"); }

    void alawTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("linear");
        QTest::newRow("0xD5") << 0xD5 << 8;
        QTest::newRow("0x55") << 0x55 << -8;
        QTest::newRow("0xAA") << 0xAA << 32256;
        QTest::newRow("0x2A") << 0x2A << -32256;
        QTest::newRow("0x80") << 0x80 << 5504;
        QTest::newRow("0x00") << 0x00 << -5504;
        QTest::newRow("0xD4") << 0xD4 << 24;
        QTest::newRow("0xC5") << 0xC5 << 264;
    }

    void alawTable()
    {
        QFETCH(int, code);
        QFETCH(int, linear);
        QCOMPARE(alawSample(uint8_t(code)), float(linear) / 32768.0f);
    }

    void alawTableIsOddSymmetricAndMonotonic()
    {
        // Codes with the sign bit cleared mirror those with it set, and the
        // magnitude grows with the code after undoing the even-bit inversion.
        float previous = -1.0f;
        for (int magnitude = 0; magnitude < 128; ++magnitude) {
            const uint8_t positive = uint8_t((magnitude ^ 0x55) | 0x80);
            const uint8_t negative = uint8_t(positive & 0x7F);
            QCOMPARE(alawSample(negative), -alawSample(positive));
            QVERIFY(alawSample(positive) > previous);
            previous = alawSample(positive);
        }
    }

    void g711DecoderMakesOneMonoChunkPerFrame()
    {
        QString reason;
        auto decoder = makeAudioDecoder(AudioAlaw, 0, 1, 0, &reason);
        QVERIFY(decoder);
        QCOMPARE(decoder->info(), QStringLiteral("G.711 A-law"));
        const uint8_t bytes[] = {0xD5, 0xAA, 0x2A, 0x55};
        QList<AudioChunk> chunks;
        QVERIFY(decoder->decode(bytes, sizeof bytes, 1234, &chunks));
        QCOMPARE(chunks.size(), 1);
        QCOMPARE(chunks[0].sampleRate, 8000);
        QCOMPARE(chunks[0].channels, 1);
        QCOMPARE(chunks[0].timeMs, 1234);
        QCOMPARE(chunks[0].samples,
                 QList<float>({8 / 32768.0f, 32256 / 32768.0f, -32256 / 32768.0f, -8 / 32768.0f}));
        auto wide = makeAudioDecoder(AudioAlaw, 16000, 1, 0, &reason);
        chunks.clear();
        wide->decode(bytes, 2, 0, &chunks);
        QCOMPARE(chunks[0].sampleRate, 16000);
    }

    void audioSpecificConfig_data()
    {
        QTest::addColumn<int>("objectType");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("byte0");
        QTest::addColumn<int>("byte1");
        QTest::newRow("44100 stereo LC") << 2 << 44100 << 2 << 0x12 << 0x10;
        QTest::newRow("48000 mono LC") << 2 << 48000 << 1 << 0x11 << 0x88;
        QTest::newRow("16000 mono, type 0 means LC") << 0 << 16000 << 1 << 0x14 << 0x08;
        QTest::newRow("8000, channels 0 means mono") << 2 << 8000 << 0 << 0x15 << 0x88;
        QTest::newRow("unknown rate uses index 8") << 2 << 12345 << 2 << 0x14 << 0x10;
        QTest::newRow("7350 HE-AAC type 5") << 5 << 7350 << 2 << 0x2E << 0x10;
        QTest::newRow("96000 5.1") << 2 << 96000 << 6 << 0x10 << 0x30;
    }

    void audioSpecificConfig()
    {
        QFETCH(int, objectType);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, byte0);
        QFETCH(int, byte1);
        const auto bytes = aacAudioSpecificConfig(objectType, rate, channels);
        QCOMPARE(int(bytes[0]), byte0);
        QCOMPARE(int(bytes[1]), byte1);
    }

    void aacWithAndWithoutHeaders_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<bool>("headerless");
        QTest::newRow("ADTS 16000 mono") << 16000 << 1 << false;
        QTest::newRow("raw 16000 mono") << 16000 << 1 << true;
        QTest::newRow("ADTS 44100 stereo") << 44100 << 2 << false;
        QTest::newRow("raw 48000 stereo") << 48000 << 2 << true;
    }

    void aacWithAndWithoutHeaders()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(bool, headerless);
        AdtsStream stream;
        QString error;
        QVERIFY2(makeAdts(rate, channels, 1000, &stream, &error), qPrintable(error));
        QCOMPARE(stream.sampleRate, rate);
        qputenv("NIVRA_AUDIO_DECODER", "FFMPEG");
        QString reason;
        auto decoder = makeAudioDecoder(headerless ? AudioAacRaw : AudioAacAdts, rate, channels,
                                        stream.objectType, &reason);
        QVERIFY2(decoder, qPrintable(reason));
        QCOMPARE(decoder->info(), QStringLiteral("FFmpeg aac (software)"));
        const QList<AudioChunk> chunks = decodeAll(decoder.get(), stream, headerless);
        // The encoder's priming frame may come out empty; everything else
        // is one chunk of 1024 frames per packet.
        QVERIFY(chunks.size() >= stream.frames.size() - 2);
        qlonglong frames = 0;
        for (const AudioChunk &chunk : chunks) {
            QCOMPARE(chunk.sampleRate, rate);
            QCOMPARE(chunk.channels, channels);
            QCOMPARE(chunk.samples.size() % channels, 0);
            frames += chunk.samples.size() / channels;
        }
        QVERIFY2(std::abs(frames - rate) <= 2048, qPrintable(QString::number(frames)));
        QCOMPARE(chunks.first().timeMs, 5000);
        QVERIFY(chunks.last().timeMs > chunks.first().timeMs);
        for (int c = 0; c < channels; ++c) {
            const double crossings = crossingsPerSecond(chunks, c);
            QVERIFY2(std::abs(crossings - 2000.0) < 100.0, qPrintable(QString::number(crossings)));
        }
        // A flush forgets state; decoding goes on afterwards.
        decoder->flush();
        QVERIFY(!decodeAll(decoder.get(), stream, headerless).isEmpty());
    }

    void aacDecoderRejectsGarbageWithoutStopping()
    {
        AdtsStream stream;
        QString error;
        QVERIFY2(makeAdts(16000, 1, 440, &stream, &error), qPrintable(error));
        auto decoder = makeFfmpegAacDecoder(false, 16000, 1, 2, &error);
        QVERIFY(decoder);
        QList<AudioChunk> chunks;
        const QByteArray garbage(300, '\x5a');
        QVERIFY(!decoder->decode(reinterpret_cast<const uint8_t *>(garbage.constData()),
                                 uint64_t(garbage.size()), 0, &chunks));
        QVERIFY(!decoder->decode(nullptr, 0, 0, &chunks));
        QVERIFY(!decodeAll(decoder.get(), stream, false).isEmpty());
    }

    void factoryChoices()
    {
        LogCapture log;
        QString reason;
        QVERIFY(!makeAudioDecoder(AudioNone, 8000, 1, 0, &reason));
        QCOMPARE(reason, QStringLiteral("no audio"));
        QVERIFY(!makeAudioDecoder(AudioUnknownFormat, 8000, 1, 0, &reason));
        QCOMPARE(reason, QStringLiteral("no audio"));
        auto aac = makeAudioDecoder(AudioAacAdts, 16000, 1, 2, &reason);
        QVERIFY(aac);
        QCOMPARE(aac->info(), QStringLiteral("FFmpeg aac (software)"));
        qputenv("NIVRA_AUDIO_DECODER", " System ");
        reason.clear();
        QVERIFY(!makeAudioDecoder(AudioAacRaw, 16000, 1, 2, &reason));
        QCOMPARE(reason, QStringLiteral("this system has no AAC decoder of its own"));
        // No system AAC decoder exists here, so its absence is not a warning.
        QVERIFY(log.lines(QtWarningMsg).isEmpty());
    }

    void resamplerInterpolatesAndKeepsTheLastFrame()
    {
        // 8000 -> 32000: a step of exactly 1/4, so every position is exact.
        Resampler state;
        setUpResampler(&state, 8000, 1, 32000, 2);
        std::vector<float> input(160);
        for (int i = 0; i < 160; ++i)
            input[size_t(i)] = float(i) / 160.0f;
        const std::vector<float> out = run(&state, input);
        // Output frame k lies at input position k/4 while that has a right neighbour.
        QCOMPARE(out.size(), size_t(159 * 4 * 2));
        for (size_t k = 0; k < out.size() / 2; ++k) {
            QCOMPARE(out[2 * k], out[2 * k + 1]);
            QVERIFY(std::abs(out[2 * k] - float(k) / 4.0f / 160.0f) < 1e-6f);
        }
        // The next chunk starts between the kept last frame and its own first.
        QCOMPARE(state.position, -1.0);
        const std::vector<float> next = run(&state, {1.0f, 1.0f});
        QCOMPARE(next.size(), size_t(2 * 8));
        QCOMPARE(next[0], 159.0f / 160.0f);
        QVERIFY(std::abs(next[2] - (159.0f / 160.0f + (1.0f - 159.0f / 160.0f) * 0.25f)) < 1e-6f);
        QCOMPARE(next[8], 1.0f);
    }

    void g711RateOnAStereoDevice()
    {
        // 8000 Hz mono to 48000 Hz stereo: about six frames per sample, the
        // same value on both channels.
        Resampler state;
        setUpResampler(&state, 8000, 1, 48000, 2);
        std::vector<float> all;
        for (int chunk = 0; chunk < 50; ++chunk) {
            std::vector<float> input(160);
            for (int i = 0; i < 160; ++i)
                input[size_t(i)] = std::sin(float(chunk * 160 + i) * 0.05f);
            const std::vector<float> out = run(&state, input);
            all.insert(all.end(), out.begin(), out.end());
        }
        QVERIFY2(std::abs(qlonglong(all.size() / 2) - 48000) <= 6, qPrintable(QString::number(all.size())));
        for (size_t k = 0; k + 1 < all.size(); k += 2)
            QCOMPARE(all[k], all[k + 1]);
    }

    void resamplerCarriesPositionAcrossChunks_data()
    {
        QTest::addColumn<int>("inRate");
        QTest::addColumn<int>("outRate");
        QTest::addColumn<int>("inChannels");
        QTest::addColumn<int>("outChannels");
        // Steps that binary fractions hold exactly, so that splitting the
        // input cannot move a position across a frame boundary by rounding.
        QTest::newRow("8000 -> 32000 mono->stereo") << 8000 << 32000 << 1 << 2;
        QTest::newRow("24000 -> 48000 stereo") << 24000 << 48000 << 2 << 2;
        QTest::newRow("48000 -> 32000 stereo->mono") << 48000 << 32000 << 2 << 1;
        QTest::newRow("12000 -> 48000 5.1->stereo") << 12000 << 48000 << 6 << 2;
        QTest::newRow("48000 -> 48000 mono") << 48000 << 48000 << 1 << 1;
    }

    void resamplerCarriesPositionAcrossChunks()
    {
        QFETCH(int, inRate);
        QFETCH(int, outRate);
        QFETCH(int, inChannels);
        QFETCH(int, outChannels);
        std::vector<float> input;
        for (int i = 0; i < 3000 * inChannels; ++i)
            input.push_back(std::sin(float(i) * 0.01f) * float(1 + i % inChannels));
        Resampler whole;
        setUpResampler(&whole, inRate, inChannels, outRate, outChannels);
        const std::vector<float> once = run(&whole, input);

        Resampler pieces;
        setUpResampler(&pieces, inRate, inChannels, outRate, outChannels);
        std::vector<float> joined;
        size_t at = 0;
        for (int frames : {1, 7, 1024, 333, 2, 1633}) {
            const std::vector<float> part(input.begin() + qsizetype(at),
                                          input.begin() + qsizetype(at + size_t(frames * inChannels)));
            const std::vector<float> out = run(&pieces, part);
            joined.insert(joined.end(), out.begin(), out.end());
            at += size_t(frames * inChannels);
        }
        QCOMPARE(at, input.size());
        QCOMPARE(joined.size(), once.size());
        for (size_t i = 0; i < once.size(); ++i)
            QVERIFY2(std::abs(joined[i] - once[i]) < 1e-4f, qPrintable(QString::number(i)));
        // About outRate / inRate frames out per frame in.
        const double expected = 3000.0 * outRate / inRate;
        QVERIFY(std::abs(double(once.size() / size_t(outChannels)) - expected) <= 1.0 + outRate / inRate);
    }

    void resamplerMixesChannels()
    {
        Resampler stereoToMono;
        setUpResampler(&stereoToMono, 48000, 2, 48000, 1);
        const std::vector<float> mono = run(&stereoToMono, {0.2f, 0.6f, -1.0f, 0.0f, 0.5f, 0.5f});
        QCOMPARE(mono.size(), size_t(2));
        QVERIFY(std::abs(mono[0] - 0.4f) < 1e-6f);
        QVERIFY(std::abs(mono[1] - (-0.5f)) < 1e-6f);

        Resampler surround;
        setUpResampler(&surround, 48000, 6, 48000, 2);
        const std::vector<float> stereo =
            run(&surround, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f, 1.1f, 1.2f});
        QCOMPARE(stereo.size(), size_t(2));
        QCOMPARE(stereo[0], 0.1f);
        QCOMPARE(stereo[1], 0.2f);

        Resampler wider;
        setUpResampler(&wider, 48000, 2, 48000, 4);
        const std::vector<float> four = run(&wider, {0.1f, 0.2f, 0.3f, 0.4f});
        QCOMPARE(four, std::vector<float>({0.1f, 0.2f, 0.2f, 0.2f}));
    }

    void resamplerIgnoresEmptyInput()
    {
        Resampler state;
        setUpResampler(&state, 8000, 1, 48000, 2);
        std::vector<float> out;
        resample(&state, nullptr, 0, &out);
        QVERIFY(out.empty());
        QVERIFY(!state.hasLastFrame);
        Resampler unset;
        const float one = 1.0f;
        resample(&unset, &one, 1, &out);
        QVERIFY(out.empty());
    }
};

QTEST_GUILESS_MAIN(tst_AudioDecoders)
#include "tst_audiodecoders.moc"
