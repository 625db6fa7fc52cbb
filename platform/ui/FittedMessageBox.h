#pragma once

class QAbstractButton;
class QMessageBox;

// Shows the message box modally, never taller than the screen it opens on,
// and returns the button pressed (nullptr when it was closed otherwise; the
// escape button, as Qt's box does, for Escape). A text that fits shows in
// the box as Qt made it. A longer one scrolls in a box as tall as the
// screen allows, with the same title, icon, texts and buttons, the buttons
// always in sight and the text selectable and copyable.
QAbstractButton* execFitted(QMessageBox& box);
