#include "recode/recode.h"

#include "recode/clock_painter.h"

#include "export/mov_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

namespace nivra::recode {

namespace {

// The share copy's budget: its sound, and what rate control and the
// container may add to the video's bits.
constexpr int64_t kShareSoundBitRate = 64000;
constexpr int64_t kShareLowestVideoBitRate = 64000;
constexpr int64_t kShareHighestVideoBitRate = 4000000;
constexpr int kShareBudgetPercent = 88;
// The burned-in copy keeps the card's picture as it looks (x264's CRF).
constexpr int kBurnQuality = 20;
constexpr int kSoundToAacBitRate = 48000;
constexpr int kAacFrame = 1024;

// G.711 A-law to 16-bit linear.
int alawToLinear(uint8_t a)
{
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    if (segment == 0)
        t += 8;
    else
        t = (t + 0x108) << (segment - 1);
    return (a & 0x80) ? t : -t;
}

void say(char *message, const char *text)
{
    snprintf(message, 256, "%s", text);
}

} // namespace

struct Coder::State
{
    Settings settings;
    ExportCoder hook{};
    ClockPainter painter;

    AVCodecContext *decoder = nullptr;
    AVCodecContext *encoder = nullptr;
    SwsContext *scaler = nullptr;
    AVFrame *decoded = nullptr;
    AVFrame *picture = nullptr; // what is encoded: scaled, with the clock
    AVPacket *packet = nullptr;
    std::vector<uint8_t> coded;
    const uint8_t *codedFrame = nullptr;
    size_t codedLength = 0;
    int intervalMs = 67;
    int64_t pts = 0;

    AVCodecContext *sound = nullptr;
    AVFrame *soundFrame = nullptr;
    std::vector<float> samples; // taken in, not yet a whole AAC frame (interleaved)
    int64_t dropped = 0;        // samples (all channels) left to the priming frame
    int64_t sentSamples = 0;
    int64_t outSamples = 0;
    std::vector<std::vector<uint8_t>> soundOut;
    std::vector<const uint8_t *> soundFrames;
    std::vector<size_t> soundLengths;

    ~State() { end(); }

    void end()
    {
        avcodec_free_context(&decoder);
        avcodec_free_context(&encoder);
        avcodec_free_context(&sound);
        sws_freeContext(scaler);
        scaler = nullptr;
        av_frame_free(&decoded);
        av_frame_free(&picture);
        av_frame_free(&soundFrame);
        av_packet_free(&packet);
        samples.clear();
        sentSamples = outSamples = dropped = 0;
    }

    int begin(const card_stream &stream, ExportCoderSound *out, char *message)
    {
        end();
        if (settings.burnClock && !painter.ready()) {
            say(message, "the clock's font could not be loaded");
            return EXPORT_ERR_RECODE;
        }
        const AVCodec *codec =
            avcodec_find_decoder(stream.video_codec == CARD_CODEC_H265 ? AV_CODEC_ID_HEVC : AV_CODEC_ID_H264);
        decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
        decoded = av_frame_alloc();
        packet = av_packet_alloc();
        if (!decoder || !decoded || !packet)
            return CARD_ERR_NO_MEMORY;
        // One picture out for each in: the card's streams have no B-frames,
        // so every re-coded picture keeps its card frame's time.
        decoder->flags |= AV_CODEC_FLAG_LOW_DELAY;
        decoder->thread_count = 1;
        if (avcodec_open2(decoder, codec, nullptr) < 0) {
            say(message, "the card's video decoder could not be opened");
            return EXPORT_ERR_RECODE;
        }
        intervalMs = stream.video_interval_ms < 1 ? 67 : stream.video_interval_ms;
        pts = 0;
        if (settings.soundToAac && stream.audio_kind == CARD_AUDIO_ALAW)
            return beginSound(stream, out, message);
        return 0;
    }

