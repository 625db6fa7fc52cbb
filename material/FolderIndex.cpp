#include "FolderIndex.h"

namespace {

// Equal for two names exactly when StringEquals holds for them: it ignores
// the case of ASCII letters and of nothing else.
std::string caseFolded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

} // namespace

FolderIndex::FolderIndex(const Ref<FolderItem>& root, FolderListings& listings)
    : listings_(listings) {
    enter(root, listings_.of(*root));
}

Ref<FolderItem> FolderIndex::find(const std::string& name) {
    const std::string key = caseFolded(name);
    auto found = firstFiles_.find(key);
    while (found == firstFiles_.end() && enterNextFolder())
        found = firstFiles_.find(key);
    if (found == firstFiles_.end())
        return nullptr;
    const Place& place = found->second;
    return folders_[place.folder]->Child(*place.name);
}

void FolderIndex::enter(const Ref<FolderItem>& folder, const FolderListings::Listing& listing) {
    entered_.insert(listing.identity);
    folders_.push_back(folder);
    const std::size_t number = folders_.size() - 1;
    for (const std::string& file : listing.files)
        firstFiles_.try_emplace(caseFolded(file), Place{number, &file});
    walkPath_.push_back({number, &listing, 0});
}

// The next folder in walk order, once the folders before it have been
// entered; false when the whole tree has been walked.
bool FolderIndex::enterNextFolder() {
    while (!walkPath_.empty()) {
        Step& step = walkPath_.back();
        if (step.nextSubfolder == step.listing->subfolders.size()) {
            walkPath_.pop_back();
            continue;
        }
        const std::string& name = step.listing->subfolders[step.nextSubfolder++];
        const Ref<FolderItem> subfolder = folders_[step.folder]->Child(name);
        const FolderListings::Listing& listing = listings_.of(*subfolder);
        if (!entered_.contains(listing.identity)) {
            enter(subfolder, listing);
            return true;
        }
    }
    return false;
}
