#include "App.h"

#include "BinaryStream.h"
#include "LocationsFile.h"
#include "SearchLocations.h"

#include <string>
#include <utility>

namespace {
const char* const preferencesFileName = "LumitracePaths.pref";
}

App::App() {
    SearchLocations::setSearchLocationsSource(
        [this]() -> const SearchLocations::FolderList& { return DefaultLocations; });
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

void App::AddDefaultLocationForSearch(const Ref<FolderItem>& folder) {
    DefaultLocations.push_back(folder);
}

void App::ResetDefaultLocations() {
    DefaultLocations.clear();
}

// A preferences folder that cannot be had counts as a missing file.
Ref<FolderItem> App::preferencesFile() {
    const Ref<FolderItem> folder = PreferencesFolder();
    return folder ? folder->Child(preferencesFileName) : nullptr;
}

void App::LoadDefaultLocations() {
    const Ref<FolderItem> file = preferencesFile();
    if (!file)
        return;
    const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
    if (!stream)
        return;
    const std::string text = stream->Read(stream->Length());
    stream->Close();
    for (const std::string& path : LocationsFile::parse(text)) {
        Ref<FolderItem> location = GetFolderItem(path, 0);
        if (location && location->Exists())
            DefaultLocations.push_back(std::move(location));
    }
}

bool App::SaveDefaultLocations() {
    const Ref<FolderItem> file = preferencesFile();
    if (!file)
        return false;
    std::vector<std::string> paths;
    for (const Ref<FolderItem>& location : DefaultLocations)
        paths.push_back(location->AbsolutePath());
    return file->WriteAtomically(LocationsFile::format(paths));
}
