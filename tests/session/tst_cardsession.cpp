// CardSession on simulator cards: finding and opening, error texts, the
// chunk list, stream texts, the summary, queries and the export plan.
#include "session/card_session.h"
#include "session_test_util.h"
#include "simcard.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using nivra::CardSession;
using sessiontest::copyCard;
using sessiontest::ms;
using sessiontest::utc;

namespace {

// Overwrites bytes of a file in place.
bool patchFile(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(offset))
        return false;
    return f.write(bytes) == bytes.size();
}

QString tempPath(const nivra::test::TempDir &dir)
{
    return QString::fromStdString(dir.path());
}

} // namespace

class TestCardSession : public QObject
{
    Q_OBJECT

private slots:
    void findsDirectoryUpToTwoLevelsAbove();
    void opensFirstSiblingByName();
    void openErrors_data();
    void openErrors();
    void pathTooLongUsesReaderText();
    void aCardThisUserMayNotReadIsNotCalledDamaged_data();
    void aCardThisUserMayNotReadIsNotCalledDamaged();
    void emitsChangedTwiceAndAboutToCloseBeforeRelease();
    void chunksFollowRanges();
    void allSegmentsMissing();
    void streamTexts_data();
    void streamTexts();
    void garbledFirstKeyframeStaysLocal();
    void summaryAndClose();
    void reloadAndCloseOnClosedSession();
    void timeModeSetter();
    void queriesWhenNothingIsOpen();
    void kindAndNextPlayable();
    void keyframeWindow();
    void eventsAndDayChunks();
    void eventDurationsAreNivraCards();
    void datesNameMonthsInTheInterfaceLanguage();
    void nextEvent_data();
    void nextEvent();
    void exportPlanEdges();
    void exportPlanRunsAndGaps();
};

void TestCardSession::findsDirectoryUpToTwoLevelsAbove()
{
    nivra::test::TempDir tmp("session-find");
    const QString root = tempPath(tmp);
    QVERIFY(copyCard(QStringLiteral(SMALL_CARD), root + QStringLiteral("/a/b/c/rec")));

    CardSession session;
    // The recording folder itself, one above and two above work.
    for (const QString &start : {root + QStringLiteral("/a/b/c/rec"), root + QStringLiteral("/a/b/c"),
                                 root + QStringLiteral("/a/b")}) {
        QVERIFY2(session.openPath(start), qPrintable(start + QStringLiteral(": ") + session.errorString()));
        QCOMPARE(session.path(), root + QStringLiteral("/a/b/c/rec"));
        QVERIFY(session.errorString().isEmpty());
    }
    // Three levels above is too far.
    QVERIFY(!session.openPath(root + QStringLiteral("/a")));
    QVERIFY(!session.isOpen());
    QCOMPARE(session.errorString(),
             QStringLiteral("No recordings found. Choose the SD card or the recording folder."));
    QVERIFY(session.path().isEmpty());
    // The file URL form goes the same way.
    QVERIFY(session.open(QUrl::fromLocalFile(root + QStringLiteral("/a/b"))));
    QCOMPARE(session.path(), root + QStringLiteral("/a/b/c/rec"));
}

void TestCardSession::opensFirstSiblingByName()
{
    nivra::test::TempDir tmp("session-siblings");
    const QString root = tempPath(tmp);
    // "cam_b" is found at level 1, but "cam_a" sorts first and holds a card
    // one level deeper: the breadth-first search still prefers level 1.
    QVERIFY(copyCard(QStringLiteral(NOAUDIO_CARD), root + QStringLiteral("/cam_b")));
    QVERIFY(copyCard(QStringLiteral(SMALL_CARD), root + QStringLiteral("/cam_a/deeper")));
    QVERIFY(copyCard(QStringLiteral(H265_G711_CARD), root + QStringLiteral("/cam_c")));

    CardSession session;
    QVERIFY(session.openPath(root));
    QCOMPARE(session.path(), root + QStringLiteral("/cam_b"));

    // With both at level 1, the name that sorts first wins.
    QVERIFY(copyCard(QStringLiteral(SMALL_CARD), root + QStringLiteral("/cam_0")));
    QVERIFY(session.openPath(root));
    QCOMPARE(session.path(), root + QStringLiteral("/cam_0"));
    QCOMPARE(session.streamInfo(), QStringLiteral("H.264, AAC 16 kHz"));
}

void TestCardSession::openErrors_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    const QString damaged = QStringLiteral("The recording index is damaged and cannot be read.");
    QTest::newRow("both meta copies damaged") << "meta-both" << damaged;
    QTest::newRow("index header corrupt") << "index-header" << damaged;
    QTest::newRow("newer version")
        << "newer"
        << "The recording format is newer than this program. Please update NIVRA Player.";
    QTest::newRow("old firmware")
        << "v1"
        << "These recordings were made by old camera firmware and are not supported.";
    QTest::newRow("names are folders") << "folders"
                                       << "No recordings found. Choose the SD card or the recording folder.";
}

