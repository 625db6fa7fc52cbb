#include "Listbox.h"

#include "EventGuard.h"
#include "EventHook.h"
#include "Exceptions.h"
#include "Text.h"
#include "Window.h"

#include <QKeyEvent>
#include <QListWidget>

namespace {

constexpr int BytesRole = Qt::UserRole;

// The character code a key stands for, 0 when it types nothing.
int characterCode(int qtKey, const QString& text) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Delete:
        return 127;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Left:
        return 28;
    case Qt::Key_Right:
        return 29;
    case Qt::Key_Up:
        return 30;
    case Qt::Key_Down:
        return 31;
    default:
        return text.isEmpty() ? 0 : static_cast<int>(text.toUcs4().value(0));
    }
}

} // namespace

Listbox::Listbox(Window& window, const std::string& name)
    : Control(window, name, new QListWidget(window.content())),
      list_(static_cast<QListWidget*>(widget())) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    new EventHook(list_, [this](QEvent* event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        return raiseKeyDown(key->key(), key->text());
    });
}

bool Listbox::raiseKeyDown(int qtKey, const QString& text) {
    const int code = characterCode(qtKey, text);
    if (!keyDown_ || code == 0)
        return false;
    bool handled = false;
    EventGuard::run([&] { handled = keyDown_(code); });
    return handled;
}

void Listbox::AddRow(const std::string& text) {
    auto* item = new QListWidgetItem(QString::fromStdString(ToDisplayText(text)));
    item->setData(BytesRole, QByteArray::fromStdString(text));
    list_->addItem(item);
}

void Listbox::checkRow(int row) const {
    if (row < 0 || row >= ListCount())
        throw OutOfBoundsException("Row " + std::to_string(row) + " is not in the list.");
}

void Listbox::RemoveRow(int row) {
    checkRow(row);
    delete list_->takeItem(row);
}

void Listbox::DeleteAllRows() {
    list_->clear();
}

void Listbox::setRowNote(int row, const std::string& note) {
    checkRow(row);
    QListWidgetItem& item = *list_->item(row);
    QString text = QString::fromStdString(ToDisplayText(Cell(row)));
    if (!note.empty())
        text += " (" + QString::fromStdString(ToDisplayText(note)) + ")";
    item.setText(text);
    const QPalette::ColorGroup group = note.empty() ? QPalette::Active : QPalette::Disabled;
    item.setForeground(list_->palette().brush(group, QPalette::Text));
}

int Listbox::ListCount() const {
    return list_->count();
}

bool Listbox::Selected(int row) const {
    checkRow(row);
    return list_->item(row)->isSelected();
}

void Listbox::setSelected(int row, bool selected) {
    checkRow(row);
    list_->item(row)->setSelected(selected);
}

std::string Listbox::Cell(int row, int column) const {
    checkRow(row);
    if (column != 0)
        throw OutOfBoundsException("Column " + std::to_string(column) + " is not in the list.");
    return list_->item(row)->data(BytesRole).toByteArray().toStdString();
}

void Listbox::setSelectionType(int type) {
    list_->setSelectionMode(type == 1 ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
}
