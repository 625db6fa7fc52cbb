#include "Control.h"

#include "ContentSize.h"

#include <QWidget>

Control::Control(Window& window, std::string name, QWidget* widget)
    : window_(window), name_(std::move(name)), widget_(widget) {}

int Control::Left() const {
    return widget_->x();
}

int Control::Top() const {
    return widget_->y();
}

int Control::Width() const {
    return widget_->width();
}

int Control::Height() const {
    return widget_->height();
}

void Control::setBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
    rightGap_ = area_->width - (left + width);
    bottomGap_ = area_->height - (top + height);
}

void Control::setLocks(bool left, bool top, bool right, bool bottom) {
    lockLeft_ = left;
    lockTop_ = top;
    lockRight_ = right;
    lockBottom_ = bottom;
    rightGap_ = area_->width - (Left() + Width());
    bottomGap_ = area_->height - (Top() + Height());
}

void Control::followResize(int contentWidth, int contentHeight) {
    QRect bounds = widget_->geometry();
    if (lockRight_) {
        const int right = contentWidth - rightGap_;
        if (lockLeft_)
            bounds.setRight(right - 1);
        else
            bounds.moveRight(right - 1);
    }
    if (lockBottom_) {
        const int bottom = contentHeight - bottomGap_;
        if (lockTop_)
            bounds.setBottom(bottom - 1);
        else
            bounds.moveBottom(bottom - 1);
    }
    widget_->setGeometry(bounds);
}

bool Control::Enabled() const {
    return widget_->isEnabled();
}

void Control::setEnabled(bool value) {
    widget_->setEnabled(value);
}

bool Control::Visible() const {
    return !widget_->isHidden();
}

void Control::Refresh() {
    widget_->update();
}

void Control::raiseOpen() {
    if (open_)
        open_();
}
