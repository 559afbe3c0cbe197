// Playback benchmark: decode throughput through the decode worker next to the
// ffmpeg command line on the same elementary stream, exact-seek latency, and
// the memory the worker's queues hold. Prints figures; asserts nothing.
//
//   bench_playback [--seconds N] [--seeks N] [--full] [--cards DIR]
//
// Default: 1080p H.264 and H.265, 6 s cards, 6 seeks (well under a minute
// on two cores). --full adds 1440p; --cards keeps the generated cards in DIR
// and reuses them on the next run.
#include "decode/decoder.h"
#include "decode/ffmpeg_video_decoder.h"
#include "playback/decode_worker.h"
#include "storage/card.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace nivra;

namespace {

struct Options
{
    int seconds = 6;
    int seeks = 6;
    bool full = false;
    QString cards;
};

struct Stream
{
    QString name;
    int codec = 1;
    int width = 0;
    int height = 0;
    int fps = 15;
    int keyint = 60;
};

// Generates (or reuses) the card for a stream; returns its directory.
QString makeCard(const Stream &stream, const Options &options, const QString &root)
{
    const QString dir = QString("%1/%2_%3s").arg(root, stream.name).arg(options.seconds);
    if (QFile::exists(dir + "/index.dat"))
        return dir;
    const QString scenario = dir + ".json";
    QFile file(scenario);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QString(R"({
  "video": {"codec": "%1", "width": %2, "height": %3, "fps": %4, "keyint": %5, "bitrate": %6},
  "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
  "spans": [{"start": "2024-06-01T08:00:00Z", "seconds": %7, "offsetMin": 0}],
  "segments": {"seconds": 60, "slots": 16}
})")
                   .arg(stream.codec == CodecH265 ? "h265" : "h264")
                   .arg(stream.width)
                   .arg(stream.height)
                   .arg(stream.fps)
                   .arg(stream.keyint)
                   .arg(stream.width * stream.height * 2)
                   .arg(options.seconds)
                   .toUtf8());
    file.close();
    QProcess cardgen;
    cardgen.start(NIVRA_CARDGEN, {"--scenario", scenario, dir});
    if (!cardgen.waitForFinished(-1) || cardgen.exitCode() != 0) {
        std::fprintf(stderr, "cardgen failed: %s\n", cardgen.readAllStandardError().constData());
        return {};
    }
    return dir;
}

struct VideoFrame
{
    qlonglong time = 0;
    bool key = false;
    QByteArray payload;
};

QList<VideoFrame> videoFrames(card_reader *card)
{
    QList<VideoFrame> frames;
    card_cursor *cursor = nullptr;
    cursor_open(card, &cursor);
    cursor_seek(cursor, 0, nullptr);
    card_frame header{};
    while (cursor_next(cursor, &header) == CARD_OK) {
        if (header.type == CARD_FRAME_AUDIO) {
            cursor_skip(cursor);
            continue;
        }
        VideoFrame frame{header.time_ms, header.type == CARD_FRAME_KEY,
                         QByteArray(qsizetype(header.size), 0)};
        cursor_read(cursor, frame.payload.data(), size_t(frame.payload.size()));
        frames << frame;
    }
    cursor_close(cursor);
    return frames;
}

