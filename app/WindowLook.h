#pragma once

#include "Color.h"
#include "Window.h"

#include <string>

// The look every window of the program shares: a dark grey background with
// orange texts, a close and a minimise box, no maximise box.
namespace WindowLook {

inline const Color Background = RGB(0x50, 0x50, 0x50);
inline const Color Text = RGB(0xFF, 0x80, 0x00);

// A window's title, its size and the shared frame, set in its Layout step.
void apply(Window& window, const std::string& title, int width, int height, bool resizeable);

} // namespace WindowLook
