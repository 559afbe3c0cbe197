// The real program under Xvfb, driven by "--autotest" scripts on simulator
// cards: what its AUTOTEST lines say and what its screenshots show.
#include "sound_server.h"
#include "stamp.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// One step's log line: the step itself and its "| name value" fields.
struct Step
{
    QString step;
    QMap<QString, QString> fields;
};

struct Run
{
    int exitCode = -1;
    bool finished = false;
    QStringList lines; // every AUTOTEST line, without the prefix
    QList<Step> steps;

    // The first step line that begins with the given step text.
    Step find(const QString &step) const
    {
        for (const Step &s : steps) {
            if (s.step == step)
                return s;
        }
        return {};
    }
    bool has(const QString &line) const { return lines.contains(line); }
};

Step parseStep(const QString &line)
{
    Step step;
    const QStringList parts = line.split(QStringLiteral(" | "));
    step.step = parts.value(0);
    for (int i = 1; i < parts.size(); ++i) {
        const int space = parts[i].indexOf(QLatin1Char(' '));
        step.fields.insert(parts[i].left(space), space < 0 ? QString() : parts[i].mid(space + 1));
    }
    return step;
}

// "2 Mar 2024 00:00:05" in the camera's time (UTC+2 on the test card) as
// milliseconds since the epoch.
qint64 cameraTimeMs(const QString &text, int offsetMin)
{
    QDateTime t = QLocale::c().toDateTime(text, QStringLiteral("d MMM yyyy HH:mm:ss"));
    t.setTimeSpec(Qt::UTC);
    return t.isValid() ? t.toMSecsSinceEpoch() - qint64(offsetMin) * 60000 : -1;
}

// The video panel: the one area in the light theme's video colour (the
// bars beside a picture that does not fill it reach its edges).
QRect videoArea(const QImage &shot)
{
    const QRgb video = qRgb(0x1e, 0x1e, 0x2f);
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if ((row[x] & 0xffffff) == (video & 0xffffff)) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Fits the card's picture into the area as the video output does, magnified
// by zoom from its top-left corner (script mode's "vzoom F 0 0"), and reads
// the simulator's stamp from it, sampled back to the picture's own size.
bool stampInArea(const QImage &shot, const QRect &area, int pictureWidth, int pictureHeight, double zoom,
                 int64_t *value)
{
    if (area.isEmpty())
        return false;
    const double w = area.width(), h = area.height();
    const double scale = qMin(w / pictureWidth, h / pictureHeight) * zoom;
    const double x0 = area.left() + qMax(0.0, (w - pictureWidth * scale) / 2);
    const double y0 = area.top() + qMax(0.0, (h - pictureHeight * scale) / 2);
    std::vector<uint8_t> luma(size_t(pictureWidth) * pictureHeight);
    for (int y = 0; y < pictureHeight; ++y) {
        for (int x = 0; x < pictureWidth; ++x) {
            const int u = qMin(int(x0 + (x + 0.5) * scale), shot.width() - 1);
            const int v = qMin(int(y0 + (y + 0.5) * scale), shot.height() - 1);
            luma[size_t(y) * pictureWidth + x] = uint8_t(qGray(shot.pixel(u, v)));
        }
    }
    return nivra::test::readStamp(luma.data(), pictureWidth, pictureWidth, pictureHeight, value);
}

bool stampFromShot(const QImage &shot, int pictureWidth, int pictureHeight, int64_t *value)
{
    return stampInArea(shot, videoArea(shot), pictureWidth, pictureHeight, 1.0, value);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private:
    // An empty theme or language leaves the stored one in force.
    Run run(const QString &card, const QString &script, const QString &theme = QStringLiteral("light"),
            const QString &language = QStringLiteral("en"));

    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QMap<QString, QString> m_extraEnv;

private slots:
    void initTestCase();
    void dayAndState_data();
    void dayAndState();
    void pictureMatchesPosition();
    void zoomEnlargesThePicture();
    void eventsOnlyPlaysTheFilteredEvents_data();
    void eventsOnlyPlaysTheFilteredEvents();
    void themeRecolours();
    void closeDuringExportAsksFirst();
    void layoutHasNoFindings();
    void exportEditorLeavesTheVideoRoom();
    void firstStartDecodesWithoutAGraphicsCard();
    void exportWritesPlayableFiles_data();
    void exportWritesPlayableFiles();
    void cancelKeepsFinishedFiles();
    void eventRowsAndEventsExport();
    void settingsPersist();
    void recentCardsSurviveARestart();
    void updateBannerShows();
    void aStoppedSoundServerFreezesNothing();
    void textFromOutsideIsShownPlain();
    void clockChangeDaysAreWhole_data();
    void clockChangeDaysAreWhole();
    void areaSearchAndSkippingTheStillParts();
    void bookmarksInTheWindowAndTheEvidencePackage();
    void aShareCopyWithTheTimeBurnedIn();
};

// The exportinfo line's fields, by name.
QMap<QString, QString> exportInfo(const Run &r)
{
    for (const QString &line : r.lines) {
        if (line.startsWith(QLatin1String("exportinfo ")))
            return parseStep(line.mid(11).prepend(QStringLiteral("- | "))).fields;
    }
    return {};
}

// Whether ffmpeg decodes the whole file without an error, and its duration.
bool decodesCleanly(const QString &file, double *seconds)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=duration"), QStringLiteral("-of"), QStringLiteral("csv=p=0"), file});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return false;
    *seconds = QString::fromUtf8(probe.readAllStandardOutput()).trimmed().toDouble();
    QProcess decode;
    decode.setProcessChannelMode(QProcess::MergedChannels);
    decode.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                  QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    return decode.waitForFinished(60000) && decode.exitCode() == 0 && decode.readAll().trimmed().isEmpty();
}

// The codec of a file's first subtitle stream, empty when it has none.
QString subtitleCodec(const QString &file)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("s"), QStringLiteral("-show_entries"), QStringLiteral("stream=codec_name"),
                 QStringLiteral("-of"), QStringLiteral("csv=p=0"), file});
    probe.waitForFinished(30000);
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed().section(QLatin1Char('\n'), 0, 0);
}