    int beginSound(const card_stream &stream, ExportCoderSound *out, char *message)
    {
        const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
        sound = codec ? avcodec_alloc_context3(codec) : nullptr;
        soundFrame = av_frame_alloc();
        if (!sound || !soundFrame)
            return CARD_ERR_NO_MEMORY;
        const int channels = std::max(1, std::min(2, int(stream.channels)));
        sound->sample_fmt = AV_SAMPLE_FMT_FLTP;
        sound->sample_rate = stream.sample_rate;
        av_channel_layout_default(&sound->ch_layout, channels);
        sound->bit_rate = kSoundToAacBitRate * channels;
        sound->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        sound->time_base = AVRational{1, stream.sample_rate};
        if (avcodec_open2(sound, codec, nullptr) < 0 || sound->extradata_size < 2 ||
            sound->extradata_size > int(sizeof out->config)) {
            say(message, "the AAC encoder could not be opened");
            return EXPORT_ERR_RECODE;
        }
        out->sampleRate = stream.sample_rate;
        out->channels = channels;
        out->configLength = sound->extradata_size;
        memcpy(out->config, sound->extradata, size_t(sound->extradata_size));
        return 0;
    }

    // The encoder, once the first picture gives the card's size.
    int openEncoder(const AVFrame *first, char *message)
    {
        int w = first->width, h = first->height;
        if (settings.maxWidth > 0 && settings.maxHeight > 0 &&
            (w > settings.maxWidth || h > settings.maxHeight)) {
            const double scale = std::min(double(settings.maxWidth) / w, double(settings.maxHeight) / h);
            w = int(w * scale + 0.5);
            h = int(h * scale + 0.5);
        }
        w = std::max(2, w & ~1);
        h = std::max(2, h & ~1);
        const AVCodec *codec = avcodec_find_encoder_by_name("libx264");
        if (!codec) {
            say(message, "this FFmpeg has no H.264 encoder (libx264)");
            return EXPORT_ERR_RECODE;
        }
        encoder = avcodec_alloc_context3(codec);
        picture = av_frame_alloc();
        if (!encoder || !picture)
            return CARD_ERR_NO_MEMORY;
        const bool full = first->color_range == AVCOL_RANGE_JPEG || first->format == AV_PIX_FMT_YUVJ420P;
        encoder->width = w;
        encoder->height = h;
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder->color_range = full ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
        encoder->time_base = AVRational{intervalMs, 1000};
        encoder->framerate = AVRational{1000, intervalMs};
        encoder->sample_aspect_ratio = AVRational{1, 1};
        encoder->max_b_frames = 0;
        // Key frames where the card has them, and no other.
        encoder->gop_size = INT_MAX / 2;
        av_opt_set(encoder->priv_data, "preset", "veryfast", 0);
        av_opt_set(encoder->priv_data, "tune", "zerolatency", 0);
        av_opt_set_int(encoder->priv_data, "forced-idr", 1, 0);
        av_opt_set(encoder->priv_data, "profile", "high", 0);
        // Errors only: the encoder's figures are not the user's business.
        av_opt_set(encoder->priv_data, "x264-params", "log=0", 0);
        if (settings.videoBitRate > 0) {
            encoder->bit_rate = settings.videoBitRate;
            encoder->rc_max_rate = settings.videoBitRate;
            encoder->rc_buffer_size = int(std::min<int64_t>(INT_MAX, settings.videoBitRate * 2));
        } else {
            av_opt_set_double(encoder->priv_data, "crf", kBurnQuality, 0);
        }
        if (avcodec_open2(encoder, codec, nullptr) < 0) {
            say(message, "the H.264 encoder could not be opened");
            return EXPORT_ERR_RECODE;
        }
        picture->format = AV_PIX_FMT_YUV420P;
        picture->width = w;
        picture->height = h;
        picture->color_range = encoder->color_range;
        if (av_frame_get_buffer(picture, 0) < 0)
            return CARD_ERR_NO_MEMORY;
        return 0;
    }

