#include "Application.h"

#include <QCoreApplication>

namespace {
Application* registered = nullptr;
}

Application::Application() { registered = this; }

Application::~Application() {
    if (registered == this)
        registered = nullptr;
}

Application* Application::instance() { return registered; }

void Application::DoEvents(int milliseconds) {
    if (QCoreApplication::instance() == nullptr)
        return;
    if (milliseconds < 0)
        QCoreApplication::processEvents();
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}
