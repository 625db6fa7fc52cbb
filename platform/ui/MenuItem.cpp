#include "MenuItem.h"

#include "Exceptions.h"
#include "Text.h"

MenuItem::MenuItem(std::string name, std::string text, std::string keyboardShortcut)
    : name_(std::move(name)), text_(std::move(text)), shortcut_(std::move(keyboardShortcut)) {}

void MenuItem::Append(const Ref<MenuItem>& item) {
    children_.push_back(item);
}

Ref<MenuItem> MenuItem::Child(const std::string& name) const {
    for (const Ref<MenuItem>& child : children_)
        if (child->Name() == name)
            return child;
    return nullptr;
}

Ref<MenuItem> MenuItem::FindItem(const std::string& name) const {
    for (const Ref<MenuItem>& child : children_) {
        if (child->Name() == name)
            return child;
        if (Ref<MenuItem> found = child->FindItem(name))
            return found;
    }
    return nullptr;
}

Ref<MenuItem> MenuItem::Item(int index) const {
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("Menu item " + std::to_string(index) + " does not exist.");
    return children_[static_cast<size_t>(index)];
}
