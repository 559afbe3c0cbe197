// CardSession's dates, clocks and calendar in both time modes. ctest runs
// this once per system zone and locale (TZ, LC_ALL); the checks for one zone
// or locale skip in the other runs, and envTookEffect() makes sure that Qt
// really sees the zone and locale each run was meant for.
#include "session/card_session.h"
#include "session_test_util.h"
#include "simcard.h"

#include <QLocale>
#include <QTest>
#include <QTimeZone>

using nivra::CardSession;
using sessiontest::ms;
using sessiontest::utc;

namespace {

QString zone()
{
    return QString::fromLocal8Bit(qgetenv("NIVRA_TEST_ZONE"));
}

QString localeName()
{
    return QString::fromLocal8Bit(qgetenv("NIVRA_TEST_LOCALE")).section(QLatin1Char('.'), 0, 0);
}

QVariantList days(std::initializer_list<int> list)
{
    QVariantList out;
    for (int d : list)
        out.append(d);
    return out;
}

QVariantMap date(int y, int m, int d)
{
    return QVariantMap{{QStringLiteral("year"), y}, {QStringLiteral("month"), m}, {QStringLiteral("day"), d}};
}

} // namespace

class TestSessionTime : public QObject
{
    Q_OBJECT

private slots:
    void envTookEffect();
    void recordingTimeFixedOffset();
    void recordingTimeAcrossOffsetChange();
    void computerTimeNewYork();
    void computerTimeKolkata();
    void computerTimeUtc();
    void clockTexts12Hour();
    void clockTexts24Hour();
    void offsetLabelSigns();
    void eventDaysAtTheEpoch();
};

void TestSessionTime::envTookEffect()
{
    if (zone().isEmpty())
        QSKIP("run through ctest, which sets the zone and the locale");
    QCOMPARE(QString::fromUtf8(QTimeZone::systemTimeZoneId()), zone());
    QCOMPARE(QLocale::system().name(),
             localeName() == QLatin1String("C") ? QStringLiteral("C") : localeName());
}

// The camera's clock does not depend on the computer's zone: same results in every run.
void TestSessionTime::recordingTimeFixedOffset()
{
    CardSession session; // one card, camera clock at UTC+1
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    QCOMPARE(session.formatInputTime(0), QStringLiteral("1970-01-01 01:00:00"));
    QCOMPARE(session.parseInputTime(QStringLiteral("1970-01-01 01:00:00")), 0);
    QCOMPARE(session.parseInputTime(QStringLiteral("1970-01-01 01:00")), 0);
    QCOMPARE(session.parseInputTime(QStringLiteral("  2024-03-05   11:00:30 ")), utc("2024-03-05T10:00:30Z"));
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-05")), -1);
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-02-30 10:00:00")), -1);
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-05 25:00")), -1);
    QCOMPARE(session.parseInputTime(QString()), -1);
    QCOMPARE(session.offsetLabel(utc("2024-03-05T10:00:00Z")), QStringLiteral("UTC+01:00"));
    QCOMPARE(session.dateOf(utc("2024-03-05T23:30:00Z")), date(2024, 3, 6));
    QCOMPARE(session.dayStartMs(2024, 3, 5), utc("2024-03-04T23:00:00Z"));
    QCOMPARE(session.dayStartMs(2024, 2, 30), -1);
    QCOMPARE(session.formatClockMs(utc("2024-03-05T10:00:01.007Z")).right(4), QStringLiteral(".007"));
    QCOMPARE(session.daysInMonth(2024, 3), days({5}));
    QCOMPARE(session.eventDaysInMonth(2024, 3), days({5}));
    QVERIFY(session.daysInMonth(2024, 4).isEmpty());
    QVERIFY(session.daysInMonth(2024, 13).isEmpty());
}

