#pragma once

#include "FolderIndex.h"
#include "FolderItem.h"
#include "FolderListings.h"
#include "Ref.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

// Lets the file searches of one path check, or of one batch run, share what
// they read from disk: each folder is listed once, and the files of each
// search root's tree are indexed by name once. A new scope reads afresh, so
// files moved in between are seen. The cache in force belongs to a thread;
// a batch's worker threads join the batch's cache, whose searches take
// turns, so that every check finds what it would have found alone.
//
//   SearchCache::Scope scope;   // joins the batch's scope when one is open
//   Ref<FolderItem> file = scope.cache().find("a.ior", folder);
class SearchCache {
  public:
    // Opens a cache for its life when none is active on this thread; inside
    // an active one it joins that one, so that a batch's scope covers every
    // material's check. Given a cache, it makes that one active on this
    // thread for its life.
    class Scope {
      public:
        Scope();
        explicit Scope(SearchCache& shared);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        SearchCache& cache() const { return *cache_; }

      private:
        std::unique_ptr<SearchCache> own_;
        SearchCache* cache_;
        bool restore_ = false;
        SearchCache* previous_ = nullptr;
    };

    // No cache is active while it lives: a check started from inside, such
    // as an editor's while the batch lets events through, reads afresh.
    class Pause {
      public:
        Pause();
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

      private:
        SearchCache* paused_;
    };

    // The first file of that name in the root's tree (see FolderIndex for
    // the order). Raises NilObjectException for a nil root.
    Ref<FolderItem> find(const std::string& name, const Ref<FolderItem>& root);

  private:
    static SearchCache*& active();

    std::mutex mutex_;
    FolderListings listings_;
    // By the root's native path; declared after the listings they point into.
    std::unordered_map<std::string, FolderIndex> indexes_;
};
