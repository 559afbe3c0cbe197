// MfVideoDecoder: the Media Foundation video decoder as a nivra::VideoDecoder.
// The core (playback/mf/mf_video_win.cpp) does the Media Foundation and
// Direct3D work and copies each picture straight into the QVideoFrame that
// this adapter maps for it.
#include "decode/mf/mf_video.h"
#include "decode/mf_decoders.h"

#include <QCoreApplication>
#include <QVideoFrameFormat>
#include <QtDebug>

#include <deque>

namespace nivra {

namespace {

void logInfo(void *, const char *line)
{
    qInfo("%s", line);
}

// The translatable source text of a core failure text.
const char *sourceText(mf::TextId id)
{
    switch (id) {
    case mf::TextNone:
        break;
    case mf::TextGraphicsCard:
        return QT_TRANSLATE_NOOP("Decoder", "Your graphics card cannot decode this video.");
    case mf::TextCouldNotDecode:
        return QT_TRANSLATE_NOOP("Decoder", "Windows could not decode this video (%1).");
    case mf::TextNeedsHevcExtension:
        return QT_TRANSLATE_NOOP(
            "Decoder", "Windows needs Microsoft's HEVC Video Extensions to decode H.265 without the "
                       "graphics card. Install them from the Microsoft Store, then try again.");
    case mf::TextNoDecoder:
        return QT_TRANSLATE_NOOP("Decoder", "Windows has no decoder for this video format.");
    }
    return "";
}

QString userText(const mf::Message &message)
{
    if (message.empty())
        return QString();
    Q_ASSERT(qstrcmp(sourceText(message.id), mf::textTemplate(message.id)) == 0);
    const QString text = QCoreApplication::translate("Decoder", sourceText(message.id));
    return message.id == mf::TextCouldNotDecode ? text.arg(QString::fromStdString(message.detail)) : text;
}

QVideoFrameFormat::ColorSpace qtColourSpace(mf::ColourSpace space)
{
    switch (space) {
    case mf::ColourBt709:
        return QVideoFrameFormat::ColorSpace_BT709;
    case mf::ColourBt2020:
        return QVideoFrameFormat::ColorSpace_BT2020;
    case mf::ColourBt601:
        break;
    }
    return QVideoFrameFormat::ColorSpace_BT601;
}

class MfVideoDecoder final : public VideoDecoder, private mf::PictureSink
{
public:
    bool open(int codec, bool graphicsCard, QString *reason)
    {
        mf::Message failure;
        m_core =
            mf::VideoDecoderCore::make(codec, graphicsCard, this, mf::Logger{&logInfo, nullptr}, &failure);
        if (!m_core && reason)
            *reason = userText(failure);
        return m_core != nullptr;
    }

    bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) override
    {
        return m_core->send(data, size, timeMs);
    }

    bool receive(DecodedFrame *frame) override
    {
        if (m_pictures.empty())
            return false;
        *frame = std::move(m_pictures.front());
        m_pictures.pop_front();
        return true;
    }

    void flush() override
    {
        m_core->flush();
        m_pictures.clear();
    }

    void drain() override { m_core->drain(); }

    QString info() const override { return QString::fromStdString(m_core->info()); }

    QString error() const override { return userText(m_core->error()); }

private:
    bool begin(const mf::PictureFormat &format, mf::Nv12Target *target) override
    {
        QVideoFrameFormat frameFormat(QSize(format.width, format.height), QVideoFrameFormat::Format_NV12);
        frameFormat.setColorSpace(qtColourSpace(format.colourSpace));
        frameFormat.setColorRange(format.fullRange ? QVideoFrameFormat::ColorRange_Full
                                                   : QVideoFrameFormat::ColorRange_Video);
        m_pending = QVideoFrame(frameFormat);
        if (!m_pending.map(QVideoFrame::WriteOnly)) {
            m_pending = QVideoFrame();
            return false;
        }
        *target = mf::Nv12Target{m_pending.bits(0), m_pending.bytesPerLine(0), m_pending.bits(1),
                                 m_pending.bytesPerLine(1)};
        return true;
    }

    void end(bool ok, int64_t timeMs) override
    {
        m_pending.unmap();
        if (ok) {
            DecodedFrame frame;
            frame.picture = m_pending;
            frame.timeMs = qlonglong(timeMs);
            m_pictures.push_back(std::move(frame));
        }
        m_pending = QVideoFrame();
    }

    std::unique_ptr<mf::VideoDecoderCore> m_core;
    QVideoFrame m_pending;
    std::deque<DecodedFrame> m_pictures;
};

} // namespace

std::unique_ptr<VideoDecoder> makeMfVideoDecoder(int codec, bool graphicsCard, QString *reason)
{
    auto decoder = std::make_unique<MfVideoDecoder>();
    if (!decoder->open(codec, graphicsCard, reason))
        return nullptr;
    return decoder;
}

bool mfHasSystemDecoder(int codec)
{
    return mf::hasSystemDecoder(codec);
}

} // namespace nivra
