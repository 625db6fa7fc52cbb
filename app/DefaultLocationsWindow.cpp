#include "DefaultLocationsWindow.h"

#include "Alerts.h"
#include "App.h"
#include "FileDialogs.h"
#include "WindowLook.h"

#include <algorithm>

namespace {

constexpr int backspaceKey = 8;
constexpr int deleteKey = 127;

std::vector<DefaultLocationsWindow*> openEditors;

} // namespace

DefaultLocationsWindow::DefaultLocationsWindow(std::vector<Ref<FolderItem>>& locations)
    : DefaultLocations(locations) {
    construct();
}

DefaultLocationsWindow::~DefaultLocationsWindow() {
    forget();
}

void DefaultLocationsWindow::Layout() {
    WindowLook::apply(*this, "Default Locations", 490, 370, true);
}

void DefaultLocationsWindow::CreateControls() {
    auto& list = addControl<Listbox>("LBFolderitems", 20, 14, 450, 302);
    list.setLocks(true, true, true, true);
    list.setSelectionType(1);
    list.onKeyDown([this](int key) { return LBFolderitems_KeyDown(key); });

    auto& add = addControl<PushButton>("PBAdd", 361, 328, 109, 20);
    add.setLocks(false, false, true, true);
    add.setCaption("+");
    add.setDefault(true);
    add.onAction([this] { PBAdd_Action(); });
}

void DefaultLocationsWindow::Event_Open() {
    for (const Ref<FolderItem>& location : DefaultLocations)
        AddFolderitemToList(location);
    openEditors.push_back(this);
}

// The list is kept only in memory when it cannot be saved, and would be gone
// at the next start: the user is told.
void DefaultLocationsWindow::Event_Close() {
    forget();
    if (!App::instance().SaveDefaultLocations())
        MsgBox("The list of default locations could not be saved to \"" +
               App::PreferencesFileShownName() + "\".");
}

void DefaultLocationsWindow::forget() {
    openEditors.erase(std::remove(openEditors.begin(), openEditors.end(), this), openEditors.end());
}

bool DefaultLocationsWindow::LBFolderitems_KeyDown(int key) {
    if (key != deleteKey && key != backspaceKey)
        return false;
    DeleteCurrentSelection();
    return true;
}

void DefaultLocationsWindow::PBAdd_Action() {
    Add2Selection();
}

void DefaultLocationsWindow::AddFolderitemToList(const Ref<FolderItem>& f) {
    LBFolderitems().AddRow(f->AbsolutePath());
}

// From the last row down, so that the rows still to be looked at keep their
// indexes while earlier ones go.
void DefaultLocationsWindow::DeleteCurrentSelection() {
    const auto editors = editorsOfList();
    for (int row = LBFolderitems().ListCount() - 1; row >= 0; --row) {
        if (!LBFolderitems().Selected(row))
            continue;
        for (DefaultLocationsWindow* editor : editors)
            editor->LBFolderitems().RemoveRow(row);
        DefaultLocations.erase(DefaultLocations.begin() + row);
    }
}

void DefaultLocationsWindow::Add2Selection() {
    const Ref<FolderItem> folder = SelectFolder();
    if (!folder)
        return;
    DefaultLocations.push_back(folder);
    for (DefaultLocationsWindow* editor : editorsOfList())
        editor->AddFolderitemToList(folder);
}

std::vector<DefaultLocationsWindow*> DefaultLocationsWindow::editorsOfList() {
    std::vector<DefaultLocationsWindow*> editors;
    for (DefaultLocationsWindow* editor : openEditors)
        if (&editor->DefaultLocations == &DefaultLocations)
            editors.push_back(editor);
    // One not yet open, or closed already, still keeps its own rows in step.
    if (std::find(editors.begin(), editors.end(), this) == editors.end())
        editors.push_back(this);
    return editors;
}
