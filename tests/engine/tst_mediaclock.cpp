// MediaClock: folding on rate and running changes, measured between two
// wall-clock readings that bracket the clock's own timer.
#include "playback/media_clock.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

using nivra::MediaClock;

class TestMediaClock : public QObject
{
    Q_OBJECT

private slots:
    void stoppedClockHoldsItsBase();
    void runsAtItsRate_data();
    void runsAtItsRate();
    void rateChangeFoldsWhatHasRun();
    void pauseAndResumeContinue();
    void settingTheBaseRestarts();
};

void TestMediaClock::stoppedClockHoldsItsBase()
{
    MediaClock clock;
    QCOMPARE(clock.value(), 0);
    clock.setBase(1709632800000);
    clock.setRate(16);
    QThread::msleep(20);
    QCOMPARE(clock.value(), 1709632800000);
    QCOMPARE(clock.base(), 1709632800000);
    QVERIFY(!clock.isRunning());
}

void TestMediaClock::runsAtItsRate_data()
{
    QTest::addColumn<int>("rate");
    QTest::newRow("1x") << 1;
    QTest::newRow("4x") << 4;
    QTest::newRow("16x") << 16;
}

void TestMediaClock::runsAtItsRate()
{
    QFETCH(int, rate);
    MediaClock clock;
    clock.setBase(5000);
    clock.setRate(rate);
    QElapsedTimer outer;
    outer.start();
    clock.setRunning(true);
    QElapsedTimer inner;
    inner.start();
    QThread::msleep(60);
    const qint64 innerMs = inner.elapsed();
    const qlonglong advanced = clock.value() - 5000;
    const qint64 outerMs = outer.elapsed();
    QVERIFY2(advanced >= innerMs * rate, qPrintable(QString::number(advanced)));
    QVERIFY2(advanced < (outerMs + 1) * rate, qPrintable(QString::number(advanced)));
}

void TestMediaClock::rateChangeFoldsWhatHasRun()
{
    MediaClock clock;
    clock.setBase(0);
    QElapsedTimer outer;
    outer.start();
    clock.setRunning(true);
    QElapsedTimer inner;
    inner.start();
    QThread::msleep(40);
    const qint64 innerFirst = inner.elapsed();
    QElapsedTimer outerSecond;
    outerSecond.start();
    clock.setRate(8);
    QElapsedTimer innerSecond;
    innerSecond.start();
    const qint64 outerFirst = outer.elapsed();
    // The base now holds what ran at 1×.
    QVERIFY(clock.base() >= innerFirst);
    QVERIFY(clock.base() <= outerFirst);
    const qlonglong folded = clock.base();
    QThread::msleep(40);
    const qint64 innerMs = innerSecond.elapsed();
    const qlonglong value = clock.value();
    const qint64 outerMs = outerSecond.elapsed();
    // Only the time since the change runs at 8× (plus the folded rest below 1 ms).
    QVERIFY(value - folded >= innerMs * 8);
    QVERIFY(value - folded <= (outerMs + 1) * 8 + 1);
    // Setting the same rate again changes nothing.
    const qlonglong before = clock.base();
    clock.setRate(8);
    QCOMPARE(clock.base(), before);
}

void TestMediaClock::pauseAndResumeContinue()
{
    MediaClock clock;
    clock.setBase(100000);
    clock.setRunning(true);
    QThread::msleep(30);
    clock.setRunning(false);
    const qlonglong paused = clock.value();
    QVERIFY(paused >= 100030);
    QThread::msleep(30);
    QCOMPARE(clock.value(), paused);
    QElapsedTimer outer;
    outer.start();
    clock.setRunning(true);
    // Resuming continues from the paused value, not from the original base.
    const qlonglong resumed = clock.value();
    const qint64 outerMs = outer.elapsed();
    QVERIFY(resumed >= paused);
    QVERIFY(resumed <= paused + outerMs + 1);
}

void TestMediaClock::settingTheBaseRestarts()
{
    MediaClock clock;
    clock.setRate(4);
    clock.setRunning(true);
    QThread::msleep(30);
    QElapsedTimer outer;
    outer.start();
    clock.setBase(777);
    const qlonglong value = clock.value();
    const qint64 outerMs = outer.elapsed();
    QVERIFY(value >= 777);
    QVERIFY(value < 777 + (outerMs + 1) * 4);
}

QTEST_GUILESS_MAIN(TestMediaClock)
#include "tst_mediaclock.moc"
