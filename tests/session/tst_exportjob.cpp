// ExportJob on simulator cards: argument checks, folder failures, real
// exports whose file names must be the plan's names, progress and time-left
// rules, cancelling, closing the card mid-export, and the folder helpers.
#include "session/export_job.h"

#include "manual_clock.h"
#include "session/card_session.h"
#include "session/folder_space.h"
#include "session_test_util.h"
#include "simcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>

using nivra::CardSession;
using nivra::ExportJob;
using sessiontest::ms;
using sessiontest::utc;

namespace {

struct ProgressSample
{
    qint64 sinceStartMs;
    double progress;
    qint64 done;
    qint64 total;
    int eta;
    bool running;
};

// Records every signal of a job, in order, with what the properties said.
class JobRecorder : public QObject
{
public:
    // clock, when given, is the job's: moved on by stepMs before each report is read.
    explicit JobRecorder(ExportJob *job, ManualClock *clock = nullptr, qint64 stepMs = 0) : m_job(job)
    {
        connect(job, &ExportJob::runningChanged, this, [this] { order.append(QStringLiteral("running")); });
        connect(job, &ExportJob::filesChanged, this, [this] { order.append(QStringLiteral("files")); });
        connect(job, &ExportJob::progressChanged, this, [this] {
            order.append(QStringLiteral("progress"));
            progress.append({clockMs(), m_job->progress(), m_job->doneBytes(), m_job->totalBytes(),
                             m_job->etaSec(), m_job->running()});
            if (m_manual)
                m_manual->ms += m_stepMs;
        });
        connect(job, &ExportJob::finished, this, [this](int s, const QString &m, int f) {
            order.append(QStringLiteral("finished"));
            status = s;
            message = m;
            files = f;
            ++finishedCount;
        });
        if (clock)
            m_manual = clock, m_stepMs = stepMs, m_startMs = clock->ms;
        m_steady.start();
    }

    // The time since the recorder was made, on the job's clock.
    qint64 clockMs() const { return m_manual ? m_manual->ms - m_startMs : m_steady.elapsed(); }

    QStringList order;
    QList<ProgressSample> progress;
    int status = -1;
    QString message;
    int files = -1;
    int finishedCount = 0;

private:
    ExportJob *m_job;
    ManualClock *m_manual = nullptr;
    qint64 m_stepMs = 0;
    qint64 m_startMs = 0;
    QElapsedTimer m_steady;
};

QStringList partFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.part")}, QDir::Files);
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names.append(QFileInfo(p).fileName());
    return names;
}

QStringList toStrings(const QVariantList &list)
{
    QStringList out;
    for (const QVariant &v : list)
        out.append(v.toString());
    return out;
}

// Two 20-second recordings a minute apart whose pictures never fall on a
// whole second (10 per second from .050 on).
const char *kOffGridCard = R"({
  "video": {"codec": "h264", "width": 256, "height": 96, "fps": 10, "keyint": 20, "bitrate": 100000},
  "audio": {"format": "aac-adts", "rate": 16000, "channels": 1},
  "spans": [
    {"start": "2024-10-01T08:00:00.050Z", "seconds": 20, "offsetMin": 120},
    {"start": "2024-10-01T08:01:00.050Z", "seconds": 20, "offsetMin": 120}
  ],
  "segments": {"seconds": 30, "slots": 8}
})";

} // namespace

class TestExportJob : public QObject
{
    Q_OBJECT

private slots:
    void refusedArguments();
    void folderCannotBeCreated();
    void namesMatchThePlan_data();
    void namesMatchThePlan();
    void eventsOfADay_data();
    void eventsOfADay();
    void statusesAndMessages();
    void writeFailureNamesThePath();
    void damageIsSaid_data();
    void damageIsSaid();
    void anEventLostToATruncatedFileIsSaid();
    void aFolderOnTheCardIsRefused();
    void cardVanishesDuringExport_data();
    void cardVanishesDuringExport();
    void estimateRules();
    void etaRule_data();
    void etaRule();
    void cancelKeepsFinishedFiles();
    void closingTheCardCancels();
    void destroyingTheCardCancels();
    void folderHelpers();
};