void TestCardSession::openErrors()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);

    nivra::test::TempDir tmp("session-errors");
    const QString dir = tempPath(tmp) + QStringLiteral("/card");
    if (damage == QLatin1String("folders")) {
        // Both names exist, but as folders: the search accepts the directory,
        // the reader does not.
        QVERIFY(QDir().mkpath(dir + QStringLiteral("/meta.dat")));
        QVERIFY(QDir().mkpath(dir + QStringLiteral("/index.dat")));
    } else if (damage == QLatin1String("meta-both")) {
        QVERIFY(copyCard(QStringLiteral(SMALL_CARD), dir));
        // Flip a byte of each copy's checksum.
        QFile meta(dir + QStringLiteral("/meta.dat"));
        QVERIFY(meta.open(QIODevice::ReadOnly));
        QByteArray bytes = meta.readAll();
        meta.close();
        QCOMPARE(bytes.size(), 128);
        bytes[60] = char(bytes[60] ^ 0x5A);
        bytes[124] = char(bytes[124] ^ 0x5A);
        QVERIFY(patchFile(dir + QStringLiteral("/meta.dat"), 0, bytes));
    } else {
        QString json;
        if (damage == QLatin1String("index-header"))
            json = QStringLiteral(R"("indexHeaderCorrupt": true)");
        else if (damage == QLatin1String("newer"))
            json = QStringLiteral(R"("newerVersion": true)");
        else
            json = QStringLiteral(R"("version1": true)");
        const QString scenario =
            QStringLiteral(R"({"video": {"codec": "h264", "fps": 5, "keyint": 10, "bitrate": 60000},
                "audio": {"format": "none"},
                "spans": [{"start": "2024-02-01T10:00:00Z", "seconds": 4}],
                "segments": {"seconds": 10, "slots": 4}, "damage": {%1}})")
                .arg(json);
        std::string log;
        QVERIFY2(nivra::test::generateScenarioCard(scenario.toStdString(), dir.toStdString(), &log),
                 log.c_str());
    }

    CardSession session;
    QSignalSpy changed(&session, &CardSession::changed);
    QSignalSpy closing(&session, &CardSession::aboutToClose);
    QVERIFY(!session.openPath(tempPath(tmp)));
    QCOMPARE(session.errorString(), message);
    QVERIFY(!session.isOpen());
    QVERIFY(session.chunks().isEmpty());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(closing.count(), 0);
}

