#pragma once

#include "Ref.h"

#include <string>
#include <vector>

// One item of a menu tree: a menu title, a command or a separator (Text
// "-"). Commands reach code only through handlers installed under the
// item's Name on the application or a window.
class MenuItem {
  public:
    MenuItem() = default;
    MenuItem(std::string name, std::string text, std::string keyboardShortcut = "");
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& Name() const { return name_; }
    void setName(const std::string& value) { name_ = value; }
    // "&" marks the next letter as the mnemonic.
    const std::string& Text() const { return text_; }
    void setText(const std::string& value) { text_ = value; }
    // "Cmd+X", "Cmd+Shift+S"; Cmd is the platform's command key, Ctrl here.
    const std::string& KeyboardShortcut() const { return shortcut_; }
    void setKeyboardShortcut(const std::string& value) { shortcut_ = value; }
    // Enabled while a handler for the item exists on the command's road.
    bool AutoEnable() const { return autoEnable_; }
    void setAutoEnable(bool value) { autoEnable_ = value; }
    // Used when AutoEnable is false.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value) { enabled_ = value; }

    bool IsSeparator() const { return text_ == "-"; }
    virtual bool IsQuitItem() const { return false; }

    // Adds a child item after the others.
    void Append(const Ref<MenuItem>& item);
    // The direct child of that Name, or nil.
    Ref<MenuItem> Child(const std::string& name) const;
    // The item of that Name anywhere below this one, or nil.
    Ref<MenuItem> FindItem(const std::string& name) const;
    int Count() const { return static_cast<int>(children_.size()); }
    // 0-based; raises OutOfBoundsException outside 0 .. Count - 1.
    Ref<MenuItem> Item(int index) const;

  private:
    std::string name_, text_, shortcut_;
    bool autoEnable_ = true;
    bool enabled_ = true;
    std::vector<Ref<MenuItem>> children_;
};