Run tst_MainWindow::run(const QString &card, const QString &script, const QString &theme,
                        const QString &language)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    // The activity index the window builds goes here, never the user's cache.
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_work.filePath(QStringLiteral("cache")));
    env.remove(QStringLiteral("NIVRA_LANG"));
    if (!language.isEmpty())
        env.insert(QStringLiteral("NIVRA_LANG"), language);
    // Dates in the log follow the region; the C locale's are fixed.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    if (theme.isEmpty())
        env.remove(QStringLiteral("NIVRA_THEME"));
    else
        env.insert(QStringLiteral("NIVRA_THEME"), theme);
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));

    for (auto it = m_extraEnv.cbegin(); it != m_extraEnv.cend(); ++it)
        env.insert(it.key(), it.value());
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(NIVRA_PLAYER_PATH), {QStringLiteral("--autotest"), script, card});
    Run result;
    // Waits in an event loop, so that servers of this test keep answering.
    QEventLoop loop;
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    result.finished = process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitCode();
    const QStringList lines = QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("AUTOTEST ")))
            continue;
        const QString text = line.mid(9).trimmed();
        result.lines << text;
        if (text.contains(QLatin1String(" | pos ")))
            result.steps << parseStep(text);
    }
    if (result.lines.isEmpty())
        qWarning().noquote() << lines.join(QLatin1Char('\n'));
    return result;
}

void tst_MainWindow::initTestCase()
{
    QVERIFY(m_config.isValid());
    QVERIFY(m_work.isValid());
}

// Each row: a script, then the expected fields of named step lines and
// lines that must appear.
void tst_MainWindow::dayAndState_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expect"); // "step|field|value" or "=line"

    const QString demo = QStringLiteral(DEMO_CARD);
    const QString midnight = QStringLiteral(MIDNIGHT_CARD);

    // Opening lands on the latest day with recordings, at its first
    // playable moment, not on the oldest recording.
    QTest::newRow("latest day") << demo << "decode sw; wait 1"
                                << QStringList{"=seeked 14 May 2024 09:05:00",    "wait 1|day|2024-5-14",
                                               "wait 1|pos|14 May 2024 09:05:00", "wait 1|chunks|3",
                                               "wait 1|days|[12,13,14]",          "wait 1|error|-"};
    // The second day of a recording through midnight starts at 00:00
    // exactly, not at the key frame before midnight.
    QTest::newRow("through midnight")
        << midnight << "decode sw; day 2024-3-1; wait 0.1; day 2024-3-2"
        << QStringList{"wait 0.1|pos|1 Mar 2024 23:55:01", "day 2024-3-2|day|2024-3-2",
                       "=seeked 2 Mar 2024 00:00:00"};
    // Recording location vs this computer (UTC here): the day follows.
    QTest::newRow("time mode") << midnight
                               << "decode sw; wait 0.5; timemode 1; wait 0.3; timemode 0; wait 0.3"
                               << QStringList{"timemode 1|pos|1 Mar 2024 22:00:00", "wait 0.3|day|2024-3-1",
                                              "timemode 1|days|[1]"};
    // A day whose files are missing: its chunk is there, nothing plays.
    QTest::newRow("missing day") << midnight << "decode sw; wait 0.5; day 2024-2-28"
                                 << QStringList{"day 2024-2-28|chunks|1", "day 2024-2-28|events|1",
                                                "day 2024-2-28|playing|false", "day 2024-2-28|evdays|[28]"};
    QTest::newRow("transport") << demo
                               << "decode sw; speed 16; play 1.5; pause; zoom 3; filter 8; continuous off"
                               << QStringList{"play 1.5|speed|16", "play 1.5|playing|true",
                                              "pause|playing|false", "zoom 3|zoom|3",
                                              "continuous off|error|-"};
    QTest::newRow("event click") << demo
                                 << "decode sw; day 2024-5-12; eventseek 2024-05-12T14:12:40Z; wait 0.1"
                                 << QStringList{"wait 0.1|pos|12 May 2024 16:12:40",
                                                "day 2024-5-12|events|3"};
}

void tst_MainWindow::dayAndState()
{
    QFETCH(QString, card);
    QFETCH(QString, script);
    QFETCH(QStringList, expect);

    const Run r = run(card, script + QStringLiteral("; quit"));
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.has(QStringLiteral("quit")), qPrintable(r.lines.join(QLatin1Char('\n'))));
    for (const QString &e : expect) {
        if (e.startsWith(QLatin1Char('='))) {
            QVERIFY2(r.has(e.mid(1)),
                     qPrintable(e + QStringLiteral(" not in\n") + r.lines.join(QLatin1Char('\n'))));
            continue;
        }
        const QStringList p = e.split(QLatin1Char('|'));
        const Step s = r.find(p[0]);
        QVERIFY2(!s.step.isEmpty(), qPrintable(p[0] + QStringLiteral(" not logged")));
        QCOMPARE(s.fields.value(p[1]), p[2]);
    }
}

// Playing advances the position and the pictures shown, and the picture on
// screen is the one of the position; a step shows the next picture and a
// step back the one before.
void tst_MainWindow::pictureMatchesPosition()
{
    const QString first = m_work.filePath(QStringLiteral("play.png"));
    const QString second = m_work.filePath(QStringLiteral("step.png"));
    const QString third = m_work.filePath(QStringLiteral("back.png"));
    const Run r =
        run(QStringLiteral(MIDNIGHT_CARD),
            QStringLiteral("decode sw; seekexact 2024-03-01T22:01:00Z; play 2; pause; wait 0.5; shot %1; "
                           "step; wait 0.3; shot %2; stepback; stepback; wait 0.5; shot %3; quit")
                .arg(first, second, third));
    QVERIFY(r.finished);
    const Step paused = r.find(QStringLiteral("shot ") + first);
    const Step stepped = r.find(QStringLiteral("shot ") + second);
    QVERIFY(!paused.step.isEmpty() && !stepped.step.isEmpty());
    QVERIFY2(paused.fields.value(QStringLiteral("shown")).toInt() >= 10,
             qPrintable(paused.fields.value("shown")));

    const qint64 position = cameraTimeMs(paused.fields.value(QStringLiteral("pos")), 120);
    QVERIFY(position >=
            QDateTime::fromString(QStringLiteral("2024-03-01T22:01:01Z"), Qt::ISODate).toMSecsSinceEpoch());

    int64_t stampPaused = 0, stampStepped = 0;
    QVERIFY(stampFromShot(QImage(first).convertToFormat(QImage::Format_RGB32), 320, 240, &stampPaused));
    QVERIFY(stampFromShot(QImage(second).convertToFormat(QImage::Format_RGB32), 320, 240, &stampStepped));
    // The log shows whole seconds; the picture lies in that second.
    QVERIFY2(stampPaused >= position && stampPaused < position + 1000,
             qPrintable(QStringLiteral("stamp %1, position %2").arg(stampPaused).arg(position)));
    QCOMPARE(stampStepped - stampPaused, int64_t(100));
    // Two steps back from there: the picture before the paused one.
    int64_t stampBack = 0;
    QVERIFY(stampFromShot(QImage(third).convertToFormat(QImage::Format_RGB32), 320, 240, &stampBack));
    QCOMPARE(stampBack, stampPaused - 100);
}

