// Decoding on the graphics card next to software decoding, through the
// program's own decoder chain: for a 1080p H.264 and an H.265 simulator card,
// under the "graphics card only" and the software policy, which path decodes,
// pictures per second, whether every picture's stamp equals its frame time,
// and exact-seek latency (median and worst). Where a policy has no decoder
// (no graphics card, no driver) it says which path failed and why. Prints
// figures and exits 0; asserts nothing.
//
//   bench_hwdecode [--seconds N] [--seeks N] [--cards DIR]
//
// Default: 30 s cards, 10 seeks. --cards keeps the generated cards in DIR
// and reuses them on the next run.
#include "bench_card.h"
#include "decode/decoder.h"
#include "decode/decoder_chain.h"
#include "stamp.h"
#include "storage/card.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QVideoFrame>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace nivra;

namespace {

struct Frame
{
    qlonglong timeMs = 0;
    bool key = false;
    std::vector<uint8_t> payload;
};

// Writes (or reuses) a 1080p15 card of the codec; returns its directory.
QString makeCard(const QString &root, int codec, int seconds)
{
    const QString name = codec == CodecH265 ? QStringLiteral("h265") : QStringLiteral("h264");
    const QString dir = QStringLiteral("%1/hw_%2_%3s").arg(root, name).arg(seconds);
    if (QFile::exists(dir + QStringLiteral("/card/index.dat")))
        return dir + QStringLiteral("/card");
    QDir().mkpath(dir);
    const QString scenario =
        QStringLiteral(R"({"video": {"codec": "%1", "width": 1920, "height": 1080, "fps": 15, "keyint": 30,
                                     "bitrate": 4000000},
                          "audio": {"format": "none"},
                          "spans": [{"start": "2024-06-01T08:00:00Z", "seconds": %2, "offsetMin": 0}],
                          "segments": {"seconds": 60, "slots": 16}})")
            .arg(name)
            .arg(seconds);
    return writeScenarioCard(dir, scenario) ? dir + QStringLiteral("/card") : QString();
}

// Every video frame of the card, in order.
std::vector<Frame> readFrames(const QString &dir)
{
    std::vector<Frame> frames;
    card_reader *card = nullptr;
    if (card_open(dir.toUtf8().constData(), &card) != CARD_OK)
        return frames;
    card_cursor *cursor = nullptr;
    cursor_open(card, &cursor);
    cursor_seek(cursor, 0, nullptr);
    card_frame f{};
    while (cursor_next(cursor, &f) == CARD_OK) {
        if (f.type == CARD_FRAME_AUDIO) {
            cursor_skip(cursor);
            continue;
        }
        Frame frame;
        frame.timeMs = f.time_ms;
        frame.key = f.type == CARD_FRAME_KEY;
        frame.payload.resize(f.size);
        if (cursor_read(cursor, frame.payload.data(), frame.payload.size()) != CARD_OK)
            break;
        frames.push_back(std::move(frame));
    }
    cursor_close(cursor);
    card_close(card);
    return frames;
}

