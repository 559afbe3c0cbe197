// WorkerThread: hand-backs that coalesce and are never lost while the shell
// lives, none after it is gone, and a stop that wakes a waiting worker.
#include "base/worker_thread.h"

#include <QtTest>

#include <memory>

using nivra::WorkerThread;

class TestWorkerThread : public QObject
{
    Q_OBJECT

private slots:
    void handBacksCoalesceAndLoseNothing();
    void aStopStillDeliversWhatWasHandedBack();
    void nothingArrivesOnceTheShellIsGone();
    void stopWakesAWaitingWorker();
};

void TestWorkerThread::handBacksCoalesceAndLoseNothing()
{
    QObject owner;
    WorkerThread shell;
    int produced = 0; // guarded by the shell's lock
    int taken = 0;
    int takes = 0;
    shell.start(
        [&] {
            for (int i = 0; i < 5000; ++i) {
                {
                    std::lock_guard<std::mutex> lock(shell.mutex());
                    ++produced;
                }
                shell.handBack();
            }
        },
        &owner,
        [&] {
            ++takes;
            std::lock_guard<std::mutex> lock(shell.mutex());
            taken += std::exchange(produced, 0);
        });
    QTRY_COMPARE_WITH_TIMEOUT(taken, 5000, 20000);
    // One call in flight at a time: far fewer calls than hand-backs.
    QVERIFY2(takes >= 1 && takes < 5000, qPrintable(QString::number(takes)));
}

void TestWorkerThread::aStopStillDeliversWhatWasHandedBack()
{
    QObject owner;
    WorkerThread shell;
    int takes = 0;
    shell.start([&] { shell.handBack(); }, &owner, [&] { ++takes; });
    shell.stop(); // joined: the hand-back is queued, not yet taken
    QCOMPARE(takes, 0);
    QTRY_COMPARE(takes, 1);
}

void TestWorkerThread::nothingArrivesOnceTheShellIsGone()
{
    QObject owner;
    int takes = 0;
    {
        WorkerThread shell;
        shell.start([&] { shell.handBack(); }, &owner, [&] { ++takes; });
        shell.stop();
        // A new worker: hand-backs of the old one are not its own.
        shell.start([] {}, &owner, [&] { takes += 100; });
        shell.stop();
    }
    QTest::qWait(50);
    QCOMPARE(takes, 0);
}

void TestWorkerThread::stopWakesAWaitingWorker()
{
    WorkerThread shell;
    bool woke = false;
    int generation = 0;
    shell.start([&] {
        WorkerThread::Lock lock = shell.lock();
        generation = shell.nextGeneration();
        // Waits for work that never comes.
        woke = !shell.wait(lock, [] { return false; });
    });
    shell.stop();
    QVERIFY(woke);
    QCOMPARE(generation, 1);
    QVERIFY(!shell.started());
}

QTEST_GUILESS_MAIN(TestWorkerThread)
#include "tst_workerthread.moc"
