// The stream probe: codec from the keyframe's parameter sets, audio format
// from the audio frames' headers, sizes and spacing.
#include "card_builder.h"

using namespace cardtest;

namespace {

constexpr uint32_t T0 = 1700000000;
constexpr int64_t MS0 = int64_t(T0) * 1000;

Frame frame(uint8_t type, int64_t t, Bytes payload)
{
    Frame f;
    f.type = type;
    f.time_ms = t;
    f.payload = std::move(payload);
    return f;
}

// Video at 15 fps with a keyframe every 2 s, audio from make_audio(i) every
// audio_step ms (none when 0), over seconds of recording.
std::vector<Frame> stream(const Bytes &key, int audio_step, const std::function<Bytes(int)> &make_audio,
                          int seconds = 4)
{
    std::vector<Frame> frames;
    int64_t end = MS0 + seconds * 1000;
    int64_t next_audio = MS0;
    int i = 0, a = 0;
    for (int64_t t = MS0; t < end; t += 1000 / 15, ++i) {
        while (audio_step > 0 && next_audio <= t) {
            frames.push_back(frame(CARD_FRAME_AUDIO, next_audio, make_audio(a++)));
            next_audio += audio_step;
        }
        frames.push_back(frame(i % 30 == 0 ? CARD_FRAME_KEY : CARD_FRAME_INTER, t,
                               i % 30 == 0 ? key : Bytes{0, 0, 1, 0x41, 1, 2}));
    }
    return frames;
}

card_stream probe(const std::vector<Frame> &frames, int *code = nullptr, uint64_t at = MS0)
{
    Card c;
    std::vector<uint32_t> offsets = c.write_segment(1, frames);
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].type == CARD_FRAME_KEY) {
            IndexMark m;
            m.second = static_cast<uint32_t>(frames[i].time_ms / 1000);
            m.ms = static_cast<uint16_t>(frames[i].time_ms % 1000);
            m.frame_offset = offsets[i];
            c.blocks[1].push_back(m);
        }
    c.table.push_back({T0, T0 + 59, 1, 1, 0});
    c.write();
    card_reader *card = c.open();
    card_stream s;
    memset(&s, 0x5A, sizeof s);
    int rc = card_probe_stream(card, at, &s);
    if (code)
        *code = rc;
    else
        EXPECT_CODE(0, rc);
    card_close(card);
    return s;
}

} // namespace

TEST(Probe, H264WithALaw8000)
{
    card_stream s = probe(stream(h264_keyframe_payload(), 20, [](int) { return Bytes(160, 0xD5); }));
    EXPECT_EQ(CARD_CODEC_H264, s.video_codec);
    EXPECT_EQ(CARD_AUDIO_ALAW, s.audio_kind);
    EXPECT_EQ(8000, s.sample_rate);
    EXPECT_EQ(1, s.channels);
    EXPECT_EQ(0, s.object_type);
    EXPECT_EQ(20, s.audio_interval_ms);
    EXPECT_EQ(66, s.video_interval_ms);
}

TEST(Probe, H265WithALaw16000)
{
    card_stream s = probe(stream(h265_keyframe_payload(), 20, [](int) { return Bytes(320, 0xD5); }));
    EXPECT_EQ(CARD_CODEC_H265, s.video_codec);
    EXPECT_EQ(CARD_AUDIO_ALAW, s.audio_kind);
    EXPECT_EQ(16000, s.sample_rate);
    EXPECT_EQ(1, s.channels);
}

TEST(Probe, RawAacRateFromTheSpacing)
{
    card_stream s = probe(stream(h264_keyframe_payload(), 21, [](int i) {
        return Bytes(static_cast<size_t>(180 + (i * 37) % 90), 0x11);
    }));
    EXPECT_EQ(CARD_AUDIO_AAC_RAW, s.audio_kind);
    EXPECT_EQ(48000, s.sample_rate) << "1024000 / 21 = 48762";
    EXPECT_EQ(2, s.object_type);
    EXPECT_EQ(1, s.channels);
    EXPECT_EQ(21, s.audio_interval_ms);

    // 1024000 / 64 = 16000 exactly; /128 = 8000.
    EXPECT_EQ(16000,
              probe(stream(h264_keyframe_payload(), 64, [](int i) { return Bytes(100 + i, 1); }), nullptr)
                  .sample_rate);
    EXPECT_EQ(8000, probe(stream(
                              h264_keyframe_payload(), 128, [](int i) { return Bytes(100 + i, 1); }, 5))
                        .sample_rate);
}

