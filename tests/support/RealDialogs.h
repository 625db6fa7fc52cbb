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

#include "DialogResponder.h"
#include "QtDialogResponder.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <deque>
#include <functional>

#include <gtest/gtest.h>

class RealDialogs {
  public:
    RealDialogs() : previous_(DialogResponder::setCurrent(&qtDialogs_)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start(10);
    }
    ~RealDialogs() {
        DialogResponder::setCurrent(previous_);
        if (!steps_.empty())
            ADD_FAILURE() << steps_.size() << " step(s) for real dialogs never ran";
    }
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
    // Every 10 ms; a dialog no step takes is closed after a second.
    void look() {
        QWidget* open = QApplication::activeModalWidget();
        if (open != nullptr && !steps_.empty() && steps_.front()(*open))
            steps_.pop_front();
        else if (open != nullptr && ++idleLooks_ < 100)
            return;
        else if (open != nullptr) {
            ADD_FAILURE() << "A real dialog (" << open->metaObject()->className() << ", \""
                          << open->windowTitle().toStdString() << "\") had no step for it";
            open->close(); // a QDialog rejects
        }
        idleLooks_ = 0;
    }

    std::deque<std::function<bool(QWidget&)>> steps_;
    QTimer timer_;
    int idleLooks_ = 0;
    QtDialogResponder qtDialogs_;
    DialogResponder* previous_;
};
