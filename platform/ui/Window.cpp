#include "Window.h"

#include "EventGuard.h"
#include "EventHook.h"
#include "Text.h"
#include "WindowMenuBar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace {

std::vector<Window*> openList;
std::vector<Window*> closedList;
Window* front = nullptr;
bool deletionPosted = false;
std::function<void()> whenLastClosed;

void removeFrom(std::vector<Window*>& list, Window* window) {
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

QString displayed(const std::string& bytes) {
    return QString::fromStdString(ToDisplayText(bytes));
}

} // namespace

Window::Window() {
    widget_ = new QWidget(nullptr, Qt::Window);
    auto* layout = new QVBoxLayout(widget_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    content_ = new QWidget(widget_);
    layout->addWidget(content_);
    new EventHook(widget_, [this](QEvent* event) {
        switch (event->type()) {
        case QEvent::Close:
            // Qt's own close would bypass the close question; the window goes
            // through Close, which hides it when it closes.
            event->ignore();
            EventGuard::run([this] { closeWindow(false); });
            return true;
        case QEvent::WindowActivate:
            becameFront();
            if (!closed_)
                EventGuard::run([this] { Event_Activate(); });
            return false;
        case QEvent::KeyPress: {
            bool handled = false;
            EventGuard::run([&] { handled = handleKey(*static_cast<QKeyEvent*>(event)); });
            return handled;
        }
        default:
            return false;
        }
    });
    new EventHook(content_, [this](QEvent* event) {
        if (event->type() == QEvent::Resize)
            contentResized();
        return false;
    });
    openList.push_back(this);
    EventGuard::setWhenOutermostEnds(&Window::deleteClosedWindowsLater);
    applyFlags();
    applyGeometry();
}

Window::~Window() {
    removeFrom(openList, this);
    removeFrom(closedList, this);
    if (front == this)
        front = nullptr;
    // The hooks call into this half-destroyed object; they go before the
    // widgets, whose destruction can still send events.
    qDeleteAll(widget_->findChildren<EventHook*>());
    menus_.reset();
    delete widget_;
}

void Window::construct() {
    constructing_ = true;
    Layout();
    rebuildMenuBar();
    CreateControls();
    AddMenuHandlers();
    refreshMenuStates();
    for (const auto& control : controls_)
        if (!closed_)
            control->raiseOpen();
    if (!closed_)
        Event_Open();
    constructing_ = false;
    if (closed_)
        deleteClosedWindowsLater();
    else if (visible_)
        Show();
}

void Window::setTitle(const std::string& title) {
    title_ = title;
    widget_->setWindowTitle(displayed(title));
}

void Window::setSize(int width, int height) {
    size_.width = width;
    size_.height = height;
    applyGeometry();
}

void Window::setMinimumSize(int width, int height) {
    minWidth_ = width;
    minHeight_ = height;
    applyGeometry();
}

void Window::setMaximumSize(int width, int height) {
    maxWidth_ = width;
    maxHeight_ = height;
    applyGeometry();
}

void Window::setResizeable(bool value) {
    resizeable_ = value;
    applyFlags();
    applyGeometry();
}

void Window::setCloseButton(bool value) {
    closeButton_ = value;
    applyFlags();
}

void Window::setMinimizeButton(bool value) {
    minimizeButton_ = value;
    applyFlags();
}

void Window::setMaximizeButton(bool value) {
    maximizeButton_ = value;
    applyFlags();
}

void Window::applyFlags() {
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (closeButton_)
        flags |= Qt::WindowCloseButtonHint;
    if (minimizeButton_)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maximizeButton_ && resizeable_)
        flags |= Qt::WindowMaximizeButtonHint;
    const bool shown = widget_->isVisible();
    widget_->setWindowFlags(flags);
    if (shown)
        widget_->show();
}

void Window::applyGeometry() {
    auto* layout = widget_->layout();
    const int menuHeight = menus_ ? menus_->widget()->sizeHint().height() : 0;
    if (!resizeable_) {
        content_->setFixedSize(size_.width, size_.height);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        layout->setSizeConstraint(QLayout::SetDefaultConstraint);
        content_->setMinimumSize(minWidth_, minHeight_);
        content_->setMaximumSize(maxWidth_, maxHeight_);
        content_->resize(size_.width, size_.height);
        widget_->resize(size_.width, size_.height + menuHeight);
    }
}

