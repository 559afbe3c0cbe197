// DayModel on simulator cards: the day a selection gives in each time mode,
// following the position, the chunk under it and the jumps between chunks,
// with exact signal counts.
#include "session/day_model.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QtTest>

using nivra::CardSession;
using nivra::DayModel;

namespace {

qlonglong utcMs(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

// The small card: 10:00:00-10:00:59.9 and 10:02:00-10:02:59.9 UTC on
// 2024-03-05, the camera at UTC+1.
const qlonglong kFirst = utcMs("2024-03-05T10:00:00.000Z");
const qlonglong kSecond = utcMs("2024-03-05T10:02:00.000Z");

} // namespace

class TestDayModel : public QObject
{
    Q_OBJECT

private slots:
    void aSelectionGivesItsDay();
    void theDayMovesWithTheTimeMode();
    void followingThePosition();
    void theChunkUnderThePosition_data();
    void theChunkUnderThePosition();
    void aDayOfMissingFiles();
    void thePositionAsText();
};

void TestDayModel::aSelectionGivesItsDay()
{
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    DayModel day;
    QSignalSpy selection(&day, &DayModel::selectionChanged);
    QSignalSpy changed(&day, &DayModel::dayChanged);
    day.setCard(&card);
    QCOMPARE(day.dayStart(), 0);
    QCOMPARE(changed.count(), 0);

    day.select(2024, 3, 5);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(day.dayStart(), card.dayStartMs(2024, 3, 5));
    QCOMPARE(day.dayEnd(), day.dayStart() + 86400000);
    QCOMPARE(day.chunks(), card.dayChunks(day.dayStart()));
    QCOMPARE(day.chunks().size(), 2);
    QVERIFY(day.hasPlayable());
    QVERIFY(!day.hasMissing());
    QCOMPARE(day.firstPlayable(), kFirst);
    day.select(2024, 3, 5);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(changed.count(), 1);

    // A day without recordings, then none at all.
    day.select(2024, 3, 6);
    QCOMPARE(day.chunks().size(), 0);
    QCOMPARE(day.firstPlayable(), -1);
    QVERIFY(!day.hasPlayable());
    day.clear();
    QCOMPARE(day.year(), 0);
    QCOMPARE(day.dayStart(), 0);
    QCOMPARE(selection.count(), 3);
    QVERIFY(day.selectLatest());
    QCOMPARE(day.day(), 5);
}

void TestDayModel::theDayMovesWithTheTimeMode()
{
    // A day's start moves with the clock it is counted in: that of the
    // recording place (UTC-5 on 9 March) or this computer's (UTC here).
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(ZONES_CARD)));
    DayModel day;
    day.setCard(&card);
    day.select(2024, 3, 9);
    QCOMPARE(day.dayStart(), utcMs("2024-03-09T05:00:00.000Z"));
    QSignalSpy selection(&day, &DayModel::selectionChanged);
    QSignalSpy changed(&day, &DayModel::dayChanged);
    card.setTimeMode(CardSession::ComputerTime);
    QCOMPARE(day.dayStart(), utcMs("2024-03-09T00:00:00.000Z"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(selection.count(), 0);
    QCOMPARE(day.chunks(), card.dayChunks(day.dayStart()));
}

void TestDayModel::followingThePosition()
{
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    DayModel day;
    day.setCard(&card);
    day.select(2024, 3, 4);
    QSignalSpy selection(&day, &DayModel::selectionChanged);
    // Frozen (an export holds the range): the day stays.
    day.setFrozen(true);
    QVERIFY(!day.follow(kFirst));
    QCOMPARE(day.day(), 4);
    day.setFrozen(false);
    QVERIFY(day.follow(kFirst));
    QCOMPARE(day.day(), 5);
    QVERIFY(!day.follow(kSecond)); // the same day
    QCOMPARE(selection.count(), 1);
}

void TestDayModel::theChunkUnderThePosition_data()
{
    QTest::addColumn<qlonglong>("position");
    QTest::addColumn<qlonglong>("chunkStart"); // -1: none
    QTest::addColumn<qlonglong>("remainingMs");
    QTest::addColumn<qlonglong>("next");
    QTest::addColumn<qlonglong>("previous");
    const qlonglong firstEnd = utcMs("2024-03-05T10:00:59.999Z");
    QTest::newRow("in the first") << kFirst + 5000 << kFirst << firstEnd - kFirst - 5000 << kSecond << kFirst;
    // Under 3 s into a chunk it counts as not yet started.
    QTest::newRow("just into the first")
        << kFirst + 2000 << kFirst << firstEnd - kFirst - 2000 << kSecond << qlonglong(-1);
    QTest::newRow("in the gap") << kFirst + 90000 << qlonglong(-1) << qlonglong(-1) << kSecond << kFirst;
    QTest::newRow("just into the second")
        << kSecond + 400 << kSecond << utcMs("2024-03-05T10:02:59.999Z") - kSecond - 400 << qlonglong(-1)
        << kFirst;
}

void TestDayModel::theChunkUnderThePosition()
{
    QFETCH(qlonglong, position);
    QFETCH(qlonglong, chunkStart);
    QFETCH(qlonglong, remainingMs);
    QFETCH(qlonglong, next);
    QFETCH(qlonglong, previous);
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    DayModel day;
    day.setCard(&card);
    day.select(2024, 3, 5);
    QSignalSpy current(&day, &DayModel::currentChunkChanged);
    day.setPosition(position);
    const QVariant chunk = day.currentChunk();
    QCOMPARE(chunk.toMap().value(QStringLiteral("startMs"), -1).toLongLong(), chunkStart);
    QCOMPARE(current.count(), chunkStart >= 0 ? 1 : 0);
    QCOMPARE(day.remainingMs(), remainingMs);
    QCOMPARE(day.chunkJump(1), next);
    QCOMPARE(day.chunkJump(-1), previous);
    // Outside the selected day nothing is left of it.
    day.select(2024, 3, 6);
    QCOMPARE(day.remainingMs(), -1);
}

void TestDayModel::aDayOfMissingFiles()
{
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(ALLMISSING_CARD)));
    DayModel day;
    day.setCard(&card);
    QVERIFY(!day.selectLatest()); // nothing playable on the card
    const QVariantList chunks = card.chunks();
    QVERIFY(!chunks.isEmpty());
    QVERIFY(day.follow(chunks.first().toMap().value(QStringLiteral("startMs")).toLongLong()));
    QVERIFY(day.hasMissing());
    QVERIFY(!day.hasPlayable());
    QCOMPARE(day.firstPlayable(), -1);
}

void TestDayModel::thePositionAsText()
{
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    DayModel day;
    day.setCard(&card);
    QSignalSpy text(&day, &DayModel::positionTextChanged);
    day.setPosition(kFirst + 5200);
    QCOMPARE(text.count(), 1);
    // In the camera's clock (UTC+1).
    QCOMPARE(day.positionClock(), QStringLiteral("11:00:05"));
    QCOMPARE(day.positionTime(), card.formatTime(kFirst + 5200, true));
    day.setPosition(kFirst + 5900); // the same second
    QCOMPARE(text.count(), 1);
    day.setPosition(kFirst + 6000);
    QCOMPARE(text.count(), 2);
    // A switch of the time mode shows at once, in this computer's clock.
    card.setTimeMode(CardSession::ComputerTime);
    QCOMPARE(text.count(), 3);
    QCOMPARE(day.positionClock(), QStringLiteral("10:00:06"));
}

QTEST_GUILESS_MAIN(TestDayModel)
#include "tst_daymodel.moc"
