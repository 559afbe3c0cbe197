// Runs the Media Foundation decoder core against the transforms Windows (or
// Wine) really has, on simulator cards read through the card reader:
//   mf_check H264_CARD H264_ODD_CARD RAW_AAC_CARD
// H.264 pictures must carry the stamp of the frame they came from, AAC sound
// must beep on whole seconds; graphics-card mode and H.265 (where no decoder
// is listed) must fail with their exact texts. Prints one line per check and
// exits 1 when any failed.
#include "decode/mf/d3d11_probe.h"
#include "decode/mf/mf_aac.h"
#include "decode/mf/mf_video.h"
#include "stamp.h"
#include "storage/card.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace nivra::mf;

namespace {

int g_failures = 0;

void check(bool ok, const std::string &what)
{
    printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok)
        ++g_failures;
}

struct Frame
{
    card_frame header{};
    std::vector<uint8_t> payload;
};

// The first `limit` frames of a kind (video or audio) from time 0 on.
std::vector<Frame> readFrames(const char *path, bool video, size_t limit, card_stream *stream)
{
    std::vector<Frame> frames;
    card_reader *card = nullptr;
    if (card_open(path, &card) != CARD_OK)
        return frames;
    if (stream)
        card_probe_stream(card, 0, stream);
    card_cursor *cursor = nullptr;
    if (cursor_open(card, &cursor) == CARD_OK && cursor_seek(cursor, 0, nullptr) == CARD_OK) {
        Frame frame;
        while (frames.size() < limit && cursor_next(cursor, &frame.header) == CARD_OK) {
            if ((frame.header.type == CARD_FRAME_AUDIO) == video) {
                cursor_skip(cursor);
                continue;
            }
            frame.payload.resize(frame.header.size);
            if (cursor_read(cursor, frame.payload.data(), frame.payload.size()) != CARD_OK)
                break;
            frames.push_back(frame);
        }
    }
    cursor_close(cursor);
    card_close(card);
    return frames;
}

// Keeps the converted pictures in plain buffers.
class BufferSink : public PictureSink
{
public:
    struct Picture
    {
        PictureFormat format;
        int stride = 0;
        std::vector<uint8_t> luma;
        std::vector<uint8_t> chroma;
        int64_t timeMs = 0;
    };
    std::vector<Picture> pictures;

    bool begin(const PictureFormat &format, Nv12Target *target) override
    {
        m_pending = Picture();
        m_pending.format = format;
        m_pending.stride = (format.width + 1) & ~1;
        m_pending.luma.assign(size_t(m_pending.stride) * size_t(format.height), 0);
        m_pending.chroma.assign(size_t(m_pending.stride) * size_t((format.height + 1) / 2), 0);
        *target =
            Nv12Target{m_pending.luma.data(), m_pending.stride, m_pending.chroma.data(), m_pending.stride};
        return true;
    }
    void end(bool ok, int64_t timeMs) override
    {
        if (!ok)
            return;
        m_pending.timeMs = timeMs;
        pictures.push_back(std::move(m_pending));
    }

private:
    Picture m_pending;
};

struct LogLines
{
    std::vector<std::string> lines;
    Logger logger() { return Logger{&LogLines::write, this}; }
    static void write(void *context, const char *line)
    {
        printf("     log: %s\n", line);
        static_cast<LogLines *>(context)->lines.push_back(line);
    }
    bool has(const std::string &line) const
    {
        for (const std::string &l : lines) {
            if (l == line)
                return true;
        }
        return false;
    }
    bool hasPrefix(const std::string &prefix) const
    {
        for (const std::string &l : lines) {
            if (l.compare(0, prefix.size(), prefix) == 0)
                return true;
        }
        return false;
    }
};

int64_t stampOf(const BufferSink::Picture &picture)
{
    int64_t value = -1;
    if (!nivra::test::readStamp(picture.luma.data(), picture.stride, picture.format.width,
                                picture.format.height, &value))
        return -1;
    return value;
}