void TestSessionTime::recordingTimeAcrossOffsetChange()
{
    // A: 2024-03-09 04:59:50Z +30 s at UTC-5 (camera midnight inside),
    // B: 03-10 06:59:40Z +20 s at UTC-5, C: 07:00:20Z +20 s at UTC-4,
    // D: 08:00:00Z +20 s at UTC-4, its file deleted.
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    QCOMPARE(session.timeMode(), int(CardSession::RecordingTime));

    QCOMPARE(session.formatInputTime(utc("2024-03-10T06:59:59Z")), QStringLiteral("2024-03-10 01:59:59"));
    QCOMPARE(session.formatInputTime(utc("2024-03-10T07:00:20Z")), QStringLiteral("2024-03-10 03:00:20"));
    // The two-step rule: the guessed instant lies near D, whose offset wins.
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-10 03:00:20")), utc("2024-03-10T07:00:20Z"));
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-10 01:59:59")), utc("2024-03-10T06:59:59Z"));
    QCOMPARE(session.offsetLabel(utc("2024-03-10T06:59:59Z")), QStringLiteral("UTC-05:00"));
    QCOMPARE(session.offsetLabel(utc("2024-03-10T07:00:30Z")), QStringLiteral("UTC-04:00"));

    QCOMPARE(session.dayStartMs(2024, 3, 9), utc("2024-03-09T05:00:00Z"));
    QCOMPARE(session.dayStartMs(2024, 3, 10), utc("2024-03-10T05:00:00Z"));
    QCOMPARE(session.dayStartMs(2024, 3, 11), utc("2024-03-11T04:00:00Z"));
    QCOMPARE(session.dateOf(utc("2024-03-09T04:59:55Z")), date(2024, 3, 8));
    QCOMPARE(session.dateOf(utc("2024-03-09T05:00:05Z")), date(2024, 3, 9));

    QCOMPARE(session.daysInMonth(2024, 3), days({8, 9, 10}));
    QCOMPARE(session.eventDaysInMonth(2024, 3), days({8, 10}));

    // The chunk that started the previous evening, with its full start.
    const QVariantList day9 = session.dayChunks(session.dayStartMs(2024, 3, 9));
    QCOMPARE(day9.size(), 1);
    QCOMPARE(ms(day9[0].toMap(), "startMs"), utc("2024-03-09T04:59:50Z"));
    // Its event began at 23:59:56 on the 8th: counted on that day only.
    QCOMPARE(day9[0].toMap().value(QStringLiteral("events")).toInt(), 0);
    const QVariantList day8 = session.dayChunks(session.dayStartMs(2024, 3, 8));
    QCOMPARE(day8.size(), 1);
    QCOMPARE(ms(day8[0].toMap(), "startMs"), utc("2024-03-09T04:59:50Z"));
    QCOMPARE(day8[0].toMap().value(QStringLiteral("events")).toInt(), 1);

    // Day 10: B, C and the missing D, indexed in order; C holds two events.
    const QVariantList day10 = session.dayChunks(session.dayStartMs(2024, 3, 10));
    QCOMPARE(day10.size(), 3);
    QCOMPARE(day10[2].toMap().value(QStringLiteral("index")).toInt(), 3);
    QCOMPARE(day10[1].toMap().value(QStringLiteral("events")).toInt(), 2);
    QCOMPARE(day10[0].toMap().value(QStringLiteral("events")).toInt(), 0);
    QCOMPARE(day10[2].toMap().value(QStringLiteral("playable")).toBool(), false);
}

