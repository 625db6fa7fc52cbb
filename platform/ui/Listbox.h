#pragma once

#include "Control.h"

#include <functional>
#include <string>

class QListWidget;
class QString;

// A list of text rows, 0-based; removing a row moves the later rows up.
class Listbox : public Control {
  public:
    Listbox(Window& window, const std::string& name);

    void AddRow(const std::string& text); // bytes; shown as text
    // Raises OutOfBoundsException outside 0 .. ListCount - 1.
    void RemoveRow(int row);
    void DeleteAllRows();
    // Greys the row and shows the note after its text, in parentheses ("HD:tex
    // (missing)"); an empty note shows the row as usual. Cell gives the text
    // alone.
    void setRowNote(int row, const std::string& note);
    int ListCount() const;
    bool Selected(int row) const;
    void setSelected(int row, bool selected);
    // Only column 0 exists.
    std::string Cell(int row, int column = 0) const;
    // 0 one row at a time, 1 several rows.
    void setSelectionType(int type);

    // The key's character code: 8 Backspace, 127 Delete, 13 Return, 27
    // Escape, 9 Tab, 28 to 31 the arrows left, right, up, down; otherwise
    // the typed character. True from the handler: the key was handled and
    // the list does nothing more with it.
    void onKeyDown(std::function<bool(int key)> handler) { keyDown_ = std::move(handler); }

  private:
    void checkRow(int row) const;
    bool raiseKeyDown(int qtKey, const QString& text);

    QListWidget* list_;
    std::function<bool(int)> keyDown_;
};
