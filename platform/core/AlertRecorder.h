#pragma once

#include "DialogResponder.h"

#include <string>
#include <vector>

// Message boxes and beeps met on a worker thread, kept in order to be shown
// later by the responder in force on the windows' thread. In force on the
// thread that makes it, for its life; asks no question and opens no file
// dialog (those are cancelled).
class AlertRecorder : public DialogResponder {
  public:
    AlertRecorder() : previous_(DialogResponder::setForThisThread(this)) {}
    ~AlertRecorder() override { DialogResponder::setForThisThread(previous_); }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    void showMsgBox(const std::string& text) override { alerts_.push_back({false, text}); }
    void beep() override { alerts_.push_back({true, {}}); }

    struct Alert {
        bool beep;
        std::string text;
    };
    const std::vector<Alert>& alerts() const { return alerts_; }

  private:
    DialogResponder* previous_;
    std::vector<Alert> alerts_;
};
