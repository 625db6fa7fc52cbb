#pragma once

// Drives controls the way a person would, through Qt events, for tests.

#include "Window.h"

#include <QImage>

#include <string>
#include <vector>

class Control;
class QWidget;
class Canvas;

namespace UiDriver {

// A mouse click in the middle of the control (a disabled control ignores it).
void click(Control& control);
// A key press and release on the control; text is the character it types.
void pressKey(Control& control, int qtKey, const std::string& text = "");
// A key typed into the widget with the focus inside the widget (or the
// widget itself), shortcuts first, as the keyboard delivers it.
void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types the text there, a key for each character.
void typeText(QWidget& widget, const std::string& text);
// Drags files (native paths) onto the canvas and drops them there.
// Returns whether the canvas accepted the drag; a refused drag is not dropped.
bool dropFiles(Canvas& canvas, const std::vector<std::string>& nativePaths);
// The same with image data in the drag instead of files.
bool dropImage(Canvas& canvas, const QImage& image);
// Deletes the windows closed so far (the framework does it when control
// returns to the event loop, which a test does not run).
inline void deleteClosedWindows() {
    Window::deleteClosedWindows();
}

} // namespace UiDriver
