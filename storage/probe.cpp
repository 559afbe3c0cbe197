// The stream probe: codec and audio format inferred from the frames at a time.
#include "storage/card_internal.h"

#include "codec/aac.h"

#include <algorithm>
#include <new>
#include <string.h>

using namespace nivra::storage;

namespace {

constexpr int kMaxHeaders = 400;
constexpr int kMaxVideoTimes = 64;
constexpr int kMaxAudioFrames = 24;
constexpr int64_t kEarlyStopMs = 2500;
constexpr int64_t kMaxIntervalMs = 10000;

constexpr int32_t kRawAacRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

// Tells the codec from the parameter sets of a keyframe payload.
int32_t keyframe_codec(const uint8_t *p, size_t n)
{
    bool vps = false, hsps = false, sps = false, pps = false;
    for (size_t i = 0; i + 3 < n; ++i) {
        if (p[i] != 0 || p[i + 1] != 0 || p[i + 2] != 1)
            continue;
        uint8_t b = p[i + 3];
        if (b & 0x80)
            continue;
        vps |= (b & 0x7E) == 0x40;
        hsps |= (b & 0x7E) == 0x42;
        sps |= (b & 0x1F) == 7;
        pps |= (b & 0x1F) == 8;
    }
    if (vps && hsps)
        return CARD_CODEC_H265;
    if (sps && pps)
        return CARD_CODEC_H264;
    return CARD_CODEC_UNKNOWN;
}

// Median of the positive spacings below 10 s between consecutive times.
int32_t median_interval(const int64_t *times, int n)
{
    int64_t diffs[kMaxVideoTimes];
    int m = 0;
    for (int i = 1; i < n; ++i) {
        int64_t d = times[i] - times[i - 1];
        if (d > 0 && d < kMaxIntervalMs)
            diffs[m++] = d;
    }
    if (m == 0)
        return 0;
    std::sort(diffs, diffs + m);
    return static_cast<int32_t>(diffs[m / 2]);
}

void describe_audio(const uint8_t *head, size_t head_len, const uint32_t *sizes, int count, card_stream *out)
{
    if (count == 0) {
        out->audio_kind = CARD_AUDIO_NONE;
        return;
    }
    AdtsHeader adts;
    if (isAdtsHeader(head, head_len) && adtsReadHeader(head, head_len, &adts)) {
        out->audio_kind = CARD_AUDIO_AAC_ADTS;
        out->object_type = adts.objectType;
        out->sample_rate = adts.sampleRate;
        out->channels = adts.channelConfig;
        return;
    }
    const int32_t interval = out->audio_interval_ms;
    if (interval == 0) {
        out->audio_kind = CARD_AUDIO_UNKNOWN;
        return;
    }
    bool same = std::all_of(sizes, sizes + count, [&](uint32_t s) { return s == sizes[0]; });
    double ratio = static_cast<double>(sizes[0]) / interval;
    if (same && ((ratio > 7.6 && ratio < 8.4) || (ratio > 15.2 && ratio < 16.8))) {
        out->audio_kind = CARD_AUDIO_ALAW;
        out->channels = 1;
        out->sample_rate = ratio < 12 ? 8000 : 16000;
        return;
    }
    out->audio_kind = CARD_AUDIO_AAC_RAW;
    out->channels = 1;
    out->object_type = 2;
    // Nearest to 1024000 / interval: compare |1024000 - rate * interval|,
    // exact in integers; the lower rate wins a tie.
    int64_t best = -1;
    for (int32_t rate : kRawAacRates) {
        int64_t d = 1024000 - static_cast<int64_t>(rate) * interval;
        d = d < 0 ? -d : d;
        if (best < 0 || d < best) {
            best = d;
            out->sample_rate = rate;
        }
    }
}

} // namespace

int card_probe_stream(const card_reader *card, uint64_t time_ms, card_stream *out)
{
    if (out)
        memset(out, 0, sizeof *out);
    if (!card || !out)
        return CARD_ERR_ARGUMENT;
    card_cursor *cursor = nullptr;
    int rc = cursor_open(card, &cursor);
    if (rc != CARD_OK)
        return rc;
    rc = cursor_seek(cursor, time_ms, nullptr);
    if (rc != CARD_OK) {
        cursor_close(cursor);
        return rc;
    }

    int64_t video_times[kMaxVideoTimes];
    int video_count = 0;
    int64_t audio_times[kMaxAudioFrames];
    uint32_t audio_sizes[kMaxAudioFrames];
    int audio_count = 0;
    int audio_seen = 0;
    uint8_t audio_head[8] = {};
    size_t audio_head_len = 0;
    bool keyframe_done = false, audio_done = false;
    int64_t start_ms = 0;
    uint8_t *payload = nullptr;
    size_t payload_cap = 0;

    for (int i = 0; i < kMaxHeaders; ++i) {
        card_frame f;
        rc = cursor_next(cursor, &f);
        if (rc == CARD_NO_MORE) {
            rc = CARD_OK;
            break;
        }
        if (rc != CARD_OK)
            break;
        if (i == 0)
            start_ms = f.time_ms;
        else if (f.time_ms - start_ms > kEarlyStopMs && keyframe_done && audio_seen >= kMaxAudioFrames)
            break;

        bool want =
            (f.type == CARD_FRAME_KEY && !keyframe_done) || (f.type == CARD_FRAME_AUDIO && !audio_done);
        if (want) {
            if (f.size > payload_cap) {
                uint8_t *grown = new (std::nothrow) uint8_t[f.size];
                if (!grown) {
                    rc = CARD_ERR_NO_MEMORY;
                    break;
                }
                delete[] payload;
                payload = grown;
                payload_cap = f.size;
            }
            rc = cursor_read(cursor, payload, payload_cap);
            if (rc != CARD_OK)
                break;
            if (f.type == CARD_FRAME_KEY) {
                // A garbled keyframe (its header intact) tells nothing: the
                // next keyframe of the window may.
                out->video_codec = keyframe_codec(payload, f.size);
                keyframe_done = out->video_codec != CARD_CODEC_UNKNOWN;
            } else {
                audio_head_len = std::min<size_t>(f.size, sizeof audio_head);
                if (audio_head_len > 0)
                    memcpy(audio_head, payload, audio_head_len);
                audio_done = true;
            }
        } else {
            cursor_skip(cursor);
        }

        if (f.type == CARD_FRAME_AUDIO) {
            ++audio_seen;
            if (audio_count < kMaxAudioFrames) {
                audio_times[audio_count] = f.time_ms;
                audio_sizes[audio_count] = f.size;
                ++audio_count;
            }
        } else if (video_count < kMaxVideoTimes) {
            video_times[video_count++] = f.time_ms;
        }
    }
    delete[] payload;
    cursor_close(cursor);
    if (rc != CARD_OK) {
        memset(out, 0, sizeof *out);
        return rc;
    }
    if (video_count == 0 && audio_count == 0) {
        memset(out, 0, sizeof *out);
        return CARD_NO_MORE;
    }
    out->video_interval_ms = median_interval(video_times, video_count);
    out->audio_interval_ms = median_interval(audio_times, audio_count);
    describe_audio(audio_head, audio_head_len, audio_sizes, audio_count, out);
    return CARD_OK;
}
