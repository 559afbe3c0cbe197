#include "decode/ffmpeg_video_decoder.h"
#include "decode/decoder_platform.h"

#include <QCoreApplication>
#include <QThread>
#include <QVideoFrameFormat>
#include <QtDebug>

#include <atomic>
#include <cstring>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/hwcontext.h>
#include <libavutil/version.h>
}

namespace nivra {

namespace {

QString decoderText(const char *text)
{
    return QCoreApplication::translate("Decoder", text);
}

QString ffmpegErrorText(int code)
{
    char buffer[64] = {};
    av_strerror(code, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

// Hardware paths in trial order; the platform's own follow these.
std::vector<HwPath> hardwarePathTable()
{
    std::vector<HwPath> table = {
        {AV_HWDEVICE_TYPE_D3D11VA, AV_PIX_FMT_D3D11, "D3D11VA"},
#if LIBAVUTIL_VERSION_MAJOR >= 59
        {AV_HWDEVICE_TYPE_D3D12VA, AV_PIX_FMT_D3D12, "D3D12VA"},
#endif
        {AV_HWDEVICE_TYPE_DXVA2, AV_PIX_FMT_DXVA2_VLD, "DXVA2"},
        {AV_HWDEVICE_TYPE_CUDA, AV_PIX_FMT_CUDA, "NVDEC"},
        {AV_HWDEVICE_TYPE_QSV, AV_PIX_FMT_QSV, "Quick Sync"},
        {AV_HWDEVICE_TYPE_VULKAN, AV_PIX_FMT_VULKAN, "Vulkan"},
    };
    for (const HwPath &path : platformHwPaths())
        table.push_back(path);
    return table;
}

bool codecSupports(const AVCodec *codec, AVHWDeviceType type)
{
    for (int i = 0;; ++i) {
        const AVCodecHWConfig *config = avcodec_get_hw_config(codec, i);
        if (!config)
            return false;
        if (config->device_type == type && (config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX))
            return true;
    }
}

QVideoFrameFormat::ColorSpace colorSpaceOf(const AVFrame *frame)
{
    switch (frame->colorspace) {
    case AVCOL_SPC_BT709:
        return QVideoFrameFormat::ColorSpace_BT709;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
        return QVideoFrameFormat::ColorSpace_BT601;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return QVideoFrameFormat::ColorSpace_BT2020;
    default:
        return frame->height < 720 ? QVideoFrameFormat::ColorSpace_BT601
                                   : QVideoFrameFormat::ColorSpace_BT709;
    }
}

// Copies rows of one plane. Qt sizes the planes of odd-height frames for
// height / 2 chroma rows, so rows that would run past the mapped plane are
// cut to what it holds rather than written past its end.
void copyPlane(const uint8_t *source, int sourceStride, uint8_t *dest, int destStride, qsizetype destBytes,
               int rows, int rowBytes)
{
    for (int row = 0; row < rows; ++row) {
        const qsizetype offset = qsizetype(row) * destStride;
        if (offset >= destBytes)
            return;
        const qsizetype bytes = qMin<qsizetype>(rowBytes, destBytes - offset);
        std::memcpy(dest + offset, source + qsizetype(row) * sourceStride, size_t(bytes));
    }
}

class FfmpegVideoDecoder final : public VideoDecoder
{
public:
    ~FfmpegVideoDecoder() override
    {
        closeContext();
        av_packet_free(&m_packet);
        av_frame_free(&m_frame);
        av_frame_free(&m_transfer);
    }

    bool make(int codecNumber, bool hardware, QString *reason)
    {
        m_codec = avcodec_find_decoder(codecNumber == CodecH265 ? AV_CODEC_ID_HEVC : AV_CODEC_ID_H264);
        if (!m_codec) {
            *reason = decoderText("The player has no decoder for this video format.");
            return false;
        }
        m_codecName = QString::fromUtf8(m_codec->name);
        m_packet = av_packet_alloc();
        m_frame = av_frame_alloc();
        m_transfer = av_frame_alloc();
        if (!m_packet || !m_frame || !m_transfer) {
            *reason = QStringLiteral("out of memory");
            return false;
        }
        if (!hardware)
            return openSoftware(reason);

        QStringList labels;
        for (const HwPath &path : hardwarePathTable()) {
            if (codecSupports(m_codec, path.type)) {
                m_paths.push_back(path);
                labels << QString::fromLatin1(path.label);
            }
        }
        qInfo("%s: hardware paths %s", qUtf8Printable(m_codecName),
              labels.isEmpty() ? "none" : qUtf8Printable(labels.join(QLatin1String(", "))));
        if (m_paths.empty()) {
            *reason = decoderText("This build has no hardware decoder.");
            return false;
        }
        return openNextPath(reason) == OpenResult::Opened;
    }

    bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) override
    {
        if (!m_context)
            return false;
        // An empty packet would put FFmpeg into draining mode for good.
        if (size == 0 || !data || size > uint64_t(INT_MAX))
            return false;
        m_pathRefused = false;
        int result = sendPacket(data, size, timeMs);
        while (m_pathRefused) {
            QString reason;
            switch (openNextPath(&reason)) {
            case OpenResult::Opened:
                break;
            case OpenResult::NoMemory:
                m_lastError = QStringLiteral("out of memory");
                return false;
            case OpenResult::Exhausted:
                m_lastError = decoderText("Your graphics card cannot decode this video.");
                return false;
            }
            m_pathRefused = false;
            result = sendPacket(data, size, timeMs);
        }
        return result >= 0 || result == AVERROR(EAGAIN);
    }

    bool receive(DecodedFrame *out) override
    {
        return receiveFrom(out, std::numeric_limits<qlonglong>::min());
    }

    bool receiveFrom(DecodedFrame *out, qlonglong fromMs) override
    {
        if (!m_context)
            return false;
        for (;;) {
            const int received = avcodec_receive_frame(m_context, m_frame);
            if (received < 0) {
                // Drained to the end: back to a decoder that takes packets.
                if (received == AVERROR_EOF)
                    avcodec_flush_buffers(m_context);
                return false;
            }
            const int64_t best = m_frame->best_effort_timestamp;
            const qlonglong timeMs = best != AV_NOPTS_VALUE ? best : m_frame->pts;
            if (timeMs < fromMs) {
                // Not wanted: neither moved off the graphics card nor copied.
                if (m_pictureState == -1)
                    m_pictureState = m_current && m_frame->format == m_current->format ? 1 : 0;
                if (m_current && m_hardwareLabel.isEmpty() && m_pictureState == 1)
                    m_hardwareLabel = QString::fromLatin1(m_current->label);
                av_frame_unref(m_frame);
                out->picture = QVideoFrame();
                out->timeMs = timeMs;
                return true;
            }
            const AVFrame *source = m_frame;
            if (m_current && m_frame->format == m_current->format) {
                av_frame_unref(m_transfer);
                if (av_hwframe_transfer_data(m_transfer, m_frame, 0) < 0) {
                    av_frame_unref(m_frame);
                    continue;
                }
                m_transfer->color_range = m_frame->color_range;
                m_transfer->colorspace = m_frame->colorspace;
                source = m_transfer;
                m_pictureState = 1;
                if (m_hardwareLabel.isEmpty())
                    m_hardwareLabel = QString::fromLatin1(m_current->label);
            } else if (m_pictureState == -1) {
                m_pictureState = 0;
            }
            QVideoFrame picture;
            const bool converted = convertFrame(source, &picture);
            av_frame_unref(m_frame);
            if (converted) {
                out->picture = std::move(picture);
                out->timeMs = timeMs;
                return true;
            }
        }
    }

    void flush() override
    {
        if (m_context)
            avcodec_flush_buffers(m_context);
    }

    void drain() override
    {
        if (m_context)
            avcodec_send_packet(m_context, nullptr);
    }

    QString info() const override
    {
        switch (m_pictureState) {
        case 1:
            return QStringLiteral("FFmpeg %1 + %2 (GPU)").arg(m_codecName, m_hardwareLabel);
        case 0:
            return QStringLiteral("FFmpeg %1 (software)").arg(m_codecName);
        default:
            return QStringLiteral("FFmpeg %1").arg(m_codecName);
        }
    }

    QString error() const override { return m_lastError; }

private:
    enum class OpenResult
    {
        Opened,
        Exhausted,
        NoMemory
    };

    static AVPixelFormat pickFormat(AVCodecContext *context, const AVPixelFormat *formats)
    {
        auto *self = static_cast<FfmpegVideoDecoder *>(context->opaque);
        if (!self)
            return AV_PIX_FMT_NONE;
        if (self->m_current &&
            !envListMatches("NIVRA_REFUSE_HW", QString::fromLatin1(self->m_current->label))) {
            for (const AVPixelFormat *format = formats; *format != AV_PIX_FMT_NONE; ++format) {
                if (*format == self->m_current->format)
                    return *format;
            }
        }
        self->m_pathRefused = true;
        return AV_PIX_FMT_NONE;
    }

    int sendPacket(const uint8_t *data, uint64_t size, qlonglong timeMs)
    {
        // FFmpeg copies a packet without a buffer reference before keeping it.
        m_packet->data = const_cast<uint8_t *>(data);
        m_packet->size = int(size);
        m_packet->pts = timeMs;
        m_packet->dts = timeMs;
        const int result = avcodec_send_packet(m_context, m_packet);
        av_packet_unref(m_packet);
        return result;
    }

    void closeContext()
    {
        avcodec_free_context(&m_context);
        av_buffer_unref(&m_device);
    }

    OpenResult openNextPath(QString *reason)
    {
        closeContext();
        m_pictureState = -1;
        for (;;) {
            if (m_nextPath >= m_paths.size()) {
                m_current = nullptr;
                *reason = decoderText("Your graphics card cannot decode this video.");
                return OpenResult::Exhausted;
            }
            const HwPath &path = m_paths[m_nextPath++];
            if (envListMatches("NIVRA_SKIP_HW", QString::fromLatin1(path.label)))
                continue;
            if (av_hwdevice_ctx_create(&m_device, path.type, nullptr, nullptr, 0) < 0) {
                av_buffer_unref(&m_device);
                continue;
            }
            m_context = avcodec_alloc_context3(m_codec);
            if (!m_context) {
                av_buffer_unref(&m_device);
                *reason = QStringLiteral("out of memory");
                return OpenResult::NoMemory;
            }
            m_context->opaque = this;
            m_context->pkt_timebase = AVRational{1, 1000};
            m_context->flags |= AV_CODEC_FLAG_LOW_DELAY;
            m_context->hw_device_ctx = av_buffer_ref(m_device);
            m_context->get_format = &FfmpegVideoDecoder::pickFormat;
            m_current = &path;
            const int result = avcodec_open2(m_context, m_codec, nullptr);
            if (result < 0) {
                *reason = decoderText("Could not start the decoder (%1).").arg(ffmpegErrorText(result));
                closeContext();
                m_current = nullptr;
                continue;
            }
            return OpenResult::Opened;
        }
    }

    // The software decoder stands in for the system decoder where the
    // platform has none. Frame threads (slice threads where the codec has no
    // frame threading) spread it over the cores; they hold a picture back per
    // extra thread, which the worker's drain at the end of the stream returns.
    bool openSoftware(QString *reason)
    {
        m_context = avcodec_alloc_context3(m_codec);
        if (!m_context) {
            *reason = QStringLiteral("out of memory");
            return false;
        }
        m_context->pkt_timebase = AVRational{1, 1000};
        m_context->thread_count = softwareDecoderThreads();
        m_context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        m_pictureState = 0;
        const int result = avcodec_open2(m_context, m_codec, nullptr);
        if (result < 0) {
            *reason = decoderText("Could not start the decoder (%1).").arg(ffmpegErrorText(result));
            avcodec_free_context(&m_context);
            return false;
        }
        return true;
    }

    const AVCodec *m_codec = nullptr;
    AVCodecContext *m_context = nullptr;
    AVBufferRef *m_device = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
    AVFrame *m_transfer = nullptr;
    std::vector<HwPath> m_paths;
    size_t m_nextPath = 0;
    const HwPath *m_current = nullptr;
    bool m_pathRefused = false;
    QString m_codecName;
    QString m_hardwareLabel;
    QString m_lastError;
    int m_pictureState = -1;
};

std::atomic<int> g_softwareThreads{0};

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif
#else
constexpr bool kThreadSanitizer = false;
#endif

} // namespace

int softwareDecoderThreads()
{
    // FFmpeg's frame threads hand pictures over through atomics inside the
    // (uninstrumented) library, which ThreadSanitizer cannot see: every
    // picture would be reported. Such a build decodes on the worker thread;
    // the worker's own hand-over is the same either way.
    if (kThreadSanitizer)
        return 1;
    const int chosen = g_softwareThreads.load();
    return chosen > 0 ? chosen : qBound(1, QThread::idealThreadCount(), 4);
}

void setSoftwareDecoderThreads(int threads)
{
    g_softwareThreads.store(threads > 0 ? qBound(1, threads, 16) : 0);
}

std::unique_ptr<VideoDecoder> makeFfmpegVideoDecoder(int codec, bool hardware, QString *reason)
{
    QString localReason;
    auto decoder = std::make_unique<FfmpegVideoDecoder>();
    if (decoder->make(codec, hardware, &localReason))
        return decoder;
    if (reason)
        *reason = localReason;
    return nullptr;
}

bool convertFrame(const AVFrame *source, QVideoFrame *out)
{
    QVideoFrameFormat::PixelFormat pixelFormat;
    switch (source->format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
        pixelFormat = QVideoFrameFormat::Format_YUV420P;
        break;
    case AV_PIX_FMT_NV12:
        pixelFormat = QVideoFrameFormat::Format_NV12;
        break;
    default:
        return false;
    }
    const int width = source->width;
    const int height = source->height;
    if (width < 1 || height < 1)
        return false;
    QVideoFrameFormat format(QSize(width, height), pixelFormat);
    format.setColorSpace(colorSpaceOf(source));
    format.setColorRange(source->color_range == AVCOL_RANGE_JPEG || source->format == AV_PIX_FMT_YUVJ420P
                             ? QVideoFrameFormat::ColorRange_Full
                             : QVideoFrameFormat::ColorRange_Video);
    QVideoFrame frame(format);
    if (!frame.map(QVideoFrame::WriteOnly))
        return false;
    const int chromaRows = (height + 1) / 2;
    copyPlane(source->data[0], source->linesize[0], frame.bits(0), frame.bytesPerLine(0),
              frame.mappedBytes(0), height, width);
    if (pixelFormat == QVideoFrameFormat::Format_NV12) {
        copyPlane(source->data[1], source->linesize[1], frame.bits(1), frame.bytesPerLine(1),
                  frame.mappedBytes(1), chromaRows, (width + 1) & ~1);
    } else {
        for (int plane = 1; plane <= 2; ++plane)
            copyPlane(source->data[plane], source->linesize[plane], frame.bits(plane),
                      frame.bytesPerLine(plane), frame.mappedBytes(plane), chromaRows, (width + 1) / 2);
    }
    frame.unmap();
    *out = std::move(frame);
    return true;
}

} // namespace nivra