// The stamp drawn into a decoded picture, or -1.
qlonglong stampOf(QVideoFrame picture)
{
    if (!picture.isValid() || !picture.map(QVideoFrame::ReadOnly))
        return -1;
    int64_t value = -1;
    const bool ok = nivra::test::readStamp(picture.bits(0), picture.bytesPerLine(0), picture.width(),
                                           picture.height(), &value);
    picture.unmap();
    return ok ? qlonglong(value) : -1;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void runPolicy(const char *codecName, int codec, int policy, const std::vector<Frame> &frames, int seeks)
{
    const char *policyName = policy == PolicyHardware ? "graphics card only" : "software";
    QString reason;
    std::unique_ptr<VideoDecoder> decoder = startChainDecoder(videoChainEntries(codec, policy), &reason);
    if (!decoder) {
        std::printf("%s, %s: no decoder: %s\n", codecName, policyName, qPrintable(reason));
        // Why, path by path.
        for (const ChainEntry &entry : videoChainEntries(codec, policy)) {
            QString why;
            const bool made = entry.make(&why) != nullptr;
            std::printf("  %s: %s\n", qPrintable(entry.label),
                        made ? "starts, but gave up before its first picture" : qPrintable(why));
        }
        return;
    }

    // Throughput and stamps: every picture of the card.
    int pictures = 0, wrong = 0;
    QElapsedTimer timer;
    timer.start();
    DecodedFrame decoded;
    const auto take = [&] {
        while (decoder->receive(&decoded)) {
            ++pictures;
            if (stampOf(decoded.picture) != decoded.timeMs)
                ++wrong;
            decoded = DecodedFrame();
        }
    };
    for (const Frame &f : frames) {
        decoder->send(f.payload.data(), f.payload.size(), f.timeMs);
        take();
        if (!decoder->error().isEmpty())
            break;
    }
    decoder->drain();
    take();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!decoder->error().isEmpty()) {
        std::printf("%s, %s: %s gave up after %d pictures: %s\n", codecName, policyName,
                    qPrintable(decoder->info()), pictures, qPrintable(decoder->error()));
        return;
    }
    std::printf("%s, %s: path %s | %.1f pictures/s | %d of %zu pictures, %d with a wrong stamp\n", codecName,
                policyName, qPrintable(decoder->info()), pictures / seconds, pictures, frames.size(), wrong);

    // Exact seeks to pictures between keyframes: from the keyframe before to
    // the target picture coming out of the decoder.
    std::vector<double> seekMs;
    QRandomGenerator random(7);
    for (int s = 0; s < seeks && frames.size() > 2; ++s) {
        size_t target = 1 + random.bounded(quint32(frames.size() - 1));
        while (target > 0 && frames[target].key)
            --target;
        size_t key = target;
        while (key > 0 && !frames[key].key)
            --key;
        decoder->flush();
        timer.restart();
        bool reached = false;
        for (size_t i = key; i <= target && !reached; ++i) {
            decoder->send(frames[i].payload.data(), frames[i].payload.size(), frames[i].timeMs);
            while (decoder->receiveFrom(&decoded, frames[target].timeMs)) {
                reached = reached || decoded.timeMs >= frames[target].timeMs;
                decoded = DecodedFrame();
            }
        }
        if (!reached) {
            decoder->drain();
            while (decoder->receiveFrom(&decoded, frames[target].timeMs)) {
                reached = reached || decoded.timeMs >= frames[target].timeMs;
                decoded = DecodedFrame();
            }
        }
        if (reached)
            seekMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(seekMs.begin(), seekMs.end());
    if (!seekMs.empty())
        std::printf("%s, %s: exact seek median %.1f ms, worst %.1f ms (%zu seeks)\n", codecName, policyName,
                    median(seekMs), seekMs.back(), seekMs.size());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 30, seeks = 10;
    QString cards;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            seconds = qMax(2, args[++i].toInt());
        else if (args[i] == QLatin1String("--seeks") && i + 1 < args.size())
            seeks = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--cards") && i + 1 < args.size())
            cards = args[++i];
        else {
            std::fprintf(stderr, "usage: bench_hwdecode [--seconds N] [--seeks N] [--cards DIR]\n");
            return 2;
        }
    }
    QTemporaryDir temp;
    const QString root = cards.isEmpty() ? temp.path() : cards;
    QDir().mkpath(root);
    const GraphicsCapability &gpu = graphicsCapability();
    std::printf("graphics card: %s\n",
                gpu.probed ? qPrintable(gpu.adapterName.isEmpty() ? QStringLiteral("found") : gpu.adapterName)
                           : qPrintable(QStringLiteral("none usable (%1)").arg(gpu.failure)));
    for (int codec : {int(CodecH264), int(CodecH265)}) {
        const char *name = codec == CodecH265 ? "H.265 1080p" : "H.264 1080p";
        std::fprintf(stderr, "writing the %s card...\n", name);
        const QString dir = makeCard(root, codec, seconds);
        const std::vector<Frame> frames = dir.isEmpty() ? std::vector<Frame>() : readFrames(dir);
        if (frames.empty()) {
            std::printf("%s: no card\n", name);
            continue;
        }
        for (int policy : {int(PolicyHardware), int(PolicySoftware)})
            runPolicy(name, codec, policy, frames, seeks);
    }
    return 0;
}
