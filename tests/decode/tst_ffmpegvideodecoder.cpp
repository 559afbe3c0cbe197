// The FFmpeg video decoder: simulator cards (H.264 and H.265) decoded through
// the chain under the software policy, pictures read back by their time
// code; the conversion's pixel format, colour and odd-size rules.
#include "card_frames.h"
#include "log_capture.h"

#include "decode/decoder.h"
#include "decode/ffmpeg_video_decoder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QVideoFrameFormat>
#include <QtTest>

extern "C" {
#include <libavutil/frame.h>
}

using namespace nivra;
using namespace nivra::test;

namespace {

struct FrameDeleter
{
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A system-memory frame whose every byte tells its plane, row and column.
FramePtr patternFrame(AVPixelFormat format, int width, int height)
{
    FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    const int planes = format == AV_PIX_FMT_NV12 ? 2 : 3;
    for (int plane = 0; plane < planes; ++plane) {
        const int rows = plane == 0 ? height : (height + 1) / 2;
        for (int row = 0; row < rows; ++row) {
            for (int x = 0; x < frame->linesize[plane]; ++x)
                frame->data[plane][row * frame->linesize[plane] + x] = uint8_t(plane * 71 + row * 13 + x * 7);
        }
    }
    return frame;
}

// Number of bytes in a plane row/column that differ from the pattern.
int patternMismatches(QVideoFrame picture, int planes, int width, int height)
{
    if (!picture.map(QVideoFrame::ReadOnly))
        return -1;
    int wrong = 0;
    for (int plane = 0; plane < planes; ++plane) {
        const int rows = plane == 0 ? height : (height + 1) / 2;
        const int columns = plane == 0 ? width : planes == 2 ? (width + 1) & ~1 : (width + 1) / 2;
        const uchar *bits = picture.bits(plane);
        for (int row = 0; row < rows; ++row) {
            for (int x = 0; x < columns; ++x) {
                const qsizetype at = qsizetype(row) * picture.bytesPerLine(plane) + x;
                if (at >= picture.mappedBytes(plane) || bits[at] != uint8_t(plane * 71 + row * 13 + x * 7))
                    ++wrong;
            }
        }
    }
    picture.unmap();
    return wrong;
}

struct StreamInfo
{
    QString colorSpace;
    QString colorRange;
    int width = 0;
    int height = 0;
};

// What ffprobe says about an elementary stream.
bool probeStream(const QString &path, StreamInfo *info, QString *error)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe",
                  {"-v", "error", "-select_streams", "v:0", "-show_entries",
                   "stream=width,height,color_space,color_range", "-of", "default=noprint_wrappers=1", path});
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0) {
        *error = QString::fromLocal8Bit(ffprobe.readAllStandardError());
        return false;
    }
    for (const QString &line : QString::fromLocal8Bit(ffprobe.readAllStandardOutput()).split('\n')) {
        const QString key = line.section('=', 0, 0);
        const QString value = line.section('=', 1).trimmed();
        if (key == "width")
            info->width = value.toInt();
        else if (key == "height")
            info->height = value.toInt();
        else if (key == "color_space")
            info->colorSpace = value;
        else if (key == "color_range")
            info->colorRange = value;
    }
    return info->width > 0;
}

QVideoFrameFormat::ColorSpace expectedColorSpace(const QString &probed, int height)
{
    if (probed == "bt709")
        return QVideoFrameFormat::ColorSpace_BT709;
    if (probed == "bt470bg" || probed == "smpte170m")
        return QVideoFrameFormat::ColorSpace_BT601;
    if (probed.startsWith("bt2020"))
        return QVideoFrameFormat::ColorSpace_BT2020;
    return height < 720 ? QVideoFrameFormat::ColorSpace_BT601 : QVideoFrameFormat::ColorSpace_BT709;
}

} // namespace

