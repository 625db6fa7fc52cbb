#include "SearchCache.h"

#include <utility>

SearchCache::Scope::Scope() : cache_(active()) {
    if (cache_)
        return;
    own_ = std::make_unique<SearchCache>();
    cache_ = active() = own_.get();
}

SearchCache::Scope::Scope(SearchCache& shared)
    : cache_(&shared), restore_(true), previous_(std::exchange(active(), &shared)) {}

SearchCache::Scope::~Scope() {
    if (own_)
        active() = nullptr;
    if (restore_)
        active() = previous_;
}

SearchCache::Pause::Pause() : paused_(active()) {
    active() = nullptr;
}

SearchCache::Pause::~Pause() {
    active() = paused_;
}

Ref<FolderItem> SearchCache::find(const std::string& name, const Ref<FolderItem>& root) {
    const std::lock_guard lock(mutex_);
    const std::string& rootPath = root->NativePath();
    auto at = indexes_.find(rootPath);
    if (at == indexes_.end())
        at = indexes_.try_emplace(rootPath, root, listings_).first;
    return at->second.find(name);
}

SearchCache*& SearchCache::active() {
    static thread_local SearchCache* cache = nullptr;
    return cache;
}