void TestCardSession::pathTooLongUsesReaderText()
{
    // A recording folder whose path is longer than the reader accepts: the
    // reader's own text appears in the message.
    nivra::test::TempDir tmp("session-long");
    QString dir = tempPath(tmp);
    while (dir.toUtf8().size() <= 1100)
        dir += QLatin1Char('/') + QString(200, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(dir));
    for (const char *name : {"meta.dat", "index.dat"}) {
        QFile f(dir + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    CardSession session;
    QVERIFY(!session.openPath(dir));
    QCOMPARE(session.errorString(), QStringLiteral("The recordings cannot be read (invalid argument)."));
}

void TestCardSession::aCardThisUserMayNotReadIsNotCalledDamaged_data()
{
    QTest::addColumn<QString>("locked"); // relative to the card's folder
    QTest::addColumn<QString>("opened");
    QTest::newRow("index.dat") << "rec/index.dat"
                               << "rec";
    QTest::newRow("meta.dat, opened from above") << "rec/meta.dat"
                                                 << ".";
    QTest::newRow("the recording folder, opened from above") << "rec"
                                                             << ".";
    QTest::newRow("the recording folder itself") << "rec"
                                                 << "rec";
}

// Said as a matter of permissions, not of damage (the CTest entry
// tst_cardsession_permissions runs this as a user the bits apply to).
void TestCardSession::aCardThisUserMayNotReadIsNotCalledDamaged()
{
    QFETCH(QString, locked);
    QFETCH(QString, opened);
    nivra::test::TempDir tmp("session-denied");
    const QString root = tempPath(tmp);
    QVERIFY(copyCard(QStringLiteral(SMALL_CARD), root + QStringLiteral("/rec")));
    const QString lockedPath = QDir(root).filePath(locked);
    QVERIFY(QFile::setPermissions(lockedPath, QFileDevice::Permissions()));
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(lockedPath,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    if (QFileInfo(lockedPath).isReadable())
        QSKIP("this user reads every file (see tst_cardsession_permissions)");
    CardSession session;
    QVERIFY(!session.openPath(QDir(root).filePath(opened)));
    QCOMPARE(session.errorString(), CardSession::permissionText(QDir::cleanPath(lockedPath)));
    QVERIFY(!session.errorString().contains(QLatin1String("damaged and")));
}

void TestCardSession::emitsChangedTwiceAndAboutToCloseBeforeRelease()
{
    CardSession session;
    QSignalSpy changed(&session, &CardSession::changed);
    QSignalSpy closing(&session, &CardSession::aboutToClose);
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(closing.count(), 0);

    // In aboutToClose the reader must still work: a cursor reads a frame.
    int framesRead = 0;
    QList<bool> openWhenChanged;
    connect(&session, &CardSession::aboutToClose, this, [&] {
        QVERIFY(session.reader() != nullptr);
        card_cursor *cursor = nullptr;
        QCOMPARE(cursor_open(session.reader(), &cursor), 0);
        card_frame frame{};
        if (cursor_seek(cursor, uint64_t(session.firstPlayableMs()), nullptr) == 0 &&
            cursor_next(cursor, &frame) == 0)
            ++framesRead;
        cursor_close(cursor);
    });
    connect(&session, &CardSession::changed, this, [&] { openWhenChanged.append(session.isOpen()); });

    QVERIFY(session.openPath(QStringLiteral(H265_G711_CARD)));
    QCOMPARE(closing.count(), 1);
    QCOMPARE(framesRead, 1);
    QCOMPARE(changed.count(), 4);
    QCOMPARE(openWhenChanged, (QList<bool>{false, true}));

    session.close();
    QCOMPARE(closing.count(), 2);
    QCOMPARE(changed.count(), 5);
    QVERIFY(!session.isOpen());
    QVERIFY(session.reader() == nullptr);
}

void TestCardSession::chunksFollowRanges()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));

    // The same card through the reader directly.
    card_reader *card = nullptr;
    QCOMPARE(card_open(SMALL_CARD, &card), 0);
    std::unique_ptr<card_reader, void (*)(card_reader *)> guard(card, card_close);
    int count = 0;
    QCOMPARE(card_ranges(card, 0, UINT32_MAX, nullptr, 0, &count), 0);
    std::vector<card_range> ranges(static_cast<size_t>(count));
    QCOMPARE(card_ranges(card, 0, UINT32_MAX, ranges.data(), count, &count), 0);

    const QVariantList chunks = session.chunks();
    QCOMPARE(chunks.size(), 2); // two recordings with a minute between them
    QCOMPARE(int(ranges.size()), 2);
    for (int i = 0; i < chunks.size(); ++i) {
        const QVariantMap chunk = chunks[i].toMap();
        QCOMPARE(ms(chunk, "startMs"), qlonglong(ranges[size_t(i)].first) * 1000);
        QCOMPARE(ms(chunk, "endMs"), qlonglong(ranges[size_t(i)].last) * 1000 + 999);
        QCOMPARE(chunk.value(QStringLiteral("offsetMin")).toInt(), 60);
        QCOMPARE(chunk.value(QStringLiteral("playable")).toBool(), true);
        QCOMPARE(session.chunkRecords()[size_t(i)].first, ranges[size_t(i)].first);
    }
    QCOMPARE(ms(chunks[0].toMap(), "startMs"), utc("2024-03-05T10:00:00Z"));
    QCOMPARE(ms(chunks[1].toMap(), "startMs"), utc("2024-03-05T10:02:00Z"));
    QCOMPARE(ms(chunks[0].toMap(), "endMs") % 1000, 999);
    QCOMPARE(session.firstPlayableMs(), utc("2024-03-05T10:00:00Z"));
    QCOMPARE(session.lastPlayableMs(), ms(chunks[1].toMap(), "endMs"));
}

void TestCardSession::allSegmentsMissing()
{
    CardSession session;
    QVERIFY2(session.openPath(QStringLiteral(ALLMISSING_CARD)), qPrintable(session.errorString()));
    const QVariantList chunks = session.chunks();
    QVERIFY(!chunks.isEmpty());
    for (const QVariant &c : chunks)
        QCOMPARE(c.toMap().value(QStringLiteral("playable")).toBool(), false);
    QCOMPARE(session.firstPlayableMs(), 0);
    QCOMPARE(session.lastPlayableMs(), 0);
    // No probe: the stream is unknown and silent.
    QCOMPARE(session.videoCodecName(), QStringLiteral("?"));
    QCOMPARE(session.streamInfo(), QStringLiteral("?, no audio"));
    QCOMPARE(session.stream().video_codec, 0);
    QCOMPARE(session.info().value(QStringLiteral("segsPresent")).toInt(), 0);
    QCOMPARE(session.info().value(QStringLiteral("segsValid")).toInt(), 2);
    QCOMPARE(session.kindAt(utc("2024-08-03T09:00:05Z")), 1);
}

void TestCardSession::garbledFirstKeyframeStaysLocal()
{
    // The card's very first keyframe is garbled behind an intact header: the
    // streams are told by the next keyframe, not given up for the whole card.
    nivra::test::TempDir dir("session-garbled");
    std::string log;
    QVERIFY2(nivra::test::generateDamagedPresetCard(
                 "small", R"({"framePayloadGarbled": [{"segment": 0, "frame": 0}]})", dir.path(), &log),
             log.c_str());
    CardSession session;
    QVERIFY2(session.openPath(QString::fromStdString(dir.path())), qPrintable(session.errorString()));
    QCOMPARE(session.streamInfo(), QStringLiteral("H.264, AAC 16 kHz"));
}

