#include "StaticText.h"

#include "EventHook.h"
#include "Text.h"
#include "Window.h"

#include <QEvent>
#include <QFont>
#include <QLabel>

StaticText::StaticText(Window& window, const std::string& name)
    : Control(window, name, new QLabel(window.content())), label_(static_cast<QLabel*>(widget())) {
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setTextFormat(Qt::PlainText);
    // How much of a single line fits changes with the label's width and font.
    new EventHook(label_, [this](QEvent* event) {
        if (!multiline_ && (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
            showText();
        return false;
    });
}

void StaticText::setText(const std::string& text) {
    text_ = text;
    showText();
}

void StaticText::showText() {
    QString shown = QString::fromStdString(ToDisplayText(text_));
    // Stored texts break lines with carriage returns; a label breaks at line
    // feeds only.
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    if (!multiline_) {
        shown.replace('\n', ' ');
        shown = label_->fontMetrics().elidedText(shown, Qt::ElideMiddle,
                                                 label_->contentsRect().width());
    }
    label_->setText(shown);
}

void StaticText::setTextColor(Color color) {
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, QColor(color.red, color.green, color.blue));
    label_->setPalette(palette);
}

void StaticText::setTextSize(int size) {
    // Sizes are pixels, as the window layouts were measured in; otherwise
    // a point size on a 96 dpi screen overflows the label it was made for.
    QFont font = QFont();
    if (size > 0)
        font.setPixelSize(size);
    label_->setFont(font);
}

void StaticText::setMultiline(bool value) {
    multiline_ = value;
    label_->setWordWrap(value);
    showText();
}

void StaticText::setTextAlign(int align) {
    const Qt::Alignment horizontal = align == 1   ? Qt::AlignHCenter
                                     : align == 2 ? Qt::AlignRight
                                                  : Qt::AlignLeft;
    label_->setAlignment(horizontal | Qt::AlignTop);
}
