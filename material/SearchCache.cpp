#include "SearchCache.h"

SearchCache::Scope::Scope() : cache_(active()) {
    if (cache_)
        return;
    own_ = std::make_unique<SearchCache>();
    cache_ = active() = own_.get();
}

SearchCache::Scope::~Scope() {
    if (own_)
        active() = nullptr;
}

SearchCache::Pause::Pause() : paused_(active()) {
    active() = nullptr;
}

SearchCache::Pause::~Pause() {
    active() = paused_;
}

Ref<FolderItem> SearchCache::find(const std::string& name, const Ref<FolderItem>& root) {
    const std::string& rootPath = root->NativePath();
    auto at = indexes_.find(rootPath);
    if (at == indexes_.end())
        at = indexes_.try_emplace(rootPath, root, listings_).first;
    return at->second.find(name);
}

SearchCache*& SearchCache::active() {
    // One thread runs every search, so one active cache is enough.
    static SearchCache* cache = nullptr;
    return cache;
}
