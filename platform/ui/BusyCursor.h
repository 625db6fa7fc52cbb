#pragma once

// Shows the busy cursor over every window of the program while it lives, for
// work that holds the event loop (a path check, a count of files): the user
// sees that the program is working and not hung. Guards nest; the cursor
// goes back when the last one ends, also when the work raised an exception.
//
//   {
//       const BusyCursor busy;
//       report = material.ResetPaths(status);
//   }
//   MsgBox(report); // shown with the usual cursor
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool shown_;
};