void TestSessionTime::computerTimeNewYork()
{
    if (zone() != QLatin1String("America/New_York"))
        QSKIP("needs TZ=America/New_York");
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    session.setTimeMode(CardSession::ComputerTime);

    // Spring forward on 10 March 2024 at 07:00 UTC.
    QCOMPARE(session.formatInputTime(utc("2024-03-10T06:59:59Z")), QStringLiteral("2024-03-10 01:59:59"));
    QCOMPARE(session.formatInputTime(utc("2024-03-10T07:00:00Z")), QStringLiteral("2024-03-10 03:00:00"));
    QCOMPARE(session.offsetLabel(utc("2024-03-10T06:59:59Z")), QStringLiteral("UTC-05:00"));
    QCOMPARE(session.offsetLabel(utc("2024-03-10T07:00:00Z")), QStringLiteral("UTC-04:00"));
    QCOMPARE(session.offsetSecondsAt(utc("2024-03-10T07:00:00Z")), -4 * 3600);
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-10 03:00:00")), utc("2024-03-10T07:00:00Z"));
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-10 01:30")), utc("2024-03-10T06:30:00Z"));
    QCOMPARE(session.dayStartMs(2024, 3, 10), utc("2024-03-10T05:00:00Z"));
    QCOMPARE(session.dayStartMs(2024, 3, 11), utc("2024-03-11T04:00:00Z")); // a 23-hour day

    // Fall back on 3 November 2024 at 06:00 UTC.
    QCOMPARE(session.dayStartMs(2024, 11, 3), utc("2024-11-03T04:00:00Z"));
    QCOMPARE(session.dayStartMs(2024, 11, 4), utc("2024-11-04T05:00:00Z")); // a 25-hour day
    QCOMPARE(session.formatInputTime(utc("2024-11-03T05:59:59Z")), QStringLiteral("2024-11-03 01:59:59"));
    QCOMPARE(session.formatInputTime(utc("2024-11-03T06:00:00Z")), QStringLiteral("2024-11-03 01:00:00"));
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-11-03 12:00")), utc("2024-11-03T17:00:00Z"));

    // Calendar in the computer's zone (here the same days as the camera's).
    QCOMPARE(session.dateOf(utc("2024-03-09T04:59:55Z")), date(2024, 3, 8));
    QCOMPARE(session.daysInMonth(2024, 3), days({8, 9, 10}));
    QCOMPARE(session.eventDaysInMonth(2024, 3), days({8, 10}));
    const QVariantList day9 = session.dayChunks(session.dayStartMs(2024, 3, 9));
    QCOMPARE(day9.size(), 1);
    QCOMPARE(ms(day9[0].toMap(), "startMs"), utc("2024-03-09T04:59:50Z"));

    // The camera's offset is still the camera's, whatever the mode.
    QCOMPARE(session.offsetMinutesAt(utc("2024-03-10T07:00:30Z")), -240);
}

void TestSessionTime::computerTimeKolkata()
{
    if (zone() != QLatin1String("Asia/Kolkata"))
        QSKIP("needs TZ=Asia/Kolkata");
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    session.setTimeMode(CardSession::ComputerTime);

    QCOMPARE(session.offsetLabel(utc("2024-03-10T07:00:00Z")), QStringLiteral("UTC+05:30"));
    QCOMPARE(session.dayStartMs(2024, 1, 1), utc("2023-12-31T18:30:00Z"));
    QCOMPARE(session.formatInputTime(utc("2024-03-09T04:59:50Z")), QStringLiteral("2024-03-09 10:29:50"));
    QCOMPARE(session.parseInputTime(QStringLiteral("2024-03-09 10:29:50")), utc("2024-03-09T04:59:50Z"));
    // A lies on 9 March here, not across midnight.
    QCOMPARE(session.daysInMonth(2024, 3), days({9, 10}));
    QCOMPARE(session.eventDaysInMonth(2024, 3), days({9, 10}));
    QCOMPARE(session.dayChunks(session.dayStartMs(2024, 3, 8)).size(), 0);
    QCOMPARE(session.dayChunks(session.dayStartMs(2024, 3, 9)).size(), 1);

    // Switching back to the camera's clock changes the answers at once.
    session.setTimeMode(CardSession::RecordingTime);
    QCOMPARE(session.daysInMonth(2024, 3), days({8, 9, 10}));
}

void TestSessionTime::computerTimeUtc()
{
    if (zone() != QLatin1String("UTC"))
        QSKIP("needs TZ=UTC");
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(ZONES_CARD)));
    session.setTimeMode(CardSession::ComputerTime);
    QCOMPARE(session.offsetLabel(utc("2024-03-10T07:00:00Z")), QStringLiteral("UTC+00:00"));
    QCOMPARE(session.dayStartMs(2024, 3, 10), utc("2024-03-10T00:00:00Z"));
    QCOMPARE(session.daysInMonth(2024, 3), days({9, 10}));
    QCOMPARE(session.formatInputTime(0), QStringLiteral("1970-01-01 00:00:00"));
}

void TestSessionTime::clockTexts12Hour()
{
    if (localeName() != QLatin1String("en_US"))
        QSKIP("needs LC_ALL=en_US");
    QVERIFY(QLocale::system()
                .timeFormat(QLocale::ShortFormat)
                .contains(QLatin1String("ap"), Qt::CaseInsensitive));
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD))); // camera at UTC+1
    const qint64 t = utc("2024-03-05T14:07:09.045Z");      // 15:07:09 on the camera
    QCOMPARE(session.formatClock(t, true), QStringLiteral("3:07:09 PM"));
    QCOMPARE(session.formatClock(t, false), QStringLiteral("3:07 PM"));
    QCOMPARE(session.formatClockMs(t), QStringLiteral("3:07:09 PM.045"));
    QCOMPARE(session.formatDate(t), QStringLiteral("3/5/24"));
    QCOMPARE(session.formatTime(t), QStringLiteral("3/5/24 3:07:09 PM"));
    QCOMPARE(session.formatTime(t, false), QStringLiteral("3:07:09 PM"));
    QCOMPARE(session.formatClock(utc("2024-03-05T23:05:00Z"), true), QStringLiteral("12:05:00 AM"));
    // The input format stays fixed whatever the locale.
    QCOMPARE(session.formatInputTime(t), QStringLiteral("2024-03-05 15:07:09"));
}

