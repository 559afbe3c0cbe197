// The report's stills: one key frame decoded from the card and written as a
// PNG, both through libavcodec, so that nivra-card makes them without Qt.
#include "evidence/evidence.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace nivra::evidence {

namespace {

struct CodecDeleter
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameDeleter
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketDeleter
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
using Codec = std::unique_ptr<AVCodecContext, CodecDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;

struct CursorCloser
{
    void operator()(card_cursor *c) const { cursor_close(c); }
};

// Reads the first key frame at or after the cursor's position.
bool readKeyFrame(card_cursor *cursor, std::vector<uint8_t> *bytes, int64_t *timeMs)
{
    for (int guard = 0; guard < 4096; ++guard) {
        card_frame f;
        if (cursor_next(cursor, &f) != CARD_OK)
            return false;
        if (f.type != CARD_FRAME_KEY) {
            cursor_skip(cursor);
            continue;
        }
        bytes->assign(size_t(f.size) + AV_INPUT_BUFFER_PADDING_SIZE, 0);
        if (cursor_read(cursor, bytes->data(), bytes->size()) != CARD_OK)
            return false;
        bytes->resize(f.size);
        *timeMs = f.time_ms;
        return true;
    }
    return false;
}

Frame decodeKeyFrame(int codec, const std::vector<uint8_t> &bytes)
{
    const AVCodec *decoder = avcodec_find_decoder(codec == CARD_CODEC_H265   ? AV_CODEC_ID_HEVC
                                                  : codec == CARD_CODEC_H264 ? AV_CODEC_ID_H264
                                                                             : AV_CODEC_ID_NONE);
    if (!decoder || bytes.empty() || bytes.size() > size_t(INT_MAX) - AV_INPUT_BUFFER_PADDING_SIZE)
        return nullptr;
    Codec context(avcodec_alloc_context3(decoder));
    Packet packet(av_packet_alloc());
    Frame frame(av_frame_alloc());
    if (!context || !packet || !frame)
        return nullptr;
    context->thread_count = 1;
    context->flags |= AV_CODEC_FLAG_LOW_DELAY;
    if (avcodec_open2(context.get(), decoder, nullptr) < 0)
        return nullptr;
    packet->data = const_cast<uint8_t *>(bytes.data());
    packet->size = int(bytes.size());
    if (avcodec_send_packet(context.get(), packet.get()) < 0)
        return nullptr;
    if (avcodec_receive_frame(context.get(), frame.get()) < 0) {
        avcodec_send_packet(context.get(), nullptr);
        if (avcodec_receive_frame(context.get(), frame.get()) < 0)
            return nullptr;
    }
    return frame->decode_error_flags ? nullptr : std::move(frame);
}

uint8_t clampByte(int v)
{
    return uint8_t(std::min(255, std::max(0, v)));
}

// 8-bit planar YUV to RGB24, scaled down to width; false for other formats.
Frame toRgb(const AVFrame *in, int width)
{
    const AVPixFmtDescriptor *d = av_pix_fmt_desc_get(AVPixelFormat(in->format));
    if (!d || (d->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_RGB)) ||
        !(d->flags & AV_PIX_FMT_FLAG_PLANAR) || d->nb_components < 3 || d->comp[0].depth != 8 ||
        in->width < 2 || in->height < 2)
        return nullptr;
    const bool full = in->color_range == AVCOL_RANGE_JPEG || in->format == AV_PIX_FMT_YUVJ420P ||
                      in->format == AV_PIX_FMT_YUVJ422P || in->format == AV_PIX_FMT_YUVJ444P;
    Frame out(av_frame_alloc());
    if (!out)
        return nullptr;
    out->format = AV_PIX_FMT_RGB24;
    out->width = std::min(width, in->width) & ~1;
    out->height = std::max(2, int(int64_t(in->height) * out->width / in->width) & ~1);
    if (av_frame_get_buffer(out.get(), 0) < 0)
        return nullptr;
    for (int y = 0; y < out->height; ++y) {
        const int sy = int(int64_t(y) * in->height / out->height);
        const int cy = sy >> d->log2_chroma_h;
        const uint8_t *rowY = in->data[0] + ptrdiff_t(sy) * in->linesize[0];
        const uint8_t *rowU = in->data[1] + ptrdiff_t(cy) * in->linesize[1];
        const uint8_t *rowV = in->data[2] + ptrdiff_t(cy) * in->linesize[2];
        uint8_t *dst = out->data[0] + ptrdiff_t(y) * out->linesize[0];
        for (int x = 0; x < out->width; ++x) {
            const int sx = int(int64_t(x) * in->width / out->width);
            const int cx = sx >> d->log2_chroma_w;
            // BT.601 in 16.16 fixed point.
            const int c = full ? rowY[sx] * 65536 : (rowY[sx] - 16) * 76309;
            const int u = rowU[cx] - 128, v = rowV[cx] - 128;
            const int ku = full ? 1 : 0;
            const int rv = ku ? 91881 : 104597, gu = ku ? 22554 : 25675, gv = ku ? 46802 : 53279,
                      bu = ku ? 116130 : 132201;
            dst[3 * x] = clampByte((c + rv * v + 32768) >> 16);
            dst[3 * x + 1] = clampByte((c - gu * u - gv * v + 32768) >> 16);
            dst[3 * x + 2] = clampByte((c + bu * u + 32768) >> 16);
        }
    }
    return out;
}

std::string encodePng(const AVFrame *rgb)
{
    const AVCodec *encoder = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (!encoder)
        return std::string();
    Codec context(avcodec_alloc_context3(encoder));
    Packet packet(av_packet_alloc());
    if (!context || !packet)
        return std::string();
    context->width = rgb->width;
    context->height = rgb->height;
    context->pix_fmt = AV_PIX_FMT_RGB24;
    context->time_base = AVRational{1, 1};
    if (avcodec_open2(context.get(), encoder, nullptr) < 0 || avcodec_send_frame(context.get(), rgb) < 0 ||
        avcodec_receive_packet(context.get(), packet.get()) < 0)
        return std::string();
    return std::string(reinterpret_cast<const char *>(packet->data), size_t(packet->size));
}

} // namespace

std::string still_png(card_reader *card, int64_t utcMs, int maxWidth, int64_t *shownMs)
{
    if (!card || utcMs < 0)
        return std::string();
    card_stream stream{};
    if (card_probe_stream(card, uint64_t(utcMs), &stream) != CARD_OK)
        return std::string();
    card_cursor *raw = nullptr;
    if (cursor_open(card, &raw) != CARD_OK)
        return std::string();
    std::unique_ptr<card_cursor, CursorCloser> cursor(raw);
    int64_t landed = 0;
    if (cursor_seek(cursor.get(), uint64_t(utcMs), &landed) != CARD_OK)
        return std::string();
    std::vector<uint8_t> bytes;
    int64_t timeMs = 0;
    if (!readKeyFrame(cursor.get(), &bytes, &timeMs))
        return std::string();
    Frame picture = decodeKeyFrame(stream.video_codec, bytes);
    if (!picture)
        return std::string();
    Frame rgb = toRgb(picture.get(), maxWidth);
    if (!rgb)
        return std::string();
    std::string png = encodePng(rgb.get());
    if (!png.empty() && shownMs)
        *shownMs = timeMs;
    return png;
}

} // namespace nivra::evidence
