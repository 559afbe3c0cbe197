#include "base/worker_thread.h"

#include <QMetaObject>

namespace nivra {

WorkerThread::~WorkerThread()
{
    stop();
    // A hand-back still queued finds the token dead and does nothing.
    if (m_token)
        m_token->alive = false;
}

void WorkerThread::start(std::function<void()> body, QObject *owner, std::function<void()> take)
{
    stop();
    // The previous worker's hand-backs were for it alone.
    if (m_token)
        m_token->alive = false;
    m_stop.store(false);
    m_owner = owner;
    m_token = std::make_shared<Token>();
    m_token->take = std::move(take);
    m_thread = std::thread(std::move(body));
}

void WorkerThread::requestStop()
{
    {
        // Under the lock, so that a worker about to wait sees the flag.
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stop.store(true);
    }
    m_condition.notify_all();
}

void WorkerThread::stop()
{
    if (!m_thread.joinable())
        return;
    requestStop();
    m_thread.join();
}

bool WorkerThread::wait(Lock &lock, const std::function<bool()> &ready)
{
    m_condition.wait(lock, [&] { return m_stop.load() || ready(); });
    return !m_stop.load();
}

void WorkerThread::handBack()
{
    if (!m_owner || !m_token || !m_token->take)
        return;
    // The token, not this shell, travels with the call: the shell may be
    // gone by the time it runs.
    std::shared_ptr<Token> token = m_token;
    if (token->pending.exchange(true))
        return; // one is on its way and takes everything stored by then
    QMetaObject::invokeMethod(
        m_owner,
        [token] {
            token->pending.store(false);
            if (token->alive)
                token->take();
        },
        Qt::QueuedConnection);
}

} // namespace nivra
