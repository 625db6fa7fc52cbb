#include "ProgressBar.h"

#include "Window.h"

#include <QProgressBar>

#include <algorithm>

ProgressBar::ProgressBar(Window& window, const std::string& name)
    : Control(window, name, new QProgressBar(window.content())),
      bar_(static_cast<QProgressBar*>(widget())) {
    bar_->setTextVisible(false);
    show();
}

void ProgressBar::setMaximum(int value) {
    maximum_ = value;
    show();
}

void ProgressBar::setValue(int value) {
    value_ = value;
    show();
}

void ProgressBar::show() {
    // Qt ignores a value outside the range, and shows a busy bar for an
    // empty range; the bar shows the value clamped, and an empty bar for 0.
    const int maximum = std::max(maximum_, 1);
    bar_->setRange(0, maximum);
    bar_->setValue(std::clamp(value_, 0, std::max(maximum_, 0)));
}
