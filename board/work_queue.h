#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace board {

// Worker threads taking jobs from a queue of bounded length: a job that finds it full is turned
// away at once, so a flood of work waits nowhere unbounded.
class WorkQueue {
public:
    WorkQueue(int workers, std::size_t capacity);
    // Lets the running jobs finish; the queued ones are dropped.
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    // False when the queue is full.
    bool tryPush(std::function<void()> job);

private:
    void work();

    std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace board
