#include "activity/decoders.h"

#include "codec/aac.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <climits>
#include <cmath>

namespace nivra::activity {

namespace {

// Digital silence reads as this rather than minus infinity.
constexpr float kSilenceDbfs = -100.0f;

void freeCodec(AVCodecContext **context, AVPacket **packet, AVFrame **frame)
{
    avcodec_free_context(context);
    av_packet_free(packet);
    av_frame_free(frame);
}

// Allocates a decoder's context, packet and frame; false when out of memory.
bool allocate(const AVCodec *decoder, AVCodecContext **context, AVPacket **packet, AVFrame **frame)
{
    *context = avcodec_alloc_context3(decoder);
    *packet = av_packet_alloc();
    *frame = av_frame_alloc();
    return *context && *packet && *frame;
}

// Sends data as one packet; false when the decoder refuses it. FFmpeg copies
// a packet without a buffer reference before keeping it.
bool sendPacket(AVCodecContext *context, AVPacket *packet, const uint8_t *data, size_t size, int64_t pts)
{
    if (!data || size == 0 || size > size_t(INT_MAX) - AV_INPUT_BUFFER_PADDING_SIZE)
        return false;
    packet->data = const_cast<uint8_t *>(data);
    packet->size = int(size);
    packet->pts = pts;
    packet->dts = pts;
    const int sent = avcodec_send_packet(context, packet);
    av_packet_unref(packet);
    return sent >= 0 || sent == AVERROR(EAGAIN);
}

// The mean of every cell of the luma plane, over every other row (the mean
// of thousands of pixels moves by less than a level for it).
bool gridOf(const AVFrame *frame, uint8_t grid[kCells])
{
    const AVPixFmtDescriptor *format = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
    if (!format || (format->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_RGB)) ||
        frame->width < kGridW || frame->height < kGridH)
        return false;
    const int depth = format->comp[0].depth;
    const bool wide = depth > 8;
    for (int gy = 0; gy < kGridH; ++gy) {
        const int y0 = gy * frame->height / kGridH, y1 = (gy + 1) * frame->height / kGridH;
        for (int gx = 0; gx < kGridW; ++gx) {
            const int x0 = gx * frame->width / kGridW, x1 = (gx + 1) * frame->width / kGridW;
            uint64_t sum = 0, count = 0;
            for (int y = y0; y < y1; y += 2) {
                const uint8_t *row = frame->data[0] + ptrdiff_t(y) * frame->linesize[0];
                if (wide) {
                    const uint16_t *wideRow = reinterpret_cast<const uint16_t *>(row);
                    for (int x = x0; x < x1; ++x)
                        sum += wideRow[x] >> (depth - 8);
                } else {
                    for (int x = x0; x < x1; ++x)
                        sum += row[x];
                }
                count += uint64_t(x1 - x0);
            }
            grid[gy * kGridW + gx] = uint8_t(count ? (sum + count / 2) / count : 0);
        }
    }
    return true;
}

double sampleAt(const AVFrame *frame, int channel, int i)
{
    const int channels = frame->ch_layout.nb_channels;
    switch (frame->format) {
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const int16_t *>(frame->data[0])[i * channels + channel] / 32768.0;
    case AV_SAMPLE_FMT_S16P:
        return reinterpret_cast<const int16_t *>(frame->extended_data[channel])[i] / 32768.0;
    case AV_SAMPLE_FMT_FLT:
        return reinterpret_cast<const float *>(frame->data[0])[i * channels + channel];
    case AV_SAMPLE_FMT_FLTP:
        return reinterpret_cast<const float *>(frame->extended_data[channel])[i];
    default:
        return 0.0;
    }
}

} // namespace

GridDecoder::~GridDecoder()
{
    freeCodec(&m_context, &m_packet, &m_frame);
}

int GridDecoder::open(int codec)
{
    const AVCodec *decoder = avcodec_find_decoder(codec == CARD_CODEC_H265   ? AV_CODEC_ID_HEVC
                                                  : codec == CARD_CODEC_H264 ? AV_CODEC_ID_H264
                                                                             : AV_CODEC_ID_NONE);
    if (!decoder)
        return ACT_ERR_DECODER;
    if (!allocate(decoder, &m_context, &m_packet, &m_frame))
        return ACT_ERR_NO_MEMORY;
    m_context->thread_count = 1;
    m_context->skip_loop_filter = AVDISCARD_ALL;
    m_context->flags |= AV_CODEC_FLAG_LOW_DELAY;
    m_context->flags2 |= AV_CODEC_FLAG2_FAST;
    return avcodec_open2(m_context, decoder, nullptr) < 0 ? ACT_ERR_DECODER : ACT_OK;
}

