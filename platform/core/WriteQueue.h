#pragma once

#include "WorkerPool.h"
#include "WriteResult.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>

// Runs write jobs on worker threads while the caller goes on, and gives
// their results back in the order the jobs were submitted. At most
// maxInFlight jobs are submitted and not yet taken, so the caller never
// holds more than that many files' bytes and never waits for more than one
// job at a time:
//
//   WriteQueue writes(WriteQueue::DefaultMaxInFlight);
//   for (each file) {
//       if (writes.full())
//           report(writes.takeOldest());
//       // The job owns copies of what it uses and shows nothing: the
//       // caller reports a failure when it takes the result.
//       writes.submit([target = FolderItem(path), bytes] {
//           return target.WriteAtomically(bytes);
//       });
//       while (writes.oldestDone())
//           report(writes.takeOldest());
//   }
//   while (!writes.empty())
//       report(writes.takeOldest());
//
// Jobs start in submission order. Only jobs run on the workers; everything
// else (submit, full, empty, oldestDone, takeOldest) belongs to the one
// thread that owns the queue.
class WriteQueue {
  public:
    // A durable write spends most of its time waiting for the disk's flush,
    // and flushes that wait together are done together. For materials of a
    // few hundred kilobytes on a busy disk, 16 writes in flight came near
    // twice the time of a plain copy of the same files; 32 stayed well below.
    static constexpr std::size_t DefaultMaxInFlight = 32;

    // maxInFlight below 1 counts as 1: one job at a time.
    explicit WriteQueue(std::size_t maxInFlight);
    // Waits for every job submitted, started or not; untaken results are
    // dropped, no job is.
    ~WriteQueue();
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // Raises OutOfBoundsException when full(): the caller takes first.
    void submit(std::function<WriteResult()> job);
    bool full() const { return results_.size() >= maxInFlight_; }
    bool empty() const { return results_.empty(); }
    // takeOldest would not wait; waits at most the given time for that.
    bool oldestDone(std::chrono::milliseconds wait = {}) const;
    // Waits for the oldest untaken job and gives its result; a job that
    // raised an exception gives a failure (EIO). Raises OutOfBoundsException
    // when empty().
    WriteResult takeOldest();
    // Waits until every job submitted has ended; their results stay to be
    // taken.
    void waitForAll() const;

  private:
    const std::size_t maxInFlight_;
    // One future per untaken job, oldest first.
    std::deque<std::future<WriteResult>> results_;
    // One worker per job in flight: every job can wait for the disk at once.
    WorkerPool workers_;
};