// Zoomed, the picture shows its stamp enlarged; the snapshot is still the
// whole picture; the log says the factor only while zoomed.
void tst_MainWindow::zoomEnlargesThePicture()
{
    const QString plain = m_work.filePath(QStringLiteral("zoom1.png"));
    const QString zoomed = m_work.filePath(QStringLiteral("zoom2.png"));
    const QString snaps = m_work.filePath(QStringLiteral("zoomsnaps"));
    const Run r =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral("decode sw; seekexact 2024-05-14T07:05:10Z; shot %1; vzoom 2 0 0; shot %2; "
                           "snapshot %3; vzoom 1; quit")
                .arg(plain, zoomed, snaps));
    QVERIFY(r.finished);
    QCOMPARE(r.find(QStringLiteral("vzoom 2 0 0")).fields.value(QStringLiteral("vzoom")),
             QStringLiteral("2.0"));
    QVERIFY(!r.find(QStringLiteral("vzoom 1")).fields.contains(QStringLiteral("vzoom")));
    QVERIFY(!r.find(QStringLiteral("shot ") + plain).fields.contains(QStringLiteral("vzoom")));

    const QImage plainShot = QImage(plain).convertToFormat(QImage::Format_RGB32);
    const QRect area = videoArea(plainShot);
    int64_t before = 0, after = 0;
    QVERIFY(stampInArea(plainShot, area, 640, 360, 1.0, &before));
    QVERIFY(stampInArea(QImage(zoomed).convertToFormat(QImage::Format_RGB32), area, 640, 360, 2.0, &after));
    QCOMPARE(after, before);
    // Read at the unzoomed scale, the enlarged picture carries no stamp.
    int64_t unscaled = 0;
    QVERIFY(
        !stampInArea(QImage(zoomed).convertToFormat(QImage::Format_RGB32), area, 640, 360, 1.0, &unscaled));

    const QStringList saved = QDir(snaps).entryList({QStringLiteral("*.png")}, QDir::Files);
    QCOMPARE(saved.size(), 1);
    QImage snap = QImage(QDir(snaps).filePath(saved.first())).convertToFormat(QImage::Format_Grayscale8);
    QCOMPARE(snap.size(), QSize(640, 360));
    int64_t whole = 0;
    QVERIFY(nivra::test::readStamp(snap.constBits(), int(snap.bytesPerLine()), snap.width(), snap.height(),
                                   &whole));
    QCOMPARE(whole, before);
}

// Events only on the demo card (camera time, UTC+2): every event of the
// filter's types in order, each seeked to except the one playing when it
// is turned on, then a pause at the end of the last. 12 May: 09:02:00 PIR;
// 13 May: 10:20:00 sound, 10:33:30 sound and crying, 21:51:00 person (40 s);
// 14 May: 09:05:40 motion, 09:20:30 motion and PIR (28 s, to the end of its
// recording), 11:10:00 person.
void tst_MainWindow::eventsOnlyPlaysTheFilteredEvents_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("events"); // each one played, in order
    QTest::addColumn<QStringList>("seeks");  // where playback was sent
    QTest::addColumn<QString>("lastEnd");    // the last event's end

    const QString demo = QStringLiteral(DEMO_CARD);
    QTest::newRow("1x, motion, from inside the first")
        << demo << "filter 1; seekexact 2024-05-14T07:06:05Z; eventsonly on; play; waitpaused"
        << QStringList{"14 May 2024 09:05:40", "14 May 2024 09:20:30"} << QStringList{"14 May 2024 09:20:30"}
        << "14 May 2024 09:20:58";
    // Without continuous play the day's last event ends it.
    QTest::newRow("16x, every type, one day")
        << demo << "speed 16; continuous off; day 2024-5-13; eventsonly on; play; waitpaused; continuous on"
        << QStringList{"13 May 2024 10:20:00", "13 May 2024 10:33:30", "13 May 2024 21:51:00"}
        << QStringList{"13 May 2024 10:20:00", "13 May 2024 10:33:30", "13 May 2024 21:51:00"}
        << "13 May 2024 21:51:40";
    QTest::newRow("8x, PIR, two days on")
        << demo << "speed 8; day 2024-5-12; filter 8; eventsonly on; play; waitpaused"
        << QStringList{"12 May 2024 09:02:00", "14 May 2024 09:20:30"}
        << QStringList{"12 May 2024 09:02:00", "14 May 2024 09:20:30"} << "14 May 2024 09:20:58";
    // Pictures 8 s apart pass over the second and third events (12:00:18
    // and 12:00:22, two seconds each) in one step: each is still played.
    const QStringList shortEvents{"2 Apr 2024 12:00:10", "2 Apr 2024 12:00:18", "2 Apr 2024 12:00:22",
                                  "2 Apr 2024 12:00:40"};
    QTest::newRow("16x, short events closer than the pictures")
        << QStringLiteral(SHORTEVENTS_CARD) << "speed 16; eventsonly on; play; waitpaused" << shortEvents
        << shortEvents << "2 Apr 2024 12:00:42";
}

void tst_MainWindow::eventsOnlyPlaysTheFilteredEvents()
{
    QFETCH(QString, card);
    QFETCH(QString, script);
    QFETCH(QStringList, events);
    QFETCH(QStringList, seeks);
    QFETCH(QString, lastEnd);

    const Run r = run(card, QStringLiteral("decode sw; %1; eventsonly off; quit").arg(script));
    QVERIFY(r.finished);
    const QString log = r.lines.join(QLatin1Char('\n'));
    const int on = r.lines.indexOf(QRegularExpression(QStringLiteral("eventsonly on \\| pos .*")));
    QVERIFY2(on >= 0, qPrintable(log));
    // The step line gains its last field only while events only is on.
    QVERIFY2(r.lines[on].endsWith(QLatin1String(" | error - | eventsonly on")), qPrintable(r.lines[on]));
    const Step paused = r.find(QStringLiteral("waitpaused"));
    QVERIFY(paused.step.size() > 0);
    QCOMPARE(paused.fields.value(QStringLiteral("playing")), QStringLiteral("false"));
    // Past the last event it turned itself off: the next play plays on.
    QVERIFY2(!paused.fields.contains(QStringLiteral("eventsonly")), qPrintable(paused.step));
    // ... and the line is as it always was while off.
    for (const char *step : {"decode sw", "eventsonly off"}) {
        const QRegularExpression plain(
            QStringLiteral("^%1 \\| pos .* \\| error -$").arg(QLatin1String(step)));
        QVERIFY2(r.lines.indexOf(plain) >= 0, step);
    }

    QStringList played, sought, ends;
    for (int i = 0; i < r.lines.size(); ++i) {
        const QString &line = r.lines[i];
        if (line.startsWith(QLatin1String("eventsonly event ")))
            played << line.mid(17);
        else if (line.startsWith(QLatin1String("eventsonly end ")))
            ends << line.mid(15);
        else if (i > on && line.startsWith(QLatin1String("seeked ")))
            sought << line.mid(7);
    }
    QCOMPARE(played, events);
    QCOMPARE(sought, seeks);
    // Paused once, just past the last event's end: at 16x the pictures
    // shown lie 8 s apart.
    QCOMPARE(ends.size(), 1);
    const qint64 end = cameraTimeMs(lastEnd, 120);
    const qint64 at = cameraTimeMs(ends.first(), 120);
    QVERIFY2(at >= end && at <= end + 8000, qPrintable(ends.first()));
    QCOMPARE(cameraTimeMs(paused.fields.value(QStringLiteral("pos")), 120), at);
}