// Decodes frames in software and checks every picture against its frame.
void checkSoftwareH264(const char *card, const char *label, int width, int height)
{
    const std::vector<Frame> frames = readFrames(card, true, 45, nullptr);
    check(frames.size() == 45 && frames[0].header.type == CARD_FRAME_KEY,
          std::string(label) + ": 45 video frames read, the first a keyframe");
    if (frames.size() < 45)
        return;
    BufferSink sink;
    LogLines log;
    Message reason;
    auto decoder = VideoDecoderCore::make(1, false, &sink, log.logger(), &reason);
    check(decoder != nullptr, std::string(label) + ": software decoder made (" + messageText(reason) + ")");
    if (!decoder)
        return;
    check(decoder->info() == "Windows H.264 decoder (Media Foundation, software)",
          "info: " + decoder->info());

    // Before the first keyframe an inter frame is refused without an error.
    check(!decoder->send(frames[1].payload.data(), frames[1].payload.size(), frames[1].header.time_ms) &&
              decoder->error().empty() && decoder->transformName().empty(),
          std::string(label) + ": inter frame before the first keyframe refused, no error");

    size_t sent = 0;
    for (size_t i = 0; i < 25; ++i, ++sent) {
        if (!decoder->send(frames[i].payload.data(), frames[i].payload.size(), frames[i].header.time_ms))
            break;
    }
    check(sent == 25, std::string(label) + ": 25 frames taken, error: " + messageText(decoder->error()));
    check(!decoder->transformName().empty() && log.has("Media Foundation: " + decoder->transformName()),
          std::string(label) + ": transform started: " + decoder->transformName());
    // A seek: the frames from the next keyframe on are sent after a flush;
    // nothing decoded from before it may come out afterwards.
    size_t key = 25;
    while (key < frames.size() && frames[key].header.type != CARD_FRAME_KEY)
        ++key;
    decoder->drain();
    const size_t beforeFlush = sink.pictures.size();
    decoder->flush();
    for (size_t i = key; i < frames.size(); ++i)
        decoder->send(frames[i].payload.data(), frames[i].payload.size(), frames[i].header.time_ms);
    decoder->drain();
    check(decoder->error().empty(),
          std::string(label) + ": no error after the flush: " + messageText(decoder->error()));

    // Wine's transform keeps the newest picture back even when drained, so
    // one picture per run of input may be missing at its end, never inside.
    std::vector<int64_t> expected;
    for (size_t i = 0; i < beforeFlush && i < 25; ++i)
        expected.push_back(frames[i].header.time_ms);
    const size_t firstAfter = expected.size();
    for (size_t i = key; i < frames.size() && expected.size() < sink.pictures.size(); ++i)
        expected.push_back(frames[i].header.time_ms);
    const size_t afterFlush = sink.pictures.size() - beforeFlush;
    check(beforeFlush >= 24 && beforeFlush <= 25,
          std::string(label) + ": 24 or 25 pictures of 25 frames before the flush, got " +
              std::to_string(beforeFlush));
    check(afterFlush + 1 >= frames.size() - key && afterFlush <= frames.size() - key,
          std::string(label) + ": " + std::to_string(afterFlush) + " pictures of " +
              std::to_string(frames.size() - key) + " frames after the flush");
    int wrongStamps = 0;
    int wrongTimes = 0;
    int wrongSizes = 0;
    for (size_t i = 0; i < sink.pictures.size() && i < expected.size(); ++i) {
        const BufferSink::Picture &p = sink.pictures[i];
        if (stampOf(p) != expected[i]) {
            if (++wrongStamps <= 3)
                printf("     picture %zu: stamp %lld, frame time %lld\n", i, (long long)stampOf(p),
                       (long long)expected[i]);
        }
        wrongTimes += p.timeMs != expected[i];
        wrongSizes += p.format.width != width || p.format.height != height;
    }
    check(wrongStamps == 0, std::string(label) + ": every picture shows its frame's stamp (" +
                                std::to_string(wrongStamps) + " wrong)");
    check(wrongTimes == 0, std::string(label) + ": every picture has its frame's time (" +
                               std::to_string(wrongTimes) + " wrong)");
    check(wrongSizes == 0,
          std::string(label) + ": every picture is " + std::to_string(width) + "x" + std::to_string(height));
    if (firstAfter < sink.pictures.size())
        check(stampOf(sink.pictures[firstAfter]) == frames[key].header.time_ms,
              std::string(label) + ": the first picture after the flush is the keyframe's");
    // The simulator draws on a grey background; chroma from the wrong place
    // (or not copied) would not be near neutral.
    if (!sink.pictures.empty()) {
        const BufferSink::Picture &p = sink.pictures.back();
        long sum = 0;
        for (uint8_t v : p.chroma)
            sum += std::abs(int(v) - 128);
        check(sum / long(p.chroma.size()) < 24, std::string(label) + ": chroma near neutral, mean distance " +
                                                    std::to_string(sum / long(p.chroma.size())));
    }
}

