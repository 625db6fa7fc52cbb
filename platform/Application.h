#pragma once

#include "FolderItem.h"
#include "Ref.h"

// The application object: exactly one exists while the program runs. The
// program derives its own class and overrides the events it handles.
class Application {
public:
    Application();  // registers this object as the application
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The registered application object; nullptr before one exists.
    static Application* instance();

    // Raised once, before any document is opened.
    virtual void Event_Open() {}
    // Raised for a file the desktop hands to the program.
    virtual void Event_OpenDocument(const Ref<FolderItem>& item) { (void)item; }

    // Runs the events that are waiting (milliseconds -1: just those).
    void DoEvents(int milliseconds = -1);
};
