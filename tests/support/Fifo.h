#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a FIFO at the path; false when the file system cannot hold one.
inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs call, which must come back at once although it touches the FIFO at
// path. A call that still waits after a second is let go by opening the
// FIFO from this side too, and is a failure, so that a fault fails the test
// rather than hanging it.
template <class Call>::testing::AssertionResult returnsAtOnce(const std::string& fifo, Call call) {
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(std::chrono::seconds(1)) == std::future_status::ready) {
        result.get();
        return ::testing::AssertionSuccess();
    }
    const int writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    ::close(writer);
    result.wait();
    return ::testing::AssertionFailure() << "waited on the FIFO " << fifo;
}
