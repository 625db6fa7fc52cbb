#include "WindowLook.h"

namespace WindowLook {

void apply(Window& window, const std::string& title, int width, int height, bool resizeable) {
    window.setTitle(title);
    window.setSize(width, height);
    window.setMinimumSize(64, 64);
    window.setMaximumSize(32000, 32000);
    window.setResizeable(resizeable);
    window.setBackColor(Background);
    window.setVisible(true);
    window.setCloseButton(true);
    window.setMinimizeButton(true);
    window.setMaximizeButton(false);
}

} // namespace WindowLook