    // The decoded picture into `picture`: scaled (or copied) to the file's size.
    bool convert(const AVFrame *in)
    {
        if (av_frame_make_writable(picture) < 0)
            return false;
        scaler = sws_getCachedContext(scaler, in->width, in->height, AVPixelFormat(in->format),
                                      picture->width, picture->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR,
                                      nullptr, nullptr, nullptr);
        if (!scaler)
            return false;
        sws_scale(scaler, in->data, in->linesize, 0, in->height, picture->data, picture->linesize);
        return true;
    }

    int video(const uint8_t *data, size_t length, int keyframe, const char *clock, ExportCoded *out,
              char *message)
    {
        if (length > size_t(INT_MAX))
            return 0;
        packet->data = const_cast<uint8_t *>(data);
        packet->size = int(length);
        // A frame the decoder refuses (damage on the card) is a picture left out.
        if (avcodec_send_packet(decoder, packet) < 0)
            return 0;
        packet->data = nullptr;
        packet->size = 0;
        if (avcodec_receive_frame(decoder, decoded) < 0)
            return 0;
        if (!encoder) {
            const int rc = openEncoder(decoded, message);
            if (rc != 0)
                return rc;
        }
        if (!convert(decoded)) {
            av_frame_unref(decoded);
            say(message, "a picture could not be scaled");
            return EXPORT_ERR_RECODE;
        }
        av_frame_unref(decoded);
        if (settings.burnClock)
            painter.draw(picture, clock);
        picture->pts = pts++;
        picture->pict_type = keyframe ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        if (avcodec_send_frame(encoder, picture) < 0) {
            say(message, "the H.264 encoder refused a picture");
            return EXPORT_ERR_RECODE;
        }
        const int got = avcodec_receive_packet(encoder, packet);
        if (got == AVERROR(EAGAIN))
            return 0;
        if (got < 0) {
            say(message, "the H.264 encoder failed");
            return EXPORT_ERR_RECODE;
        }
        coded.assign(packet->data, packet->data + packet->size);
        const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        av_packet_unref(packet);
        codedFrame = coded.data();
        codedLength = coded.size();
        out->frames = &codedFrame;
        out->lengths = &codedLength;
        out->count = 1;
        out->keyframe = key ? 1 : 0;
        return 0;
    }

    int audio(const uint8_t *data, size_t length, ExportCoded *out, int64_t *pending, char *message)
    {
        soundOut.clear();
        if (!sound) {
            *pending = 0;
            return 0;
        }
        const int channels = sound->ch_layout.nb_channels;
        size_t i = 0;
        // The encoder's priming frame stands in for the first samples, so
        // that the sound keeps its time without an edit list.
        for (; i < length && dropped < int64_t(sound->initial_padding) * channels; ++i)
            ++dropped;
        for (; i < length; ++i)
            samples.push_back(float(alawToLinear(data[i])) / 32768.0f);
        const int rc = encodeSound(message);
        handOut(out);
        *pending = (dropped + int64_t(samples.size())) / channels + sentSamples - outSamples;
        return rc;
    }

    // The last part frame padded with silence, and what the encoder holds.
    int flush(ExportCoded *out, char *message)
    {
        soundOut.clear();
        if (!sound)
            return 0;
        const size_t whole = size_t(kAacFrame * sound->ch_layout.nb_channels);
        if (samples.size() % whole)
            samples.resize(samples.size() + whole - samples.size() % whole, 0.0f);
        int rc = encodeSound(message);
        if (rc == 0 && avcodec_send_frame(sound, nullptr) == 0)
            takeSound();
        handOut(out);
        return rc;
    }

    void takeSound()
    {
        while (avcodec_receive_packet(sound, packet) == 0) {
            soundOut.emplace_back(packet->data, packet->data + packet->size);
            outSamples += kAacFrame;
            av_packet_unref(packet);
        }
    }

    void handOut(ExportCoded *out)
    {
        soundFrames.clear();
        soundLengths.clear();
        for (const auto &frame : soundOut) {
            soundFrames.push_back(frame.data());
            soundLengths.push_back(frame.size());
        }
        out->frames = soundFrames.data();
        out->lengths = soundLengths.data();
        out->count = int(soundFrames.size());
    }

