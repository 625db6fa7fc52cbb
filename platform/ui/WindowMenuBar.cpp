#include "WindowMenuBar.h"
#include "MenuShortcut.h"

#include "Text.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QString displayed(const std::string& bytes) {
    return QString::fromStdString(ToDisplayText(bytes));
}

} // namespace

WindowMenuBar::WindowMenuBar(QWidget* window, const ::MenuBar& bar,
                             std::function<void(const std::string&)> runCommand,
                             std::function<void()> aboutToShow)
    : qtMenuBar_(new QMenuBar(window)), runCommand_(std::move(runCommand)) {
    qtMenuBar_->setNativeMenuBar(false);
    for (int i = 0; i < bar.Count(); ++i) {
        Ref<MenuItem> title = bar.Item(i);
        QMenu* menu = qtMenuBar_->addMenu(displayed(title->Text()));
        actions_[title->Name()] = menu->menuAction();
        QObject::connect(menu, &QMenu::aboutToShow, menu, aboutToShow);
        addItems(*menu, *title);
    }
}

WindowMenuBar::~WindowMenuBar() {
    if (qtMenuBar_.isNull())
        return;
    qtMenuBar_->hide();
    qtMenuBar_->deleteLater();
}

void WindowMenuBar::addItems(QMenu& menu, const MenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        Ref<MenuItem> item = parent.Item(i);
        if (item->IsSeparator())
            menu.addSeparator();
        else if (item->Count() > 0)
            addItems(*menu.addMenu(displayed(item->Text())), *item);
        else
            addCommand(menu, *item);
    }
}

void WindowMenuBar::addCommand(QMenu& menu, const MenuItem& item) {
    QAction* action = menu.addAction(displayed(item.Text()));
    action->setShortcut(keySequenceOf(item.KeyboardShortcut()));
    const std::string name = item.Name();
    QObject::connect(action, &QAction::triggered, action, [run = runCommand_, name] { run(name); });
    actions_[name] = action;
}

QAction* WindowMenuBar::action(const std::string& itemName) const {
    auto found = actions_.find(itemName);
    return found == actions_.end() ? nullptr : found->second;
}

void WindowMenuBar::refreshStates(const ::MenuBar& bar,
                                  const std::function<bool(const MenuItem&)>& available) {
    for (const auto& [name, action] : actions_) {
        Ref<MenuItem> item = bar.FindItem(name);
        if (!item.isNil() && action->menu() == nullptr)
            action->setEnabled(available(*item));
    }
}