// The toolbar, panels and background take each theme's colours.
void tst_MainWindow::themeRecolours()
{
    const QString light = m_work.filePath(QStringLiteral("light.png"));
    const QString dark = m_work.filePath(QStringLiteral("dark.png"));
    const Run r = run(QStringLiteral(DEMO_CARD),
                      QStringLiteral("theme light; shot %1; theme dark; shot %2; quit").arg(light, dark));
    QVERIFY(r.finished);
    QCOMPARE(r.find(QStringLiteral("shot ") + light).fields.value(QStringLiteral("theme")),
             QStringLiteral("light"));
    QCOMPARE(r.find(QStringLiteral("shot ") + dark).fields.value(QStringLiteral("theme")),
             QStringLiteral("dark"));

    struct Sample
    {
        const char *where;
        QPoint at;
        QRgb light, dark;
    };
    // At the default 1440 x 920: the toolbar above its items, the margin
    // left of the side column, the side column below its events, the
    // transport bar's left end.
    const Sample samples[] = {
        {"toolbar", QPoint(720, 4), qRgb(0xff, 0xff, 0xff), qRgb(0x22, 0x22, 0x2f)},
        {"background", QPoint(8, 400), qRgb(0xf6, 0xf6, 0xf5), qRgb(0x17, 0x17, 0x1f)},
        {"side column", QPoint(60, 780), qRgb(0xff, 0xff, 0xff), qRgb(0x22, 0x22, 0x2f)},
        {"transport bar", QPoint(372, 605), qRgb(0xff, 0xff, 0xff), qRgb(0x22, 0x22, 0x2f)},
    };
    const QImage lightShot(light), darkShot(dark);
    QCOMPARE(lightShot.size(), QSize(1440, 920));
    for (const Sample &s : samples) {
        QCOMPARE(QColor(lightShot.pixel(s.at)).name(), QColor(s.light).name());
        QCOMPARE(QColor(darkShot.pixel(s.at)).name(), QColor(s.dark).name());
    }
}

// Closing while an export runs asks first; confirming cancels the export
// and quits once the job has finished, keeping no partial file.
void tst_MainWindow::closeDuringExportAsksFirst()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const Run r =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral(
                "decode sw; day 2024-5-12; exportdlg; select 2024-05-12T00:00:00Z 2024-05-12T23:59:59Z; "
                "exportdir %1; exportmode merge; exportgo close; closeconfirm; wait 30")
                .arg(out.path()));
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    const Step close = r.find(QStringLiteral("exportgo close"));
    QVERIFY2(close.fields.value(QStringLiteral("export")).startsWith(QLatin1String("running")),
             qPrintable(r.lines.join(QLatin1Char('\n'))));
    QVERIFY(!r.find(QStringLiteral("closeconfirm")).step.isEmpty());
    // Quit came from the finished export, not from the end of the script.
    QVERIFY(!r.has(QStringLiteral("done")));
    QVERIFY(QDir(out.path()).entryList({QStringLiteral("*.part")}, QDir::Files).isEmpty());
}

// The main window at both sizes, on the demo card's latest day and on a day
// whose files are missing (its event rows say so on a line of their own).
void tst_MainWindow::layoutHasNoFindings()
{
    for (const QString &card : {QStringLiteral(DEMO_CARD), QStringLiteral(MIDNIGHT_CARD)}) {
        const QString day =
            card == QLatin1String(MIDNIGHT_CARD) ? QStringLiteral("day 2024-2-28; ") : QString();
        const Run r =
            run(card, QStringLiteral("decode sw; %1size 1100 700; layoutcheck small; size 1440 920; "
                                     "layoutcheck default; quit")
                          .arg(day));
        QVERIFY(r.finished);
        const QStringList findings = r.lines.filter(QRegularExpression(QStringLiteral("^layout ")));
        QVERIFY2(r.has(QStringLiteral("layout small findings 0")),
                 qPrintable(findings.join(QLatin1Char('\n'))));
        QVERIFY2(r.has(QStringLiteral("layout default findings 0")),
                 qPrintable(findings.join(QLatin1Char('\n'))));
    }
}

// At the smallest size the export editor, with fewer or more options, leaves
// the video at least 240 px; the editor scrolls instead.
void tst_MainWindow::exportEditorLeavesTheVideoRoom()
{
    const Run r =
        run(QStringLiteral(DEMO_CARD), QStringLiteral("decode sw; size 1100 700; exportdlg; exportinfo; "
                                                      "exportmore on; exportinfo; quit"));
    QVERIFY(r.finished);
    const QStringList infos = r.lines.filter(QRegularExpression(QStringLiteral("^exportinfo open ")));
    QCOMPARE(infos.size(), 2);
    for (const QString &line : infos) {
        const QMap<QString, QString> info = parseStep(line.mid(11).prepend(QStringLiteral("- | "))).fields;
        QCOMPARE(info.value(QStringLiteral("open")), QStringLiteral("true"));
        QVERIFY2(info.value(QStringLiteral("video")).toInt() >= 240, qPrintable(line));
    }
    // Without more options, a row of fields and the export button show
    // whole without scrolling.
    QVERIFY2(infos[0].endsWith(QLatin1String("| whole true")), qPrintable(infos[0]));
}

// A first start (nothing stored) on a machine without a hardware decoder:
// the card plays, decoded in software after the graphics card declines.
void tst_MainWindow::firstStartDecodesWithoutAGraphicsCard()
{
    QTemporaryDir fresh;
    QVERIFY(fresh.isValid());
    m_extraEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), fresh.path());
    const Run r = run(QStringLiteral(DEMO_CARD), QStringLiteral("wait 1; play 1.5; decoder; quit"));
    m_extraEnv.clear();
    QVERIFY(r.finished);
    const QStringList decoder = r.lines.filter(QRegularExpression(QStringLiteral("^decoder .*\\| policy ")));
    QCOMPARE(decoder.size(), 1);
    QVERIFY2(decoder.first().contains(QLatin1String("| policy 0 |")), qPrintable(decoder.first()));
    QVERIFY2(decoder.first().endsWith(QLatin1String("| error -")), qPrintable(decoder.first()));
    const Step played = r.find(QStringLiteral("decoder")); // 1.5 s into playing
    QCOMPARE(played.fields.value(QStringLiteral("error")), QStringLiteral("-"));
    QVERIFY2(played.fields.value(QStringLiteral("shown")).toInt() > 5,
             qPrintable(played.fields.value("shown")));
}