void TestSessionTime::clockTexts24Hour()
{
    if (localeName() != QLatin1String("de_DE") && localeName() != QLatin1String("C"))
        QSKIP("needs a 24-hour locale");
    CardSession session;
    QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
    const qint64 t = utc("2024-03-05T14:07:09.045Z");
    QCOMPARE(session.formatClock(t, true), QStringLiteral("15:07:09"));
    QCOMPARE(session.formatClock(t, false), QStringLiteral("15:07"));
    QCOMPARE(session.formatClockMs(t), QStringLiteral("15:07:09.045"));
    QCOMPARE(session.formatClock(utc("2024-03-05T23:05:00Z"), true), QStringLiteral("00:05:00"));
    if (localeName() == QLatin1String("de_DE")) {
        QCOMPARE(session.formatDate(t), QStringLiteral("05.03.24"));
        QCOMPARE(session.formatTime(t), QStringLiteral("05.03.24 15:07:09"));
    }
}

void TestSessionTime::offsetLabelSigns()
{
    // Camera offsets of −210 and +345 minutes, written into two small cards.
    for (const auto &[offset, label] :
         {std::pair<int, const char *>{-210, "UTC-03:30"}, {345, "UTC+05:45"}}) {
        nivra::test::TempDir tmp("session-offset");
        const QString dir = QString::fromStdString(tmp.path()) + QStringLiteral("/rec");
        const QString scenario =
            QStringLiteral(R"({"video": {"codec": "h264", "fps": 5, "keyint": 10, "bitrate": 60000},
            "audio": {"format": "none"},
            "spans": [{"start": "2024-02-01T10:00:00Z", "seconds": 4, "offsetMin": %1}],
            "segments": {"seconds": 10, "slots": 4}})")
                .arg(offset);
        std::string log;
        QVERIFY2(nivra::test::generateScenarioCard(scenario.toStdString(), dir.toStdString(), &log),
                 log.c_str());
        CardSession session;
        QVERIFY(session.openPath(dir));
        QCOMPARE(session.offsetLabel(utc("2024-02-01T10:00:01Z")), QString::fromLatin1(label));
        QCOMPARE(session.offsetMinutesAt(utc("2024-02-01T10:00:01Z")), offset);
    }
}

void TestSessionTime::eventDaysAtTheEpoch()
{
    // A camera whose clock was never set records from 1970-01-01; at UTC+1
    // that day's midnight lies before the epoch.
    nivra::test::TempDir tmp("session-epoch");
    const QString dir = QString::fromStdString(tmp.path()) + QStringLiteral("/rec");
    const char *scenario = R"({"video": {"codec": "h264", "fps": 5, "keyint": 10, "bitrate": 60000},
        "audio": {"format": "none"},
        "spans": [{"start": "1970-01-01T00:10:00Z", "seconds": 20, "offsetMin": 60}],
        "segments": {"seconds": 10, "slots": 4},
        "events": [{"start": "1970-01-01T00:10:05Z", "seconds": 4, "kinds": 1}]})";
    std::string log;
    QVERIFY2(nivra::test::generateScenarioCard(scenario, dir.toStdString(), &log), log.c_str());
    CardSession session;
    QVERIFY(session.openPath(dir));
    QCOMPARE(session.dayStartMs(1970, 1, 1), -3600000);
    QCOMPARE(session.daysInMonth(1970, 1), days({1}));
    QCOMPARE(session.eventDaysInMonth(1970, 1), days({1}));
    QVERIFY(session.eventDaysInMonth(1969, 12).isEmpty());
    QVERIFY(session.eventDaysInMonth(1970, 13).isEmpty());
}

QTEST_GUILESS_MAIN(TestSessionTime)
#include "tst_sessiontime.moc"