TEST(Probe, RawAacNearestRate)
{
    // 1024000 / 89 = 11505.6: 479.4 from 11025, 494.4 from 12000.
    EXPECT_EQ(11025, probe(stream(
                               h264_keyframe_payload(), 89, [](int i) { return Bytes(200 + i, 1); }, 5))
                         .sample_rate);
    // 1024000 / 30 = 34133.3: nearer 32000 than 44100.
    EXPECT_EQ(32000, probe(stream(h264_keyframe_payload(), 30, [](int i) {
                         return Bytes(200 + i, 1);
                     })).sample_rate);
    // 1024000 / 9000 = 113.8: the lowest rate.
    EXPECT_EQ(8000, probe(stream(
                              h264_keyframe_payload(), 9000, [](int i) { return Bytes(200 + i, 1); }, 30))
                        .sample_rate);
}

TEST(Probe, Adts)
{
    // AAC LC (profile 1), 48000 (index 3), 2 channels.
    card_stream s =
        probe(stream(h264_keyframe_payload(), 21, [](int) { return adts_payload(1, 3, 2, 200); }));
    EXPECT_EQ(CARD_AUDIO_AAC_ADTS, s.audio_kind);
    EXPECT_EQ(2, s.object_type);
    EXPECT_EQ(48000, s.sample_rate);
    EXPECT_EQ(2, s.channels);
    // Indices 13..15 give 0; 6 channels need the bit in byte 2.
    s = probe(stream(h264_keyframe_payload(), 21, [](int) { return adts_payload(0, 13, 6, 200); }));
    EXPECT_EQ(CARD_AUDIO_AAC_ADTS, s.audio_kind);
    EXPECT_EQ(1, s.object_type);
    EXPECT_EQ(0, s.sample_rate);
    EXPECT_EQ(6, s.channels);
    // Fewer than 7 bytes are not an ADTS header.
    s = probe(stream(h264_keyframe_payload(), 21, [](int) { return Bytes{0xFF, 0xF1, 0x4C, 0x80, 0, 0}; }));
    EXPECT_NE(CARD_AUDIO_AAC_ADTS, s.audio_kind);
}

TEST(Probe, NoAudioAndUnknownAudio)
{
    card_stream s = probe(stream(h264_keyframe_payload(), 0, nullptr));
    EXPECT_EQ(CARD_AUDIO_NONE, s.audio_kind);
    EXPECT_EQ(0, s.sample_rate);
    EXPECT_EQ(0, s.audio_interval_ms);
    // One audio frame: no interval.
    std::vector<Frame> frames = stream(h264_keyframe_payload(), 0, nullptr);
    frames.insert(frames.begin() + 1, frame(CARD_FRAME_AUDIO, MS0 + 10, Bytes(160, 0xD5)));
    s = probe(frames);
    EXPECT_EQ(CARD_AUDIO_UNKNOWN, s.audio_kind);
    EXPECT_EQ(0, s.channels);
}

TEST(Probe, CodecNeedsBothParameterSets)
{
    card_stream s = probe(stream(Bytes{0, 0, 1, 0x67, 1, 2, 0, 0, 1, 0x65, 3}, 0, nullptr));
    EXPECT_EQ(CARD_CODEC_UNKNOWN, s.video_codec) << "SPS without PPS";
    // Start code at the very end, forbidden-zero bit set.
    s = probe(stream(Bytes{0, 0, 1, 0xE7, 0, 0, 1, 0xE8, 0, 0, 1}, 0, nullptr));
    EXPECT_EQ(CARD_CODEC_UNKNOWN, s.video_codec);
    s = probe(stream(Bytes{0, 0, 1, 0x27, 0, 0, 1, 0x28}, 0, nullptr));
    EXPECT_EQ(CARD_CODEC_H264, s.video_codec) << "nal_ref_idc does not matter";
}

