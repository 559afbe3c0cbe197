// The decoder chain with scripted decoders: give-up and replay, the packet
// limit, flushes, exhaustion, and the factory's policy and switches.
#include "log_capture.h"
#include "test_decoders.h"

#include "decode/decoder.h"
#include "decode/decoder_chain.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace nivra;
using namespace nivra::test;

namespace {

QByteArray packet(int i)
{
    return QByteArray("packet-") + QByteArray::number(i);
}

bool sendPacket(VideoDecoder *decoder, int i)
{
    const QByteArray data = packet(i);
    return decoder->send(reinterpret_cast<const uint8_t *>(data.constData()), uint64_t(data.size()),
                         1000 + i);
}

// Every picture the chain has now, by time.
QList<qlonglong> drain(VideoDecoder *decoder)
{
    QList<qlonglong> times;
    DecodedFrame frame;
    while (decoder->receive(&frame))
        times << frame.timeMs;
    return times;
}

QList<qlonglong> range(int from, int to)
{
    QList<qlonglong> times;
    for (int i = from; i < to; ++i)
        times << 1000 + i;
    return times;
}

ChainEntry entry(const QString &label, Script script, int n, ScriptLog *log, const QString &name = QString())
{
    return {label, [=](QString *) {
                ++log->made;
                return std::make_unique<ScriptedDecoder>(name.isEmpty() ? label : name, script, n, log);
            }};
}

ChainEntry unavailable(const QString &label, const QString &reason, int *calls = nullptr)
{
    return {label, [=](QString *out) -> std::unique_ptr<VideoDecoder> {
                if (calls)
                    ++*calls;
                *out = reason;
                return nullptr;
            }};
}

QStringList labels(const std::vector<ChainEntry> &entries)
{
    QStringList out;
    for (const ChainEntry &e : entries)
        out << e.label;
    return out;
}

bool graphicsDevicePresent()
{
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*")}, QDir::System)
                .isEmpty() ||
           QFile::exists(QStringLiteral("/dev/nvidia0"));
}

} // namespace

