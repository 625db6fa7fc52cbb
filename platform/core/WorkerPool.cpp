#include "WorkerPool.h"

WorkerPool::WorkerPool(std::size_t threads) {
    try {
        for (std::size_t i = 0; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    } catch (...) {
        // The threads already started must end before they go.
        end();
        throw;
    }
}

WorkerPool::~WorkerPool() {
    end();
}

void WorkerPool::end() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkerPool::submit(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerPool::work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
            if (ending_)
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}
