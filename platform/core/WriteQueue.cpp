#include "WriteQueue.h"

#include "Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>

WriteQueue::WriteQueue(std::size_t maxInFlight)
    : maxInFlight_(std::max<std::size_t>(1, maxInFlight)), workers_(maxInFlight_) {}

// The pool drops the jobs it has not started: every one is waited for first.
WriteQueue::~WriteQueue() {
    waitForAll();
}

void WriteQueue::submit(std::function<WriteResult()> job) {
    if (full())
        throw OutOfBoundsException("A write was submitted while the queue was full.");
    auto task = std::make_shared<std::packaged_task<WriteResult()>>(std::move(job));
    results_.push_back(task->get_future());
    // The task keeps the job's result or exception for takeOldest.
    workers_.submit([task] { (*task)(); });
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
