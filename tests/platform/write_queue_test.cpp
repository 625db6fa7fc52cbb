#include "Exceptions.h"
#include "WriteQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

enum class Outcome { Writes, Fails, Throws };

// A job that waits until the test opens its gate, then ends with its outcome.
struct GatedJob {
    Outcome outcome;
    std::promise<void> gate;
    std::promise<void> ended;

    std::function<bool()> job() {
        return [this, opened = gate.get_future().share()] {
            opened.wait();
            ended.set_value();
            if (outcome == Outcome::Throws)
                throw std::runtime_error("disk gone");
            return outcome == Outcome::Writes;
        };
    }
    void finish() {
        gate.set_value();
        ended.get_future().wait();
    }
};

} // namespace

// The caller logs each file's result in walk order, so a result must never
// overtake an older one, a failing or throwing job must hide no later result,
// and taking a result waits for the oldest job alone.
TEST(WriteQueueResults, ComeInSubmissionOrderWhateverOrderJobsEndIn) {
    std::vector<GatedJob> jobs(6);
    const Outcome outcomes[] = {Outcome::Writes, Outcome::Fails,  Outcome::Writes,
                                Outcome::Throws, Outcome::Writes, Outcome::Fails};
    WriteQueue queue(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].outcome = outcomes[i];
        queue.submit(jobs[i].job());
    }
    EXPECT_TRUE(queue.full());
    for (const size_t i : {5, 3, 4})
        jobs[i].finish();
    EXPECT_FALSE(queue.oldestDone()) << "the oldest job still runs";
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        jobs[0].gate.set_value();
    });
    EXPECT_TRUE(queue.oldestDone(10s)) << "waits until the oldest job ends";
    EXPECT_TRUE(queue.takeOldest());
    opener.join();
    EXPECT_FALSE(queue.oldestDone()) << "the next job still runs";
    jobs[2].finish();
    jobs[1].finish();
    std::vector<bool> results;
    while (!queue.empty())
        results.push_back(queue.takeOldest());
    EXPECT_EQ(results, (std::vector<bool>{false, true, false, true, false}));
    EXPECT_THROW(queue.takeOldest(), OutOfBoundsException);
}

// However the caller drives it, no more than maxInFlight jobs are submitted
// and untaken or running at once; with 1 the writes run strictly one after
// another.
TEST(WriteQueueBound, NeverMoreThanMaxInFlightAndOneMeansOneAtATime) {
    for (const size_t maxInFlight : {0, 1, 2, 4}) {
        SCOPED_TRACE(maxInFlight);
        const size_t bound = std::max<size_t>(maxInFlight, 1);
        std::atomic<int> running = 0, mostRunning = 0, done = 0;
        WriteQueue queue(maxInFlight);
        size_t untaken = 0, mostUntaken = 0;
        for (int i = 0; i < 24; ++i) {
            if (queue.full()) {
                EXPECT_THROW(queue.submit([] { return true; }), OutOfBoundsException);
                EXPECT_TRUE(queue.takeOldest());
                --untaken;
            }
            queue.submit([&] {
                const int now = ++running;
                int seen = mostRunning;
                while (now > seen && !mostRunning.compare_exchange_weak(seen, now)) {
                }
                std::this_thread::sleep_for(1ms);
                --running;
                ++done;
                return true;
            });
            mostUntaken = std::max(mostUntaken, ++untaken);
            while (queue.oldestDone()) {
                EXPECT_TRUE(queue.takeOldest());
                --untaken;
            }
        }
        while (!queue.empty())
            EXPECT_TRUE(queue.takeOldest());
        EXPECT_EQ(done, 24);
        EXPECT_LE(mostUntaken, bound);
        EXPECT_LE(mostRunning, static_cast<int>(bound));
    }
}

// The jobs in flight overlap: all of them wait for the disk at once.
TEST(WriteQueueBound, JobsInFlightRunAtTheSameTime) {
    constexpr int maxInFlight = 4;
    std::atomic<int> started = 0;
    WriteQueue queue(maxInFlight);
    for (int i = 0; i < maxInFlight; ++i)
        queue.submit([&] {
            ++started;
            const auto giveUp = std::chrono::steady_clock::now() + 10s;
            while (started < maxInFlight && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(1ms);
            return started == maxInFlight;
        });
    for (int i = 0; i < maxInFlight; ++i)
        EXPECT_TRUE(queue.takeOldest());
}

// A batch that ends (Stop, a closed window) while writes are in flight must
// not drop one: each of them replaces a file the user has been told about.
TEST(WriteQueueEnd, WaitsForEveryJobInFlightAndLosesNone) {
    std::atomic<int> written = 0;
    {
        WriteQueue queue(3);
        for (int i = 1; i <= 3; ++i)
            queue.submit([&written, i] {
                std::this_thread::sleep_for(i * 20ms);
                ++written;
                return true;
            });
    }
    EXPECT_EQ(written, 3);
}
