#include "EventHook.h"

EventHook::EventHook(QObject* watched, std::function<bool(QEvent*)> handler)
    : QObject(watched), handler_(std::move(handler)) {
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && handler_(event))
        return true;
    return QObject::eventFilter(watched, event);
}
