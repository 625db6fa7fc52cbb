#pragma once

#include "Control.h"

class QProgressBar;

// A progress bar from 0 to Maximum. Value reads back what was set, even
// above Maximum; the bar shows it clamped.
class ProgressBar : public Control {
  public:
    ProgressBar(Window& window, const std::string& name);

    int Maximum() const { return maximum_; }
    void setMaximum(int value);
    int Value() const { return value_; }
    void setValue(int value);

  private:
    void show();

    QProgressBar* bar_;
    int maximum_ = 100;
    int value_ = 0;
};
