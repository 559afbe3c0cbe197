#include "decode/audio_decoders.h"
#include "decode/decoder_platform.h"

#include "codec/aac.h"

#include <QtDebug>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mem.h>
}

namespace nivra {

namespace {

// The ITU-T G.711 reference expansion of one A-law code to 16-bit linear.
int alawToLinear(uint8_t code)
{
    const int value = code ^ 0x55;
    int magnitude = (value & 0x0F) << 4;
    const int segment = (value & 0x70) >> 4;
    if (segment == 0)
        magnitude += 8;
    else
        magnitude = (magnitude + 0x108) << (segment - 1);
    return (value & 0x80) ? magnitude : -magnitude;
}

struct AlawTable
{
    float values[256];
    AlawTable()
    {
        for (int code = 0; code < 256; ++code)
            values[code] = float(alawToLinear(uint8_t(code))) / 32768.0f;
    }
};

const AlawTable &alawTable()
{
    static const AlawTable table;
    return table;
}

class G711ADecoder final : public AudioDecoder
{
public:
    explicit G711ADecoder(int sampleRate) : m_sampleRate(sampleRate > 0 ? sampleRate : 8000) {}

    bool decode(const uint8_t *data, uint64_t size, qlonglong timeMs, QList<AudioChunk> *chunks) override
    {
        const AlawTable &table = alawTable();
        AudioChunk chunk;
        chunk.sampleRate = m_sampleRate;
        chunk.channels = 1;
        chunk.timeMs = timeMs;
        chunk.samples.resize(qsizetype(size));
        for (uint64_t i = 0; i < size; ++i)
            chunk.samples[qsizetype(i)] = table.values[data[i]];
        chunks->append(std::move(chunk));
        return true;
    }

    void flush() override {}
    QString info() const override { return QStringLiteral("G.711 A-law"); }

private:
    int m_sampleRate;
};

class FfmpegAacDecoder final : public AudioDecoder
{
public:
    ~FfmpegAacDecoder() override
    {
        avcodec_free_context(&m_context);
        av_packet_free(&m_packet);
        av_frame_free(&m_frame);
    }

    bool open(bool headerless, int sampleRate, int channels, int objectType, QString *reason)
    {
        const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_AAC);
        if (!codec) {
            *reason = QStringLiteral("FFmpeg has no AAC decoder");
            return false;
        }
        m_context = avcodec_alloc_context3(codec);
        m_packet = av_packet_alloc();
        m_frame = av_frame_alloc();
        if (!m_context || !m_packet || !m_frame)
            return false;
        m_context->pkt_timebase = AVRational{1, 1000};
        if (headerless) {
            const std::array<uint8_t, 2> config = aacAudioSpecificConfig(objectType, sampleRate, channels);
            m_context->extradata =
                static_cast<uint8_t *>(av_mallocz(config.size() + AV_INPUT_BUFFER_PADDING_SIZE));
            if (!m_context->extradata)
                return false;
            m_context->extradata_size = int(config.size());
            std::copy(config.begin(), config.end(), m_context->extradata);
        }
        const int result = avcodec_open2(m_context, codec, nullptr);
        if (result < 0) {
            char text[64] = {};
            av_strerror(result, text, sizeof text);
            *reason = QStringLiteral("cannot open AAC decoder: ") + QString::fromUtf8(text);
            return false;
        }
        return true;
    }

    bool decode(const uint8_t *data, uint64_t size, qlonglong timeMs, QList<AudioChunk> *chunks) override
    {
        // An empty packet would put FFmpeg into draining mode for good.
        if (size == 0 || !data || size > uint64_t(INT_MAX))
            return false;
        // FFmpeg copies a packet without a buffer reference before keeping it.
        m_packet->data = const_cast<uint8_t *>(data);
        m_packet->size = int(size);
        m_packet->pts = timeMs;
        m_packet->dts = timeMs;
        const int sent = avcodec_send_packet(m_context, m_packet);
        av_packet_unref(m_packet);
        if (sent < 0 && sent != AVERROR(EAGAIN))
            return false;
        while (avcodec_receive_frame(m_context, m_frame) >= 0) {
            chunks->append(chunkOf(m_frame, timeMs));
            av_frame_unref(m_frame);
        }
        return true;
    }

