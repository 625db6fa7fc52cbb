#pragma once

#include "FolderItem.h"
#include "MenuBar.h"
#include "Ref.h"

#include <QMetaObject>
#include <QPointer>

#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

class Window;

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
    const std::string& DisplayName() const { return displayName_; }
    void setDisplayName(const std::string& name) { displayName_ = name; }

    // The menu bar that windows without their own show.
    const Ref<::MenuBar>& MenuBar() const { return menuBar_; }
    void setMenuBar(const Ref<::MenuBar>& bar);

    // Installs the handler of a menu item by its Name; true from the handler
    // means the command was handled.
    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    bool HasMenuHandler(const std::string& itemName) const;
    // Runs a menu command as the menu would: the frontmost window's handler
    // first, then the application's; the quit item quits when nobody handles
    // it. False when nothing handled it.
    bool HandleMenuCommand(const std::string& itemName);

    // The one handling of an exception that no program code caught: a
    // message naming it, or for a FileException its own message alone; the
    // program goes on.
    static void reportUnhandledException(const std::exception& error);
    static void reportUnknownException();

    // The framework for a whole run of the program: made from the process
    // arguments before program runs, gone after it returns. program gets
    // the arguments the framework leaves (files to open, as native paths);
    // its result is the process's exit status.
    static int RunProgram(int argc, char** argv,
                          const std::function<int(const std::vector<std::string>&)>& program);

    // Used by windows: the command's road starting at that window (which may
    // be nullptr), and whether a handler for the item exists on that road.
    static bool routeMenuCommand(Window* window, const std::string& itemName);
    static bool menuCommandAvailable(const Window* window, const MenuItem& item);
    // Used by windows: the last open window has gone.
    void lastWindowClosed();

  private:
    bool runOwnHandler(const std::string& itemName);
    void deliverQueuedDocuments();
    void watchDesktopEvents();

    bool opened_ = false;
    bool running_ = false;
    std::deque<Ref<FolderItem>> queuedDocuments_;
    std::map<std::string, std::function<bool()>> menuHandlers_;
    Ref<::MenuBar> menuBar_;
    std::string displayName_;
    QPointer<QObject> desktopHook_;
    QMetaObject::Connection sessionConnection_;
};