void TestCardSession::streamTexts_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("stream");
    QTest::addColumn<bool>("hasAudio");
    QTest::addColumn<bool>("g711");
    QTest::newRow("H.264 ADTS AAC") << SMALL_CARD << "H.264"
                                    << "AAC 16 kHz"
                                    << "H.264, AAC 16 kHz" << true << false;
    QTest::newRow("H.265 AAC 44.1") << H265_AAC44_CARD << "H.265"
                                    << "AAC 44.1 kHz"
                                    << "H.265, AAC 44.1 kHz" << true << false;
    QTest::newRow("H.265 G.711") << H265_G711_CARD << "H.265"
                                 << "G.711 A-law 8 kHz"
                                 << "H.265, G.711 A-law 8 kHz" << true << true;
    QTest::newRow("raw AAC") << RAWAAC_CARD << "H.264"
                             << "AAC (raw) 16 kHz"
                             << "H.264, AAC (raw) 16 kHz" << true << false;
    QTest::newRow("no audio") << NOAUDIO_CARD << "H.264"
                              << ""
                              << "H.264, no audio" << false << false;
}

void TestCardSession::streamTexts()
{
    QFETCH(QString, card);
    QFETCH(QString, codec);
    QFETCH(QString, audio);
    QFETCH(QString, stream);
    QFETCH(bool, hasAudio);
    QFETCH(bool, g711);

    CardSession session;
    QVERIFY2(session.openPath(card), qPrintable(session.errorString()));
    QCOMPARE(session.videoCodecName(), codec);
    QCOMPARE(session.audioInfo(), audio);
    QCOMPARE(session.streamInfo(), stream);
    QCOMPARE(session.hasAudio(), hasAudio);
    QCOMPARE(session.g711Audio(), g711);
    // The QML side reads the same through the properties.
    QCOMPARE(session.property("streamInfo").toString(), stream);
}

void TestCardSession::summaryAndClose()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const QVariantMap info = session.info();
    QCOMPARE(info.value(QStringLiteral("segCount")).toInt(), 16); // slots of the ring
    QCOMPARE(info.value(QStringLiteral("segSizeMb")).toInt(), 4); // 4 MiB segments
    QCOMPARE(info.value(QStringLiteral("segsValid")).toInt(), 4); // 2 minutes of 30 s segments
    QCOMPARE(info.value(QStringLiteral("segsPresent")).toInt(), 4);
    QCOMPARE(ms(info, "firstMs"), utc("2024-03-05T10:00:00Z"));
    QCOMPARE(ms(info, "lastMs"), utc("2024-03-05T10:02:59Z"));
    QVERIFY(ms(info, "formatMs") > 0);
    QVERIFY(ms(info, "formatMs") <= utc("2024-03-05T10:00:00Z"));

    session.close();
    QVERIFY(session.info().isEmpty());
    QVERIFY(session.streamInfo().isEmpty());
    QVERIFY(session.videoCodecName().isEmpty());
    QVERIFY(session.audioInfo().isEmpty());
    QVERIFY(!session.hasAudio());
    QVERIFY(session.chunks().isEmpty());
    QVERIFY(session.path().isEmpty());
    QCOMPARE(session.firstPlayableMs(), 0);
}

void TestCardSession::reloadAndCloseOnClosedSession()
{
    CardSession session;
    QSignalSpy changed(&session, &CardSession::changed);
    QSignalSpy closing(&session, &CardSession::aboutToClose);
    QVERIFY(!session.reload());
    QCOMPARE(changed.count(), 0);

    session.close(); // nothing open: still tells the views
    QCOMPARE(changed.count(), 1);
    QCOMPARE(closing.count(), 0);

    // A failed open keeps its message through close().
    QVERIFY(!session.openPath(QStringLiteral("/nonexistent/nivra")));
    session.close();
    QVERIFY(!session.errorString().isEmpty());

    // reload() reads the same card again.
    nivra::test::TempDir tmp("session-reload");
    const QString dir = tempPath(tmp) + QStringLiteral("/rec");
    QVERIFY(copyCard(QStringLiteral(SMALL_CARD), dir));
    QVERIFY(session.openPath(dir));
    changed.clear();
    QVERIFY(session.reload());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(closing.count(), 1);
    QCOMPARE(session.path(), dir);
    QCOMPARE(session.chunks().size(), 2);

    // The card disappears: reload fails and reports it.
    QVERIFY(QFile::remove(dir + QStringLiteral("/index.dat")));
    QVERIFY(!session.reload());
    QVERIFY(!session.isOpen());
    QCOMPARE(session.errorString(),
             QStringLiteral("No recordings found. Choose the SD card or the recording folder."));
    QVERIFY(!session.reload()); // path is empty now
}

void TestCardSession::timeModeSetter()
{
    CardSession session;
    QSignalSpy spy(&session, &CardSession::timeModeChanged);
    QCOMPARE(session.timeMode(), int(CardSession::RecordingTime));
    session.setTimeMode(2); // not ComputerTime: stays RecordingTime
    QCOMPARE(session.timeMode(), 0);
    QCOMPARE(spy.count(), 0);
    session.setTimeMode(1);
    QCOMPARE(spy.count(), 1);
    session.setTimeMode(1);
    QCOMPARE(spy.count(), 1);
    QVERIFY(session.setProperty("timeMode", 2));
    QCOMPARE(session.timeMode(), 0);
    QCOMPARE(spy.count(), 2);

    // The mode survives close and open.
    session.setTimeMode(1);
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    session.close();
    QCOMPARE(session.timeMode(), 1);
    QCOMPARE(spy.count(), 3);
}

