#include "UiDriver.h"

#include "Canvas.h"
#include "Control.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

namespace UiDriver {

namespace {

bool drag(Canvas& canvas, QMimeData& data) {
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

// Keys go to the active window only, as the keyboard's do.
QWidget& focusInside(QWidget& widget) {
    QWidget* window = widget.window();
    if (!window->isActiveWindow()) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window, 1000))
            ADD_FAILURE() << "The window for the keys never became active";
    }
    QWidget* focus = widget.focusWidget();
    return focus != nullptr ? *focus : widget;
}

} // namespace

void click(Control& control) {
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

void pressKey(Control& control, int qtKey, const std::string& text) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, QString::fromStdString(text));
        QApplication::sendEvent(control.widget(), &event);
    }
}

void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&focusInside(widget), static_cast<Qt::Key>(qtKey), modifiers);
}

void typeText(QWidget& widget, const std::string& text) {
    QTest::keyClicks(&focusInside(widget), QString::fromStdString(text));
}

bool dropFiles(Canvas& canvas, const std::vector<std::string>& nativePaths) {
    QList<QUrl> urls;
    for (const std::string& path : nativePaths)
        urls << QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    QMimeData data;
    data.setUrls(urls);
    return drag(canvas, data);
}

bool dropImage(Canvas& canvas, const QImage& image) {
    QMimeData data;
    data.setImageData(image);
    return drag(canvas, data);
}

} // namespace UiDriver
