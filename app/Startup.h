#pragma once

#include "App.h"

#include <memory>
#include <string>
#include <vector>

// The program's start-up and end, in their fixed order, after the framework
// itself has been initialised with the process arguments.
class Startup {
  public:
    // Registers the file types (materials first, then pictures), makes the
    // one application object with the shared menu bar and its three menu
    // handlers, opens the start window, and hands each document (a native
    // path) to OpenDocument: they are opened after the Open event, in order.
    static std::unique_ptr<App> begin(const std::vector<std::string>& documents);
    // Releases what the run made: the windows, the application object, the
    // menu bar and the file types.
    static void end(std::unique_ptr<App> app);
    // The whole run: begin, the event loop until the user quits, end. An
    // exception that escapes any step is reported and ends the run; the
    // result is the process's exit status.
    static int run(const std::vector<std::string>& documents);
};