void TestCardSession::queriesWhenNothingIsOpen()
{
    CardSession session;
    const qint64 t = utc("2024-03-05T10:00:30Z");
    QVERIFY(session.daysInMonth(2024, 3).isEmpty());
    QVERIFY(session.eventDaysInMonth(2024, 3).isEmpty());
    QVERIFY(session.dayChunks(utc("2024-03-05T00:00:00Z")).isEmpty());
    QVERIFY(session.eventsBetween(0, t).isEmpty());
    QVERIFY(session.nextEvent(0).isEmpty());
    QCOMPARE(session.kindAt(t), -1);
    QCOMPARE(session.nextPlayableStart(0), -1);
    QCOMPARE(session.keyframeAtOrBefore(t), -1);
    QCOMPARE(session.offsetMinutesAt(t), 0);
    QVERIFY(session.exportPlan(0, t).isEmpty());
    QCOMPARE(session.offsetLabel(t), QStringLiteral("UTC+00:00"));
}

void TestCardSession::kindAndNextPlayable()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    const QVariantList chunks = session.chunks();
    QCOMPARE(chunks.size(), 4);
    const QVariantMap last = chunks[3].toMap();
    QCOMPARE(last.value(QStringLiteral("playable")).toBool(), false); // its file was deleted
    const QVariantMap third = chunks[2].toMap();
    QVERIFY(third.value(QStringLiteral("playable")).toBool());

    QCOMPARE(session.kindAt(ms(third, "endMs")), 0);
    QCOMPARE(session.kindAt(ms(third, "endMs") + 1), -1);
    QCOMPARE(session.kindAt(ms(third, "startMs")), 0);
    QCOMPARE(session.kindAt(ms(third, "startMs") - 1), -1);
    QCOMPARE(session.kindAt(ms(last, "startMs") + 5000), 1);
    QCOMPARE(session.kindAt(ms(last, "endMs")), 1);
    QCOMPARE(session.kindAt(ms(last, "endMs") + 1), -1);

    // The next start, never one that began already, never a missing one.
    QCOMPARE(session.nextPlayableStart(0), ms(chunks[0].toMap(), "startMs"));
    QCOMPARE(session.nextPlayableStart(ms(third, "startMs")), ms(third, "startMs"));
    QCOMPARE(session.nextPlayableStart(ms(third, "startMs") + 1), -1);
    QCOMPARE(session.firstPlayableMs(), ms(chunks[0].toMap(), "startMs"));
    QCOMPARE(session.lastPlayableMs(), ms(third, "endMs"));

    // The recording offset of the nearest chunk, first one on a tie.
    QCOMPARE(session.offsetMinutesAt(utc("2024-03-09T05:00:00Z")), -300);
    QCOMPARE(session.offsetMinutesAt(utc("2024-03-10T07:00:25Z")), -240);
    // B's last second is 06:59:59, C starts at 07:00:20.
    QCOMPARE(session.offsetMinutesAt(utc("2024-03-10T07:00:09Z")), -300); // 10 s after B, 11 s before C
    QCOMPARE(session.offsetMinutesAt(utc("2024-03-10T07:00:10Z")), -240); // 11 s after B, 10 s before C
    QCOMPARE(session.offsetMinutesAt(0), -300);
}

void TestCardSession::keyframeWindow()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    // A keyframe every 2 s from each recording's start (keyint 20 at 10 fps).
    const qint64 start = utc("2024-03-05T10:00:00Z");
    QCOMPARE(session.keyframeAtOrBefore(start + 4500), start + 4000);
    QCOMPARE(session.keyframeAtOrBefore(start + 4000), start + 4000);
    QCOMPARE(session.keyframeAtOrBefore(start + 3999), start + 2000);
    QCOMPARE(session.keyframeAtOrBefore(start - 1), -1);
    // The first recording's last keyframe is at 10:00:58; only the minute
    // before the time is searched.
    const qint64 lastKey = utc("2024-03-05T10:00:58Z");
    QCOMPARE(session.keyframeAtOrBefore(lastKey + 59000), lastKey);
    QCOMPARE(session.keyframeAtOrBefore(lastKey + 61000), -1);
    QCOMPARE(session.keyframeAtOrBefore(std::numeric_limits<qlonglong>::min() + 1000), -1);
    QCOMPARE(session.keyframeAtOrBefore(std::numeric_limits<qlonglong>::max()), -1);
    // Strictly before, and on behind the gap to the recording before it
    // (the next one starts at 10:02:00).
    const qint64 afterGap = utc("2024-03-05T10:02:00Z");
    QCOMPARE(session.keyframeSearch(start + 4000, true, false), start + 2000);
    QCOMPARE(session.keyframeSearch(afterGap, false, true), afterGap);
    QCOMPARE(session.keyframeSearch(afterGap, true, false), -1);
    QCOMPARE(session.keyframeSearch(afterGap, true, true), lastKey);
    QCOMPARE(session.keyframeSearch(start, true, true), -1);

    // Keyframes of a deleted segment file are not usable.
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    const qint64 missingStart = utc("2024-03-10T08:00:00Z");
    QCOMPARE(session.keyframeAtOrBefore(missingStart + 10000), -1);
    const std::vector<card_keyframe> keys = session.keyframeRecords(missingStart, missingStart + 19999);
    QVERIFY(!keys.empty());
    for (const card_keyframe &k : keys)
        QCOMPARE(int(k.usable), 0);
    QVERIFY(session.keyframeRecords(missingStart + 1000, missingStart).empty());
}