    // Whole AAC frames of the samples taken in.
    int encodeSound(char *message)
    {
        const int channels = sound->ch_layout.nb_channels;
        while (samples.size() >= size_t(kAacFrame * channels)) {
            soundFrame->format = AV_SAMPLE_FMT_FLTP;
            soundFrame->nb_samples = kAacFrame;
            soundFrame->sample_rate = sound->sample_rate;
            if (av_channel_layout_copy(&soundFrame->ch_layout, &sound->ch_layout) < 0 ||
                av_frame_get_buffer(soundFrame, 0) < 0)
                return CARD_ERR_NO_MEMORY;
            for (int c = 0; c < channels; ++c) {
                float *plane = reinterpret_cast<float *>(soundFrame->data[c]);
                for (int s = 0; s < kAacFrame; ++s)
                    plane[s] = samples[size_t(s * channels + c)];
            }
            samples.erase(samples.begin(), samples.begin() + kAacFrame * channels);
            soundFrame->pts = sentSamples;
            const int sent = avcodec_send_frame(sound, soundFrame);
            av_frame_unref(soundFrame);
            if (sent < 0) {
                say(message, "the AAC encoder refused the sound");
                return EXPORT_ERR_RECODE;
            }
            sentSamples += kAacFrame;
            takeSound();
        }
        return 0;
    }
};

namespace {

int hookBegin(void *context, const card_stream *stream, ExportCoderSound *sound, char *message)
{
    return static_cast<Coder::State *>(context)->begin(*stream, sound, message);
}

int hookVideo(void *context, const uint8_t *data, size_t length, int keyframe, const char *clock,
              ExportCoded *out, char *message)
{
    return static_cast<Coder::State *>(context)->video(data, length, keyframe, clock, out, message);
}

int hookAudio(void *context, const uint8_t *data, size_t length, ExportCoded *out, int64_t *pending,
              char *message)
{
    return static_cast<Coder::State *>(context)->audio(data, length, out, pending, message);
}

int hookFlush(void *context, ExportCoded *out, char *message)
{
    return static_cast<Coder::State *>(context)->flush(out, message);
}

} // namespace

Coder::Coder(const Settings &settings) : m(new State)
{
    m->settings = settings;
    m->hook.videoCodec = MOVW_VIDEO_H264;
    m->hook.soundToAac = settings.soundToAac ? 1 : 0;
    m->hook.begin = hookBegin;
    m->hook.video = hookVideo;
    m->hook.audio = hookAudio;
    m->hook.flush = hookFlush;
    m->hook.context = m.get();
}

Coder::~Coder() = default;

const ExportCoder *Coder::hook() const
{
    return &m->hook;
}

int64_t shareVideoBitRate(int64_t maxBytes, int64_t durationMs)
{
    if (maxBytes <= 0 || durationMs <= 0)
        return 0;
    const double seconds = std::max(1.0, double(durationMs) / 1000.0);
    const double bits = double(maxBytes) * 8.0 * kShareBudgetPercent / 100.0;
    const int64_t video = int64_t(bits / seconds) - kShareSoundBitRate;
    if (video < kShareLowestVideoBitRate)
        return 0;
    return std::min(video, kShareHighestVideoBitRate);
}

bool copySettings(bool burnClock, int shareMb, int64_t durationMs, bool mp4, Settings *out)
{
    Settings settings;
    settings.burnClock = burnClock;
    settings.soundToAac = mp4;
    if (shareMb > 0) {
        settings.maxWidth = kShareWidth;
        settings.maxHeight = kShareHeight;
        settings.videoBitRate = shareVideoBitRate(int64_t(shareMb) * 1000000, durationMs);
        if (settings.videoBitRate <= 0)
            return false;
    }
    *out = settings;
    return true;
}

void quietCodecLogs()
{
    av_log_set_level(AV_LOG_ERROR);
}

bool available()
{
    return avcodec_find_encoder_by_name("libx264") != nullptr;
}

} // namespace nivra::recode
