#pragma once

// Qt's own dialogs, driven as a person would drive them, in a UiTest (whose
// script has made the offscreen application). While the object lives the framework shows its real
// dialogs instead of the script's; each step runs once, in order, on the modal dialog open at that
// moment when it is of the step's class:
//
//     RealDialogs real;
//     real.then<QMessageBox>([](QMessageBox& box) { UiDriver::pressKey(box, Qt::Key_Return); })
//         .then<QFileDialog>([](QFileDialog& d) { EXPECT_TRUE(d.isVisible()); d.reject(); });
//     app->HandleMenuCommand("FileOpenFolder");
//
// A dialog left open for a second with no step for it fails the test and is
// closed, so nothing waits; a step left unused fails the test.

#include "QtDialogResponder.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <deque>
#include <functional>

class RealDialogs {
  public:
    RealDialogs();
    ~RealDialogs();
    RealDialogs(const RealDialogs&) = delete;
    RealDialogs& operator=(const RealDialogs&) = delete;

    template <class Dialog> RealDialogs& then(std::function<void(Dialog&)> step) {
        steps_.push_back([step](QWidget& open) {
            auto* dialog = qobject_cast<Dialog*>(&open);
            if (dialog != nullptr)
                step(*dialog);
            return dialog != nullptr;
        });
        return *this;
    }

  private:
    void look();

    std::deque<std::function<bool(QWidget&)>> steps_;
    QTimer timer_;
    int idleLooks_ = 0;
    QtDialogResponder qtDialogs_;
    DialogResponder* previous_ = nullptr;
};