void TestCardSession::eventsAndDayChunks()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const qint64 day = utc("2024-03-05T00:00:00Z");
    const QVariantList events = session.eventsBetween(day, day + 86399999);
    QCOMPARE(events.size(), 2);
    QVariantMap first = events[0].toMap();
    QVariantMap second = events[1].toMap();
    if (ms(first, "startMs") > ms(second, "startMs"))
        std::swap(first, second);
    QCOMPARE(ms(first, "startMs"), utc("2024-03-05T10:00:22Z"));
    QCOMPARE(first.value(QStringLiteral("types")).toInt(), 1);
    QCOMPARE(first.value(QStringLiteral("playable")).toBool(), true);
    QVERIFY(ms(first, "endMs") > ms(first, "startMs"));
    QCOMPARE(ms(first, "endMs") % 1000, 999);
    QCOMPARE(ms(second, "startMs"), utc("2024-03-05T10:02:20Z"));
    QCOMPARE(second.value(QStringLiteral("types")).toInt(), 18);

    // A window that holds only the first event's start.
    QCOMPARE(session.eventsBetween(utc("2024-03-05T10:00:21Z"), utc("2024-03-05T10:00:23Z")).size(), 1);
    QVERIFY(session.eventsBetween(utc("2024-03-05T10:00:23Z"), utc("2024-03-05T10:00:21Z")).isEmpty());

    // Day chunks: one event in each recording.
    const QVariantList chunks = session.dayChunks(day);
    QCOMPARE(chunks.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QVariantMap c = chunks[i].toMap();
        QCOMPARE(c.value(QStringLiteral("index")).toInt(), i + 1);
        QCOMPARE(c.value(QStringLiteral("events")).toInt(), 1);
        QCOMPARE(ms(c, "startMs"), ms(session.chunks()[i].toMap(), "startMs"));
        QCOMPARE(ms(c, "endMs"), ms(session.chunks()[i].toMap(), "endMs"));
        QCOMPARE(c.value(QStringLiteral("playable")).toBool(), true);
    }
    QVERIFY(session.dayChunks(day + 86400000).isEmpty());
    QVERIFY(session.dayChunks(day - 86400000).isEmpty());
    // Far-out values do not overflow.
    QVERIFY(session.dayChunks(std::numeric_limits<qlonglong>::max() - 10).isEmpty());
}

// The demo card's events (UTC): 12 May 06:41:10 motion, 07:02:00 PIR,
// 14:12:40 motion+person; 13 May 08:20:00 sound (20 s), 08:33:30
// sound+crying (76 s), 19:51:00 person; 14 May 07:05:40 motion, 07:20:30
// motion+PIR, 09:10:00 person, open to the card's end. The midnight card's
// 28 February event lies on missing files, its next ones on 1 March.
void TestCardSession::nextEvent_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("kinds");
    QTest::addColumn<QString>("until"); // empty: no limit
    QTest::addColumn<QString>("start"); // empty: none
    QTest::addColumn<QString>("end");   // checked when given

    const char *demo = DEMO_CARD;
    const struct
    {
        const char *tag, *card, *from;
        int kinds;
        const char *until, *start, *end;
    } rows[] = {
        {"going on at the time", demo, "2024-05-13T08:34:00Z", 0, "", "2024-05-13T08:33:30Z",
         "2024-05-13T08:34:46.999Z"},
        {"at its last moment", demo, "2024-05-13T08:20:20.999Z", 0, "", "2024-05-13T08:20:00Z",
         "2024-05-13T08:20:20.999Z"},
        {"just after it", demo, "2024-05-13T08:20:21Z", 0, "", "2024-05-13T08:33:30Z", ""},
        {"other kinds skipped", demo, "2024-05-12T06:00:00Z", 0x10, "", "2024-05-12T14:12:40Z", ""},
        {"any of the kinds", demo, "2024-05-12T15:00:00Z", 0x08 | 0x04, "", "2024-05-13T08:33:30Z", ""},
        {"on a later day", demo, "2024-05-13T19:52:00Z", 0, "", "2024-05-14T07:05:40Z", ""},
        {"two days on", demo, "2024-05-12T07:03:00Z", 0x08, "", "2024-05-14T07:20:30Z", ""},
        {"starting before the limit", demo, "2024-05-13T19:52:00Z", 0, "2024-05-14T07:05:41Z",
         "2024-05-14T07:05:40Z", ""},
        {"starting at the limit", demo, "2024-05-13T19:52:00Z", 0, "2024-05-14T07:05:40Z", "", ""},
        {"open to the end", demo, "2024-05-14T09:14:00Z", 0, "", "2024-05-14T09:10:00Z", ""},
        {"after the last", demo, "2024-05-14T09:16:00Z", 0, "", "", ""},
        {"none of the kind after", demo, "2024-05-14T07:05:00Z", 0x04, "", "", ""},
        {"missing files skipped, a quiet day and a half", MIDNIGHT_CARD, "2024-02-28T10:00:12Z", 0, "",
         "2024-03-01T21:57:01Z", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.tag) << QString::fromUtf8(row.card) << QString::fromLatin1(row.from) << row.kinds
                               << QString::fromLatin1(row.until) << QString::fromLatin1(row.start)
                               << QString::fromLatin1(row.end);
}

