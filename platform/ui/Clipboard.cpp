#include "Clipboard.h"

#include "Text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace {

const QString plainText = QStringLiteral("text/plain");

// Text offered on the clipboard as bytes, made into text only when a
// program (this one or another) asks for it. The batch adds to its log on
// the clipboard as it goes; converting and announcing the log each time
// would cost in proportion to the log, and so grow with every file.
class OfferedText : public QMimeData {
  public:
    std::string bytes;
    // Names the bytes as they stand: every change gives a new one.
    std::uint64_t token = 0;

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
std::uint64_t lastToken = 0;

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

std::uint64_t Clipboard::setText(const std::string& text) {
    if (QGuiApplication::instance() == nullptr)
        return 0;
    QClipboard& clipboard = *QGuiApplication::clipboard();
    if (stillOffered(clipboard)) {
        offered->bytes = text;
        return offered->token = ++lastToken;
    }
    auto* data = new OfferedText;
    data->bytes = text;
    data->token = ++lastToken;
    offered = data;
    clipboard.setMimeData(data); // the clipboard owns it from now on
    return data->token;
}

std::uint64_t Clipboard::appendText(std::uint64_t token, std::string_view added,
                                    const std::string& whole) {
    if (QGuiApplication::instance() == nullptr)
        return 0;
    if (token == 0 || !stillOffered(*QGuiApplication::clipboard()) || offered->token != token)
        return setText(whole);
    offered->bytes += added;
    return offered->token = ++lastToken;
}