// A range over two recordings of the demo card's first day (07:05-07:10
// and 14:00-14:02 UTC), in separate files or merged, as MOV or MP4.
void tst_MainWindow::exportWritesPlayableFiles_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("files");
    QTest::addColumn<double>("seconds"); // recorded, over all files
    QTest::addColumn<bool>("timeTrack"); // the camera time as subtitles

    QTest::newRow("separate mov") << "separate"
                                  << "mov" << 2 << 420.0 << true;
    QTest::newRow("merged mp4") << "merge"
                                << "mp4" << 1 << 420.0 << true;
    QTest::newRow("merged mov") << "merge"
                                << "mov" << 1 << 420.0 << false;
    QTest::newRow("separate mp4") << "separate"
                                  << "mp4" << 2 << 420.0 << false;
}

void tst_MainWindow::exportWritesPlayableFiles()
{
    QFETCH(QString, mode);
    QFETCH(QString, format);
    QFETCH(int, files);
    QFETCH(double, seconds);
    QFETCH(bool, timeTrack);

    QTemporaryDir out;
    QVERIFY(out.isValid());
    const Run r =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral("decode sw; day 2024-5-12; exportdlg; select 2024-05-12T07:05:00Z "
                           "2024-05-12T14:02:00Z; exportdir %1; exportmode %2; exportformat %3; "
                           "exporttimetrack %4; exportinfo; exportgo; waitexport; quit")
                .arg(out.path(), mode, format, timeTrack ? QStringLiteral("on") : QStringLiteral("off")));
    QVERIFY(r.finished);
    const QMap<QString, QString> info = exportInfo(r);
    QCOMPARE(info.value(QStringLiteral("format")), format);
    QCOMPARE(info.value(QStringLiteral("canExport")), QStringLiteral("true"));
    const QJsonArray names = QJsonDocument::fromJson(info.value(QStringLiteral("names")).toUtf8()).array();
    QCOMPARE(names.size(), files);

    const Step done = r.find(QStringLiteral("waitexport"));
    QCOMPARE(done.fields.value(QStringLiteral("export")),
             QStringLiteral("idle %1 %2")
                 .arg(files)
                 .arg(files == 1 ? QStringLiteral("1 file exported")
                                 : QStringLiteral("%1 files exported").arg(files)));
    double total = 0;
    for (const QJsonValue &name : names) {
        const QString file = QDir(out.path()).filePath(name.toString());
        QVERIFY2(QFile::exists(file), qPrintable(file));
        QVERIFY(file.endsWith(QLatin1Char('.') + format));
        double duration = 0;
        QVERIFY2(decodesCleanly(file, &duration), qPrintable(file));
        total += duration;
        QCOMPARE(subtitleCodec(file), timeTrack ? QStringLiteral("mov_text") : QString());
    }
    // Merged files skip the gap; each file starts at a key frame.
    QVERIFY2(qAbs(total - seconds) < 3, qPrintable(QString::number(total)));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), files);
}

// Cancelling keeps the files already finished, whole, and leaves no partial
// file, however far the export got.
void tst_MainWindow::cancelKeepsFinishedFiles()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const Run r =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral(
                "decode sw; day 2024-5-14; exportdlg; select 2024-05-14T00:00:00Z 2024-05-14T21:59:59Z; "
                "exportdir %1; exportmode separate; exportgo; exportcancel; waitexport; exportinfo; quit")
                .arg(out.path()));
    QVERIFY(r.finished);
    const QMap<QString, QString> info = exportInfo(r);
    const QStringList written = QDir(out.path()).entryList(QDir::Files);
    QVERIFY(QDir(out.path()).entryList({QStringLiteral("*.part")}, QDir::Files).isEmpty());
    const QString result = info.value(QStringLiteral("result"));
    if (result.startsWith(QLatin1String("1 "))) {
        const QString expected =
            written.isEmpty() ? QStringLiteral("1 Export cancelled")
            : written.size() == 1
                ? QStringLiteral("1 Export cancelled. The 1 finished file was kept.")
                : QStringLiteral("1 Export cancelled. The %1 finished files were kept.").arg(written.size());
        QCOMPARE(result, expected);
    } else {
        // It finished before the cancel arrived: all three recordings.
        QCOMPARE(result, QStringLiteral("0 3 files exported"));
    }
    for (const QString &name : written) {
        double duration = 0;
        QVERIFY2(decodesCleanly(QDir(out.path()).filePath(name), &duration), qPrintable(name));
    }
}

// The event rows of a day show their pictures, and "Events of this day"
// writes one playable file per event of the list's types, padded.
void tst_MainWindow::eventRowsAndEventsExport()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    // 13 May: sound at 08:20:00 (20 s), sound and crying at 08:33:30 (75 s),
    // a person at 19:51:00 (40 s); the filter keeps the sound ones.
    const Run r =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral("decode sw; day 2024-5-13; eventthumbs; filter 2; exportdlg; "
                           "exportdir %1; exportformat mov; exportevents 5; waitexport; exportinfo; quit")
                .arg(out.path()));
    QVERIFY(r.finished);
    QVERIFY2(r.has(QStringLiteral("eventthumbs 3 3")), qPrintable(r.lines.join(QLatin1Char('\n'))));
    const QMap<QString, QString> info = exportInfo(r);
    QCOMPARE(info.value(QStringLiteral("result")), QStringLiteral("0 2 files exported"));
    const QStringList written = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(written, (QStringList{QStringLiteral("NIVRA_20240513_101954-102025.mov"),
                                   QStringLiteral("NIVRA_20240513_103324-103451.mov")}));
    for (const QString &name : written) {
        double seconds = 0;
        QVERIFY2(decodesCleanly(QDir(out.path()).filePath(name), &seconds), qPrintable(name));
        QVERIFY(seconds > 20);
    }
}

