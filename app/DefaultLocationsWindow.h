#pragma once

#include "FolderItem.h"
#include "Listbox.h"
#include "PushButton.h"
#include "Ref.h"
#include "Window.h"

#include <vector>

// The editor of the default search locations: one row per folder, "+" adds
// a folder chosen in the choose-folder dialog, the delete keys remove the
// selected rows, and closing the window saves the list. It edits the list it
// is given in place, so every change is at once seen by the file search.
// Several editors may be open on the same list: each change is shown in all
// of them, so row i of every editor names entry i of the list.
// Made with new; the framework owns it.
class DefaultLocationsWindow : public Window {
  public:
    explicit DefaultLocationsWindow(std::vector<Ref<FolderItem>>& locations);
    ~DefaultLocationsWindow() override;

    // The list edited: the very object handed to the constructor.
    std::vector<Ref<FolderItem>>& DefaultLocations;

    Listbox& LBFolderitems() const { return control<Listbox>("LBFolderitems"); }
    PushButton& PBAdd() const { return control<PushButton>("PBAdd"); }

    void AddFolderitemToList(const Ref<FolderItem>& f);
    void DeleteCurrentSelection();
    void Add2Selection();

    void Event_Open() override;
    void Event_Close() override;

  protected:
    void Layout() override;
    void CreateControls() override;

  private:
    bool LBFolderitems_KeyDown(int key);
    void PBAdd_Action();

    // The open editors of this editor's list, this one included.
    std::vector<DefaultLocationsWindow*> editorsOfList();
    void forget();
};
