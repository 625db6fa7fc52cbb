#pragma once

#include "FolderItem.h"
#include "WriteQueue.h"

#include <chrono>
#include <cstddef>
#include <functional>

// How a batch run paces itself.
struct BatchSettings {
    // The longest the count and the walk go on without letting events
    // through, so that a window is drawn and "Stop!" heard on any tree.
    std::chrono::milliseconds pumpInterval{10};
    // At most this many writes in flight.
    std::size_t writesInFlight = WriteQueue::DefaultMaxInFlight;
    // Run on each write's thread before anything else, given the file about
    // to be written: tests hold or hinder writes with it.
    std::function<void(const FolderItem&)> beforeEachWrite;
};