class tst_FfmpegVideoDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qunsetenv("NIVRA_DECODE");
        qunsetenv("NIVRA_SKIP_SW");
        setDecodePolicy(PolicySoftware);
    }

    void decodesEveryPictureOfACard_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<int>("codec");
        QTest::addColumn<QString>("codecName");
        QTest::newRow("H.264 320x240") << QString(CARD_SMALL) << int(CodecH264) << "h264";
        QTest::newRow("H.265 320x240") << QString(CARD_H265) << int(CodecH265) << "hevc";
        QTest::newRow("H.265 330x250") << QString(CARD_H265_ODD) << int(CodecH265) << "hevc";
        QTest::newRow("H.264 650x362") << QString(CARD_H264_ODD) << int(CodecH264) << "h264";
    }

    void decodesEveryPictureOfACard()
    {
        QFETCH(QString, card);
        QFETCH(int, codec);
        QFETCH(QString, codecName);
        card_reader *reader = nullptr;
        QCOMPARE(card_open(card.toUtf8().constData(), &reader), 0);
        card_stream stream{};
        QCOMPARE(card_probe_stream(reader, 0, &stream), 0);
        QCOMPARE(stream.video_codec, codec);
        const QList<CardFrame> frames = readCardFrames(reader, true, false);
        card_close(reader);
        QVERIFY(frames.size() > 50);

        // The elementary stream as ffprobe sees it.
        QTemporaryDir dir;
        const QString esPath = dir.filePath(codec == CodecH265 ? "video.hevc" : "video.h264");
        {
            QFile es(esPath);
            QVERIFY(es.open(QIODevice::WriteOnly));
            for (const CardFrame &frame : frames)
                es.write(frame.payload);
        }
        StreamInfo probed;
        QString error;
        QVERIFY2(probeStream(esPath, &probed, &error), qPrintable(error));

        LogCapture log;
        QString reason;
        auto decoder = makeVideoDecoder(codec, &reason);
        QVERIFY2(decoder, qPrintable(reason));
        QList<qlonglong> times;
        int stampMismatches = 0;
        // The decoding threads hold pictures back until the stream is drained.
        for (int i = 0; i <= frames.size(); ++i) {
            if (i < frames.size())
                QVERIFY(decoder->send(reinterpret_cast<const uint8_t *>(frames[i].payload.constData()),
                                      frames[i].header.size, frames[i].header.time_ms));
            else
                decoder->drain();
            DecodedFrame decoded;
            while (decoder->receive(&decoded)) {
                times << decoded.timeMs;
                const QVideoFrameFormat format = decoded.picture.surfaceFormat();
                QCOMPARE(format.pixelFormat(), QVideoFrameFormat::Format_YUV420P);
                QCOMPARE(decoded.picture.size(), QSize(probed.width, probed.height));
                QCOMPARE(format.colorSpace(), expectedColorSpace(probed.colorSpace, probed.height));
                QCOMPARE(format.colorRange(), probed.colorRange == "pc"
                                                  ? QVideoFrameFormat::ColorRange_Full
                                                  : QVideoFrameFormat::ColorRange_Video);
                if (pictureStamp(decoded.picture) != decoded.timeMs)
                    ++stampMismatches;
            }
        }
        QVERIFY(decoder->error().isEmpty());
        QCOMPARE(stampMismatches, 0);
        // Every picture, in order, each with the time of its coded frame.
        QList<qlonglong> expected;
        for (const CardFrame &frame : frames)
            expected << frame.header.time_ms;
        QCOMPARE(times, expected);
        const QString info = QString("FFmpeg %1 (software)").arg(codecName);
        QCOMPARE(decoder->info(), info);
        QCOMPARE(log.linesStartingWith("video"),
                 QStringList({"video: trying FFmpeg in software", "video decoder: " + info}));
    }

    void flushRestartsAtTheNextKeyframe()
    {
        card_reader *reader = nullptr;
        QCOMPARE(card_open(CARD_SMALL, &reader), 0);
        const QList<CardFrame> frames = readCardFrames(reader, true, false);
        card_close(reader);
        QString reason;
        auto decoder = makeFfmpegVideoDecoder(CodecH264, false, &reason);
        QVERIFY2(decoder, qPrintable(reason));
        auto sendFrame = [&](int i) {
            const CardFrame &f = frames[i];
            return decoder->send(reinterpret_cast<const uint8_t *>(f.payload.constData()), f.header.size,
                                 f.header.time_ms);
        };
        for (int i = 0; i < 15; ++i)
            QVERIFY(sendFrame(i));
        decoder->flush();
        int key = 15;
        while (frames[key].header.type != CARD_FRAME_KEY)
            ++key;
        QVERIFY(sendFrame(key));
        decoder->drain();
        DecodedFrame decoded;
        QVERIFY(decoder->receive(&decoded));
        // Nothing from before the flush comes out.
        QCOMPARE(decoded.timeMs, frames[key].header.time_ms);
        QCOMPARE(pictureStamp(decoded.picture), frames[key].header.time_ms);
        QVERIFY(!decoder->receive(&decoded));
        QVERIFY(!decoder->send(nullptr, 0, 0));
        QVERIFY(decoder->error().isEmpty());
        // Drained to the end, it takes a new stream.
        QVERIFY(sendFrame(0));
        decoder->drain();
        QVERIFY(decoder->receive(&decoded));
        QCOMPARE(decoded.timeMs, frames[0].header.time_ms);
    }

    void hardwareDecoderWithEveryPathSkipped()
    {
        qputenv("NIVRA_SKIP_HW", "all");
        LogCapture log;
        QString reason;
        QVERIFY(!makeFfmpegVideoDecoder(CodecH265, true, &reason));
        QCOMPARE(reason, QStringLiteral("Your graphics card cannot decode this video."));
        // The listing still names every path the codec supports.
        const QStringList lines = log.lines();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("hevc: hardware paths ") && lines[0].contains("VA-API") &&
                     lines[0].contains("VDPAU"),
                 qPrintable(lines[0]));
        qunsetenv("NIVRA_SKIP_HW");
    }

    void conversionRules_data()
    {
        QTest::addColumn<int>("avFormat");
        QTest::addColumn<int>("colorSpace");
        QTest::addColumn<int>("colorRange");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("qtFormat");
        QTest::addColumn<int>("qtSpace");
        QTest::addColumn<int>("qtRange");
        const int yuv = QVideoFrameFormat::Format_YUV420P;
        const int nv12 = QVideoFrameFormat::Format_NV12;
        const int bt601 = QVideoFrameFormat::ColorSpace_BT601;
        const int bt709 = QVideoFrameFormat::ColorSpace_BT709;
        const int bt2020 = QVideoFrameFormat::ColorSpace_BT2020;
        const int video = QVideoFrameFormat::ColorRange_Video;
        const int full = QVideoFrameFormat::ColorRange_Full;
        QTest::newRow("1080 undescribed") << int(AV_PIX_FMT_YUV420P) << int(AVCOL_SPC_UNSPECIFIED)
                                          << int(AVCOL_RANGE_UNSPECIFIED) << 1080 << yuv << bt709 << video;
        QTest::newRow("576 undescribed") << int(AV_PIX_FMT_YUV420P) << int(AVCOL_SPC_UNSPECIFIED)
                                         << int(AVCOL_RANGE_MPEG) << 576 << yuv << bt601 << video;
        QTest::newRow("720 undescribed") << int(AV_PIX_FMT_NV12) << int(AVCOL_SPC_RGB)
                                         << int(AVCOL_RANGE_UNSPECIFIED) << 720 << nv12 << bt709 << video;
        QTest::newRow("bt709 small") << int(AV_PIX_FMT_YUV420P) << int(AVCOL_SPC_BT709)
                                     << int(AVCOL_RANGE_MPEG) << 240 << yuv << bt709 << video;
        QTest::newRow("bt470bg large") << int(AV_PIX_FMT_NV12) << int(AVCOL_SPC_BT470BG)
                                       << int(AVCOL_RANGE_JPEG) << 1080 << nv12 << bt601 << full;
        QTest::newRow("smpte170m") << int(AV_PIX_FMT_YUV420P) << int(AVCOL_SPC_SMPTE170M)
                                   << int(AVCOL_RANGE_MPEG) << 1080 << yuv << bt601 << video;
        QTest::newRow("bt2020 ncl") << int(AV_PIX_FMT_YUV420P) << int(AVCOL_SPC_BT2020_NCL)
                                    << int(AVCOL_RANGE_MPEG) << 240 << yuv << bt2020 << video;
        QTest::newRow("bt2020 cl") << int(AV_PIX_FMT_NV12) << int(AVCOL_SPC_BT2020_CL)
                                   << int(AVCOL_RANGE_MPEG) << 240 << nv12 << bt2020 << video;
        QTest::newRow("yuvj is full range") << int(AV_PIX_FMT_YUVJ420P) << int(AVCOL_SPC_BT709)
                                            << int(AVCOL_RANGE_UNSPECIFIED) << 480 << yuv << bt709 << full;
    }

    void conversionRules()
    {
        QFETCH(int, avFormat);
        QFETCH(int, colorSpace);
        QFETCH(int, colorRange);
        QFETCH(int, height);
        QFETCH(int, qtFormat);
        QFETCH(int, qtSpace);
        QFETCH(int, qtRange);
        FramePtr frame = patternFrame(AVPixelFormat(avFormat), 64, height);
        QVERIFY(frame);
        frame->colorspace = AVColorSpace(colorSpace);
        frame->color_range = AVColorRange(colorRange);
        QVideoFrame picture;
        QVERIFY(convertFrame(frame.get(), &picture));
        QCOMPARE(int(picture.surfaceFormat().pixelFormat()), qtFormat);
        QCOMPARE(int(picture.surfaceFormat().colorSpace()), qtSpace);
        QCOMPARE(int(picture.surfaceFormat().colorRange()), qtRange);
        QCOMPARE(picture.size(), QSize(64, height));
    }

    void otherFormatsAreDropped()
    {
        for (AVPixelFormat format : {AV_PIX_FMT_YUV444P, AV_PIX_FMT_YUV420P10LE, AV_PIX_FMT_RGB24}) {
            FramePtr frame = patternFrame(AV_PIX_FMT_YUV420P, 32, 32);
            frame->format = format;
            QVideoFrame picture;
            QVERIFY(!convertFrame(frame.get(), &picture));
            QVERIFY(!picture.isValid());
        }
    }

    void planesAreCopiedExactly_data()
    {
        QTest::addColumn<int>("avFormat");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (int format : {int(AV_PIX_FMT_YUV420P), int(AV_PIX_FMT_NV12)}) {
            const char *name = format == AV_PIX_FMT_NV12 ? "nv12" : "yuv420p";
            QTest::addRow("%s 320x240", name) << format << 320 << 240;
            QTest::addRow("%s 321x240", name) << format << 321 << 240;
            QTest::addRow("%s 330x250", name) << format << 330 << 250;
            QTest::addRow("%s 650x362", name) << format << 650 << 362;
            QTest::addRow("%s 1920x1080", name) << format << 1920 << 1080;
        }
    }

    void planesAreCopiedExactly()
    {
        QFETCH(int, avFormat);
        QFETCH(int, width);
        QFETCH(int, height);
        FramePtr frame = patternFrame(AVPixelFormat(avFormat), width, height);
        QVERIFY(frame);
        QVideoFrame picture;
        QVERIFY(convertFrame(frame.get(), &picture));
        QCOMPARE(patternMismatches(picture, avFormat == AV_PIX_FMT_NV12 ? 2 : 3, width, height), 0);
    }

    void oddHeightsStayInsideTheFrame_data()
    {
        QTest::addColumn<int>("avFormat");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("yuv420p 321x243") << int(AV_PIX_FMT_YUV420P) << 321 << 243;
        QTest::newRow("yuv420p 33x17") << int(AV_PIX_FMT_YUV420P) << 33 << 17;
        QTest::newRow("nv12 321x243") << int(AV_PIX_FMT_NV12) << 321 << 243;
    }

    void oddHeightsStayInsideTheFrame()
    {
        // The frame's own planes may hold fewer chroma rows than (h + 1) / 2;
        // what they hold must be right and nothing may be written past them.
        QFETCH(int, avFormat);
        QFETCH(int, width);
        QFETCH(int, height);
        FramePtr frame = patternFrame(AVPixelFormat(avFormat), width, height);
        QVideoFrame picture;
        QVERIFY(convertFrame(frame.get(), &picture));
        QCOMPARE(picture.size(), QSize(width, height));
        const int planes = avFormat == AV_PIX_FMT_NV12 ? 2 : 3;
        // Luma complete; chroma complete except at most the last row.
        QCOMPARE(patternMismatches(picture, 1, width, height), 0);
        QCOMPARE(patternMismatches(picture, planes, width, height - 1), 0);
        const int chromaRow = planes == 2 ? (width + 1) & ~1 : (width + 1) / 2;
        QVERIFY(patternMismatches(picture, planes, width, height) <= chromaRow * (planes - 1));
    }
};

QTEST_GUILESS_MAIN(tst_FfmpegVideoDecoder)
#include "tst_ffmpegvideodecoder.moc"
