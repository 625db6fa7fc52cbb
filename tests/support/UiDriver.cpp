#include "UiDriver.h"

#include "Canvas.h"
#include "Control.h"
#include "Window.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace UiDriver {

namespace {

void mouse(QWidget& widget, QEvent::Type type) {
    const QPointF local(widget.width() / 2.0, widget.height() / 2.0);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, widget.mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

bool drag(Canvas& canvas, QMimeData& data) {
    QWidget& target = *canvas.widget();
    const QPointF middle(target.width() / 2.0, target.height() / 2.0);
    QDragEnterEvent enter(middle.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

} // namespace

void click(Control& control) {
    QWidget& widget = *control.widget();
    mouse(widget, QEvent::MouseButtonPress);
    mouse(widget, QEvent::MouseButtonRelease);
}

void pressKey(Control& control, int qtKey, const std::string& text) {
    QWidget& widget = *control.widget();
    const QString typed = QString::fromStdString(text);
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, typed);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, typed);
    QApplication::sendEvent(&widget, &release);
}

bool dropFiles(Canvas& canvas, const std::vector<std::string>& nativePaths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : nativePaths)
        urls << QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    data.setUrls(urls);
    return drag(canvas, data);
}

bool dropImage(Canvas& canvas, const QImage& image) {
    QMimeData data;
    data.setImageData(image);
    return drag(canvas, data);
}

void deleteClosedWindows() {
    Window::deleteClosedWindows();
}

} // namespace UiDriver
