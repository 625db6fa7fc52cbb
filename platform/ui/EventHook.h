#pragma once

#include <QObject>

#include <functional>

class QEvent;

// Hands an object's events (a widget's, or the application's) to a function
// before the object sees them; true from the function stops the event there.
// The hook lives as long as the object.
class EventHook : public QObject {
    Q_OBJECT

  public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool(QEvent*)> handler_;
};
