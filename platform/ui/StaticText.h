#pragma once

#include "Color.h"
#include "Control.h"

#include <string>

class QLabel;

// A text label. Carriage returns and line feeds break lines when Multiline;
// a single line too long for the label is shortened in its middle, so that
// both ends of a long file name show.
class StaticText : public Control {
  public:
    StaticText(Window& window, const std::string& name);

    const std::string& Text() const { return text_; }
    void setText(const std::string& text); // bytes; shown as text
    void setTextColor(Color color);
    void setTextSize(int size); // in pixels; 0: the system's size
    void setMultiline(bool value);
    void setTextAlign(int align); // 0 left, 1 centre, 2 right

  private:
    void showText();

    QLabel* label_;
    std::string text_;
    bool multiline_ = false;
};
