#include "FolderDialog.h"

#include "EventHook.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

FolderDialog::FolderDialog(QWidget* parent) : QFileDialog(parent) {
    setFileMode(QFileDialog::Directory);
    setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    start_ = directory().absolutePath();
    if (auto* buttons = findChild<QDialogButtonBox*>())
        acceptButton_ = buttons->button(QDialogButtonBox::Open);
    if (acceptButton_ != nullptr)
        new EventHook(acceptButton_, [this](QEvent* event) {
            if (event->type() == QEvent::EnabledChange)
                guardAcceptButton();
            return false;
        });
    connect(this, &QFileDialog::directoryEntered, this, [this] { guardAcceptButton(); });
    connect(this, &QFileDialog::currentChanged, this, [this] { guardAcceptButton(); });
    if (auto* name = findChild<QLineEdit*>("fileNameEdit"))
        connect(name, &QLineEdit::textChanged, this, [this] { guardAcceptButton(); });
    guardAcceptButton();
}

// Qt names the dialog's path field "fileNameEdit".
bool FolderDialog::chosen() const {
    const auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (name != nullptr && !name->text().isEmpty())
        return true;
    const QStringList selected = selectedFiles();
    return !selected.isEmpty() && QFileInfo(selected.first()).absoluteFilePath() != start_;
}

void FolderDialog::guardAcceptButton() {
    if (acceptButton_ == nullptr)
        return;
    const QStringList selected = selectedFiles();
    const bool allowed = chosen() && !selected.isEmpty() && QFileInfo(selected.first()).isDir();
    if (acceptButton_->isEnabled() != allowed)
        acceptButton_->setEnabled(allowed);
}

void FolderDialog::accept() {
    if (chosen())
        QFileDialog::accept();
    else
        guardAcceptButton();
}
