#include "WriteQueue.h"

#include "Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

WriteQueue::WriteQueue(std::size_t maxInFlight)
    : maxInFlight_(std::max<std::size_t>(1, maxInFlight)) {
    // One worker per job in flight: every job can wait for the disk at once.
    try {
        for (std::size_t i = 0; i < maxInFlight_; ++i)
            workers_.emplace_back([this] { work(); });
    } catch (...) {
        // The workers already started must end before their threads go.
        closeAndJoin();
        throw;
    }
}

WriteQueue::~WriteQueue() {
    closeAndJoin();
}

void WriteQueue::closeAndJoin() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    jobWaiting_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
}

void WriteQueue::submit(std::function<WriteResult()> job) {
    if (full())
        throw OutOfBoundsException("A write was submitted while the queue was full.");
    std::packaged_task<WriteResult()> task(std::move(job));
    results_.push_back(task.get_future());
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(task));
    }
    jobWaiting_.notify_one();
}

bool WriteQueue::oldestDone(std::chrono::milliseconds wait) const {
    return !results_.empty() && results_.front().wait_for(wait) == std::future_status::ready;
}

WriteResult WriteQueue::takeOldest() {
    if (results_.empty())
        throw OutOfBoundsException("No write is waiting to be taken.");
    std::future<WriteResult> oldest = std::move(results_.front());
    results_.pop_front();
    try {
        return oldest.get();
    } catch (...) {
        return WriteResult::failed(EIO);
    }
}

void WriteQueue::waitForAll() const {
    for (const auto& result : results_)
        result.wait();
}

// A worker runs waiting jobs until the queue closes and none is left.
void WriteQueue::work() {
    for (;;) {
        std::packaged_task<WriteResult()> task;
        {
            std::unique_lock lock(mutex_);
            jobWaiting_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
            if (waiting_.empty())
                return;
            task = std::move(waiting_.front());
            waiting_.pop_front();
        }
        // The task keeps the job's result or exception for takeOldest.
        task();
    }
}
