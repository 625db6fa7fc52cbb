#include "MenuItem.h"

#include "Exceptions.h"
#include "Text.h"

#include <QStringList>

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

QKeySequence MenuItem::keySequenceOf(const std::string& shortcut) {
    const QStringList parts = QString::fromStdString(shortcut).split('+');
    if (shortcut.empty() || parts.last().isEmpty())
        return {};
    QStringList portable;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString modifier = parts[i].trimmed().toLower();
        if (modifier == "cmd" || modifier == "ctrl" || modifier == "control")
            portable << "Ctrl";
        else if (modifier == "shift")
            portable << "Shift";
        else if (modifier == "alt" || modifier == "option")
            portable << "Alt";
        else
            return {};
    }
    QString key = parts.last().trimmed();
    // "Cmd+l" and "Cmd+L" are the same key; Shift is named on its own.
    if (key.size() == 1)
        key = key.toUpper();
    portable << key;
    const QKeySequence sequence = QKeySequence::fromString(portable.join('+'));
    return sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown ? sequence
                                                                         : QKeySequence();
}