// Language, theme, time mode and decode policy set while the settings
// dialog is open show in the log at once and again after a restart.
void tst_MainWindow::settingsPersist()
{
    const Run first =
        run(QStringLiteral(DEMO_CARD),
            QStringLiteral("settings; lang de; theme dark; timemode 1; decode sw; settingsclose; quit"),
            QString(), QString());
    QVERIFY(first.finished);
    const Step changed = first.find(QStringLiteral("settingsclose"));
    QCOMPARE(changed.fields.value(QStringLiteral("lang")), QStringLiteral("de"));
    QCOMPARE(changed.fields.value(QStringLiteral("theme")), QStringLiteral("dark"));

    // The theme variable of the first run would hide the stored theme.
    const Run second =
        run(QStringLiteral(DEMO_CARD), QStringLiteral("wait 0.5; decoder; quit"), QString(), QString());
    QVERIFY(second.finished);
    const Step after = second.find(QStringLiteral("wait 0.5"));
    QCOMPARE(after.fields.value(QStringLiteral("lang")), QStringLiteral("de"));
    QCOMPARE(after.fields.value(QStringLiteral("theme")), QStringLiteral("dark"));
    // This computer's time (UTC here) instead of the camera's UTC+2.
    QCOMPARE(after.fields.value(QStringLiteral("pos")), QStringLiteral("14 May 2024 07:05:00"));
    QVERIFY2(second.lines.filter(QRegularExpression(QStringLiteral("^decoder .*\\| policy 2 \\|"))).size() ==
                 1,
             qPrintable(second.lines.join(QLatin1Char('\n'))));

    // Back to the defaults for the other tests.
    QVERIFY(
        run(QStringLiteral(DEMO_CARD), QStringLiteral("lang en; theme ; timemode 0; decode; quit")).finished);
}

// The cards opened last are kept, newest first, across a restart that opens
// nothing by itself; one gone since is listed as missing, and the menu
// holding it fits. "open" shows the card's latest day, as the folder
// chooser does, whatever day was shown before.
void tst_MainWindow::recentCardsSurviveARestart()
{
    QTemporaryDir config, cards;
    QVERIFY(config.isValid() && cards.isValid());
    const QString first = cards.filePath(QStringLiteral("first"));
    const QString second = cards.filePath(QStringLiteral("second"));
    QVERIFY(QFile::link(QStringLiteral(MIDNIGHT_CARD), first));
    QVERIFY(QFile::link(QStringLiteral(MIDNIGHT_CARD), second));
    m_extraEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const Run opened =
        run(first, QStringLiteral("decode sw; day 2024-2-28; open %1; recent; quit").arg(second));
    QVERIFY(QFile::remove(second));
    const Run restarted = run(QString(), QStringLiteral("recent; menu openButton; layoutcheck recent; quit"));
    m_extraEnv.clear();
    QVERIFY(opened.finished && restarted.finished);

    QVERIFY2(opened.has(QStringLiteral("recent 2 %1|%2").arg(second, first)),
             qPrintable(opened.lines.join(QLatin1Char('\n'))));
    QCOMPARE(opened.find(QStringLiteral("recent")).fields.value(QStringLiteral("day")),
             QStringLiteral("2024-3-2"));
    QVERIFY2(restarted.has(QStringLiteral("recent 2 %1 (missing)|%2").arg(second, first)),
             qPrintable(restarted.lines.join(QLatin1Char('\n'))));
    const Step idle = restarted.find(QStringLiteral("recent"));
    QCOMPARE(idle.fields.value(QStringLiteral("day")), QStringLiteral("0-0-0"));
    QCOMPARE(idle.fields.value(QStringLiteral("chunks")), QStringLiteral("0"));
    QVERIFY2(restarted.has(QStringLiteral("layout recent findings 0")),
             qPrintable(restarted.lines.filter(QStringLiteral("layout ")).join(QLatin1Char('\n'))));
}

// A newer version published on a real HTTP server on this machine: the
// check finds it and the banner shows above the toolbar.
void tst_MainWindow::updateBannerShows()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, &server, [&server] {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;
            const QByteArray body = R"({"latest": "0.9.0", "page": "http://127.0.0.1/download",
                                        "notes": {"en": "Faster export\nSecond line"}})";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    });
    m_extraEnv.insert(QStringLiteral("NIVRA_UPDATE_URL"),
                      QStringLiteral("http://127.0.0.1:%1/update.json").arg(server.serverPort()));
    const QString shot = m_work.filePath(QStringLiteral("update.png"));
    const Run r = run(QStringLiteral(DEMO_CARD),
                      QStringLiteral("updatecheck now; waitupdate; shot %1; quit").arg(shot));
    m_extraEnv.clear();
    QVERIFY(r.finished);
    QVERIFY2(r.find(QStringLiteral("waitupdate"))
                 .fields.value(QStringLiteral("update"))
                 .startsWith(QLatin1String("available 0.9.0")),
             qPrintable(r.lines.join(QLatin1Char('\n'))));
    const QImage image(shot);
    QCOMPARE(image.pixelColor(1000, 2).name(), QStringLiteral("#fef3c7"));
    // The toolbar moved down by the banner's 36 pixels.
    QCOMPARE(image.pixelColor(1000, 38).name(), QStringLiteral("#ffffff"));
}

// The sound server stops answering while the window plays, and stays
// stopped: each seek lands and plays on, "Sound output is not available"
// shows once however often the sound is tried, and the script ends on time.
void tst_MainWindow::aStoppedSoundServerFreezesNothing()
{
    const pid_t server = nivra::test::testSoundServer();
    if (server <= 0)
        QSKIP("needs a sound server of its own (run through nivra-with-sound)");
    std::unique_ptr<nivra::test::StoppedSoundServer> stopped;
    // While the first play runs (the window is up within about 2 s).
    QTimer::singleShot(4000, this,
                       [&] { stopped = std::make_unique<nivra::test::StoppedSoundServer>(server); });
    const Run r =
        run(QStringLiteral(DEMO_CARD), "decode sw; wait 1; play 5; seekexact 2024-05-14T07:06:00Z; wait 2; "
                                       "seekexact 2024-05-14T07:20:10Z; wait 2; pause; play 1; pause; quit");
    QVERIFY(stopped && stopped->stopped());
    stopped.reset();
    QVERIFY(r.finished);
    QCOMPARE(r.lines.filter(QStringLiteral("toast Sound output is not available")).size(), 1);
    QVERIFY(r.has(QStringLiteral("seeked 14 May 2024 09:06:00")));
    QVERIFY(r.has(QStringLiteral("seeked 14 May 2024 09:20:10")));
    // Two seconds after each seek (what the next step's line shows) the
    // pictures have moved on.
    const QString afterFirst = r.find(QStringLiteral("seekexact 2024-05-14T07:20:10Z")).fields.value("pos");
    const QString afterSecond = r.find(QStringLiteral("pause")).fields.value("pos");
    QVERIFY2(cameraTimeMs(afterFirst, 0) >= cameraTimeMs(QStringLiteral("14 May 2024 09:06:01"), 0),
             qPrintable(afterFirst));
    QVERIFY2(cameraTimeMs(afterSecond, 0) >= cameraTimeMs(QStringLiteral("14 May 2024 09:20:11"), 0),
             qPrintable(afterSecond));
}

