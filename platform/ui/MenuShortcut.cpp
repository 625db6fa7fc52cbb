#include "MenuShortcut.h"

#include <QStringList>

QKeySequence keySequenceOf(const std::string& shortcut) {
    const QStringList parts = QString::fromStdString(shortcut).split('+');
    if (shortcut.empty() || parts.last().isEmpty())
        return {};
    QStringList portable;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString modifier = parts[i].trimmed().toLower();
        if (modifier == "cmd" || modifier == "ctrl" || modifier == "control")
            portable << "Ctrl";
        else if (modifier == "shift")
            portable << "Shift";
        else if (modifier == "alt" || modifier == "option")
            portable << "Alt";
        else
            return {};
    }
    QString key = parts.last().trimmed();
    // "Cmd+l" and "Cmd+L" are the same key; Shift is named on its own.
    if (key.size() == 1)
        key = key.toUpper();
    portable << key;
    const QKeySequence sequence = QKeySequence::fromString(portable.join('+'));
    return sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown ? sequence
                                                                         : QKeySequence();
}
