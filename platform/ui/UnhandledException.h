#pragma once

#include <exception>

// The one handling of an exception that no program code caught: a message
// that names it, and the program goes on.
class UnhandledException {
  public:
    // A FileException shows its own message alone; any other exception is
    // named by its class, followed by its message.
    static void report(const std::exception& error);
    // An exception that is no std::exception.
    static void reportUnknown();
};
