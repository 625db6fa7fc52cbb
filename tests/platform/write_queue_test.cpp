#include "Exceptions.h"
#include "WriteQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Guards: a result overtaking an older one (the caller logs in walk order),
// a failing or throwing job hiding later results or its error, and taking a result
// waiting for more than the oldest job.
TEST(WriteQueueResults, ComeInSubmissionOrderWhateverOrderJobsEndIn) {
    constexpr int count = 6;
    const char outcomes[] = "wfwtwf"; // writes, fails, throws
    std::promise<void> gates[count], ended[count];
    WriteQueue queue(count);
    for (int i = 0; i < count; ++i)
        queue.submit([&, i, opened = gates[i].get_future().share()] {
            opened.wait();
            ended[i].set_value();
            if (outcomes[i] == 't')
                throw std::runtime_error("disk gone");
            return outcomes[i] == 'w' ? WriteResult::written({}) : WriteResult::failed(ENOSPC);
        });
    const auto finish = [&](int i) {
        gates[i].set_value();
        ended[i].get_future().wait();
    };
    EXPECT_TRUE(queue.full());
    for (const int i : {5, 3, 4})
        finish(i);
    EXPECT_FALSE(queue.oldestDone()) << "the oldest job still runs";
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        gates[0].set_value();
    });
    EXPECT_TRUE(queue.oldestDone(10s)) << "waits until the oldest job ends";
    EXPECT_TRUE(queue.takeOldest().ok());
    opener.join();
    EXPECT_FALSE(queue.oldestDone()) << "the next job still runs";
    finish(2);
    finish(1);
    std::vector<int> errors; // a throwing job gives EIO
    while (!queue.empty())
        errors.push_back(queue.takeOldest().error());
    EXPECT_EQ(errors, (std::vector<int>{ENOSPC, 0, EIO, 0, ENOSPC}));
    EXPECT_THROW(queue.takeOldest(), OutOfBoundsException);
}

// Guards: more than maxInFlight jobs submitted and untaken or running at
// once (1: strictly one after another).
TEST(WriteQueueBound, NeverMoreThanMaxInFlightAndOneMeansOneAtATime) {
    for (const size_t maxInFlight : {0, 1, 2, 4}) {
        const int bound = std::max<int>(maxInFlight, 1);
        std::atomic<int> running = 0, mostRunning = 0, done = 0;
        WriteQueue queue(maxInFlight);
        int untaken = 0, mostUntaken = 0;
        for (int i = 0; i < 24; ++i) {
            if (queue.full()) {
                EXPECT_THROW(queue.submit([] { return WriteResult::written({}); }),
                             OutOfBoundsException);
                EXPECT_TRUE(queue.takeOldest().ok());
                --untaken;
            }
            queue.submit([&] {
                for (int now = ++running, seen = mostRunning;
                     now > seen && !mostRunning.compare_exchange_weak(seen, now);) {
                }
                std::this_thread::sleep_for(1ms);
                --running;
                ++done;
                return WriteResult::written({});
            });
            mostUntaken = std::max(mostUntaken, ++untaken);
            for (; queue.oldestDone(); --untaken)
                EXPECT_TRUE(queue.takeOldest().ok());
        }
        while (!queue.empty())
            EXPECT_TRUE(queue.takeOldest().ok());
        EXPECT_EQ(done, 24) << maxInFlight;
        EXPECT_LE(std::max<int>(mostUntaken, mostRunning), bound) << maxInFlight;
    }
}

// Guards: jobs in flight run one by one instead of all waiting for the disk
// at once, and a queue that ends (Stop, a closed window) dropping a write
// the user has been told about.
TEST(WriteQueueEnd, RunsJobsInFlightTogetherAndWaitsForEveryOne) {
    constexpr int count = 4;
    std::atomic<int> started = 0, overlapped = 0;
    {
        WriteQueue queue(count);
        for (int i = 0; i < count; ++i)
            queue.submit([&] {
                ++started;
                const auto giveUp = std::chrono::steady_clock::now() + 10s;
                while (started < count && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(1ms);
                std::this_thread::sleep_for(20ms);
                overlapped += started == count;
                return WriteResult::written({});
            });
    }
    EXPECT_EQ(overlapped, count);
}