// Markup from the update server (its reason phrase, "latest", "notes") and
// in a card folder's name is shown as the text it is: no picture fetched, no
// bold word, no link.
void tst_MainWindow::textFromOutsideIsShownPlain()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QByteArray tracker = "http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/track.png";
    QByteArray reply;
    int trackerRequests = 0;
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
            const QByteArray request = socket->readAll();
            if (request.startsWith("GET /track.png"))
                ++trackerRequests;
            socket->write(reply);
            socket->disconnectFromHost();
        });
    });
    const QString card = m_work.filePath(QStringLiteral("<b>card</b"));
    QVERIFY(QDir().mkpath(card));
    QVERIFY(QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-a"), QStringLiteral(DEMO_CARD), card + "/rec"}) == 0);
    m_extraEnv.insert(QStringLiteral("NIVRA_UPDATE_URL"),
                      QStringLiteral("http://127.0.0.1:%1/update.json").arg(server.serverPort()));
    // A "latest" with markup is no version number and is refused as such.
    const QByteArray body = R"({"latest": "9.9.9", "page": "http://127.0.0.1/x",
                                "notes": {"en": "<a href='http://127.0.0.1/x'>link</a><img src=')" +
                            tracker + R"('>"}})";
    const QByteArray replies[] = {
        "HTTP/1.1 500 Bad <img src=\"" + tracker +
            "\"> <b>BOLD</b> <a href=http://127.0.0.1/>x</a>\r\n"
            "Content-Length: 0\r\nConnection: close\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
            QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body,
    };
    for (const QByteArray &r : replies) {
        reply = r;
        const Run run_ = run(
            card, QStringLiteral("wait 1; settings; updatecheck now; waitupdate; wait 1; markupcheck; quit"));
        QVERIFY(run_.finished);
        QStringList checks = run_.lines.filter(QRegularExpression(QStringLiteral("^markupcheck \\d+ \\d+$")));
        QCOMPARE(checks.size(), 1);
        const QStringList counts = checks[0].split(QLatin1Char(' '));
        QCOMPARE(counts.value(1), QStringLiteral("0"));
        // The folder's name and the server's text, each shown raw.
        QVERIFY2(counts.value(2).toInt() >= 2,
                 qPrintable(run_.lines.filter(QStringLiteral("markup")).join(QLatin1Char('\n'))));
    }
    m_extraEnv.clear();
    QCOMPARE(trackerRequests, 0);
}

// nivra-card's JSON answer to arguments.
QJsonObject cardJson(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(NIVRA_CARD_PATH), arguments + QStringList{QStringLiteral("--json")});
    tool.waitForFinished(30000);
    return QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
}

void tst_MainWindow::clockChangeDaysAreWhole_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("start"); // UTC of the day's midnight and the next
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("hours");
    QTest::addColumn<QString>("secondLast"); // the day's last two events, UTC
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("lastLocal");
    // Clocks back: 02:00-03:00 twice, and a recording in the 25th hour.
    QTest::newRow("25 hours") << "2024-10-27"
                              << "2024-10-26T22:00:00Z"
                              << "2024-10-27T23:00:00Z" << 25 << "2024-10-27T01:35:00Z"
                              << "2024-10-27T22:35:00Z"
                              << "27 Oct 2024 23:35:00";
    // Clocks forward: no 02:00-03:00, and the next day's first hour stays off.
    QTest::newRow("23 hours") << "2024-03-31"
                              << "2024-03-30T23:00:00Z"
                              << "2024-03-31T22:00:00Z" << 23 << "2024-03-31T01:35:00Z"
                              << "2024-03-31T21:35:00Z"
                              << "31 Mar 2024 23:35:00";
}

// A day runs from its midnight to the next: the window's day, events,
// timeline, export editor, events export and events only all hold the
// hours nivra-card finds between those midnights.
void tst_MainWindow::clockChangeDaysAreWhole()
{
    QFETCH(QString, date);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, hours);
    QFETCH(QString, secondLast);
    QFETCH(QString, last);
    QFETCH(QString, lastLocal);
    const QString card = QStringLiteral(CLOCKCHANGE_CARD);
    const qint64 from = QDateTime::fromString(start, Qt::ISODate).toSecsSinceEpoch();
    const qint64 to = QDateTime::fromString(end, Qt::ISODate).toSecsSinceEpoch() - 1;
    const QStringList span{QStringLiteral("--from"), QString::number(from), QStringLiteral("--to"),
                           QString::number(to)};
    const int events =
        cardJson(QStringList{QStringLiteral("events"), card} + span).value("events").toArray().size();
    const int ranges =
        cardJson(QStringList{QStringLiteral("ranges"), card} + span).value("ranges").toArray().size();
    QVERIFY(events >= 3);
    const QString out = m_work.filePath(QStringLiteral("clockchange-") + date);
    const Run r =
        run(card, QStringLiteral("day %1; zoom 0; wait 1; dayinfo; eventseek %2; exportdlg; exportinfo; "
                                 "exportdir %3; exportevents 0; waitexport; exportinfo; exportclose; "
                                 "speed 16; eventseek %4; eventsonly on; play; wait 6; quit")
                      .arg(date, last, out, secondLast));
    QVERIFY(r.finished);
    const QStringList info = r.lines.filter(QRegularExpression(QStringLiteral("^dayinfo [^|]")));
    QCOMPARE(info.size(), 1);
    const QStringList parts = info[0].split(QStringLiteral(" | "));
    QCOMPARE(parts.value(2), QStringLiteral("hours %1").arg(hours));
    QCOMPARE(parts.value(3), QStringLiteral("span %1").arg(hours));
    QCOMPARE(parts.value(4), QStringLiteral("events %1").arg(events));
    QCOMPARE(parts.value(5), QStringLiteral("chunks %1").arg(ranges));
    // The editor opened at the day's last event selects its hour.
    QStringList exports;
    for (const QString &line : r.lines)
        if (line.startsWith(QLatin1String("exportinfo open")))
            exports << line;
    QCOMPARE(exports.size(), 2);
    QVERIFY2(exports[0].contains(QStringLiteral("| start 23:00:00 | end 23:59:59 |")),
             qPrintable(exports[0]));
    // One file per event (each its own, unpadded), the last hour's included.
    QVERIFY2(exports[1].contains(QStringLiteral("result 0 %1 files exported").arg(events)),
             qPrintable(exports[1]));
    QCOMPARE(QDir(out).entryList(QDir::Files).size(), events);
    QVERIFY2(r.has(QStringLiteral("eventsonly event ") + lastLocal),
             qPrintable(r.lines.filter("eventsonly").join('\n')));
}

