#include "QtDialogResponder.h"

#include "FileType.h"
#include "FittedMessageBox.h"
#include "FolderDialog.h"
#include "MessageDialogContent.h"
#include "Text.h"
#include "Window.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

std::string titleName;

QString shown(const std::string& bytes) {
    return QString::fromStdString(ToDisplayText(bytes));
}

// Without a QApplication no dialog can be shown: the responder then shows
// nothing, as its base does.
bool canShow() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

QString dialogTitle() {
    return titleName.empty() ? QApplication::applicationDisplayName() : shown(titleName);
}

// "Maxwell Material (*.mxm);;..." for ";"-joined type names.
QString nameFilters(const std::string& typeNames) {
    QStringList filters;
    for (const std::string& name : Split(typeNames, ";")) {
        if (name.empty())
            continue;
        QStringList patterns;
        for (const std::string& extension : Split(FileTypes::extensionsOf(name), ";"))
            if (!extension.empty())
                patterns << "*" + QString::fromStdString(extension);
        if (!patterns.isEmpty())
            filters << shown(name) + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

Ref<FolderItem> itemFor(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    return makeRef<FolderItem>(QFile::encodeName(path).toStdString());
}

QMessageBox::Icon iconOf(int code) {
    switch (code) {
    case 0:
        return QMessageBox::Information;
    case 1:
        return QMessageBox::Warning;
    case 2:
        return QMessageBox::Critical;
    case 3:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void QtDialogResponder::showMsgBox(const std::string& text) {
    if (!canShow())
        return DialogResponder::showMsgBox(text);
    QMessageBox box(QMessageBox::NoIcon, dialogTitle(), shown(text), QMessageBox::Ok,
                    dialogParent());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    execFitted(box);
}

MessageDialogChoice QtDialogResponder::showMessageDialog(const MessageDialogContent& dialog,
                                                         const Window* parent) {
    if (!canShow())
        return DialogResponder::showMessageDialog(dialog, parent);
    QMessageBox box(iconOf(dialog.Icon), dialogTitle(), shown(dialog.Message),
                    QMessageBox::NoButton, parent != nullptr ? parent->widget() : dialogParent());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setInformativeText(shown(dialog.Explanation));
    QAbstractButton* action =
        box.addButton(shown(dialog.ActionButton.Caption), QMessageBox::AcceptRole);
    QAbstractButton* alternate = nullptr;
    if (dialog.AlternateActionButton.Visible)
        alternate = box.addButton(shown(dialog.AlternateActionButton.Caption),
                                  QMessageBox::DestructiveRole);
    QAbstractButton* cancel = nullptr;
    if (dialog.CancelButton.Visible) {
        cancel = box.addButton(shown(dialog.CancelButton.Caption), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    }
    box.setDefaultButton(static_cast<QPushButton*>(action));
    QAbstractButton* pressed = execFitted(box);
    if (pressed == nullptr)
        return MessageDialogChoice::None;
    if (pressed == action)
        return MessageDialogChoice::Action;
    if (pressed == alternate)
        return MessageDialogChoice::AlternateAction;
    if (pressed == cancel)
        return MessageDialogChoice::Cancel;
    return MessageDialogChoice::None;
}

Ref<FolderItem> QtDialogResponder::showOpenFile(const std::string& filterTypeNames) {
    if (!canShow())
        return DialogResponder::showOpenFile(filterTypeNames);
    return itemFor(QFileDialog::getOpenFileName(dialogParent(), {}, {},
                                                nameFilters(filterTypeNames), nullptr,
                                                QFileDialog::DontUseNativeDialog));
}

Ref<FolderItem> QtDialogResponder::showSaveFile(const std::string& filterTypeNames,
                                                const std::string& defaultName) {
    if (!canShow())
        return DialogResponder::showSaveFile(filterTypeNames, defaultName);
    return itemFor(QFileDialog::getSaveFileName(dialogParent(), {}, shown(defaultName),
                                                nameFilters(filterTypeNames), nullptr,
                                                QFileDialog::DontUseNativeDialog));
}

Ref<FolderItem> QtDialogResponder::showSelectFolder() {
    if (!canShow())
        return DialogResponder::showSelectFolder();
    FolderDialog dialog(dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return itemFor(dialog.selectedFiles().value(0));
}

void QtDialogResponder::beep() {
    if (!canShow())
        return DialogResponder::beep();
    QApplication::beep();
}

void QtDialogResponder::setProgramName(const std::string& name) {
    titleName = name;
}
