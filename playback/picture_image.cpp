#include "playback/picture_image.h"

#include <algorithm>

namespace nivra {

namespace {

struct Coefficients
{
    double kr;
    double kb;
};

Coefficients coefficientsOf(const QVideoFrameFormat &format)
{
    switch (format.colorSpace()) {
    case QVideoFrameFormat::ColorSpace_BT601:
        return {0.299, 0.114};
    case QVideoFrameFormat::ColorSpace_BT709:
        return {0.2126, 0.0722};
    case QVideoFrameFormat::ColorSpace_BT2020:
        return {0.2627, 0.0593};
    default:
        return format.frameHeight() < 720 ? Coefficients{0.299, 0.114} : Coefficients{0.2126, 0.0722};
    }
}

uint8_t clampByte(double value)
{
    return uint8_t(std::clamp(int(value + 0.5), 0, 255));
}

} // namespace

QImage pictureImage(const QVideoFrame &picture)
{
    const QVideoFrameFormat::PixelFormat pixelFormat = picture.pixelFormat();
    if (pixelFormat != QVideoFrameFormat::Format_NV12 && pixelFormat != QVideoFrameFormat::Format_YUV420P)
        return picture.toImage();
    QVideoFrame frame(picture);
    if (!frame.map(QVideoFrame::ReadOnly))
        return QImage();
    const int width = frame.width();
    const int height = frame.height();
    const bool nv12 = pixelFormat == QVideoFrameFormat::Format_NV12;
    const int planes = nv12 ? 2 : 3;
    const int chromaWidth = (width + 1) / 2;
    const int chromaRows = (height + 1) / 2;
    // Each plane must hold the rows that are read from it.
    bool whole = width > 0 && height > 0 && frame.planeCount() >= planes;
    for (int p = 0; whole && p < planes; ++p) {
        const qsizetype rows = p == 0 ? height : chromaRows;
        const qsizetype row = p == 0 ? width : nv12 ? 2 * chromaWidth : chromaWidth;
        whole =
            frame.bytesPerLine(p) >= row && frame.mappedBytes(p) >= frame.bytesPerLine(p) * (rows - 1) + row;
    }
    if (!whole) {
        frame.unmap();
        return QImage();
    }

    const Coefficients k = coefficientsOf(frame.surfaceFormat());
    const bool full = frame.surfaceFormat().colorRange() == QVideoFrameFormat::ColorRange_Full;
    const double lumaScale = full ? 1.0 : 255.0 / 219.0;
    const double lumaBase = full ? 0.0 : 16.0;
    const double chromaScale = full ? 1.0 : 255.0 / 224.0;
    const double crToR = 2 * (1 - k.kr) * chromaScale;
    const double cbToB = 2 * (1 - k.kb) * chromaScale;
    const double kg = 1 - k.kr - k.kb;

    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar *luma = frame.bits(0) + qsizetype(y) * frame.bytesPerLine(0);
        const uchar *cb = frame.bits(1) + qsizetype(y / 2) * frame.bytesPerLine(1);
        const uchar *cr = nv12 ? cb + 1 : frame.bits(2) + qsizetype(y / 2) * frame.bytesPerLine(2);
        const int step = nv12 ? 2 : 1;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double l = (luma[x] - lumaBase) * lumaScale;
            const double u = cb[(x / 2) * step] - 128.0;
            const double v = cr[(x / 2) * step] - 128.0;
            const double r = l + crToR * v;
            const double b = l + cbToB * u;
            const double g = (l - k.kr * r - k.kb * b) / kg;
            out[x] = qRgb(clampByte(r), clampByte(g), clampByte(b));
        }
    }
    frame.unmap();
    return image;
}

} // namespace nivra
