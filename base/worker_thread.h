// WorkerThread: the thread shell of the program's workers (the decode
// worker, the preview source, the export job). The worker waits for work
// under the shell's mutex, takes a command tagged with a generation number,
// works on it unlocked, and stores its results under the same mutex. Then
// handBack() has the owner's thread take them: one queued call at most is in
// flight. stop() sets the stop flag under the lock, wakes the worker and
// joins it; what it handed back is still taken. The destructor stops, and
// then nothing handed back arrives any more.
#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace nivra {

class WorkerThread
{
public:
    using Lock = std::unique_lock<std::mutex>;

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Runs body on a new thread; it should return once stopping(). Results
    // handed back run take on owner's thread (none: results are only polled).
    void start(std::function<void()> body, QObject *owner = nullptr, std::function<void()> take = {});
    // Sets the stop flag and wakes the worker, without waiting for it.
    void requestStop();
    // Stops, wakes and joins the worker; nothing when none runs. What it
    // handed back before is still taken.
    void stop();
    bool stopping() const { return m_stop.load(); }
    bool started() const { return m_thread.joinable(); }

    // The lock that guards the owner's shared state and the wake-ups.
    Lock lock() { return Lock(m_mutex); }
    std::mutex &mutex() { return m_mutex; }
    // Wakes a worker (or owner) waiting in wait(); call after a change made
    // under the lock.
    void wake() { m_condition.notify_all(); }
    // Waits under lock until ready() holds or the shell stops; false when stopping.
    bool wait(Lock &lock, const std::function<bool()> &ready);
    // Under the lock: the next command's generation number, never 0.
    int nextGeneration() { return ++m_generation; }

    // Worker side, after storing results under the lock: the owner's take
    // runs soon on its own thread.
    void handBack();

private:
    // What a queued hand-back call may still touch after the shell is gone.
    struct Token
    {
        std::atomic<bool> pending{false};
        bool alive = true; // owner's thread only
        // Set before the thread starts and only read after: the worker never
        // copies it, so nothing of it is made on one thread and run on another.
        std::function<void()> take;
    };

    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::atomic<bool> m_stop{false};
    int m_generation = 0; // guarded by m_mutex
    std::thread m_thread;
    QObject *m_owner = nullptr; // outlives the thread: its owner stops it first
    std::shared_ptr<Token> m_token;
};

} // namespace nivra