// The search in an area as a person uses it: an area over the first
// object's path gets its rows, a click on one lands on the picture of the
// change (the simulator's stamp says its time), and skipping the still parts
// jumps from the first second to the object.
void tst_MainWindow::areaSearchAndSkippingTheStillParts()
{
    const QString shot = m_work.filePath(QStringLiteral("area.png"));
    const Run r =
        run(QStringLiteral(ACTIVITY_CARD),
            QStringLiteral("decode sw; wait 1; analyse wait; findarea 0.55 0.5 0.45 0.5; arearow 0; "
                           "wait 0.5; shot %1; areaend; skipstill on; "
                           "seekexact 2024-05-14T09:00:10Z; play 3; pause; quit")
                .arg(shot));
    QVERIFY(r.finished);
    QVERIFY2(r.has(QStringLiteral("analysed 2024-05-14 360 0")), qPrintable(r.lines.join("\n")));
    const qint64 object =
        QDateTime::fromString(QStringLiteral("2024-05-14T09:02:00Z"), Qt::ISODate).toMSecsSinceEpoch();
    const QStringList found = r.lines.filter(QRegularExpression(QStringLiteral("^findarea \\d+ -?\\d+$")));
    QCOMPARE(found.size(), 1);
    const QStringList words = found.first().split(QLatin1Char(' '));
    QCOMPARE(words[1].toInt(), 1);
    const qint64 start = words[2].toLongLong();
    QVERIFY2(start >= object && start <= object + 2000, qPrintable(found.first()));
    int64_t stamp = 0;
    QVERIFY(stampFromShot(QImage(shot).convertToFormat(QImage::Format_RGB32), 640, 360, &stamp));
    QCOMPARE(stamp, int64_t(start));
    // From 09:00:10 nothing moves or sounds until the object.
    QVERIFY2(r.has(QStringLiteral("skipstill 14 May 2024 11:00:10 -> 14 May 2024 11:01:58")),
             qPrintable(r.lines.filter(QStringLiteral("skip")).join("\n")));
    QVERIFY(r.has(QStringLiteral("toast Skipped 1 min 48 s of still video")));
}

// Bookmarks made as a person makes them (the popup, Enter), listed under
// their filter and kept for the next start; an export with an evidence
// package lists them, and its manifest checks.
void tst_MainWindow::bookmarksInTheWindowAndTheEvidencePackage()
{
    const QString shot = m_work.filePath(QStringLiteral("bookmarks.png"));
    const QString out = m_work.filePath(QStringLiteral("evidence"));
    const Run r =
        run(QStringLiteral(ACTIVITY_CARD),
            QStringLiteral(
                "decode sw; wait 1; seekexact 2024-05-14T09:02:05Z; bookmark add the <b>object</b>; "
                "seekexact 2024-05-14T09:01:00Z; bookmark add; bookmark edit 0 nothing yet; bookmarks; "
                "filter 256; wait 0.5; shot %1; size 1100 700; layoutcheck bookmarks; bookmark open; "
                "layoutcheck bookmarkpopup; bookmark cancel; bookmarks; "
                "select 2024-05-14T09:00:30Z 2024-05-14T09:03:00Z; exportdlg; exportformat mp4; "
                "exportdir %2; exportevidence on; exportgo; waitexport; exportinfo; quit")
                .arg(shot, out));
    QVERIFY(r.finished);
    QVERIFY2(r.has(QStringLiteral("bookmarks 2")), qPrintable(r.lines.join("\n")));
    QVERIFY(r.has(QStringLiteral("bookmark 14 May 2024 11:01:00 nothing yet")));
    QVERIFY(r.has(QStringLiteral("bookmark 14 May 2024 11:02:05 the <b>object</b>")));
    QVERIFY2(r.has(QStringLiteral("layout bookmarkpopup findings 0")),
             qPrintable(r.lines.filter(QStringLiteral("layout ")).join(QLatin1Char('\n'))));
    // Esc (cancel) keeps nothing: still two.
    QCOMPARE(r.lines.filter(QStringLiteral("bookmarks 2")).size(), 2);
    QVERIFY2(r.has(QStringLiteral("layout bookmarks findings 0")),
             qPrintable(r.lines.filter(QStringLiteral("layout ")).join(QLatin1Char('\n'))));
    const QStringList info = r.lines.filter(QStringLiteral("exportinfo open "));
    QVERIFY2(!info.isEmpty() && info.last().contains(QLatin1String("| result 0 ")),
             qPrintable(info.join("\n")));

    QProcess check;
    check.setWorkingDirectory(out);
    check.start(QStringLiteral("sha256sum"), {QStringLiteral("-c"), QStringLiteral("SHA256SUMS")});
    QVERIFY(check.waitForFinished(30000));
    QCOMPARE(check.exitCode(), 0);
    QFile report(out + QStringLiteral("/report.html"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(report.readAll());
    // The note is text, never markup.
    QVERIFY(html.contains(QLatin1String("the &lt;b&gt;object&lt;/b&gt;")));
    QVERIFY(html.contains(QLatin1String("nothing yet")));

    const Run again = run(QStringLiteral(ACTIVITY_CARD), QStringLiteral("wait 1; bookmarks; quit"));
    QVERIFY(again.has(QStringLiteral("bookmarks 2")));
}

// The export editor's re-coded copy: one H.264 MP4 under the size picked,
// with the clock drawn in (its corner differs from the stream copy's).
void tst_MainWindow::aShareCopyWithTheTimeBurnedIn()
{
    const QString shot = m_work.filePath(QStringLiteral("share.png"));
    const QString out = m_work.filePath(QStringLiteral("share"));
    const Run r = run(QStringLiteral(ACTIVITY_CARD),
                      QStringLiteral("decode sw; wait 1; select 2024-05-14T09:00:10Z 2024-05-14T09:00:30Z; "
                                     "exportdlg; exportmore on; exportburntime on; exportshare on 8; "
                                     "exportdir %2; size 1100 700; wait 0.5; "
                                     "shot %1; layoutcheck share; exportgo; waitexport; exportinfo; quit")
                          .arg(shot, out));
    QVERIFY(r.finished);
    QVERIFY2(r.has(QStringLiteral("layout share findings 0")),
             qPrintable(r.lines.filter(QStringLiteral("layout ")).join(QLatin1Char('\n'))));
    const QStringList info = r.lines.filter(QStringLiteral("exportinfo open "));
    QVERIFY2(!info.isEmpty() && info.last().contains(QLatin1String("| result 0 ")),
             qPrintable(info.join("\n")));
    const QStringList files = QDir(out).entryList({QStringLiteral("*.mp4")}, QDir::Files);
    QCOMPARE(files.size(), 1);
    const QString clip = out + QLatin1Char('/') + files.first();
    QVERIFY(QFileInfo(clip).size() < 8000000);
    double seconds = 0;
    QVERIFY(decodesCleanly(clip, &seconds));
    QVERIFY2(qAbs(seconds - 20.0) < 1.0, qPrintable(QString::number(seconds)));
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("v"), QStringLiteral("-show_entries"), QStringLiteral("stream=codec_name"),
                 QStringLiteral("-of"), QStringLiteral("csv=p=0"), clip});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QStringLiteral("h264"));
}

QTEST_GUILESS_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