bool GridDecoder::decode(const uint8_t *data, size_t size, uint8_t grid[kCells])
{
    if (!m_context || !sendPacket(m_context, m_packet, data, size, 0))
        return false;
    bool ok = false;
    if (avcodec_receive_frame(m_context, m_frame) >= 0) {
        ok = !m_frame->decode_error_flags && gridOf(m_frame, grid);
        av_frame_unref(m_frame);
    }
    // Each key frame stands alone: nothing of one may linger into the next.
    avcodec_flush_buffers(m_context);
    return ok;
}

LoudnessMeter::~LoudnessMeter()
{
    freeCodec(&m_context, &m_packet, &m_frame);
}

int LoudnessMeter::open(const card_stream &stream)
{
    const bool alaw = stream.audio_kind == CARD_AUDIO_ALAW;
    const bool aac = stream.audio_kind == CARD_AUDIO_AAC_ADTS || stream.audio_kind == CARD_AUDIO_AAC_RAW;
    if (!alaw && !aac)
        return ACT_ERR_DECODER;
    const AVCodec *decoder = avcodec_find_decoder(alaw ? AV_CODEC_ID_PCM_ALAW : AV_CODEC_ID_AAC);
    if (!decoder)
        return ACT_ERR_DECODER;
    if (!allocate(decoder, &m_context, &m_packet, &m_frame))
        return ACT_ERR_NO_MEMORY;
    const int channels = std::max(1, stream.channels);
    const int rate = stream.sample_rate > 0 ? stream.sample_rate : (alaw ? 8000 : 16000);
    m_context->pkt_timebase = AVRational{1, 1000};
    if (alaw) {
        m_context->sample_rate = rate;
        av_channel_layout_default(&m_context->ch_layout, channels);
    } else if (stream.audio_kind == CARD_AUDIO_AAC_RAW) {
        // Raw frames carry no header: the decoder needs the configuration.
        const int index = aacRateIndex(rate);
        uint8_t config[2];
        aacPackConfig(stream.object_type > 0 ? stream.object_type : 2, index < 0 ? 8 : index, channels,
                      config);
        m_context->extradata = static_cast<uint8_t *>(av_mallocz(2 + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!m_context->extradata)
            return ACT_ERR_NO_MEMORY;
        m_context->extradata[0] = config[0];
        m_context->extradata[1] = config[1];
        m_context->extradata_size = 2;
    }
    return avcodec_open2(m_context, decoder, nullptr) < 0 ? ACT_ERR_DECODER : ACT_OK;
}

void LoudnessMeter::add(const uint8_t *data, size_t size, int64_t time_ms)
{
    if (!m_context || !sendPacket(m_context, m_packet, data, size, time_ms))
        return;
    while (avcodec_receive_frame(m_context, m_frame) >= 0) {
        const int rate = m_frame->sample_rate > 0 ? m_frame->sample_rate : 8000;
        const int channels = m_frame->ch_layout.nb_channels;
        // Samples belong to the second they were recorded in; a frame
        // crossing a second is split there.
        const int64_t start = m_frame->pts != AV_NOPTS_VALUE ? m_frame->pts : time_ms;
        for (int i = 0; i < m_frame->nb_samples; ++i) {
            const int64_t at = start + int64_t(i) * 1000 / rate;
            Sum &sum = m_sums[at >= 0 ? at / 1000 : (at - 999) / 1000];
            for (int c = 0; c < channels; ++c) {
                const double v = sampleAt(m_frame, c, i);
                sum.squares += v * v;
            }
            sum.samples += channels;
        }
        av_frame_unref(m_frame);
    }
}

std::vector<SoundSecond> LoudnessMeter::seconds() const
{
    std::vector<SoundSecond> out;
    out.reserve(m_sums.size());
    for (const auto &[second, sum] : m_sums) {
        const double mean = sum.samples > 0 ? sum.squares / double(sum.samples) : 0.0;
        const float dbfs = mean > 0.0 ? float(10.0 * std::log10(mean)) : kSilenceDbfs;
        out.push_back({second * 1000, std::max(dbfs, kSilenceDbfs)});
    }
    return out;
}

} // namespace nivra::activity
