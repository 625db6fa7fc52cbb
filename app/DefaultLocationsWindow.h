#pragma once

#include "Listbox.h"
#include "PushButton.h"
#include "Window.h"

#include <string>
#include <vector>

// The editor of the default search locations: one row per location, "+"
// adds a folder chosen in the choose-folder dialog, the delete keys remove
// the selected rows, and closing the window saves the list when it changed.
// A location whose folder is missing is greyed and marked "(missing)" until
// it is back. It edits the list it is given in place, so every change is at
// once seen by the file search. Several editors may be open on the same
// list: each change is shown in all of them, so row i of every editor names
// entry i of the list. Made with new; the framework owns it.
class DefaultLocationsWindow : public Window {
  public:
    explicit DefaultLocationsWindow(std::vector<std::string>& locations);
    ~DefaultLocationsWindow() override;

    // The list edited: the very object handed to the constructor.
    std::vector<std::string>& DefaultLocations;

    Listbox& LBFolderitems() const { return control<Listbox>("LBFolderitems"); }
    PushButton& PBAdd() const { return control<PushButton>("PBAdd"); }

    // Appends a row showing the location's path, marked when it is missing.
    void AddLocationToList(const std::string& path);
    void DeleteCurrentSelection();
    void Add2Selection();

    void Event_Open() override;
    void Event_Close() override;
    // A folder may have come or gone meanwhile: the marks are made anew.
    void Event_Activate() override;

  protected:
    void Layout() override;
    void CreateControls() override;

  private:
    bool LBFolderitems_KeyDown(int key);
    void PBAdd_Action();

    void showRows();
    void markMissingRows();
    void markRow(int row);
    // The open editors of this editor's list, this one included.
    std::vector<DefaultLocationsWindow*> editorsOfList();
    void forget();
};
