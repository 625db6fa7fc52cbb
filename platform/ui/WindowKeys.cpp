// The keys a window answers itself: those that no control took.
#include "Window.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

// Keys that no control took. The platform's close key closes the window as
// its close box does; a window whose menu answers that key (an editor's
// "Close") never sees it, the menu's shortcut takes it first. Escape
// closes a window without a cancel button too, unless it may be meant for
// a text field.
bool Window::handleKey(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Close)) {
        closeWindow(false);
        return true;
    }
    const bool isReturn = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!isReturn && key.key() != Qt::Key_Escape)
        return false;
    if (pressDefaultOrCancel(isReturn))
        return true;
    if (isReturn || hasTextField())
        return false;
    closeWindow(false);
    return true;
}

bool Window::hasTextField() const {
    return widget_->findChild<QLineEdit*>() != nullptr ||
           widget_->findChild<QTextEdit*>() != nullptr ||
           widget_->findChild<QPlainTextEdit*>() != nullptr ||
           widget_->findChild<QAbstractSpinBox*>() != nullptr;
}

bool Window::pressDefaultOrCancel(bool isReturn) {
    for (const auto& control : controls_)
        if (control->answerWindowKey(isReturn))
            return true;
    return false;
}
