#include "media.h"

#include <cmath>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace cardgen {

namespace {

std::string averr(int code)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(code, buf, sizeof buf);
    return buf;
}

int sampleRateIndex(int rate)
{
    static const int rates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                  22050, 16000, 12000, 11025, 8000,  7350};
    for (int i = 0; i < 13; ++i)
        if (rates[i] == rate)
            return i;
    return -1;
}

} // namespace

struct VideoEncoder::Impl
{
    AVCodecContext *ctx = nullptr;
    AVFrame *frame = nullptr;
    AVPacket *pkt = nullptr;
    int64_t nextPts = 0;
    std::vector<VideoPacket> packets;

    ~Impl()
    {
        avcodec_free_context(&ctx);
        av_frame_free(&frame);
        av_packet_free(&pkt);
    }

    bool drain(std::string *error)
    {
        for (;;) {
            int rc = avcodec_receive_packet(ctx, pkt);
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return true;
            if (rc < 0) {
                *error = "video encoder: " + averr(rc);
                return false;
            }
            if (pkt->pts != int64_t(packets.size())) {
                *error = "video encoder returned pictures out of order";
                av_packet_unref(pkt);
                return false;
            }
            VideoPacket p;
            p.data.assign(pkt->data, pkt->data + pkt->size);
            p.key = (pkt->flags & AV_PKT_FLAG_KEY) != 0;
            packets.push_back(std::move(p));
            av_packet_unref(pkt);
        }
    }
};

VideoEncoder::VideoEncoder() : d(new Impl)
{}
VideoEncoder::~VideoEncoder() = default;

