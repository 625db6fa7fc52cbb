#include "BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

// Without a GUI application (a process without a display) there is no cursor
// to change.
BusyCursor::BusyCursor()
    : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (shown_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    if (shown_ && QCoreApplication::instance() != nullptr)
        QGuiApplication::restoreOverrideCursor();
}