void TestExportJob::refusedArguments()
{
    ExportJob job;
    JobRecorder rec(&job);
    CardSession closed;
    const QString dir = QDir::tempPath();
    QVERIFY(!job.start(nullptr, 0, 1000, false, true, dir, 1000));
    QVERIFY(!job.start(&closed, 0, 1000, false, true, dir, 1000));

    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const qint64 a = utc("2024-03-05T10:00:00Z");
    QVERIFY(!job.start(&session, a + 1000, a, false, true, dir, 1000));
    QVERIFY(!job.start(&session, -1, a, false, true, dir, 1000));
    QVERIFY(rec.order.isEmpty());
    QVERIFY(!job.running());

    // An empty range is accepted (and writes nothing here), and a second
    // start while one runs is refused.
    nivra::test::TempDir out("exportjob-args");
    const QString folder = QString::fromStdString(out.path());
    QVERIFY(job.start(&session, a + 500, a + 500, false, true, folder, 0));
    QVERIFY(job.running());
    QVERIFY(!job.start(&session, a, a + 1000, false, true, folder, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QVERIFY(!job.running());
}

void TestExportJob::folderCannotBeCreated()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    ExportJob job;
    JobRecorder rec(&job);
    const qint64 a = utc("2024-03-05T10:00:00Z");

    QVERIFY(!job.start(&session, a, a + 5000, false, true, QString(), 1000));
    QCOMPARE(rec.order, QStringList{QStringLiteral("finished")});
    QCOMPARE(rec.status, int(ExportJob::Failed));
    QCOMPARE(rec.message, QStringLiteral("Cannot create the folder "));
    QCOMPARE(rec.files, 0);

    // A folder below a plain file cannot be made.
    nivra::test::TempDir tmp("exportjob-mkpath");
    const QString file = QString::fromStdString(tmp.file("plain"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(!job.start(&session, a, a + 5000, false, true, file + QStringLiteral("/sub"), 1000));
    QCOMPARE(rec.finishedCount, 2);
    QCOMPARE(rec.message, QStringLiteral("Cannot create the folder %1/sub").arg(file));
    QVERIFY(!job.running());
}

void TestExportJob::namesMatchThePlan_data()
{
    QTest::addColumn<bool>("offGrid");
    QTest::addColumn<int>("timeMode");
    QTest::addColumn<bool>("merge");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("to");
    const QString cardEnd = QStringLiteral("2024-03-05T10:04:00Z");
    // Ends inside the second recording on a whole second, where a frame
    // lies: the export takes that frame and its file names show it.
    const QString wholeSecond = QStringLiteral("2024-03-05T10:02:10Z");
    // A whole second inside the second recording with no frame on it: the
    // files end with the frame 50 ms before it, in the second before.
    const QString offFrame = QStringLiteral("2024-10-01T08:01:10Z");
    QTest::newRow("camera clock, one file per recording, MOV") << false << 0 << false << 0 << cardEnd;
    QTest::newRow("computer clock, one file per recording, MP4") << false << 1 << false << 1 << cardEnd;
    QTest::newRow("camera clock, merged, MP4") << false << 0 << true << 1 << cardEnd;
    QTest::newRow("computer clock, merged, MOV") << false << 1 << true << 0 << cardEnd;
    QTest::newRow("camera clock, merged, ends on a frame") << false << 0 << true << 0 << wholeSecond;
    QTest::newRow("camera clock, one file per recording, ends on a frame")
        << false << 0 << false << 0 << wholeSecond;
    QTest::newRow("computer clock, one file per recording, ends on a frame")
        << false << 1 << false << 1 << wholeSecond;
    QTest::newRow("camera clock, one file per recording, ends off a frame")
        << true << 0 << false << 0 << offFrame;
    QTest::newRow("camera clock, merged, ends off a frame") << true << 0 << true << 0 << offFrame;
    QTest::newRow("computer clock, merged, ends off a frame") << true << 1 << true << 1 << offFrame;
}

void TestExportJob::namesMatchThePlan()
{
    QFETCH(bool, offGrid);
    QFETCH(int, timeMode);
    QFETCH(bool, merge);
    QFETCH(int, format);
    QFETCH(QString, to);

    nivra::test::TempDir cardDir("exportjob-offgrid");
    QString path = QStringLiteral(SMALL_CARD);
    if (offGrid) {
        path = QString::fromStdString(cardDir.path()) + QStringLiteral("/rec");
        std::string log;
        QVERIFY2(nivra::test::generateScenarioCard(kOffGridCard, path.toStdString(), &log), log.c_str());
    }
    CardSession session;
    QVERIFY(session.openPath(path));
    session.setTimeMode(timeMode);
    // From a minute before the card's start: two recordings a minute apart.
    const qint64 from = utc(offGrid ? "2024-10-01T07:59:00Z" : "2024-03-05T09:59:00Z");
    const qint64 toMs = utc(to.toLatin1().constData());
    const QVariantMap plan = session.exportPlan(from, toMs, format);
    QVERIFY(plan.value(QStringLiteral("ok")).toBool());
    const QStringList planned = merge ? QStringList{plan.value(QStringLiteral("mergedName")).toString()}
                                      : toStrings(plan.value(QStringLiteral("names")).toList());
    QCOMPARE(planned.size(), merge ? 1 : 2);

    nivra::test::TempDir out("exportjob-names");
    const QString folder = QString::fromStdString(out.path()) + QStringLiteral("/new/sub");
    ExportJob job;
    JobRecorder rec(&job);
    QVERIFY(job.start(&session, from, toMs, merge, true, folder, ms(plan, "bytes"), format));
    QCOMPARE(rec.order,
             (QStringList{QStringLiteral("running"), QStringLiteral("progress"), QStringLiteral("files")}));
    QVERIFY(job.running());
    QCOMPARE(job.folder(), folder);
    QCOMPARE(job.totalBytes(), ms(plan, "bytes"));
    QCOMPARE(job.etaSec(), -1);
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 60000);

    QCOMPARE(rec.status, int(ExportJob::Done));
    QCOMPARE(rec.message, QString());
    QCOMPARE(rec.files, planned.size());
    QCOMPARE(fileNames(job.files()), planned);
    for (const QString &path : job.files()) {
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
    }
    QVERIFY(partFiles(folder).isEmpty());
    QVERIFY(!job.running());
    QVERIFY(job.doneBytes() > 0);
    // The finish turns running off, then reports progress, then finished.
    QCOMPARE(
        rec.order.mid(rec.order.size() - 3),
        (QStringList{QStringLiteral("running"), QStringLiteral("progress"), QStringLiteral("finished")}));
    QCOMPARE(rec.order.count(QStringLiteral("files")), 1 + planned.size());
    // The files stay listed after the export.
    QCOMPARE(job.files().size(), planned.size());
}

void TestExportJob::eventsOfADay_data()
{
    // The zones card on 10 March: a sound event at 07:00:24 (4 s) and a
    // person at 07:00:30 (4 s), recorded 07:00:20-07:00:40.
    QTest::addColumn<int>("kinds");
    QTest::addColumn<int>("pad");
    QTest::addColumn<int>("files");
    QTest::newRow("both, unpadded: two files") << 0x1F << 0 << 2;
    QTest::newRow("both, padded into one") << 0x1F << 5 << 1;
    QTest::newRow("only the person") << 0x10 << 10 << 1;
    QTest::newRow("no motion that day") << 0x01 << 5 << 0;
}

void TestExportJob::eventsOfADay()
{
    QFETCH(int, kinds);
    QFETCH(int, pad);
    QFETCH(int, files);
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    const qint64 from = utc("2024-03-10T00:00:00Z");
    const qint64 to = from + 86399999;
    const QVariantMap plan = session.eventExportPlan(from, to, kinds, pad);
    const QStringList planned = toStrings(plan.value(QStringLiteral("names")).toList());
    QCOMPARE(planned.size(), files);

    nivra::test::TempDir out("exportjob-events");
    const QString folder = QString::fromStdString(out.path());
    ExportJob job;
    JobRecorder rec(&job);
    QCOMPARE(job.startEvents(&session, from, to, kinds, pad, true, folder), files > 0);
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 60000);
    QCOMPARE(rec.status, int(files > 0 ? ExportJob::Done : ExportJob::Nothing));
    QCOMPARE(rec.files, files > 0 ? files : 0);
    // The files the plan named, written whole; the progress reached the sum.
    QCOMPARE(fileNames(job.files()), planned);
    QVERIFY(partFiles(folder).isEmpty());
    if (files == 0)
        return;
    // Progress over the whole batch: against the plan's sum, never back.
    QCOMPARE(job.totalBytes(), ms(plan, "bytes"));
    QVERIFY(job.doneBytes() > job.totalBytes() / 2);
    for (int i = 1; i < rec.progress.size(); ++i)
        QVERIFY(rec.progress.at(i).done >= rec.progress.at(i - 1).done);
}

void TestExportJob::statusesAndMessages()
{
    nivra::test::TempDir out("exportjob-status");
    const QString folder = QString::fromStdString(out.path());
    ExportJob job;
    JobRecorder rec(&job);

    // A range in the gap between two recordings: nothing.
    CardSession small;
    QVERIFY(small.openPath(QStringLiteral(SMALL_CARD)));
    QVERIFY(
        job.start(&small, utc("2024-03-05T10:01:10Z"), utc("2024-03-05T10:01:50Z"), false, true, folder, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QCOMPARE(rec.status, int(ExportJob::Nothing));
    QCOMPARE(rec.message, QString());
    QCOMPARE(rec.files, 0);

    // G.711 cannot go into MP4 with its sound...
    CardSession g711;
    QVERIFY(g711.openPath(QStringLiteral(H265_G711_CARD)));
    const qint64 from = utc("2024-06-01T12:00:00Z");
    const qint64 to = utc("2024-06-01T12:00:10Z");
    QVERIFY(job.start(&g711, from, to, false, true, folder, 0, 1));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 2, 30000);
    QCOMPARE(rec.status, int(ExportJob::Failed));
    QCOMPARE(
        rec.message,
        QStringLiteral(
            "MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out."));
    QCOMPARE(rec.files, 0);
    QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());

    // ... but without it, or as MOV, it exports.
    QVERIFY(job.start(&g711, from, to, false, false, folder, 0, 1));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 3, 30000);
    QCOMPARE(rec.status, int(ExportJob::Done));
    QCOMPARE(rec.files, 1);
    QVERIFY(job.files().value(0).endsWith(QStringLiteral(".mp4")));
    QVERIFY(job.start(&g711, from, to, false, true, folder, 0, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 4, 30000);
    QCOMPARE(rec.status, int(ExportJob::Done));
    QCOMPARE(rec.message, QString());
    QVERIFY(job.files().value(0).endsWith(QStringLiteral(".mov")));

    // The same range again into the same folder: a new name, nothing overwritten.
    const QString first = job.files().value(0);
    QVERIFY(job.start(&g711, from, to, false, true, folder, 0, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 5, 30000);
    QCOMPARE(rec.status, int(ExportJob::Done));
    QVERIFY(job.files().value(0) != first);
    QVERIFY(QFileInfo::exists(first));
}

void TestExportJob::writeFailureNamesThePath()
{
    // /proc exists but takes no new files, not even from root.
    const QString folder = QStringLiteral("/proc/self");
    if (!QFileInfo(folder).isDir())
        QSKIP("needs /proc");
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    ExportJob job;
    JobRecorder rec(&job);
    const qint64 a = utc("2024-03-05T10:00:00Z");
    QVERIFY(job.start(&session, a, a + 5000, false, true, folder, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QCOMPARE(rec.status, int(ExportJob::Failed));
    QVERIFY2(rec.message.startsWith(QStringLiteral("Cannot write /proc/self")), qPrintable(rec.message));
    QVERIFY2(rec.message.endsWith(
                 QStringLiteral(". Check that the folder is writable and the disk has enough space.")),
             qPrintable(rec.message));
    QCOMPARE(rec.files, 0);
    QVERIFY(job.files().isEmpty());
}

void TestExportJob::damageIsSaid_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("message");
    // A frame a day ahead is left out; a broken header loses the rest of its
    // 30 s file. Both exports succeed, and say what is missing.
    QTest::newRow("frame a day ahead")
        << R"({"frameTimeAhead": [{"segment": 0, "frame": 50}]})" << 2 << "Damaged frames left out: 1.";
    QTest::newRow("rest of a file")
        << R"({"frameBadChecksum": [{"segment": 0, "frame": 100}]})" << 3
        << QString::fromUtf8("Not written whole (the recordings are damaged or could not be read):\n"
                             "11:00:00 \u2013 11:00:59: 34 s of 1 min written");
}

void TestExportJob::damageIsSaid()
{
    QFETCH(QString, damage);
    QFETCH(int, files);
    QFETCH(QString, message);
    nivra::test::TempDir tmp("exportjob-damage");
    const std::string card = tmp.path() + "/rec";
    std::string log;
    QVERIFY2(nivra::test::generateDamagedPresetCard("small", damage.toStdString(), card, &log), log.c_str());
    CardSession session;
    QVERIFY(session.openPath(QString::fromStdString(card)));
    ExportJob job;
    JobRecorder rec(&job);
    const QString folder = QString::fromStdString(tmp.path()) + QStringLiteral("/out");
    QVERIFY(job.start(&session, utc("2024-03-05T10:00:00Z"), utc("2024-03-05T10:02:59Z"), false, true, folder,
                      0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QCOMPARE(rec.status, int(ExportJob::Done));
    QCOMPARE(rec.files, files);
    QCOMPARE(rec.message, message);
}

// The audit's case: most of the first segment cut away. The events export
// writes what it can read of both events, and names the one it could not
// write whole.
void TestExportJob::anEventLostToATruncatedFileIsSaid()
{
    nivra::test::TempDir tmp("exportjob-cut");
    const QString card = QString::fromStdString(tmp.path()) + QStringLiteral("/rec");
    QVERIFY(sessiontest::copyCard(QStringLiteral(SMALL_CARD), card));
    QVERIFY(QFile::resize(card + QStringLiteral("/seg_000.dat"), 33050));
    CardSession session;
    QVERIFY(session.openPath(card));
    ExportJob job;
    JobRecorder rec(&job);
    const QString folder = QString::fromStdString(tmp.path()) + QStringLiteral("/out");
    QVERIFY(job.startEvents(&session, utc("2024-03-05T10:00:00Z"), utc("2024-03-05T10:02:59Z"), 0x1F, 5, true,
                            folder));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QCOMPARE(rec.status, int(ExportJob::Done));
    QCOMPARE(rec.files, 2);
    QVERIFY2(rec.message.startsWith(QStringLiteral("Not written whole")), qPrintable(rec.message));
    QVERIFY2(rec.message.contains(QString::fromUtf8("11:00:16 \u2013 11:00:41: ")), qPrintable(rec.message));
    QCOMPARE(job.outcomeText(), rec.message);
}

// Into the recording directory, or the folder opened above it: refused
// before anything is made there, in both kinds of export.
void TestExportJob::aFolderOnTheCardIsRefused()
{
    nivra::test::TempDir tmp("exportjob-oncard");
    const QString top = QString::fromStdString(tmp.path()) + QStringLiteral("/sd");
    const QString card = top + QStringLiteral("/DCIM");
    QVERIFY(sessiontest::copyCard(QStringLiteral(SMALL_CARD), card));
    CardSession session;
    QVERIFY(session.openPath(top));
    QVERIFY(!session.holdsFolder(QString::fromStdString(tmp.path()) + QStringLiteral("/elsewhere")));
    for (const QString &folder : {card + QStringLiteral("/clips"), top + QStringLiteral("/clips")}) {
        QVERIFY(session.holdsFolder(folder));
        ExportJob job;
        JobRecorder rec(&job);
        QVERIFY(!job.start(&session, utc("2024-03-05T10:00:00Z"), utc("2024-03-05T10:00:59Z"), true, true,
                           folder, 0));
        QVERIFY(!job.startEvents(&session, utc("2024-03-05T10:00:00Z"), utc("2024-03-05T10:02:59Z"), 0x1F, 5,
                                 true, folder));
        QCOMPARE(rec.finishedCount, 2);
        QCOMPARE(rec.status, int(ExportJob::Failed));
        QCOMPARE(rec.message, ExportJob::folderOnCardText());
        QVERIFY(!QFileInfo::exists(folder));
    }
}

void TestExportJob::cardVanishesDuringExport_data()
{
    QTest::addColumn<QStringList>("remove");
    QTest::addColumn<QString>("message");
    // Without any file the stream cannot even be probed, without a later
    // one the read fails part-way: a failed read either way, not an
    // unknown format.
    QTest::newRow("every segment file")
        << QStringList{QStringLiteral("seg_*.dat")}
        << QStringLiteral("Reading the recordings failed. Is the card still connected?");
    QTest::newRow("a later segment file")
        << QStringList{QStringLiteral("seg_001.dat")}
        << QStringLiteral("Reading the recordings failed. Is the card still connected?");
}

void TestExportJob::cardVanishesDuringExport()
{
    QFETCH(QStringList, remove);
    QFETCH(QString, message);
    nivra::test::TempDir tmp("exportjob-vanish");
    const QString card = QString::fromStdString(tmp.path()) + QStringLiteral("/rec");
    QVERIFY(sessiontest::copyCard(QStringLiteral(SMALL_CARD), card));
    CardSession session;
    QVERIFY(session.openPath(card));
    for (const QString &name : QDir(card).entryList(remove, QDir::Files))
        QVERIFY(QFile::remove(card + QLatin1Char('/') + name));

    const QString folder = QString::fromStdString(tmp.path()) + QStringLiteral("/out");
    ExportJob job;
    JobRecorder rec(&job);
    QVERIFY(
        job.start(&session, utc("2024-03-05T10:00:00Z"), utc("2024-03-05T10:00:59Z"), true, true, folder, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
    QCOMPARE(rec.status, int(ExportJob::Failed));
    QCOMPARE(rec.message, message);
    QCOMPARE(rec.files, 0);
    QVERIFY(partFiles(folder).isEmpty());
}

void TestExportJob::estimateRules()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const qint64 from = utc("2024-03-05T10:00:00Z");
    const qint64 to = utc("2024-03-05T10:00:59Z");
    nivra::test::TempDir out("exportjob-estimate");
    const QString folder = QString::fromStdString(out.path());

    // No estimate: progress stays 0, time left is 0 from the first report.
    for (qint64 estimate : {qint64(-5), qint64(0)}) {
        ExportJob job;
        JobRecorder rec(&job);
        QVERIFY(job.start(&session, from, to, false, true, folder, estimate));
        QCOMPARE(job.totalBytes(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
        QCOMPARE(rec.status, int(ExportJob::Done));
        QVERIFY(rec.progress.size() >= 3);
        QCOMPARE(rec.progress.first().eta, -1); // from start()
        for (int i = 0; i < rec.progress.size(); ++i) {
            QCOMPARE(rec.progress[i].progress, 0.0);
            QCOMPARE(rec.progress[i].total, 0);
            if (i > 0)
                QCOMPARE(rec.progress[i].eta, 0);
        }
        QVERIFY(job.doneBytes() > 0);
    }

    // Too small: progress stops at 1 and the time left at 0.
    {
        ExportJob job;
        JobRecorder rec(&job);
        QVERIFY(job.start(&session, from, to, false, true, folder, 1000));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
        QCOMPARE(job.totalBytes(), 1000);
        QCOMPARE(job.progress(), 1.0);
        QCOMPARE(job.etaSec(), 0);
        for (const ProgressSample &s : rec.progress) {
            QVERIFY(s.progress <= 1.0);
            if (s.done > 1000) {
                QCOMPARE(s.progress, 1.0);
                QCOMPARE(s.eta, 0);
            }
        }
    }

    // A real estimate, on the job's clock moved on 2 s per report: the
    // time left stays unknown for the first 1.5 s, then follows the rule.
    {
        ExportJob job;
        ManualClock clock;
        job.setClock(&clock);
        JobRecorder rec(&job, &clock, 2000);
        const qint64 bytes = ms(session.exportPlan(from, to), "bytes");
        QVERIFY(bytes > 0);
        QVERIFY(job.start(&session, from, to, false, true, folder, bytes));
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 30000);
        int early = 0;
        int late = 0;
        int previous = -1;
        for (const ProgressSample &s : rec.progress) {
            QVERIFY(s.progress >= 0.0 && s.progress <= 1.0);
            if (!s.running)
                continue; // the last report keeps the estimate it had
            const int expected = nivra::exportEtaSeconds(s.done, s.total, s.sinceStartMs, previous);
            QVERIFY2(s.eta == expected, qPrintable(QStringLiteral("eta %1 after %2 ms, not %3")
                                                       .arg(s.eta)
                                                       .arg(s.sinceStartMs)
                                                       .arg(expected)));
            previous = s.eta;
            ++(s.sinceStartMs <= 1500 ? early : late);
        }
        QVERIFY(early > 0);
        QVERIFY(late > 0);
    }
}

void TestExportJob::etaRule_data()
{
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("eta");
    QTest::newRow("first 1.5 s: unchanged") << qint64(100) << qint64(1000) << qint64(1500) << -1 << -1;
    QTest::newRow("after 1.5 s: linear, truncated, plus one")
        << qint64(100) << qint64(1000) << qint64(1501) << -1 << 1 + 13; // 900 × 1501 / 100 = 13509 ms
    QTest::newRow("half done after 4 s") << qint64(500) << qint64(1000) << qint64(4000) << 7 << 5;
    QTest::newRow("nothing read yet") << qint64(0) << qint64(1000) << qint64(5000) << 3 << 3;
    QTest::newRow("reached the total") << qint64(1000) << qint64(1000) << qint64(100) << -1 << 0;
    QTest::newRow("past the total") << qint64(5000) << qint64(1000) << qint64(9000) << 4 << 0;
    QTest::newRow("no total") << qint64(10) << qint64(0) << qint64(9000) << -1 << 0;
    QTest::newRow("huge remainder does not overflow")
        << qint64(1) << std::numeric_limits<qint64>::max() / 2 << qint64(100000) << -1
        << std::numeric_limits<int>::max();
}

void TestExportJob::etaRule()
{
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(qint64, elapsed);
    QFETCH(int, previous);
    QFETCH(int, eta);
    QCOMPARE(nivra::exportEtaSeconds(done, total, elapsed, previous), eta);
}

void TestExportJob::cancelKeepsFinishedFiles()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(LONGTAIL_CARD)));
    nivra::test::TempDir out("exportjob-cancel");
    const QString folder = QString::fromStdString(out.path());
    ExportJob job;
    JobRecorder rec(&job);
    // Cancel as soon as the short first recording is done: the long one is
    // in progress then.
    connect(&job, &ExportJob::filesChanged, &job, [&job] {
        if (!job.files().isEmpty())
            job.cancel();
    });
    QVERIFY(job.start(&session, utc("2024-09-01T10:00:00Z"), utc("2024-09-01T10:20:00Z"), false, true, folder,
                      0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 60000);
    QCOMPARE(rec.status, int(ExportJob::Cancelled));
    QCOMPARE(rec.message, QString());
    QCOMPARE(rec.files, 1);
    QCOMPARE(job.files().size(), 1);
    QVERIFY(QFileInfo(job.files().first()).isFile());
    QVERIFY(partFiles(folder).isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
}

void TestExportJob::closingTheCardCancels()
{
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(LONGTAIL_CARD)));
    nivra::test::TempDir out("exportjob-close");
    const QString folder = QString::fromStdString(out.path());
    ExportJob job;
    JobRecorder rec(&job);
    QStringList partsAfterClose{QStringLiteral("not closed")};
    bool runningAfterClose = false;
    connect(&job, &ExportJob::filesChanged, &job, [&] {
        if (job.files().isEmpty() || !session.isOpen())
            return;
        session.close();
        // close() returned: the worker has stopped and cleaned up.
        partsAfterClose = partFiles(folder);
        runningAfterClose = job.running();
    });
    QVERIFY(job.start(&session, utc("2024-09-01T10:00:00Z"), utc("2024-09-01T10:20:00Z"), false, true, folder,
                      0));
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 60000);
    QCOMPARE(partsAfterClose, QStringList());
    QVERIFY(runningAfterClose); // until the queued finish is handled
    QCOMPARE(rec.status, int(ExportJob::Cancelled));
    QCOMPARE(rec.files, 1);
    QVERIFY(QFileInfo(job.files().value(0)).isFile());
    QVERIFY(!job.running());
}

void TestExportJob::destroyingTheCardCancels()
{
    auto *session = new CardSession;
    QVERIFY(session->openPath(QStringLiteral(LONGTAIL_CARD)));
    nivra::test::TempDir out("exportjob-destroy");
    const QString folder = QString::fromStdString(out.path());
    ExportJob job;
    JobRecorder rec(&job);
    QVERIFY(
        job.start(session, utc("2024-09-01T10:01:00Z"), utc("2024-09-01T10:20:00Z"), false, true, folder, 0));
    delete session; // joins the worker through aboutToClose
    QVERIFY(partFiles(folder).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount, 1, 60000);
    QCOMPARE(rec.status, int(ExportJob::Cancelled));

    // A job destroyed mid-export stops its worker too.
    CardSession again;
    QVERIFY(again.openPath(QStringLiteral(LONGTAIL_CARD)));
    {
        ExportJob shortLived;
        QVERIFY(shortLived.start(&again, utc("2024-09-01T10:01:00Z"), utc("2024-09-01T10:20:00Z"), false,
                                 true, folder, 0));
    }
    QVERIFY(partFiles(folder).isEmpty());
}

void TestExportJob::folderHelpers()
{
    ExportJob job;
    nivra::test::TempDir tmp("exportjob-free");
    const QString existing = QString::fromStdString(tmp.path());
    const qint64 here = QStorageInfo(existing).bytesAvailable();
    const qint64 deep = job.freeBytes(existing + QStringLiteral("/not/there/yet"));
    QVERIFY(deep > 0);
    // Others write to the same disk meanwhile: allow some drift.
    QVERIFY2(qAbs(deep - here) < (qint64(256) << 20),
             qPrintable(QStringLiteral("%1 vs %2").arg(deep).arg(here)));
    QCOMPARE(QDir(existing + QStringLiteral("/not")).exists(), false); // nothing created
    QCOMPARE(job.freeBytes(QString()), -1);

    // The same, as the property the export editor binds to.
    nivra::FolderSpace space;
    QSignalSpy bytes(&space, &nivra::FolderSpace::bytesChanged);
    space.setFolder(existing + QStringLiteral("/not/there/yet"));
    QCOMPARE(bytes.count(), 1);
    QVERIFY(qAbs(space.bytes() - here) < (qint64(256) << 20));
    space.setFolder(QString());
    QCOMPARE(space.bytes(), -1);
    QCOMPARE(bytes.count(), 2);
    space.refresh();
    QCOMPARE(bytes.count(), 2);

    QCOMPARE(job.localPath(QUrl(QStringLiteral("file:///tmp/a%20b/c"))), QStringLiteral("/tmp/a b/c"));
    QCOMPARE(job.folderUrl(QStringLiteral("/tmp/a b")), QUrl(QStringLiteral("file:///tmp/a%20b")));
    QCOMPARE(job.nativePath(QStringLiteral("/tmp/x")), QDir::toNativeSeparators(QStringLiteral("/tmp/x")));
    QVERIFY(job.defaultFolder().endsWith(QStringLiteral("/NIVRA Player")));
    QVERIFY(job.defaultFolder().length() > QStringLiteral("/NIVRA Player").length());
}

QTEST_GUILESS_MAIN(TestExportJob)
#include "tst_exportjob.moc"
