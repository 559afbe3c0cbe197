// Snapshot pictures converted on the processor: colours of each colour space
// and range, and the chroma of each 2 x 2 block in both layouts.
#include "playback/picture_image.h"

#include <QtTest>

namespace {

struct Yuv
{
    int y, cb, cr;
};

// A 4 x 2 picture: its left 2 x 2 block in one colour, the right in another.
QVideoFrame twoBlocks(QVideoFrameFormat::PixelFormat pixelFormat, QVideoFrameFormat::ColorSpace space,
                      QVideoFrameFormat::ColorRange range, Yuv left, Yuv right)
{
    QVideoFrameFormat format(QSize(4, 2), pixelFormat);
    format.setColorSpace(space);
    format.setColorRange(range);
    QVideoFrame frame(format);
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    for (int row = 0; row < 2; ++row) {
        uchar *luma = frame.bits(0) + row * frame.bytesPerLine(0);
        luma[0] = luma[1] = uchar(left.y);
        luma[2] = luma[3] = uchar(right.y);
    }
    if (pixelFormat == QVideoFrameFormat::Format_NV12) {
        uchar *c = frame.bits(1);
        c[0] = uchar(left.cb);
        c[1] = uchar(left.cr);
        c[2] = uchar(right.cb);
        c[3] = uchar(right.cr);
    } else {
        frame.bits(1)[0] = uchar(left.cb);
        frame.bits(1)[1] = uchar(right.cb);
        frame.bits(2)[0] = uchar(left.cr);
        frame.bits(2)[1] = uchar(right.cr);
    }
    frame.unmap();
    return frame;
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 3 && qAbs(qGreen(a) - qGreen(b)) <= 3 && qAbs(qBlue(a) - qBlue(b)) <= 3;
}

} // namespace

class tst_PictureImage : public QObject
{
    Q_OBJECT

private slots:
    void colours_data();
    void colours();
};

void tst_PictureImage::colours_data()
{
    QTest::addColumn<int>("space");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("leftY");
    QTest::addColumn<int>("leftCb");
    QTest::addColumn<int>("leftCr");
    QTest::addColumn<uint>("leftRgb");
    QTest::addColumn<int>("rightY");
    QTest::addColumn<int>("rightCb");
    QTest::addColumn<int>("rightCr");
    QTest::addColumn<uint>("rightRgb");
    const int video = QVideoFrameFormat::ColorRange_Video, full = QVideoFrameFormat::ColorRange_Full;
    QTest::newRow("limited black and white")
        << int(QVideoFrameFormat::ColorSpace_BT709) << video << 16 << 128 << 128 << uint(qRgb(0, 0, 0)) << 235
        << 128 << 128 << uint(qRgb(255, 255, 255));
    QTest::newRow("BT.709 red and blue")
        << int(QVideoFrameFormat::ColorSpace_BT709) << video << 63 << 102 << 240 << uint(qRgb(255, 0, 0))
        << 32 << 240 << 118 << uint(qRgb(0, 0, 255));
    QTest::newRow("BT.601 red and green")
        << int(QVideoFrameFormat::ColorSpace_BT601) << video << 81 << 90 << 240 << uint(qRgb(255, 0, 0))
        << 145 << 54 << 34 << uint(qRgb(0, 255, 0));
    // Unnamed below 720 lines: BT.601.
    QTest::newRow("unnamed small is BT.601")
        << int(QVideoFrameFormat::ColorSpace_Undefined) << video << 81 << 90 << 240 << uint(qRgb(255, 0, 0))
        << 16 << 128 << 128 << uint(qRgb(0, 0, 0));
    QTest::newRow("full-range BT.601 red and white")
        << int(QVideoFrameFormat::ColorSpace_BT601) << full << 76 << 85 << 255 << uint(qRgb(255, 0, 0)) << 255
        << 128 << 128 << uint(qRgb(255, 255, 255));
}

void tst_PictureImage::colours()
{
    QFETCH(int, space);
    QFETCH(int, range);
    QFETCH(int, leftY);
    QFETCH(int, leftCb);
    QFETCH(int, leftCr);
    QFETCH(uint, leftRgb);
    QFETCH(int, rightY);
    QFETCH(int, rightCb);
    QFETCH(int, rightCr);
    QFETCH(uint, rightRgb);
    for (const auto layout : {QVideoFrameFormat::Format_NV12, QVideoFrameFormat::Format_YUV420P}) {
        const QVideoFrame frame =
            twoBlocks(layout, QVideoFrameFormat::ColorSpace(space), QVideoFrameFormat::ColorRange(range),
                      Yuv{leftY, leftCb, leftCr}, Yuv{rightY, rightCb, rightCr});
        QVERIFY(frame.isValid());
        const QImage image = nivra::pictureImage(frame);
        QCOMPARE(image.size(), QSize(4, 2));
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x) {
                const QRgb want = x < 2 ? leftRgb : rightRgb;
                const QRgb got = image.pixel(x, y);
                QVERIFY2(near(got, want), qPrintable(QStringLiteral("layout %1, pixel %2,%3: %4 for %5")
                                                         .arg(int(layout))
                                                         .arg(x)
                                                         .arg(y)
                                                         .arg(got, 8, 16)
                                                         .arg(want, 8, 16)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_PictureImage)
#include "tst_pictureimage.moc"
