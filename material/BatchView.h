#pragma once

#include <cstdint>
#include <string>

// What a batch run (BatchRun) needs from whoever shows it: the batch window,
// or a test or benchmark that runs the batch without one.
class BatchView {
  public:
    virtual ~BatchView() = default;

    // Handles the events that are waiting, such as a click on "Stop!".
    virtual void letEventsThrough() = 0;
    // Whether a stop was asked for; once true, it stays true.
    virtual bool stopAsked() const = 0;
    // A file is done: its entry (empty for a file that gives none) has
    // joined the log, and done of total files are done. Called in walk
    // order, once per file.
    virtual void showFile(const std::string& name, int32_t done, int32_t total,
                          const std::string& entry) = 0;
    // A write failed: the message that tells the user why, shown right
    // before the file.
    virtual void showFailure(const std::string& message) = 0;
};
