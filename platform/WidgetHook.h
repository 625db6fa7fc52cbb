#pragma once

#include <QObject>

#include <functional>

class QEvent;

// Hands a widget's events to a function before the widget sees them; true
// from the function stops the event there. The hook lives as long as the
// widget.
class WidgetHook : public QObject {
    Q_OBJECT

  public:
    WidgetHook(QObject* watched, std::function<bool(QEvent*)> handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool(QEvent*)> handler_;
};
