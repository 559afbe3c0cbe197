// MediaClock on a time source stepped by hand: folding on rate and running
// changes gives exact values.
#include "playback/media_clock.h"

#include <QtTest>

using nivra::MediaClock;

namespace {

constexpr qint64 kMs = 1000000;

struct Manual : nivra::Clock
{
    qint64 ns = 123456789; // any start will do
    MediaClock clock{this};
    qint64 nowNs() const override { return ns; }
    void advance(qint64 ms) { ns += ms * kMs; }
};

} // namespace

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
    void subMillisecondRestsAreKept();
};

void TestMediaClock::stoppedClockHoldsItsBase()
{
    Manual m;
    QCOMPARE(m.clock.value(), 0);
    m.clock.setBase(1709632800000);
    m.clock.setRate(16);
    m.advance(20);
    QCOMPARE(m.clock.value(), 1709632800000);
    QCOMPARE(m.clock.base(), 1709632800000);
    QVERIFY(!m.clock.isRunning());
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
    Manual m;
    m.clock.setBase(5000);
    m.clock.setRate(rate);
    m.advance(1000); // stopped: does not count
    m.clock.setRunning(true);
    m.advance(60);
    QCOMPARE(m.clock.value(), 5000 + 60 * rate);
}

void TestMediaClock::rateChangeFoldsWhatHasRun()
{
    Manual m;
    m.clock.setBase(0);
    m.clock.setRunning(true);
    m.advance(40);
    m.clock.setRate(8);
    // The base now holds what ran at 1×.
    QCOMPARE(m.clock.base(), 40);
    m.advance(40);
    // Only the time since the change runs at 8×.
    QCOMPARE(m.clock.value(), 40 + 40 * 8);
    // Setting the same rate again changes nothing.
    m.clock.setRate(8);
    QCOMPARE(m.clock.base(), 40);
    QCOMPARE(m.clock.value(), 40 + 40 * 8);
}

void TestMediaClock::pauseAndResumeContinue()
{
    Manual m;
    m.clock.setBase(100000);
    m.clock.setRunning(true);
    m.advance(30);
    m.clock.setRunning(false);
    QCOMPARE(m.clock.value(), 100030);
    m.advance(30);
    QCOMPARE(m.clock.value(), 100030);
    // Resuming continues from the paused value, not from the original base.
    m.clock.setRunning(true);
    QCOMPARE(m.clock.value(), 100030);
    m.advance(5);
    QCOMPARE(m.clock.value(), 100035);
}

void TestMediaClock::settingTheBaseRestarts()
{
    Manual m;
    m.clock.setRate(4);
    m.clock.setRunning(true);
    m.advance(30);
    m.clock.setBase(777);
    QCOMPARE(m.clock.value(), 777);
    m.advance(10);
    QCOMPARE(m.clock.value(), 777 + 40);
}

void TestMediaClock::subMillisecondRestsAreKept()
{
    // 0.6 ms folded twice is 1.2 ms: a fold must not drop the rest.
    Manual m;
    m.clock.setBase(0);
    m.clock.setRunning(true);
    m.ns += 600000;
    m.clock.setRate(2); // folds 0.6 ms
    m.clock.setRate(1); // nothing ran
    m.ns += 600000;
    m.clock.setRunning(false); // folds 0.6 ms more
    QCOMPARE(m.clock.value(), 1);
    m.clock.setRunning(true);
    m.ns += 800000;
    QCOMPARE(m.clock.value(), 2);
}

QTEST_GUILESS_MAIN(TestMediaClock)
#include "tst_mediaclock.moc"