void Window::contentResized() {
    size_.width = content_->width();
    size_.height = content_->height();
    for (const auto& control : controls_)
        control->followResize(size_.width, size_.height);
}

void Window::setBackColor(Color color) {
    backColor_ = color;
    setHasBackColor(true);
}

void Window::setHasBackColor(bool value) {
    hasBackColor_ = value;
    content_->setAutoFillBackground(value);
    QPalette palette = content_->palette();
    if (value)
        palette.setColor(QPalette::Window,
                         QColor(backColor_.red, backColor_.green, backColor_.blue));
    else
        palette = widget_->palette();
    content_->setPalette(palette);
}

bool Window::Visible() const {
    if (constructing_ || closed_)
        return visible_ && !closed_;
    return !widget_->isHidden();
}

void Window::setVisible(bool value) {
    visible_ = value;
    if (constructing_ || closed_)
        return;
    if (value)
        Show();
    else
        Hide();
}

void Window::Show() {
    if (closed_)
        return;
    visible_ = true;
    if (widget_->isMinimized())
        widget_->setWindowState(widget_->windowState() & ~Qt::WindowMinimized);
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
    becameFront();
}

void Window::Hide() {
    visible_ = false;
    widget_->hide();
}

void Window::Refresh(bool immediately) {
    if (immediately)
        widget_->repaint();
    else
        widget_->update();
}

void Window::becameFront() {
    if (!closed_)
        front = this;
}

bool Window::Close() {
    return closeWindow(false);
}

bool Window::closeWindow(bool appQuitting) {
    // A close asked for while the close question is still open is the same
    // close: it is not asked twice.
    if (closed_ || closing_)
        return closed_;
    closing_ = true;
    bool cancelled = false;
    try {
        cancelled = Event_CancelClose(appQuitting);
    } catch (...) {
        closing_ = false;
        throw;
    }
    if (cancelled) {
        closing_ = false;
        return false;
    }
    try {
        Event_Close();
    } catch (...) {
        finishClose();
        throw;
    }
    finishClose();
    return true;
}

void Window::finishClose() {
    closing_ = false;
    closed_ = true;
    removeFrom(openList, this);
    if (front == this)
        front = openList.empty() ? nullptr : openList.back();
    widget_->hide();
    closedList.push_back(this);
    if (!constructing_)
        deleteClosedWindowsLater();
    if (openList.empty() && whenLastClosed)
        whenLastClosed();
}

void Window::setWhenLastClosed(std::function<void()> handler) {
    whenLastClosed = std::move(handler);
}

void Window::deleteClosedWindowsLater() {
    if (deletionPosted || closedList.empty() || QCoreApplication::instance() == nullptr)
        return;
    deletionPosted = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            deletionPosted = false;
            deleteClosedWindows();
        },
        Qt::QueuedConnection);
}

void Window::deleteClosedWindows() {
    if (EventGuard::depth() > 0)
        return;
    std::vector<Window*> doomed;
    for (Window* window : closedList)
        if (!window->constructing_)
            doomed.push_back(window);
    for (Window* window : doomed)
        delete window;
}

std::vector<Window*> Window::openWindows() {
    return openList;
}

Window* Window::frontmost() {
    if (front != nullptr)
        return front;
    return openList.empty() ? nullptr : openList.back();
}

bool Window::CloseAll(bool appQuitting) {
    std::vector<Window*> windows = openList;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        Window* window = *it;
        // An earlier close may have closed this one too.
        if (std::find(openList.begin(), openList.end(), window) == openList.end())
            continue;
        if (!window->closeWindow(appQuitting))
            return false;
    }
    return true;
}

void Window::DiscardAll() {
    std::vector<Window*> all = openList;
    all.insert(all.end(), closedList.begin(), closedList.end());
    for (Window* window : all)
        delete window;
}

void Window::registerControl(std::unique_ptr<Control> control) {
    if (findControl(control->Name()) != nullptr)
        throw RuntimeException("A control named " + control->Name() + " exists already.");
    control->area_ = &size_;
    control->widget()->show();
    controls_.push_back(std::move(control));
}

Control* Window::findControl(const std::string& name) const {
    for (const auto& control : controls_)
        if (control->Name() == name)
            return control.get();
    return nullptr;
}
