#pragma once

#include "FolderItem.h"
#include "MenuBar.h"
#include "MenuCommands.h"
#include "Ref.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The application object: exactly one exists while the program runs. The
// program derives its own class and overrides the events it handles. It uses
// the QApplication that the program (or a test) made before it.
class Application {
  public:
    Application(); // registers this object as the application
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The registered application object; nullptr before one exists.
    static Application* instance();

    // Raised once, before any document is opened.
    virtual void Event_Open() {}
    // Raised for a file the desktop hands to the program.
    virtual void Event_OpenDocument(const Ref<FolderItem>& item) { (void)item; }

    // Raises Open (once) and delivers the documents queued before it, in
    // order, without entering the event loop.
    void Start();
    // Start, then the event loop until the application quits; the result is
    // the process's exit status.
    int Run();
    // Hands a file to Event_OpenDocument; before Open has been raised the
    // file waits and is delivered after it.
    void OpenDocument(const Ref<FolderItem>& item);

    // Runs the events that are waiting (milliseconds -1: just those).
    void DoEvents(int milliseconds = -1);

    // Asks every open window to close, as for quitting; the first that
    // refuses (CancelClose) stops the quit and false is returned. Otherwise
    // the event loop ends.
    bool Quit();

    // The program's name as users see it, in the title of its dialogs;
    // when empty, Qt's name of the application.
    void setDisplayName(const std::string& name);

    // The menu bar that windows without their own show.
    const Ref<::MenuBar>& MenuBar() const { return commands_.menuBar(); }
    void setMenuBar(const Ref<::MenuBar>& bar);

    // Installs the handler of a menu item by its Name; true from the handler
    // means the command was handled.
    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    // Runs a menu command as the menu would: the frontmost window's handler
    // first, then the application's; the quit item quits when nobody handles
    // it. False when nothing handled it.
    bool HandleMenuCommand(const std::string& itemName);

    // The framework for a whole run of the program: made from the process
    // arguments before program runs, gone after it returns. program gets
    // the arguments the framework leaves (files to open, as native paths);
    // its result is the process's exit status.
    static int RunProgram(int argc, char** argv,
                          const std::function<int(const std::vector<std::string>&)>& program);

  private:
    void lastWindowClosed();
    void deliverQueuedDocuments();
    void watchDesktopEvents();

    bool opened_ = false;
    bool running_ = false;
    std::deque<Ref<FolderItem>> queuedDocuments_;
    MenuCommands commands_{[this] { Quit(); }};
    // How the desktop's file-open and session events reach this object.
    struct DesktopConnections;
    std::unique_ptr<DesktopConnections> desktop_;
};
