#include "BatchWalk.h"

#include "FileType.h"
#include "MaxwellFiles.h"
#include "Text.h"

#include <cerrno>

namespace {

// A visible file of the material type whose name ends in ".mxm". Folders
// are never tested: hidden ones are walked too.
bool isMaterialName(const std::string& name) {
    return StringEquals(FileTypes::typeOfFileName(name), MaxwellFiles::MaxwellMaterial()->Name()) &&
           name.front() != '.' && MaxwellFiles::HasExtension(name);
}

// A folder's subfolders not yet entered, in entry order.
struct Frame {
    std::vector<FolderBeneath::Place> subfolders;
    size_t next = 0;
};

} // namespace

BatchWalk::BatchWalk(std::function<bool()> stopAsked, std::function<void()> nowAndThen)
    : stopAsked_(std::move(stopAsked)), nowAndThen_(std::move(nowAndThen)) {}

bool BatchWalk::run(const std::string& startFolder, const std::function<void(const File&)>& visit) {
    const FolderBeneath::Ptr start = FolderBeneath::openStart(startFolder);
    if (!start)
        return false;
    if (stopAsked_() || !firstEntry(*start))
        return true;
    std::vector<Frame> stack{{scan(start, visit), 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        const FolderBeneath::Place place = std::move(top.subfolders[top.next++]);
        // A stop takes effect when the walk next enters a folder.
        if (stopAsked_())
            break;
        int error = 0;
        const FolderBeneath::Ptr folder = place.folder->subfolder(place.name, &error);
        // A folder gone meanwhile held nothing to skip; one that stays shut
        // is logged once, however often it is reached.
        if (!folder && error != ENOENT && firstShut(place))
            visit({place.name, place, error});
        else if (folder && firstEntry(*folder)) {
            Frame frame{scan(folder, visit), 0};
            stack.push_back(std::move(frame));
        }
    }
    return true;
}

// Hands the folder's material files over and gives its subfolders back,
// links to folders inside included; after a stop no further file is
// handed over, not even in this folder.
BatchWalk::Subfolders BatchWalk::scan(const FolderBeneath::Ptr& folder,
                                      const std::function<void(const File&)>& visit) {
    Subfolders subfolders;
    const NativeFolder::Entries listed = folder->entries();
    for (const NativeFolder::Entries::Entry& entry : listed.entries) {
        nowAndThen_();
        if (stopAsked_())
            break;
        const std::string name = listed.name(entry);
        std::optional<FolderBeneath::Place> place;
        if (entry.kind == NativeFolder::Entries::Kind::Link)
            place = folder->follow(name);
        else
            place = FolderBeneath::Place{folder, name,
                                         entry.kind == NativeFolder::Entries::Kind::Folder};
        if (!place)
            continue;
        if (place->isFolder)
            subfolders.push_back(std::move(*place));
        else if (isMaterialName(name) && firstReach(*place))
            visit({name, std::move(*place)});
    }
    folder->rest();
    return subfolders;
}

bool BatchWalk::firstEntry(const FolderBeneath& folder) {
    return folders_.insert(folder.identity()).second;
}

bool BatchWalk::firstShut(const FolderBeneath::Place& folder) {
    return folders_.insert(folder.folder->fileIdentity(folder.name).first).second;
}

// A file with one name gives its identity up when it is rewritten, and a
// new file may get it: only files with several names are known by it.
bool BatchWalk::firstReach(const FolderBeneath::Place& file) {
    if (!files_.emplace(file.folder->identity(), file.name).second)
        return false;
    const auto [identity, names] = file.folder->fileIdentity(file.name);
    if (names > 1 && !sharedFiles_.insert(identity).second)
        return false;
    return true;
}
