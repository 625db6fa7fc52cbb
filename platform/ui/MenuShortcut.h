#pragma once

#include <QKeySequence>

#include <string>

// Qt's key sequence for a shortcut text: "Cmd+" and "Ctrl+" are Ctrl,
// "Shift+", "Alt+"/"Option+" their keys; the key letter's case does not
// matter. Empty for an empty or unreadable text.
QKeySequence keySequenceOf(const std::string& shortcut);
