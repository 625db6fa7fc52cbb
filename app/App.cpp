#include "App.h"

#include "BinaryStream.h"
#include "LocationsFile.h"
#include "PreferencesFolder.h"
#include "SearchLocations.h"

#include <string>
#include <utility>

namespace {
const char* const preferencesFileName = "LumitracePaths.pref";
const char* const backupFileName = "LumitracePaths.pref.bak";
} // namespace

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

std::string App::PreferencesFileShownName() {
    const Ref<FolderItem> file = preferencesFile();
    return file ? file->NativePath() : preferencesFileName;
}

namespace {

// The file's bytes; nothing when it is missing or cannot be read.
std::string contentOf(const Ref<FolderItem>& file) {
    const Ref<BinaryStream> stream = file ? BinaryStream::Open(file, false) : nullptr;
    if (!stream)
        return {};
    std::string bytes = stream->Read(stream->Length());
    stream->Close();
    return bytes;
}

} // namespace

// A line that names no existing item is not kept in the list; the next save
// would lose it, so it keeps the file as it was (see SaveDefaultLocations).
void App::LoadDefaultLocations() {
    for (const std::string& path : LocationsFile::parse(contentOf(preferencesFile()))) {
        Ref<FolderItem> location = GetFolderItem(path, 0);
        if (location && location->Exists())
            DefaultLocations.push_back(std::move(location));
        else if (!path.empty())
            preferencesLinesDropped_ = true;
    }
}

// Lines the load dropped (an unmounted volume, a folder renamed, garbage) are
// still in the old file: it is kept beside the new one before it is replaced,
// and the new file is not written when that copy fails.
bool App::SaveDefaultLocations() {
    const Ref<FolderItem> folder = PreferencesFolder();
    if (!folder)
        return false;
    const Ref<FolderItem> file = folder->Child(preferencesFileName);
    if (preferencesLinesDropped_) {
        const std::string previous = contentOf(file);
        if (!previous.empty() && !folder->Child(backupFileName)->WriteAtomically(previous).ok())
            return false;
        preferencesLinesDropped_ = false;
    }
    std::vector<std::string> paths;
    for (const Ref<FolderItem>& location : DefaultLocations)
        paths.push_back(location->AbsolutePath());
    return file->WriteAtomically(LocationsFile::format(paths)).ok();
}
