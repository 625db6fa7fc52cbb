#pragma once

#include "WriteQueue.h"
#include "WriteResult.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// How a batch run paces itself.
struct BatchSettings {
    // The longest the count and the walk go on without letting events
    // through, so that a window is drawn and "Stop!" heard on any tree.
    std::chrono::milliseconds pumpInterval{10};
    // The shortest time between two paints of the progress, at about the
    // screen's pace; whatever a paint skipped, the next one shows, and the
    // last state is always shown.
    std::chrono::milliseconds paintInterval{33};
    // At most this many writes in flight,
    std::size_t writesInFlight = WriteQueue::DefaultMaxInFlight;
    // holding at most this many bytes together; a larger file goes alone.
    std::size_t bytesInFlight = std::size_t{256} << 20;
    // At most this many files read and checked ahead of the one shown, on
    // as many worker threads as readThreads, and together at most as large
    // as bytesInFlight (a larger file goes alone). 0: each file is read
    // and checked on the caller's thread when its turn comes.
    std::size_t readAhead = 16;
    std::size_t readThreads = 4;
    // Run on each write's thread before anything else, given the native
    // path of the file about to be written: tests hold or hinder writes
    // with it. A result given back is taken in place of the write's.
    std::function<std::optional<WriteResult>(const std::string& path)> beforeEachWrite;
};
