#include "App.h"

#include "PreferencesFolder.h"
#include "SearchLocations.h"

#include <cerrno>
#include <string>
#include <utility>

namespace {
const char* const preferencesFileName = "LumitracePaths.pref";
} // namespace

// The search sees the locations whose folders are there when it begins.
App::App() {
    SearchLocations::setSearchLocationsSource([this]() -> const SearchLocations::FolderList& {
        presentLocations_.clear();
        for (const std::string& path : DefaultLocations)
            if (Ref<FolderItem> folder = LocationFolder(path))
                presentLocations_.push_back(std::move(folder));
        return presentLocations_;
    });
}

App::~App() {
    // Another App registered since keeps its own hook.
    if (Application::instance() == this)
        SearchLocations::setSearchLocationsSource(nullptr);
}

App& App::instance() {
    App* app = dynamic_cast<App*>(Application::instance());
    if (app == nullptr)
        throw NilObjectException("There is no application object.");
    return *app;
}

Ref<FolderItem> App::LocationFolder(const std::string& path) {
    Ref<FolderItem> folder = GetFolderItem(path, 0);
    return folder && folder->Exists() ? folder : nullptr;
}

void App::AddDefaultLocationForSearch(const Ref<FolderItem>& folder) {
    DefaultLocations.push_back(folder->AbsolutePath());
}

void App::ResetDefaultLocations() {
    DefaultLocations.clear();
}

// Where the folder cannot be made, the file is still named there: it
// counts as missing, and a save says why it cannot be written.
Ref<FolderItem> App::preferencesFile() {
    if (const Ref<FolderItem> folder = PreferencesFolder())
        return folder->Child(preferencesFileName);
    const std::string folder = PreferencesFolderPath();
    return folder.empty() ? nullptr : makeRef<FolderItem>(folder + "/" + preferencesFileName);
}

std::string App::PreferencesFileShownName() {
    const Ref<FolderItem> file = preferencesFile();
    return file ? file->NativePath() : preferencesFileName;
}

void App::LoadDefaultLocations() {
    if (const Ref<FolderItem> file = preferencesFile())
        store_.load(file);
}

WriteResult App::SaveDefaultLocations() {
    const Ref<FolderItem> file = preferencesFile();
    return file ? store_.save(file) : WriteResult::failed(ENOENT);
}
