#include "Clipboard.h"

#include "Text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace {

const QString plainText = QStringLiteral("text/plain");

// Text offered on the clipboard as bytes, made into text only when a
// program (this one or another) asks for it. The batch puts its whole log
// on the clipboard after every file; converting and announcing it each time
// would cost in proportion to the log, and so grow with every file.
class OfferedText : public QMimeData {
  public:
    std::string bytes;

    QStringList formats() const override { return {plainText}; }
    bool hasFormat(const QString& format) const override { return format == plainText; }

  protected:
    QVariant retrieveData(const QString& format, QMetaType) const override {
        if (format != plainText)
            return {};
        return QString::fromStdString(ToDisplayText(bytes));
    }
};

// The text this program offers now; null once the clipboard has dropped it
// (another program or another part of this one took the clipboard).
QPointer<OfferedText> offered;

// Whether the clipboard still offers this program's text: then only its
// bytes need to change, and whoever asks next gets the new ones. (Asking
// for the clipboard's data does not convert it; on X11 it asks the server
// who owns the clipboard, so text another program has put there since is
// not overwritten unseen.)
bool stillOffered(QClipboard& clipboard) {
    return offered && clipboard.mimeData() == offered;
}

} // namespace

std::string Clipboard::Text() {
    if (QGuiApplication::instance() == nullptr)
        return {};
    return QGuiApplication::clipboard()->text().toStdString();
}

void Clipboard::setText(const std::string& text) {
    if (QGuiApplication::instance() == nullptr)
        return;
    QClipboard& clipboard = *QGuiApplication::clipboard();
    if (stillOffered(clipboard)) {
        offered->bytes = text;
        return;
    }
    auto* data = new OfferedText;
    data->bytes = text;
    offered = data;
    clipboard.setMimeData(data); // the clipboard owns it from now on
}