// A new picture size in mid-stream (no flush): the transform reports a
// stream change, the output is negotiated again and decoding goes on with
// pictures of the new size.
void checkStreamChange(const char *first, const char *second)
{
    const std::vector<Frame> a = readFrames(first, true, 20, nullptr);
    const std::vector<Frame> b = readFrames(second, true, 20, nullptr);
    if (a.size() < 20 || b.size() < 20) {
        check(false, "stream change: frames read");
        return;
    }
    BufferSink sink;
    LogLines log;
    Message reason;
    auto decoder = VideoDecoderCore::make(1, false, &sink, log.logger(), &reason);
    if (!decoder) {
        check(false, "stream change: decoder made (" + messageText(reason) + ")");
        return;
    }
    for (const std::vector<Frame> *frames : {&a, &b}) {
        for (const Frame &frame : *frames)
            decoder->send(frame.payload.data(), frame.payload.size(), frame.header.time_ms);
    }
    decoder->drain();
    int fromA = 0;
    int fromB = 0;
    int wrong = 0;
    for (const BufferSink::Picture &p : sink.pictures) {
        const int64_t stamp = stampOf(p);
        const bool inA = stamp >= a.front().header.time_ms && stamp <= a.back().header.time_ms;
        const bool inB = stamp >= b.front().header.time_ms && stamp <= b.back().header.time_ms;
        if (inA && p.format.width == 320 && p.format.height == 240 && fromB == 0 && p.timeMs == stamp)
            ++fromA;
        else if (inB && p.format.width == 650 && p.format.height == 362 && p.timeMs == stamp)
            ++fromB;
        else
            ++wrong;
    }
    check(decoder->error().empty() && fromA >= 19 && wrong == 0,
          "stream change: " + std::to_string(fromA) + " pictures at 320x240, then " + std::to_string(fromB) +
              " at 650x362, " + std::to_string(wrong) + " wrong; error \"" + messageText(decoder->error()) +
              "\"");
    // Wine 8's transform reports its stream change only before the first
    // picture (which every run above goes through); after a later size
    // change its ProcessOutput fails (0xd0000001) and no picture comes.
    if (fromB == 0)
        printf("note this transform delivers nothing after a mid-stream size change\n");
    else
        check(fromB >= 19, "stream change: pictures of the new size follow");
}

// Graphics-card mode cannot work without a graphics card: making the decoder
// or decoding the first frames must fail with the graphics-card text.
void checkGraphicsCardFails(const char *card)
{
    const std::vector<Frame> frames = readFrames(card, true, 40, nullptr);
    BufferSink sink;
    LogLines log;
    Message reason;
    auto decoder = VideoDecoderCore::make(1, true, &sink, log.logger(), &reason);
    if (!decoder) {
        check(reason.id == TextGraphicsCard &&
                  messageText(reason) == "Your graphics card cannot decode this video.",
              "graphics card: make fails with \"" + messageText(reason) + "\"");
        check(log.hasPrefix("Media Foundation: no Direct3D 11 device for decoding ("),
              "graphics card: the missing device is logged");
        return;
    }
    check(decoder->info() == "Windows H.264 decoder (Media Foundation, GPU)", "info: " + decoder->info());
    for (const Frame &frame : frames) {
        if (!decoder->send(frame.payload.data(), frame.payload.size(), frame.header.time_ms) &&
            !decoder->error().empty())
            break;
    }
    check(messageText(decoder->error()) == "Your graphics card cannot decode this video." &&
              sink.pictures.empty(),
          "graphics card: decoding fails with \"" + messageText(decoder->error()) + "\" and no picture");
}

void checkH265(const char *h264Card)
{
    const bool listed = hasSystemDecoder(2);
    check(hasSystemDecoder(1), "H.264: a system decoder is listed");
    if (listed) {
        printf("skip H.265 is listed here; the missing-decoder texts cannot be checked\n");
        return;
    }
    (void)h264Card;
    BufferSink sink;
    LogLines log;
    Message reason;
    auto software = VideoDecoderCore::make(2, false, &sink, log.logger(), &reason);
    check(!software && reason.id == TextNeedsHevcExtension &&
              messageText(reason) ==
                  "Windows needs Microsoft's HEVC Video Extensions to decode H.265 without the "
                  "graphics card. Install them from the Microsoft Store, then try again.",
          "H.265 in software: \"" + messageText(reason) + "\"");
    check(log.has("Media Foundation: Windows has no H.265 decoder"), "H.265: the missing decoder is logged");
    reason = Message();
    auto gpu = VideoDecoderCore::make(2, true, &sink, log.logger(), &reason);
    check(!gpu && messageText(reason) == "Your graphics card cannot decode this video.",
          "H.265 on the graphics card: \"" + messageText(reason) + "\"");
}

