#include "EventGuard.h"

#include "Application.h"
#include "Window.h"

namespace {
int activeGuards = 0;
}

EventGuard::EventGuard() {
    ++activeGuards;
}

EventGuard::~EventGuard() {
    if (--activeGuards == 0)
        Window::deleteClosedWindowsLater();
}

bool EventGuard::run(const std::function<void()>& code) {
    EventGuard guard;
    try {
        code();
        return true;
    } catch (const std::exception& error) {
        Application::reportUnhandledException(error);
    } catch (...) {
        Application::reportUnknownException();
    }
    return false;
}

int EventGuard::depth() {
    return activeGuards;
}