class tst_DecoderChain : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        qunsetenv("NIVRA_SKIP_HW");
        qunsetenv("NIVRA_SKIP_SW");
        qunsetenv("NIVRA_REFUSE_HW");
    }

    void startSkipsUnavailableEntriesAndLogsThem()
    {
        LogCapture log;
        ScriptLog b;
        std::vector<ChainEntry> entries;
        entries.push_back(unavailable("first", "no device"));
        entries.push_back(unavailable("second", QString()));
        entries.push_back(entry("third", Script::Normal, 0, &b, "third decoder"));
        QString reason;
        auto chain = startChainDecoder(std::move(entries), &reason);
        QVERIFY(chain);
        QCOMPARE(log.lines(), QStringList({"video: first not available: no device",
                                           "video: second not available: ", "video: trying third"}));
        QCOMPARE(chain->info(), QStringLiteral("third decoder"));
        QVERIFY(chain->error().isEmpty());
    }

    void startFailureGivesLastReasonOrTheDefault()
    {
        std::vector<ChainEntry> entries;
        entries.push_back(unavailable("a", "first reason"));
        entries.push_back(unavailable("b", "second reason"));
        entries.push_back(unavailable("c", QString()));
        QString reason;
        QVERIFY(!startChainDecoder(std::move(entries), &reason));
        QCOMPARE(reason, QStringLiteral("second reason"));

        std::vector<ChainEntry> silent;
        silent.push_back(unavailable("a", QString()));
        QVERIFY(!startChainDecoder(std::move(silent), &reason));
        QCOMPARE(reason, QStringLiteral("Your graphics card cannot decode this video."));

        QVERIFY(!startChainDecoder({}, &reason));
        QCOMPARE(reason, QStringLiteral("Your graphics card cannot decode this video."));
    }

    void silentDecoderIsReplacedAtThe33rdPacketWithoutLosingPictures()
    {
        LogCapture log;
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("silent entry", Script::NeverPicture, 0, &a, "silent"));
        entries.push_back(entry("good entry", Script::Normal, 0, &b, "good"));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(chain);
        for (int i = 0; i < 32; ++i) {
            QVERIFY(sendPacket(chain.get(), i));
            QVERIFY(drain(chain.get()).isEmpty());
        }
        QCOMPARE(b.made, 0);
        QVERIFY(sendPacket(chain.get(), 32));
        QCOMPARE(b.made, 1);
        // The 32 packets before are replayed with the 33rd, byte for byte.
        QCOMPARE(b.packets.size(), 33);
        for (int i = 0; i < 33; ++i)
            QCOMPARE(b.packets[i], packet(i));
        QCOMPARE(a.packets.size(), 32);
        QCOMPARE(drain(chain.get()), range(0, 33));
        QVERIFY(sendPacket(chain.get(), 33));
        QCOMPARE(drain(chain.get()), range(33, 34));
        QCOMPARE(log.lines(), QStringList({"video: trying silent entry",
                                           "video: silent gave up: This video could not be decoded.",
                                           "video: trying good entry", "video decoder: good"}));
        QCOMPARE(chain->info(), QStringLiteral("good"));
    }

    void decoderGivingUpIsReplacedAndReplayIncludesThePacket()
    {
        LogCapture log;
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::GiveUpAfter, 3, &a));
        entries.push_back(entry("B", Script::Normal, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(chain);
        for (int i = 0; i < 3; ++i)
            QVERIFY(sendPacket(chain.get(), i));
        // A's pictures were never handed out, so the chain is still trying.
        QVERIFY(sendPacket(chain.get(), 3));
        QCOMPARE(b.packets.size(), 4);
        QCOMPARE(drain(chain.get()), range(0, 4));
        QCOMPARE(log.lines().at(1), QStringLiteral("video: A gave up: A broke"));
        QVERIFY(chain->error().isEmpty());
    }

    void replayFailureMovesOnAgain()
    {
        LogCapture log;
        ScriptLog a, b, c;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::GiveUpAfter, 3, &a));
        entries.push_back(entry("B", Script::GiveUpAfter, 2, &b));
        entries.push_back(entry("C", Script::Normal, 0, &c));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        for (int i = 0; i < 4; ++i)
            QVERIFY(sendPacket(chain.get(), i));
        QCOMPARE(drain(chain.get()), range(0, 4));
        QCOMPARE(log.lines(),
                 QStringList({"video: trying A", "video: A gave up: A broke", "video: trying B",
                              "video: B gave up: B broke", "video: trying C", "video decoder: C"}));
    }

    void giveUpInReceiveReplaysIntoTheNext()
    {
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::GiveUpInReceive, 2, &a));
        entries.push_back(entry("B", Script::Normal, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(sendPacket(chain.get(), 0));
        QVERIFY(drain(chain.get()).isEmpty());
        QVERIFY(sendPacket(chain.get(), 1));
        QCOMPARE(drain(chain.get()), range(0, 2));
        QCOMPARE(b.packets.size(), 2);
    }

    void refusedPacketsAreNotFailures()
    {
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::RefuseFirst, 2, &a));
        entries.push_back(entry("B", Script::Normal, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(!sendPacket(chain.get(), 0));
        QVERIFY(!sendPacket(chain.get(), 1));
        QVERIFY(chain->error().isEmpty());
        QVERIFY(sendPacket(chain.get(), 2));
        QCOMPARE(drain(chain.get()), range(2, 3));
        QCOMPARE(b.made, 0);
    }

    void failureAfterCommitIsFinal()
    {
        LogCapture log;
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::FailAfterCommit, 2, &a));
        entries.push_back(entry("B", Script::Normal, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(sendPacket(chain.get(), 0));
        QCOMPARE(drain(chain.get()), range(0, 1));
        QVERIFY(sendPacket(chain.get(), 1));
        QVERIFY(!sendPacket(chain.get(), 2));
        QCOMPARE(chain->error(), QStringLiteral("A failed"));
        QCOMPARE(b.made, 0);
        QCOMPARE(chain->info(), QStringLiteral("A"));
        QCOMPARE(log.lines(), QStringList({"video: trying A", "video decoder: A"}));
        // After the first picture nothing is remembered: a flush keeps the
        // chain committed and a failing decoder is still not replaced.
        chain->flush();
        QVERIFY(!sendPacket(chain.get(), 3));
        QCOMPARE(b.made, 0);
    }

    void flushBeforeCommitRestartsThePacketCount()
    {
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::NeverPicture, 0, &a));
        entries.push_back(entry("B", Script::Normal, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        for (int i = 0; i < 20; ++i)
            QVERIFY(sendPacket(chain.get(), i));
        chain->flush();
        QCOMPARE(a.flushes, 1);
        for (int i = 100; i < 132; ++i)
            QVERIFY(sendPacket(chain.get(), i));
        QCOMPARE(b.made, 0);
        QVERIFY(sendPacket(chain.get(), 132));
        QCOMPARE(b.made, 1);
        // Only the packets since the flush are replayed.
        QCOMPARE(b.packets.size(), 33);
        QCOMPARE(b.packets.first(), packet(100));
        QCOMPARE(drain(chain.get()), range(100, 133));
    }

    void exhaustedChainReportsTheLastReason()
    {
        LogCapture log;
        ScriptLog a, b;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::NeverPicture, 0, &a));
        entries.push_back(entry("B", Script::NeverPicture, 0, &b));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        for (int i = 0; i < 33; ++i)
            QVERIFY(sendPacket(chain.get(), i));
        QCOMPARE(b.packets.size(), 33);
        QVERIFY(chain->error().isEmpty());
        // B has now seen 34 packets without a picture too.
        QVERIFY(!sendPacket(chain.get(), 33));
        QCOMPARE(chain->error(), QStringLiteral("This video could not be decoded."));
        QVERIFY(chain->info().isEmpty());
        QVERIFY(!sendPacket(chain.get(), 34));
        QVERIFY(drain(chain.get()).isEmpty());
        chain->flush();
        QCOMPARE(log.lines().last(), QStringLiteral("video: B gave up: This video could not be decoded."));
    }

    void exhaustionKeepsTheDecodersOwnReason()
    {
        ScriptLog a;
        std::vector<ChainEntry> entries;
        entries.push_back(entry("A", Script::GiveUpAfter, 0, &a));
        entries.push_back(unavailable("B", QString()));
        auto chain = startChainDecoder(std::move(entries), nullptr);
        QVERIFY(!sendPacket(chain.get(), 0));
        QCOMPARE(chain->error(), QStringLiteral("A broke"));
    }

    void listMatching_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("token");
        QTest::addColumn<bool>("matches");
        QTest::newRow("exact") << "VA-API"
                               << "VA-API" << true;
        QTest::newRow("case") << "va-api"
                              << "VA-API" << true;
        QTest::newRow("blanks") << " D3D11VA , va-api "
                                << "VA-API" << true;
        QTest::newRow("all") << "x,ALL"
                             << "VDPAU" << true;
        QTest::newRow("empty parts") << ",,,"
                                     << "VDPAU" << false;
        QTest::newRow("other") << "VDPAU"
                               << "VA-API" << false;
        QTest::newRow("prefix only") << "VA"
                                     << "VA-API" << false;
        QTest::newRow("unset") << ""
                               << "SYSTEM" << false;
    }

    void listMatching()
    {
        QFETCH(QString, value);
        QFETCH(QString, token);
        QFETCH(bool, matches);
        QCOMPARE(listMatches(value, token), matches);
    }

    void decodeOverride_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("policy");
        QTest::newRow("hw") << "hw" << 1;
        QTest::newRow("HW with blanks") << "  HW \t" << 1;
        QTest::newRow("sw") << "Sw" << 2;
        QTest::newRow("auto") << "AUTO" << 0;
        QTest::newRow("other") << "gpu" << -1;
        QTest::newRow("unset") << "" << -1;
    }

    void decodeOverride()
    {
        QFETCH(QString, value);
        QFETCH(int, policy);
        QCOMPARE(decodePolicyOverride(value), policy);
    }

    void chainEntries_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("skipHw");
        QTest::addColumn<QString>("skipSw");
        QTest::addColumn<QStringList>("expected");
        const QString ffmpeg = "FFmpeg on the graphics card";
        const QString systemGpu = "system decoder on the graphics card";
        const QString software = "FFmpeg in software";
        QTest::newRow("auto") << 0 << ""
                              << "" << QStringList{ffmpeg, systemGpu, software};
        QTest::newRow("hardware") << 1 << ""
                                  << "" << QStringList{ffmpeg, systemGpu};
        QTest::newRow("software") << 2 << ""
                                  << "" << QStringList{software};
        QTest::newRow("skip hw system") << 0 << "system"
                                        << "" << QStringList{ffmpeg, software};
        QTest::newRow("skip hw all") << 0 << "all"
                                     << "" << QStringList{ffmpeg, software};
        QTest::newRow("skip hw MF is not ours") << 0 << "MF"
                                                << "" << QStringList{ffmpeg, systemGpu, software};
        QTest::newRow("skip sw") << 0 << ""
                                 << "SYSTEM" << QStringList{ffmpeg, systemGpu};
        QTest::newRow("sw, skip sw") << 2 << ""
                                     << "system" << QStringList{};
        QTest::newRow("hw, skip sw all") << 1 << ""
                                         << "all" << QStringList{ffmpeg, systemGpu};
    }

    void chainEntries()
    {
        QFETCH(int, policy);
        QFETCH(QString, skipHw);
        QFETCH(QString, skipSw);
        QFETCH(QStringList, expected);
        qputenv("NIVRA_SKIP_HW", skipHw.toUtf8());
        qputenv("NIVRA_SKIP_SW", skipSw.toUtf8());
        QCOMPARE(labels(videoChainEntries(CodecH264, policy)), expected);
    }

    void emptyChainCannotBeMade()
    {
        qputenv("NIVRA_SKIP_SW", "system");
        QString reason;
        QVERIFY(!startChainDecoder(videoChainEntries(CodecH265, PolicySoftware), &reason));
        QCOMPARE(reason, QStringLiteral("Your graphics card cannot decode this video."));
    }

    void unknownCodecIsNotSupported()
    {
        QString reason;
        QVERIFY(!makeVideoDecoder(CodecUnknown, &reason));
        QCOMPARE(reason, QStringLiteral("This video format is not supported."));
        QVERIFY(!makeVideoDecoder(7, &reason));
        QCOMPARE(reason, QStringLiteral("This video format is not supported."));
    }

    void skippingEveryHardwarePathFallsThroughToSoftware()
    {
        qputenv("NIVRA_SKIP_HW", "all");
        LogCapture log;
        QString reason;
        auto chain = startChainDecoder(videoChainEntries(CodecH264, PolicyAuto), &reason);
        QVERIFY2(chain, qPrintable(reason));
        const QStringList lines = log.lines();
        QVERIFY(lines.size() >= 3);
        QVERIFY2(lines[0].startsWith("h264: hardware paths "), qPrintable(lines[0]));
        QCOMPARE(lines.mid(1), QStringList({"video: FFmpeg on the graphics card not available: Your "
                                            "graphics card cannot decode this video.",
                                            "video: trying FFmpeg in software"}));
    }

    void hardwareEntryFailsWithoutAGraphicsCard()
    {
        if (graphicsDevicePresent())
            QSKIP("this machine has a graphics device; the no-device fall-through is not observable");
        LogCapture log;
        QString reason;
        auto chain = startChainDecoder(videoChainEntries(CodecH265, PolicyHardware), &reason);
        QVERIFY(!chain);
        QCOMPARE(reason, QStringLiteral("Your graphics card cannot decode this video."));
        const QStringList lines = log.lines();
        QCOMPARE(lines.size(), 3);
        // VA-API and VDPAU come after the common paths in the listing.
        QVERIFY2(lines[0].startsWith("hevc: hardware paths "), qPrintable(lines[0]));
        QVERIFY2(lines[0].contains("VA-API"), qPrintable(lines[0]));
        QVERIFY(lines[0].indexOf("VA-API") > qMax(lines[0].indexOf("Vulkan"), lines[0].indexOf("NVDEC")));
        QCOMPARE(lines.mid(1), QStringList({"video: FFmpeg on the graphics card not available: Your graphics "
                                            "card cannot decode this video.",
                                            "video: system decoder on the graphics card not available: Your "
                                            "graphics card cannot decode this video."}));

        const GraphicsCapability &capability = graphicsCapability();
        QVERIFY(!capability.probed);
        QVERIFY(!capability.h264 && !capability.h265);
        QVERIFY(capability.failure.contains("/dev/dri"));
    }

    void hevcExtensionIsNeverNeededHere()
    {
        QVERIFY(!hevcExtensionNeeded(CodecH265));
        QVERIFY(!hevcExtensionNeeded(CodecH264));
    }
};

QTEST_GUILESS_MAIN(tst_DecoderChain)
#include "tst_decoderchain.moc"
