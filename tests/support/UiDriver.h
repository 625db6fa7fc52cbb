#pragma once

// Drives controls the way a person would, through Qt events, for tests.

#include "Canvas.h"
#include "Control.h"
#include "Window.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace UiDriver {

// A mouse click in the middle of the control (a disabled control ignores it).
inline void click(Control& control) {
    QWidget& widget = *control.widget();
    const QPointF middle = widget.rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        // Pressed, the left button is held; released, no button is.
        QMouseEvent event(type, middle, widget.mapToGlobal(middle), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}
// A key press and release on the control; text is the character it types.
inline void pressKey(Control& control, int qtKey, const std::string& text = "") {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, QString::fromStdString(text));
        QApplication::sendEvent(control.widget(), &event);
    }
}
// The widget with the focus inside the widget (or the widget itself), its
// window made active first: keys go to the active window only.
inline QWidget& focusInside(QWidget& widget) {
    QWidget* window = widget.window();
    if (!window->isActiveWindow()) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window, 1000))
            ADD_FAILURE() << "The window for the keys never became active";
    }
    QWidget* focus = widget.focusWidget();
    return focus != nullptr ? *focus : widget;
}
// A key typed into focusInside(widget), shortcuts first, as the keyboard
// delivers it.
inline void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&focusInside(widget), static_cast<Qt::Key>(qtKey), modifiers);
}
// Types the text there, a key for each character.
inline void typeText(QWidget& widget, const std::string& text) {
    QTest::keyClicks(&focusInside(widget), QString::fromStdString(text));
}
// Drags the data onto the canvas and drops it there. Returns whether the
// canvas accepted the drag; a refused drag is not dropped.
inline bool drop(Canvas& canvas, QMimeData& data) {
    QWidget& target = *canvas.widget();
    const QPoint middle = target.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}
// Drops files (native paths), or image data, on the canvas.
inline bool dropFiles(Canvas& canvas, const std::vector<std::string>& nativePaths) {
    QList<QUrl> urls;
    for (const std::string& path : nativePaths)
        urls << QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    QMimeData data;
    data.setUrls(urls);
    return drop(canvas, data);
}
inline bool dropImage(Canvas& canvas, const QImage& image) {
    QMimeData data;
    data.setImageData(image);
    return drop(canvas, data);
}
// Deletes the windows closed so far (the framework does it when control
// returns to the event loop, which a test does not run).
inline void deleteClosedWindows() {
    Window::deleteClosedWindows();
}

} // namespace UiDriver
