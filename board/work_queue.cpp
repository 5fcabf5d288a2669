#include "board/work_queue.h"

namespace board {

WorkQueue::WorkQueue(int workers, std::size_t capacity) : m_capacity(capacity)
{
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

WorkQueue::~WorkQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

bool WorkQueue::tryPush(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping || m_jobs.size() >= m_capacity)
            return false;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
    return true;
}

void WorkQueue::work()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

} // namespace board
