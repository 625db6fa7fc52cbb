#pragma once

#include "Color.h"
#include "ContentSize.h"
#include "Control.h"
#include "Exceptions.h"
#include "MenuBar.h"
#include "MenuHandlerTable.h"
#include "Ref.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenuBar;
class QWidget;
class WindowMenuBar;

// A top-level window. Windows are made with new and belong to the framework
// from then on: closing one deletes it when control returns to the event
// loop (see EventGuard); nothing may use a window after its close.
//
// A concrete window's constructor calls construct(), which runs Layout
// (properties), CreateControls (addControl<T>(...) for each control, binding
// its events to lambdas), AddMenuHandlers, then each control's Open event,
// then Event_Open, and shows the window if Visible (and not closed by then).
//
// Window.cpp holds the frame, the controls and the list of open windows;
// WindowMenus.cpp the menu bar and its commands; WindowKeys.cpp the keys the
// window answers itself.
class Window {
  public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Events.
    virtual void Event_Open() {}
    // Asked before every close (Close, the close box, quitting); true keeps
    // the window open.
    virtual bool Event_CancelClose(bool appQuitting) {
        (void)appQuitting;
        return false;
    }
    // Raised after the close was agreed, before the window goes.
    virtual void Event_Close() {}
    // Raised when the window becomes the active one (the user comes back
    // to it).
    virtual void Event_Activate() {}

    // Properties. The size is that of the content area below the menu bar,
    // in which controls are placed.
    const std::string& Title() const { return title_; }
    void setTitle(const std::string& title); // bytes; shown as text
    void setSize(int width, int height);
    void setMinimumSize(int width, int height);
    void setMaximumSize(int width, int height);
    bool Resizeable() const { return resizeable_; }
    void setResizeable(bool value);
    void setCloseButton(bool value);
    void setMinimizeButton(bool value);
    void setMaximizeButton(bool value);
    Color BackColor() const { return backColor_; }
    bool HasBackColor() const { return hasBackColor_; }
    void setBackColor(Color color); // also sets HasBackColor
    void setHasBackColor(bool value);
    // Whether construct() shows the window, and afterwards whether it shows.
    bool Visible() const;
    void setVisible(bool value);
    // Shows the window, minimised or not, in front of the others, active.
    void Show();
    void Hide();
    // Redraws the window with its controls: at once when immediately,
    // otherwise when control next returns to the event loop.
    void Refresh(bool immediately = false);

    // Asks Event_CancelClose, then raises Event_Close and closes the window.
    // Returns whether it closed; closing a closed window does nothing.
    bool Close();
    bool IsClosed() const { return closed_; }

    // The window's own menu bar; when nil, the application's is shown.
    const Ref<::MenuBar>& MenuBar() const { return menuBar_; }
    void setMenuBar(const Ref<::MenuBar>& bar);
    // The menu bar the window shows: its own or the application's.
    Ref<::MenuBar> shownMenuBar() const;
    // A handler of this window for a menu item's Name, used while the
    // window is the one the command reaches (its own menu bar, or the
    // frontmost window); true means handled.
    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    // Runs a command as this window's menu bar would: this window's handler,
    // then the application's.
    bool HandleMenuCommand(const std::string& itemName);
    // Builds the shown menu bar anew, and updates which items are enabled.
    void rebuildMenuBar();
    void refreshMenuStates();
    // The action of the item in the window's menu bar (tests look at its
    // text, shortcut and enabled state, and trigger it); nullptr when none.
    QAction* menuAction(const std::string& itemName) const;
    QMenuBar* menuBarWidget() const;

    // Controls, registered under their names.
    template <class T>
    T& addControl(const std::string& name, int left, int top, int width, int height) {
        auto control = std::make_unique<T>(*this, name);
        T& made = *control;
        registerControl(std::move(control));
        made.setBounds(left, top, width, height);
        return made;
    }
    // The control of that name and class; raises NilObjectException when
    // there is none.
    template <class T> T& control(const std::string& name) const {
        T* found = dynamic_cast<T*>(findControl(name));
        if (found == nullptr)
            throw NilObjectException("No control named " + name + " of that kind.");
        return *found;
    }
    Control* findControl(const std::string& name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    QWidget* widget() const { return widget_; }
    QWidget* content() const { return content_; }

    // The windows open now, in the order they were made.
    static std::vector<Window*> openWindows();
    // The first open window of class T (the implicit window of a class), or
    // nullptr.
    template <class T> static T* find() {
        for (Window* window : openWindows())
            if (auto* found = dynamic_cast<T*>(window))
                return found;
        return nullptr;
    }
    // The window shown or activated last that is still open, or nullptr.
    static Window* frontmost();
    // Asks every open window to close, newest first; stops at the first that
    // refuses and returns false.
    static bool CloseAll(bool appQuitting);
    // Deletes every window at once, open or closed, without any event (for
    // the program's end and between tests).
    static void DiscardAll();
    // Deletes the closed windows, unless program code runs from an event
    // (the outermost EventGuard asks again when it ends).
    static void deleteClosedWindows();
    // The same, from the event loop soon.
    static void deleteClosedWindowsLater();
    // Called each time the last open window has closed (the application
    // quits then).
    static void setWhenLastClosed(std::function<void()> handler);

  protected:
    Window();
    void construct();
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers() {}

  private:
    void registerControl(std::unique_ptr<Control> control);
    void applyFlags();
    void applyGeometry();
    bool closeWindow(bool appQuitting);
    void contentResized();
    bool handleKey(const QKeyEvent& key);
    bool pressDefaultOrCancel(bool isReturn);
    bool hasTextField() const;
    void becameFront();
    void finishClose();

    QWidget* widget_ = nullptr;
    QWidget* content_ = nullptr;
    std::unique_ptr<WindowMenuBar> menus_;
    std::vector<std::unique_ptr<Control>> controls_;
    MenuHandlerTable menuHandlers_;
    Ref<::MenuBar> menuBar_;
    std::string title_;
    ContentSize size_;
    Color backColor_{0xFF, 0xFF, 0xFF};
    bool hasBackColor_ = false;
    bool resizeable_ = true;
    bool closeButton_ = true, minimizeButton_ = true, maximizeButton_ = true;
    int minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
    bool visible_ = true;
    bool constructing_ = false;
    bool closing_ = false;
    bool closed_ = false;
};
