#include "Clipboard.h"

#include "Text.h"

#include <QClipboard>
#include <QGuiApplication>

std::string Clipboard::Text() {
    if (QGuiApplication::instance() == nullptr)
        return {};
    return QGuiApplication::clipboard()->text().toStdString();
}

void Clipboard::setText(const std::string& text) {
    if (QGuiApplication::instance() == nullptr)
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(ToDisplayText(text)));
}

bool Clipboard::TextAvailable() {
    return !Text().empty();
}
