#include "FittedMessageBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace {

// Qt's box wraps its text at about this width.
constexpr int wrapWidth = 500;
// What a box needs besides its texts: title bar, margins and the buttons.
constexpr int frameAndButtons = 150;

QString plain(QString text) {
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

int textHeight(const QMessageBox& box, const QString& text) {
    if (text.isEmpty())
        return 0;
    const QRect room(0, 0, wrapWidth, INT_MAX / 2);
    return box.fontMetrics().boundingRect(room, Qt::TextWordWrap, plain(text)).height();
}

QRect screenArea(const QMessageBox& box) {
    const QWidget* parent = box.parentWidget();
    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// The button Escape presses: the one set, or the only one.
QAbstractButton* escapeOf(const QMessageBox& box) {
    if (box.escapeButton() != nullptr)
        return box.escapeButton();
    return box.buttons().size() == 1 ? box.buttons().first() : nullptr;
}

QAbstractButton* execScrolling(QMessageBox& box, int textRoom) {
    QDialog dialog(box.parentWidget());
    dialog.setWindowTitle(box.windowTitle());
    auto* grid = new QGridLayout(&dialog);
    if (box.icon() != QMessageBox::NoIcon) {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(box.iconPixmap());
        grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    }
    auto* text = new QPlainTextEdit(plain(box.text()), &dialog);
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFixedHeight(textRoom);
    text->setMinimumWidth(wrapWidth + text->verticalScrollBar()->sizeHint().width());
    grid->addWidget(text, 0, 1);
    if (!box.informativeText().isEmpty()) {
        auto* informative = new QLabel(plain(box.informativeText()), &dialog);
        informative->setWordWrap(true);
        informative->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(informative, 1, 1);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    grid->addWidget(buttons, 2, 0, 1, 2);
    QAbstractButton* pressed = escapeOf(box);
    for (QAbstractButton* original : box.buttons()) {
        QPushButton* copy = buttons->addButton(
            original->text(), static_cast<QDialogButtonBox::ButtonRole>(box.buttonRole(original)));
        copy->setDefault(original == box.defaultButton());
        QObject::connect(copy, &QPushButton::clicked, &dialog, [&pressed, &dialog, original] {
            pressed = original;
            dialog.accept();
        });
    }
    dialog.exec();
    return pressed;
}

} // namespace

QAbstractButton* execFitted(QMessageBox& box) {
    const int informative = textHeight(box, box.informativeText());
    const int room = screenArea(box).height() - frameAndButtons;
    if (textHeight(box, box.text()) + informative <= room) {
        box.exec();
        return box.clickedButton();
    }
    // The main text scrolls in what the rest leaves, yet always a few lines.
    return execScrolling(box, std::max(room - informative, box.fontMetrics().height() * 4));
}
