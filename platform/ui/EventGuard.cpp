#include "EventGuard.h"

#include "UnhandledException.h"

namespace {
int activeGuards = 0;
void (*whenOutermostEnds)() = nullptr;
} // namespace

EventGuard::EventGuard() {
    ++activeGuards;
}

EventGuard::~EventGuard() {
    if (--activeGuards == 0 && whenOutermostEnds != nullptr)
        whenOutermostEnds();
}

bool EventGuard::run(const std::function<void()>& code) {
    EventGuard guard;
    try {
        code();
        return true;
    } catch (const std::exception& error) {
        UnhandledException::report(error);
    } catch (...) {
        UnhandledException::reportUnknown();
    }
    return false;
}

int EventGuard::depth() {
    return activeGuards;
}

void EventGuard::setWhenOutermostEnds(void (*code)()) {
    whenOutermostEnds = code;
}
