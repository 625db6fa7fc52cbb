#pragma once

#include <functional>

// Program code runs from Qt's events only inside a guard. An exception it
// raises goes to the one unhandled-exception report and never into Qt's
// event loop, which does not allow exceptions through. While any guard is
// active, closed windows are kept; they are deleted from the event loop after
// the outermost guard has ended, so code that closed a window (or was
// delivered a close while it pumped events) never meets a deleted window.
class EventGuard {
  public:
    EventGuard();
    ~EventGuard();
    EventGuard(const EventGuard&) = delete;
    EventGuard& operator=(const EventGuard&) = delete;

    // Runs code for an event; returns false when it raised an exception,
    // which has been reported.
    static bool run(const std::function<void()>& code);
    // How many guards are active now.
    static int depth();
    // Called each time the outermost guard ends: the windows set it to
    // delete the closed ones.
    static void setWhenOutermostEnds(void (*code)());
};