bool VideoEncoder::open(const VideoParams &params, std::string *error)
{
    const bool hevc = params.codec == VideoCodec::H265;
    const AVCodec *codec = avcodec_find_encoder_by_name(hevc ? "libx265" : "libx264");
    if (!codec) {
        *error = hevc ? "libavcodec has no libx265 encoder" : "libavcodec has no libx264 encoder";
        return false;
    }
    d->ctx = avcodec_alloc_context3(codec);
    d->frame = av_frame_alloc();
    d->pkt = av_packet_alloc();
    if (!d->ctx || !d->frame || !d->pkt) {
        *error = "out of memory";
        return false;
    }
    AVCodecContext *c = d->ctx;
    c->width = params.width;
    c->height = params.height;
    c->time_base = AVRational{1, params.fps};
    c->framerate = AVRational{params.fps, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = params.keyint;
    c->keyint_min = 1;
    c->max_b_frames = 0;
    c->bit_rate = params.bitrate;
    // One thread keeps the output the same bytes on every run.
    c->thread_count = 1;
    // Parameter sets go in-band with every IDR picture, as a camera writes them.
    if (hevc) {
        av_opt_set(c->priv_data, "preset", "ultrafast", 0);
        av_opt_set(c->priv_data, "tune", "zerolatency", 0);
        av_opt_set_int(c->priv_data, "forced-idr", 1, 0);
        std::string x265 =
            "repeat-headers=1:bframes=0:open-gop=0:scenecut=0:info=0:frame-threads=1:pools=none:"
            "log-level=error:annexb=1";
        // libx265 is the slow part of a long card; a still scene loses
        // nothing by the cheapest analysis, which halves the time.
        if (params.quick)
            x265 += ":rd=1:ctu=64:min-cu-size=32:aq-mode=0:sao=0:subme=0:merange=4:rdoq-level=0:psy-rd=0:"
                    "early-skip=1:fast-intra=1";
        av_opt_set(c->priv_data, "x265-params", x265.c_str(), 0);
    } else {
        av_opt_set(c->priv_data, "preset", "superfast", 0);
        av_opt_set(c->priv_data, "tune", "zerolatency", 0);
        av_opt_set_int(c->priv_data, "forced-idr", 1, 0);
        av_opt_set(c->priv_data, "x264-params",
                   "repeat-headers=1:scenecut=0:bframes=0:open-gop=0:sliced-threads=0", 0);
    }
    int rc = avcodec_open2(c, codec, nullptr);
    if (rc < 0) {
        *error = "cannot open the video encoder: " + averr(rc);
        return false;
    }
    d->frame->format = AV_PIX_FMT_YUV420P;
    d->frame->width = params.width;
    d->frame->height = params.height;
    rc = av_frame_get_buffer(d->frame, 0);
    if (rc < 0) {
        *error = "cannot allocate a picture: " + averr(rc);
        return false;
    }
    return true;
}

bool VideoEncoder::encode(const PictureInfo &info, bool key, std::string *error)
{
    AVFrame *f = d->frame;
    int rc = av_frame_make_writable(f);
    if (rc < 0) {
        *error = "cannot write a picture: " + averr(rc);
        return false;
    }
    drawPicture(f->data[0], f->linesize[0], f->data[1], f->linesize[1], f->data[2], f->linesize[2], f->width,
                f->height, info);
    f->pts = d->nextPts++;
    f->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    f->key_frame = key ? 1 : 0;
    rc = avcodec_send_frame(d->ctx, f);
    if (rc < 0) {
        *error = "video encoder: " + averr(rc);
        return false;
    }
    return d->drain(error);
}

bool VideoEncoder::finish(std::vector<VideoPacket> *out, std::string *error)
{
    int rc = avcodec_send_frame(d->ctx, nullptr);
    if (rc < 0 && rc != AVERROR_EOF) {
        *error = "video encoder: " + averr(rc);
        return false;
    }
    if (!d->drain(error))
        return false;
    if (int64_t(d->packets.size()) != d->nextPts) {
        *error = "video encoder dropped pictures";
        return false;
    }
    *out = std::move(d->packets);
    d->packets.clear();
    return true;
}

void adtsHeader(int rate, int channels, size_t payload, uint8_t out[7])
{
    const unsigned len = unsigned(payload + 7);
    const unsigned sfi = unsigned(sampleRateIndex(rate));
    const unsigned profile = 1; // AAC LC (object type 2)
    out[0] = 0xFF;
    out[1] = 0xF1; // MPEG-4, layer 0, no CRC
    out[2] = uint8_t((profile << 6) | (sfi << 2) | (unsigned(channels) >> 2));
    out[3] = uint8_t(((unsigned(channels) & 3) << 6) | (len >> 11));
    out[4] = uint8_t((len >> 3) & 0xFF);
    out[5] = uint8_t(((len & 7) << 5) | 0x1F);
    out[6] = 0xFC;
}

namespace {

// The test sound at sample n of a stretch that starts at capture time startMs.
float testSample(int64_t startMs, int64_t n, int rate)
{
    int64_t posMs = startMs % 1000 + n * 1000 / rate;
    const double twoPi = 6.283185307179586;
    if (posMs % 1000 < 100)
        return float(0.5 * std::sin(twoPi * 1000.0 * double(n) / rate));
    return float(0.12 * std::sin(twoPi * 440.0 * double(n) / rate));
}

// A scene card's sound at sample n: a quiet 440 Hz tone, or a 1 kHz tone
// during a burst. dBFS are RMS against full scale 1.0, so a sine's peak is
// sqrt(2) times its RMS.
float sceneSample(const Scene &scene, int64_t startMs, int64_t n, int rate)
{
    const double twoPi = 6.283185307179586;
    const int64_t t = startMs + n * 1000 / rate;
    double dbfs = -45.0, hz = 440.0;
    for (const SoundBurst &b : scene.sounds) {
        if (t >= b.startMs && t < b.startMs + b.lengthMs) {
            dbfs = b.dbfs;
            hz = 1000.0;
            break;
        }
    }
    return float(std::sqrt(2.0) * std::pow(10.0, dbfs / 20.0) * std::sin(twoPi * hz * double(n) / rate));
}

bool encodeWithCodec(const AudioParams &params, const Scene *scene, int64_t startMs, int64_t samples,
                     std::vector<AudioPacket> *out, std::string *error)
{
    const bool aac = params.format == AudioFormat::AacAdts || params.format == AudioFormat::AacRaw;
    if (aac && sampleRateIndex(params.rate) < 0) {
        *error = "AAC needs a sample rate from the ADTS table";
        return false;
    }
    const AVCodec *codec = avcodec_find_encoder(aac ? AV_CODEC_ID_AAC : AV_CODEC_ID_PCM_ALAW);
    if (!codec) {
        *error = "libavcodec lacks the audio encoder";
        return false;
    }
    AVCodecContext *c = avcodec_alloc_context3(codec);
    AVFrame *f = av_frame_alloc();
    AVPacket *pkt = av_packet_alloc();
    bool ok = false;
    int rc = 0;
    int frameSize = 0;
    int64_t done = 0;
    bool flushing = false;
    if (!c || !f || !pkt) {
        *error = "out of memory";
        goto out;
    }
    c->sample_rate = params.rate;
    c->sample_fmt = aac ? AV_SAMPLE_FMT_FLTP : AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&c->ch_layout, params.channels);
    c->time_base = AVRational{1, params.rate};
    if (aac)
        c->bit_rate = params.bitrate;
    c->thread_count = 1;
    rc = avcodec_open2(c, codec, nullptr);
    if (rc < 0) {
        *error = "cannot open the audio encoder: " + averr(rc);
        goto out;
    }
    // G.711 goes out in 20 ms packets, as cameras send it.
    frameSize = c->frame_size > 0 ? c->frame_size : params.rate / 50;
    for (;;) {
        if (!flushing) {
            if (done >= samples) {
                flushing = true;
                rc = avcodec_send_frame(c, nullptr);
            } else {
                int n = int(std::min<int64_t>(frameSize, samples - done));
                if (aac && n < frameSize)
                    n = frameSize; // the last AAC frame is padded with silence
                av_frame_unref(f);
                f->format = c->sample_fmt;
                f->nb_samples = n;
                f->sample_rate = params.rate;
                av_channel_layout_copy(&f->ch_layout, &c->ch_layout);
                rc = av_frame_get_buffer(f, 0);
                if (rc < 0) {
                    *error = "cannot allocate audio: " + averr(rc);
                    goto out;
                }
                for (int i = 0; i < n; ++i) {
                    float s = 0.0f;
                    if (done + i < samples)
                        s = scene ? sceneSample(*scene, startMs, done + i, params.rate)
                                  : testSample(startMs, done + i, params.rate);
                    if (aac) {
                        for (int ch = 0; ch < params.channels; ++ch)
                            reinterpret_cast<float *>(f->data[ch])[i] = s;
                    } else {
                        reinterpret_cast<int16_t *>(f->data[0])[i] = int16_t(s * 32767.0f);
                    }
                }
                f->pts = done;
                done += n;
                rc = avcodec_send_frame(c, f);
            }
            if (rc < 0 && rc != AVERROR_EOF) {
                *error = "audio encoder: " + averr(rc);
                goto out;
            }
        }
        for (;;) {
            rc = avcodec_receive_packet(c, pkt);
            if (rc == AVERROR(EAGAIN))
                break;
            if (rc == AVERROR_EOF) {
                ok = true;
                goto out;
            }
            if (rc < 0) {
                *error = "audio encoder: " + averr(rc);
                goto out;
            }
            // The AAC encoder's priming packet (negative time) carries no
            // input; dropping it keeps each packet at the time of its samples.
            if (pkt->pts >= 0 && pkt->pts < samples) {
                AudioPacket p;
                p.pts = pkt->pts;
                if (params.format == AudioFormat::AacAdts) {
                    uint8_t hdr[7];
                    adtsHeader(params.rate, params.channels, size_t(pkt->size), hdr);
                    p.data.assign(hdr, hdr + 7);
                }
                p.data.insert(p.data.end(), pkt->data, pkt->data + pkt->size);
                out->push_back(std::move(p));
            }
            av_packet_unref(pkt);
        }
    }
out:
    avcodec_free_context(&c);
    av_frame_free(&f);
    av_packet_free(&pkt);
    return ok;
}

} // namespace

bool encodeAudio(const AudioParams &params, const Scene *scene, int64_t startMs, int64_t samples,
                 std::vector<AudioPacket> *out, std::string *error)
{
    switch (params.format) {
    case AudioFormat::None:
        return true;
    case AudioFormat::Unknown: {
        // Bytes of no known format: 40 ms packets of varying size.
        uint32_t seed = uint32_t(startMs) * 2654435761u + 12345u;
        const int64_t step = int64_t(params.rate) * 40 / 1000;
        for (int64_t pts = 0; pts < samples; pts += step) {
            seed = seed * 1103515245u + 12345u;
            AudioPacket p;
            p.pts = pts;
            p.data.resize(60 + (seed >> 16) % 60);
            for (uint8_t &b : p.data) {
                seed = seed * 1103515245u + 12345u;
                b = uint8_t(seed >> 24) & 0x7F;
            }
            out->push_back(std::move(p));
        }
        return true;
    }
    default:
        return encodeWithCodec(params, scene, startMs, samples, out, error);
    }
}

} // namespace cardgen
