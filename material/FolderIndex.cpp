#include "FolderIndex.h"

#include <algorithm>

FolderIndex::FolderIndex(const Ref<FolderItem>& root, FolderListings& listings)
    : listings_(listings), root_(root) {
    enter(root, listings_.of(*root), 0, 0);
}

Ref<FolderItem> FolderIndex::find(const std::string& name) {
    const auto nameOf = [this](uint32_t number) { return fileName(number); };
    int64_t found = firstFiles_.find(name, nameOf);
    while (found < 0 && enterNextFolder())
        found = firstFiles_.find(name, nameOf);
    if (found < 0)
        return nullptr;
    const auto number = static_cast<uint32_t>(found);
    const auto folder = static_cast<uint32_t>(&folderOfFile(number) - folders_.data());
    return itemOf(folder)->Child(std::string(fileName(number)));
}

void FolderIndex::enter(const Ref<FolderItem>& item, const FolderListings::Listing& listing,
                        uint32_t parent, uint32_t name) {
    if (entered_.size() < listings_.count())
        entered_.resize(listings_.count());
    entered_[listing.number] = true;
    folders_.push_back({&listing, fileCount_, parent, name});
    const auto nameOf = [this](uint32_t number) { return fileName(number); };
    names_.clear();
    for (const uint32_t file : listing.entries.files)
        names_.emplace_back(listing.entries.name(file));
    firstFiles_.add(names_, nameOf);
    fileCount_ += static_cast<uint32_t>(listing.entries.files.size());
    walkPath_.push_back({static_cast<uint32_t>(folders_.size() - 1), 0, item});
}

// The next folder in walk order, once the folders before it have been
// entered; false when the whole tree has been walked.
bool FolderIndex::enterNextFolder() {
    while (!walkPath_.empty()) {
        Step& step = walkPath_.back();
        const FolderItem::Listing& entries = folders_[step.folder].listing->entries;
        if (step.nextSubfolder == entries.folders.size()) {
            walkPath_.pop_back();
            continue;
        }
        const uint32_t name = entries.folders[step.nextSubfolder++];
        const Ref<FolderItem> subfolder = step.item->Child(entries.name(name));
        const FolderListings::Listing& listing = listings_.of(*subfolder);
        if (listing.number >= entered_.size() || !entered_[listing.number]) {
            enter(subfolder, listing, step.folder, name);
            return true;
        }
    }
    return false;
}

// Folders without files share their first number with the next folder, so
// the folder that holds the file is the last one whose first number is not
// above it.
const FolderIndex::Folder& FolderIndex::folderOfFile(uint32_t number) const {
    const auto holds = [this, number](size_t k) {
        return folders_[k].firstFile <= number &&
               (k + 1 == folders_.size() || number < folders_[k + 1].firstFile);
    };
    if (!holds(lastFolder_)) {
        const auto after = std::upper_bound(
            folders_.begin(), folders_.end(), number,
            [](uint32_t wanted, const Folder& folder) { return wanted < folder.firstFile; });
        lastFolder_ = static_cast<size_t>(after - folders_.begin()) - 1;
    }
    return folders_[lastFolder_];
}

Ref<FolderItem> FolderIndex::itemOf(uint32_t folder) const {
    if (folder == 0)
        return root_;
    const Folder& entered = folders_[folder];
    return itemOf(entered.parent)
        ->Child(folders_[entered.parent].listing->entries.name(entered.name));
}

std::string_view FolderIndex::fileName(uint32_t number) const {
    const Folder& folder = folderOfFile(number);
    const FolderItem::Listing& entries = folder.listing->entries;
    return entries.name(entries.files[number - folder.firstFile]);
}