// Beep onsets (ms): the test sound is a quiet 440 Hz tone with a loud 1 kHz
// beep for the first 100 ms of every second; an onset is the first loud
// sample after at least 300 ms of quiet.
void checkAac(const char *card, const char *label)
{
    card_stream stream{};
    const std::vector<Frame> frames = readFrames(card, false, 16000 * 6 / 1024, &stream);
    check(frames.size() > 60 &&
              (stream.audio_kind == CARD_AUDIO_AAC_ADTS || stream.audio_kind == CARD_AUDIO_AAC_RAW),
          std::string(label) + ": AAC frames read");
    if (frames.empty())
        return;
    const bool headerless = stream.audio_kind == CARD_AUDIO_AAC_RAW;
    std::string reason;
    auto decoder =
        AacDecoderCore::make(headerless, stream.sample_rate, stream.channels, stream.object_type, &reason);
    check(decoder != nullptr, std::string(label) + ": AAC decoder made (" + reason + ")");
    if (!decoder)
        return;
    check(decoder->sampleRate() == stream.sample_rate && decoder->channels() == stream.channels,
          std::string(label) + ": output " + std::to_string(decoder->sampleRate()) + " Hz, " +
              std::to_string(decoder->channels()) + " channel(s), " +
              (decoder->floatOutput() ? "float" : "16-bit"));
    std::vector<AudioSamples> chunks;
    int refused = 0;
    for (const Frame &frame : frames)
        refused +=
            !decoder->decode(frame.payload.data(), frame.payload.size(), frame.header.time_ms, &chunks);
    check(refused == 0, std::string(label) + ": every frame taken (" + std::to_string(refused) + " refused)");
    size_t total = 0;
    for (const AudioSamples &chunk : chunks)
        total += chunk.samples.size();
    const size_t sent = frames.size() * 1024;
    check(total + 2048 >= sent && total <= sent, std::string(label) + ": " + std::to_string(total) +
                                                     " samples for " + std::to_string(sent) + " coded");

    std::vector<int64_t> onsets;
    int64_t quietSince = INT64_MIN;
    for (const AudioSamples &chunk : chunks) {
        const int channels = chunk.channels < 1 ? 1 : chunk.channels;
        for (size_t i = 0; i < chunk.samples.size(); i += size_t(channels)) {
            const int64_t t = chunk.timeMs + int64_t(i / size_t(channels)) * 1000 / chunk.sampleRate;
            if (std::fabs(chunk.samples[i]) >= 0.3f) {
                if (quietSince == INT64_MIN || t - quietSince >= 300)
                    onsets.push_back(t);
                quietSince = t;
            } else if (quietSince == INT64_MIN) {
                quietSince = t - 1000;
            }
        }
    }
    int off = 0;
    for (int64_t onset : onsets) {
        const int64_t ms = ((onset % 1000) + 1000) % 1000;
        const int64_t distance = ms < 500 ? ms : 1000 - ms;
        // One AAC frame of tolerance, as the sound of a frame may come out
        // with the next one.
        if (distance > 1024 * 1000 / stream.sample_rate) {
            ++off;
            printf("     beep at %lld, %lld ms from a whole second\n", (long long)onset, (long long)distance);
        }
    }
    check(onsets.size() >= 4 && off == 0, std::string(label) + ": " + std::to_string(onsets.size()) +
                                              " beeps, all on whole seconds (" + std::to_string(off) +
                                              " off)");
    // A flush forgets what the decoder holds; decoding goes on afterwards.
    decoder->flush();
    std::vector<AudioSamples> after;
    for (size_t i = 0; i < 8; ++i)
        decoder->decode(frames[i].payload.data(), frames[i].payload.size(), frames[i].header.time_ms, &after);
    check(!after.empty() && after.front().timeMs >= frames[0].header.time_ms,
          std::string(label) + ": sound after a flush");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: mf_check H264_CARD H264_ODD_CARD RAW_AAC_CARD\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    ComThreadScope com;
    check(com.initialised(), "COM initialised (multithreaded)");

    const D3d11Capability capability = probeD3d11();
    printf("     probe: probed %d, H.264 %d, H.265 %d, adapter \"%s\", failure \"%s\"\n", capability.probed,
           capability.h264, capability.h265, capability.adapterName.c_str(), capability.failure.c_str());
    check(capability.probed ||
              (capability.failure.rfind("no Direct3D 11 device (0x", 0) == 0 &&
               capability.failure.size() == 34) ||
              capability.failure == "the graphics driver exposes no video decoder",
          "Direct3D 11 probe ran");

    checkH265(argv[1]);
    checkGraphicsCardFails(argv[1]);
    checkSoftwareH264(argv[1], "H.264 320x240", 320, 240);
    checkSoftwareH264(argv[2], "H.264 650x362", 650, 362);
    checkStreamChange(argv[1], argv[2]);
    checkAac(argv[1], "AAC with ADTS headers");
    checkAac(argv[3], "AAC without headers");

    printf("%d check(s) failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
