#include "RealDialogs.h"

#include "DialogResponder.h"

#include <gtest/gtest.h>

namespace {
constexpr int lookInterval = 10;   // milliseconds
constexpr int patienceLooks = 100; // one second
} // namespace

RealDialogs::RealDialogs() {
    previous_ = DialogResponder::setCurrent(&qtDialogs_);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(lookInterval);
}

RealDialogs::~RealDialogs() {
    DialogResponder::setCurrent(previous_);
    if (!steps_.empty())
        ADD_FAILURE() << steps_.size() << " step(s) for real dialogs never ran";
}

void RealDialogs::look() {
    QWidget* open = QApplication::activeModalWidget();
    if (open == nullptr) {
        idleLooks_ = 0;
        return;
    }
    if (!steps_.empty() && steps_.front()(*open)) {
        steps_.pop_front();
        idleLooks_ = 0;
        return;
    }
    if (++idleLooks_ < patienceLooks)
        return;
    ADD_FAILURE() << "A real dialog (" << open->metaObject()->className() << ", \""
                  << open->windowTitle().toStdString() << "\") had no step for it";
    if (auto* dialog = qobject_cast<QDialog*>(open))
        dialog->reject();
    else
        open->close();
    idleLooks_ = 0;
}
