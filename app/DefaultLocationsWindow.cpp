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

DefaultLocationsWindow::DefaultLocationsWindow(std::vector<std::string>& locations)
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
    showRows();
    openEditors.push_back(this);
}

void DefaultLocationsWindow::Event_Activate() {
    markMissingRows();
}

void DefaultLocationsWindow::showRows() {
    LBFolderitems().DeleteAllRows();
    for (const std::string& path : DefaultLocations)
        AddLocationToList(path);
}

void DefaultLocationsWindow::markMissingRows() {
    for (int row = 0; row < LBFolderitems().ListCount(); ++row)
        markRow(row);
}

void DefaultLocationsWindow::markRow(int row) {
    const bool missing = !App::LocationFolder(LBFolderitems().Cell(row));
    LBFolderitems().setRowNote(row, missing ? "missing" : "");
}

// Only a changed list is written. Saving may take in another running copy's
// changes, which every editor still open then shows. A list that cannot be
// saved is kept only in memory and would be gone at the next start: the
// user is told.
void DefaultLocationsWindow::Event_Close() {
    forget();
    const WriteResult saved = App::instance().SaveDefaultLocations();
    for (DefaultLocationsWindow* editor : editorsOfList())
        if (editor != this)
            editor->showRows();
    if (!saved.ok())
        MsgBox("The list of default locations could not be saved to \"" +
               App::PreferencesFileShownName() + "\": " + saved.reason() + ".");
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

void DefaultLocationsWindow::AddLocationToList(const std::string& path) {
    LBFolderitems().AddRow(path);
    markRow(LBFolderitems().ListCount() - 1);
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
    DefaultLocations.push_back(folder->AbsolutePath());
    for (DefaultLocationsWindow* editor : editorsOfList())
        editor->AddLocationToList(DefaultLocations.back());
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