void TestCardSession::nextEvent()
{
    QFETCH(QString, card);
    QFETCH(QString, from);
    QFETCH(int, kinds);
    QFETCH(QString, until);
    QFETCH(QString, start);
    QFETCH(QString, end);

    CardSession session;
    QVERIFY(session.openPath(card));
    const auto time = [](const QString &iso) { return utc(iso.toLatin1().constData()); };
    const QVariantMap event = session.nextEvent(time(from), kinds, until.isEmpty() ? -1 : time(until));
    if (start.isEmpty()) {
        QVERIFY2(event.isEmpty(), qPrintable(QString::number(ms(event, "startMs"))));
        return;
    }
    QCOMPARE(ms(event, "startMs"), time(start));
    QVERIFY(event.value(QStringLiteral("playable")).toBool());
    QVERIFY(kinds == 0 || (event.value(QStringLiteral("types")).toInt() & kinds) != 0);
    if (!end.isEmpty())
        QCOMPARE(ms(event, "endMs"), time(end));
}

void TestCardSession::exportPlanEdges()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const qint64 a = utc("2024-03-05T10:00:00Z");
    const qint64 b = utc("2024-03-05T10:02:00Z");

    QVERIFY(session.exportPlan(-1, a).isEmpty());
    QVERIFY(session.exportPlan(a + 1000, a).isEmpty());
    // Entirely in the gap between the two recordings.
    QVERIFY(session.exportPlan(a + 61000, b - 2000).isEmpty());

    // Starts 1500 ms after a keyframe and 500 ms before the next one.
    QVariantMap plan = session.exportPlan(a + 3500, a + 10000);
    QVERIFY(plan.value(QStringLiteral("ok")).toBool());
    QCOMPARE(ms(plan, "startMs"), a + 4000);
    QCOMPARE(ms(plan, "endMs"), a + 10000);
    QCOMPARE(ms(plan, "durationMs"), 6000);
    QVERIFY(ms(plan, "bytes") > 0);
    QCOMPARE(plan.value(QStringLiteral("missing")).toBool(), false);
    QCOMPARE(plan.value(QStringLiteral("runs")).toList().size(), 1);
    QVERIFY(plan.value(QStringLiteral("gaps")).toList().isEmpty());
    // Camera clock +60: 11:00:04 to 11:00:10, the frame at the range's end
    // (which the export takes) included.
    QCOMPARE(plan.value(QStringLiteral("names")).toList().value(0).toString(),
             QStringLiteral("NIVRA_20240305_110004-110010.mov"));
    QCOMPARE(plan.value(QStringLiteral("mergedName")).toString(),
             QStringLiteral("NIVRA_20240305_110004-110010.mov"));

    QCOMPARE(session.exportPlan(a + 3500, a + 10000, 1).value(QStringLiteral("mergedName")).toString(),
             QStringLiteral("NIVRA_20240305_110004-110010.mp4"));
    QVERIFY(session.exportPlan(a + 3500, a + 10000, 2)
                .value(QStringLiteral("names"))
                .toList()
                .value(0)
                .toString()
                .endsWith(QStringLiteral(".mov")));

    // In computer time (UTC here) the names follow the computer's clock.
    session.setTimeMode(CardSession::ComputerTime);
    plan = session.exportPlan(a + 3500, a + 10000);
    QCOMPARE(plan.value(QStringLiteral("names")).toList().value(0).toString(),
             QStringLiteral("NIVRA_20240305_100004-100010.mov"));
    // One millisecond earlier the last frame is the one of 10:00:09.9.
    QCOMPARE(session.exportPlan(a + 3500, a + 9999).value(QStringLiteral("mergedName")).toString(),
             QStringLiteral("NIVRA_20240305_100004-100009.mov"));

    // Only missing recordings: nothing to export.
    QVERIFY(session.openPath(QStringLiteral(ALLMISSING_CARD)));
    QVERIFY(session.exportPlan(utc("2024-08-03T09:00:00Z"), utc("2024-08-03T09:02:00Z")).isEmpty());
}