// Seconds the ffmpeg command line needs to decode a file with that many
// decoding threads.
double ffmpegSeconds(const QString &path, const char *format, int threads)
{
    QElapsedTimer timer;
    QProcess ffmpeg;
    timer.start();
    ffmpeg.start("ffmpeg", {"-v", "error", "-threads", QString::number(threads), "-f", format, "-i", path,
                            "-f", "null", "-"});
    if (!ffmpeg.waitForFinished(-1) || ffmpeg.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

QString writeStream(const QList<VideoFrame> &frames, int from, int to, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int i = from; i < to; ++i)
        file.write(frames[i].payload);
    return path;
}

// Throughput and exact seeks with the software decoder on threads decoding
// threads, next to ffmpeg with as many; the queue memory once, with the
// first thread count.
void benchStream(const Stream &stream, const Options &options, const QString &root, int threads, bool memory)
{
    setSoftwareDecoderThreads(threads);
    const QString dir = makeCard(stream, options, root);
    card_reader *card = nullptr;
    if (dir.isEmpty() || card_open(dir.toUtf8().constData(), &card) != CARD_OK) {
        std::printf("%-12s cannot make or open the card\n", qPrintable(stream.name));
        return;
    }
    card_stream description{};
    card_probe_stream(card, 0, &description);
    const QList<VideoFrame> frames = videoFrames(card);
    const char *format = stream.codec == CodecH265 ? "hevc" : "h264";
    QTemporaryDir temp;
    const QString es = writeStream(frames, 0, int(frames.size()), temp.filePath("all.es"));
    // ffmpeg's own start-up, measured on a one-frame stream, is taken off
    // its times so that only decoding is compared.
    const double startup = ffmpegSeconds(writeStream(frames, 0, 1, temp.filePath("one.es")), format, threads);

    // Throughput: the worker decodes everything; the consumer pops at once.
    {
        DecodeWorker worker(card, description);
        QString reason;
        if (!worker.start(&reason)) {
            std::printf("%-12s worker: %s\n", qPrintable(stream.name), qPrintable(reason));
            card_close(card);
            return;
        }
        QElapsedTimer timer;
        timer.start();
        const int g = worker.postCommand(frames.first().time, true, 0, true);
        int pictures = 0;
        qlonglong peakBytes = 0;
        for (;;) {
            peakBytes = std::max(peakBytes, worker.queuedBytes());
            while (worker.popAudioChunk(g)) {
            }
            auto front = worker.peekPicture(g);
            if (!front) {
                QThread::usleep(200);
                continue;
            }
            worker.popPicture();
            if (front->end)
                break;
            ++pictures;
        }
        const double ours = pictures / (timer.nsecsElapsed() / 1e9);
        const double theirs = frames.size() / qMax(1e-3, ffmpegSeconds(es, format, threads) - startup);
        std::printf(
            "%-12s threads %d  throughput  worker %7.1f pictures/s (%d)   ffmpeg -threads %d %7.1f fps "
            "(minus %.0f ms start-up)   ratio %.2f (goal >= 0.90)  [%s]\n",
            qPrintable(stream.name), threads, ours, pictures, threads, theirs, startup * 1000, ours / theirs,
            qPrintable(worker.infoText()));
        if (memory) {

            // Memory: no consumer, the queues fill to their bounds.
            const int g2 = worker.postCommand(frames.first().time, true, 0, true);
            Q_UNUSED(g2);
            QElapsedTimer wait;
            wait.start();
            qlonglong held = 0;
            while (wait.elapsed() < 3000) {
                held = std::max(held, worker.queuedBytes());
                QThread::msleep(5);
            }
            const qlonglong bound =
                DecodeWorker::kMaxPictures * (qlonglong(stream.width) * stream.height * 3 / 2) +
                (DecodeWorker::kMaxAudioMs + 64) * 48 * 2 * 4;
            std::printf(
                "%-12s memory      queues hold %.1f MiB at most (peak while consuming %.1f MiB); bound "
                "%.1f MiB (%d pictures, %lld ms sound)\n",
                qPrintable(stream.name), held / 1048576.0, peakBytes / 1048576.0, bound / 1048576.0,
                worker.queuedPictureCount(), worker.queuedAudioMs());
        }
    }

    // Exact seeks 2.9 s after a keyframe: time to the first queued picture,
    // next to ffmpeg decoding the same frames (keyframe to target).
    {
        QList<int> keys;
        for (int i = 0; i < frames.size(); ++i) {
            if (frames[i].key)
                keys << i;
        }
        DecodeWorker worker(card, description);
        worker.start(nullptr);
        QList<double> ours;
        QList<double> theirs;
        QRandomGenerator random(7);
        for (int s = 0; s < options.seeks; ++s) {
            const int key = keys[int(random.bounded(qMax(1, int(keys.size()) - 1)))];
            const qlonglong target = frames[key].time + 2900;
            int last = key;
            while (last + 1 < frames.size() && frames[last].time < target)
                ++last;
            QElapsedTimer timer;
            timer.start();
            const int g = worker.postCommand(target, false, 0, true);
            while (!worker.peekPicture(g))
                QThread::usleep(100);
            ours << timer.nsecsElapsed() / 1e6;
            const double seconds =
                ffmpegSeconds(writeStream(frames, key, last + 1, temp.filePath("seek.es")), format, threads);
            theirs << qMax(0.0, seconds - startup) * 1000.0;
        }
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        if (!ours.isEmpty()) {
            const double oursMedian = ours[ours.size() / 2];
            const double theirsMedian = theirs[theirs.size() / 2];
            std::printf(
                "%-12s threads %d  exact seek  worker median %6.1f ms worst %6.1f ms   ffmpeg -threads %d "
                "(same frames, minus %.0f ms start-up) median %6.1f ms worst %6.1f ms   ratio %.2f (goal "
                "<= 1.20)\n",
                qPrintable(stream.name), threads, oursMedian, ours.last(), threads, startup * 1000,
                theirsMedian, theirs.last(), theirsMedian > 0 ? oursMedian / theirsMedian : 0.0);
        }
    }
    card_close(card);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--seconds" && i + 1 < args.size())
            options.seconds = qMax(5, args[++i].toInt());
        else if (args[i] == "--seeks" && i + 1 < args.size())
            options.seeks = qMax(1, args[++i].toInt());
        else if (args[i] == "--full")
            options.full = true;
        else if (args[i] == "--cards" && i + 1 < args.size())
            options.cards = args[++i];
        else {
            std::fprintf(stderr, "usage: bench_playback [--seconds N] [--seeks N] [--full] [--cards DIR]\n");
            return 2;
        }
    }
    qunsetenv("NIVRA_DECODE");
    setDecodePolicy(PolicySoftware);
    // Decoder choices are logged at info level; keep the figures readable.
    qputenv("QT_LOGGING_RULES", "*.info=false");
    QTemporaryDir temp;
    QString root = options.cards.isEmpty() ? temp.path() : options.cards;
    QDir().mkpath(root);

    QList<Stream> streams = {{"h264-1080p", CodecH264, 1920, 1080}, {"h265-1080p", CodecH265, 1920, 1080}};
    if (options.full) {
        streams << Stream{"h264-1440p", CodecH264, 2560, 1440} << Stream{"h265-1440p", CodecH265, 2560, 1440};
    }
    // One thread as before, then what playback uses.
    const int threads = softwareDecoderThreads();
    std::printf(
        "decode policy: software (FFmpeg, 1 and %d decoding threads; ffmpeg with as many); %d s cards, "
        "%d seeks\n",
        threads, options.seconds, options.seeks);
    for (const Stream &stream : streams) {
        benchStream(stream, options, root, 1, true);
        if (threads > 1)
            benchStream(stream, options, root, threads, false);
    }
    setSoftwareDecoderThreads(0);
    return 0;
}