    void flush() override { avcodec_flush_buffers(m_context); }
    QString info() const override { return QStringLiteral("FFmpeg aac (software)"); }

private:
    static AudioChunk chunkOf(const AVFrame *frame, qlonglong timeMs)
    {
        AudioChunk chunk;
        const int channels = frame->ch_layout.nb_channels;
        const int samples = frame->nb_samples;
        chunk.sampleRate = frame->sample_rate;
        chunk.channels = channels;
        chunk.timeMs = frame->pts != AV_NOPTS_VALUE ? frame->pts : timeMs;
        if (channels < 1 || samples < 1)
            return chunk;
        chunk.samples.fill(0.0f, qsizetype(channels) * samples);
        float *out = chunk.samples.data();
        for (int c = 0; c < channels; ++c) {
            for (int i = 0; i < samples; ++i) {
                float value = 0.0f;
                switch (frame->format) {
                case AV_SAMPLE_FMT_S16:
                    value = reinterpret_cast<const int16_t *>(frame->data[0])[i * channels + c] / 32768.0f;
                    break;
                case AV_SAMPLE_FMT_S16P:
                    value = reinterpret_cast<const int16_t *>(frame->extended_data[c])[i] / 32768.0f;
                    break;
                case AV_SAMPLE_FMT_FLT:
                    value = reinterpret_cast<const float *>(frame->data[0])[i * channels + c];
                    break;
                case AV_SAMPLE_FMT_FLTP:
                    value = reinterpret_cast<const float *>(frame->extended_data[c])[i];
                    break;
                default:
                    break;
                }
                out[i * channels + c] = value;
            }
        }
        return chunk;
    }

    AVCodecContext *m_context = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
};

} // namespace

float alawSample(uint8_t code)
{
    return alawTable().values[code];
}

int aacFrequencyIndex(int sampleRate)
{
    const int index = aacRateIndex(sampleRate);
    return index < 0 ? 8 : index;
}

std::array<uint8_t, 2> aacAudioSpecificConfig(int objectType, int sampleRate, int channels)
{
    std::array<uint8_t, 2> config;
    aacPackConfig(objectType, aacFrequencyIndex(sampleRate), channels < 1 ? 1 : channels, config.data());
    return config;
}

std::unique_ptr<AudioDecoder> makeFfmpegAacDecoder(bool headerless, int sampleRate, int channels,
                                                   int objectType, QString *reason)
{
    QString localReason;
    auto decoder = std::make_unique<FfmpegAacDecoder>();
    if (decoder->open(headerless, sampleRate, channels, objectType, &localReason))
        return decoder;
    if (reason)
        *reason = localReason;
    return nullptr;
}

std::unique_ptr<AudioDecoder> makeG711ADecoder(int sampleRate)
{
    return std::make_unique<G711ADecoder>(sampleRate);
}

std::unique_ptr<AudioDecoder> makeAudioDecoder(int audioKind, int sampleRate, int channels, int objectType,
                                               QString *reason)
{
    if (audioKind == AudioAacAdts || audioKind == AudioAacRaw) {
        const bool headerless = audioKind == AudioAacRaw;
        const QString choice = qEnvironmentVariable("NIVRA_AUDIO_DECODER").trimmed().toLower();
        if (choice == QLatin1String("ffmpeg"))
            return makeFfmpegAacDecoder(headerless, sampleRate, channels, objectType, reason);
        QString systemReason;
        if (auto decoder = makeSystemAacDecoder(headerless, sampleRate, channels, objectType, &systemReason))
            return decoder;
        // Where the platform has no AAC decoder of its own its absence is
        // the normal case, not worth a warning.
        if (platformHasSystemAac())
            qWarning("system AAC decoder not available: %s", qUtf8Printable(systemReason));
        if (choice == QLatin1String("system")) {
            if (reason)
                *reason = systemReason;
            return nullptr;
        }
        return makeFfmpegAacDecoder(headerless, sampleRate, channels, objectType, reason);
    }
    if (audioKind == AudioAlaw)
        return makeG711ADecoder(sampleRate);
    if (reason)
        *reason = QStringLiteral("no audio");
    return nullptr;
}

} // namespace nivra