TEST(Probe, AGarbledKeyframeGivesWayToTheNext)
{
    // Damage stays local: the keyframe 2 s later tells the codec.
    std::vector<Frame> frames = stream(h264_keyframe_payload(), 0, nullptr);
    frames[0].payload = Bytes{1, 2, 3};
    EXPECT_EQ(CARD_CODEC_H264, probe(frames).video_codec);
    // Only when no keyframe of the window can be read is the codec unknown.
    for (Frame &f : frames)
        if (f.type == CARD_FRAME_KEY)
            f.payload = Bytes{1, 2, 3};
    EXPECT_EQ(CARD_CODEC_UNKNOWN, probe(frames).video_codec);
}

TEST(Probe, NothingAtOrAfterTheTime)
{
    int rc = 0;
    card_stream s = probe(stream(h264_keyframe_payload(), 20, [](int) { return Bytes(160, 0xD5); }), &rc,
                          MS0 + 3600 * 1000);
    EXPECT_CODE(1, rc);
    EXPECT_EQ(0, s.video_codec);
    EXPECT_EQ(0, s.audio_kind);
    EXPECT_EQ(0, s.sample_rate);
    EXPECT_EQ(0, s.video_interval_ms);

    card_stream z;
    EXPECT_CODE(-1, card_probe_stream(nullptr, 0, &z));
    EXPECT_EQ(0, z.video_codec);
}

TEST(Probe, EmptySegmentGivesNothing)
{
    int rc = 0;
    probe({}, &rc);
    EXPECT_CODE(1, rc);
}

TEST(Probe, StopsEarlyOnceEverythingIsKnown)
{
    // Three seconds of video and audio, then a segment whose file went away:
    // reading on would fail, but once 2.5 s have passed with the keyframe
    // analysed and 24 audio frames seen, the probe stops first.
    for (bool enough_audio : {true, false}) {
        Card c;
        std::vector<Frame> frames = stream(
            h264_keyframe_payload(), enough_audio ? 20 : 200, [](int) { return Bytes(160, 0xD5); }, 3);
        std::vector<uint32_t> offsets = c.write_segment(1, frames);
        IndexMark m;
        m.second = T0;
        c.blocks[1].push_back(m);
        c.table.push_back({T0, T0 + 2, 1, 1, 0});
        c.write_segment(2, {frame(CARD_FRAME_KEY, MS0 + 3000, h264_keyframe_payload())});
        c.table.push_back({T0 + 3, T0 + 9, 2, 1, 0});
        c.write();
        card_reader *card = c.open();
        c.remove_file("seg_002.dat");
        card_stream s{};
        EXPECT_CODE(enough_audio ? 0 : -6, card_probe_stream(card, MS0, &s));
        EXPECT_EQ(enough_audio ? CARD_CODEC_H264 : 0, s.video_codec) << "zero after a failure";
        card_close(card);
    }
}

TEST(Probe, AtMost400FrameHeaders)
{
    // A keyframe and 399 audio frames 6 ms apart (under 2.5 s), then video
    // 2450 ms after the keyframe: the 401st frame is not read, so no video
    // interval.
    std::vector<Frame> frames;
    frames.push_back(frame(CARD_FRAME_KEY, MS0, h264_keyframe_payload()));
    for (int i = 0; i < 399; ++i)
        frames.push_back(frame(CARD_FRAME_AUDIO, MS0 + i * 6, Bytes(100 + i % 2, 1)));
    frames.push_back(frame(CARD_FRAME_INTER, MS0 + 2450, Bytes{0, 0, 1, 0x41}));
    card_stream s = probe(frames);
    EXPECT_EQ(0, s.video_interval_ms);
    EXPECT_EQ(CARD_CODEC_H264, s.video_codec);
    EXPECT_EQ(6, s.audio_interval_ms);
    frames.erase(frames.begin() + 1);
    EXPECT_EQ(2450, probe(frames).video_interval_ms) << "the same with 399 frames before it";
}