void TestCardSession::exportPlanRunsAndGaps()
{
    nivra::test::TempDir tmp("session-plan");
    const QString dir = tempPath(tmp) + QStringLiteral("/rec");
    // Recordings 2 s apart, then 10 s apart, then a deleted one.
    const char *scenario = R"({
      "video": {"codec": "h264", "fps": 5, "keyint": 10, "bitrate": 60000},
      "audio": {"format": "none"},
      "spans": [
        {"start": "2024-04-01T12:00:00Z", "seconds": 10},
        {"start": "2024-04-01T12:00:12Z", "seconds": 10},
        {"start": "2024-04-01T12:00:32Z", "seconds": 10},
        {"start": "2024-04-01T12:01:00Z", "seconds": 10}
      ],
      "segments": {"seconds": 10, "slots": 8},
      "damage": {"deleteSegments": [-1]}
    })";
    std::string log;
    QVERIFY2(nivra::test::generateScenarioCard(scenario, dir.toStdString(), &log), log.c_str());

    CardSession session;
    QVERIFY(session.openPath(dir));
    const QVariantMap plan = session.exportPlan(utc("2024-04-01T12:00:00Z"), utc("2024-04-01T12:02:00Z"));
    QVERIFY(plan.value(QStringLiteral("ok")).toBool());
    const QVariantList runs = plan.value(QStringLiteral("runs")).toList();
    QCOMPARE(runs.size(), 2);
    QCOMPARE(ms(runs[0].toMap(), "startMs"), utc("2024-04-01T12:00:00Z"));
    QCOMPARE(ms(runs[0].toMap(), "endMs"), utc("2024-04-01T12:00:21.999Z"));
    QCOMPARE(ms(runs[1].toMap(), "startMs"), utc("2024-04-01T12:00:32Z"));
    const QVariantList gaps = plan.value(QStringLiteral("gaps")).toList();
    QCOMPARE(gaps.size(), 1);
    QCOMPARE(ms(gaps[0].toMap(), "fromMs"), ms(runs[0].toMap(), "endMs"));
    QCOMPARE(ms(gaps[0].toMap(), "toMs"), ms(runs[1].toMap(), "startMs"));
    QCOMPARE(plan.value(QStringLiteral("names")).toList().size(), 2);
    QCOMPARE(plan.value(QStringLiteral("missing")).toBool(), true);
    QCOMPARE(ms(plan, "durationMs"), (ms(runs[0].toMap(), "endMs") - ms(runs[0].toMap(), "startMs")) +
                                         (ms(runs[1].toMap(), "endMs") - ms(runs[1].toMap(), "startMs")));
    QCOMPARE(ms(plan, "startMs"), ms(runs[0].toMap(), "startMs"));
    QCOMPARE(ms(plan, "endMs"), ms(runs[1].toMap(), "endMs"));
}

QTEST_GUILESS_MAIN(TestCardSession)
// The window's event durations and nivra-card's are the one rule: the
// length the card stores, event by event over the demo card's lengths.
void TestCardSession::eventDurationsAreNivraCards()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(DEMO_CARD)));
    QProcess tool;
    tool.start(QStringLiteral(NIVRA_CARD_PATH),
               {QStringLiteral("events"), QStringLiteral(DEMO_CARD), QStringLiteral("--json")});
    QVERIFY(tool.waitForFinished(30000));
    const QJsonArray listed =
        QJsonDocument::fromJson(tool.readAllStandardOutput()).object().value("events").toArray();
    const QVariantList events = session.eventsBetween(0, 4102444800000LL);
    QCOMPARE(events.size(), listed.size());
    QSet<qint64> lengths;
    for (const QJsonValue &value : listed) {
        const QJsonObject e = value.toObject();
        const qint64 startMs = qint64(e.value("first").toDouble()) * 1000;
        const auto it = std::find_if(events.cbegin(), events.cend(), [&](const QVariant &v) {
            return v.toMap().value("startMs").toLongLong() == startMs;
        });
        QVERIFY(it != events.cend());
        const qint64 seconds = qint64(e.value("seconds").toDouble());
        QCOMPARE(it->toMap().value("durationMs").toLongLong(), seconds * 1000);
        QCOMPARE(seconds, qint64(e.value("last").toDouble() - e.value("first").toDouble()));
        lengths.insert(seconds);
    }
    QVERIFY(lengths.size() >= 5);
}

// The interface language (the default locale) names the months; the system
// locale orders the date; script mode's log keeps the system's names.
void TestCardSession::datesNameMonthsInTheInterfaceLanguage()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(DEMO_CARD)));
    const qlonglong may14 = QDateTime(QDate(2024, 5, 14), QTime(9, 0), Qt::UTC).toMSecsSinceEpoch();
    const QLocale before;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    // The test runs in the C locale: "d MMM yyyy".
    QCOMPARE(session.formatDate(may14), QStringLiteral("14 Mai 2024"));
    QVERIFY(session.formatTime(may14, true).startsWith(QLatin1String("14 Mai 2024 ")));
    QVERIFY(session.formatLogTime(may14).startsWith(QLatin1String("14 May 2024 ")));
}

#include "tst_cardsession.moc"
