#pragma once

#include <functional>
#include <string>

class QWidget;
struct ContentSize;
class Window;

// A control inside a window, registered there under its name. The window
// owns it; it lives as long as the window. Coordinates are pixels from the
// top left corner of the window's content area.
class Control {
  public:
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    Window& window() const { return window_; }
    QWidget* widget() const { return widget_; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setBounds(int left, int top, int width, int height);
    // The window edges the control keeps its distance to when the window
    // is resized; locked to both opposite edges, it grows with the window.
    void setLocks(bool left, bool top, bool right, bool bottom);

    bool Enabled() const;
    void setEnabled(bool value);
    bool Visible() const;
    // Redraws the control soon.
    virtual void Refresh();

    // Raised once when the window opens, before the window's Open event.
    void onOpen(std::function<void()> handler) { open_ = std::move(handler); }

    // Return (isReturn) or Escape that no control took reaches each control
    // of the window in turn; the one that answers it (a default or cancel
    // button) returns true.
    virtual bool answerWindowKey(bool isReturn) {
        (void)isReturn;
        return false;
    }

  protected:
    Control(Window& window, std::string name, QWidget* widget);

  private:
    friend class Window;
    void raiseOpen();
    void followResize(int contentWidth, int contentHeight);

    Window& window_;
    // The window's content area, whose edges the locks keep distances to;
    // the window sets it when it registers the control.
    const ContentSize* area_ = nullptr;
    std::string name_;
    QWidget* widget_;
    std::function<void()> open_;
    bool lockLeft_ = true, lockTop_ = true, lockRight_ = false, lockBottom_ = false;
    int rightGap_ = 0, bottomGap_ = 0;
};
