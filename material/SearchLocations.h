#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <functional>
#include <vector>

// The user's default search locations reach the file search through this one
// hook, so that the material code needs nothing of the application object.
namespace SearchLocations {

using FolderList = std::vector<Ref<FolderItem>>;
using Source = std::function<const FolderList&()>;

// Installs the source of the list; an empty source removes it.
void setSearchLocationsSource(Source source);

// The list as the source gives it now; an empty list while no source is
// installed, so that a path check without an application searches only the
// material's own folder tree. On a thread that holds a copy (ThisThread),
// that copy.
const FolderList& currentSearchLocations();

// For its life the calling thread's searches use the list given, a copy
// taken on the thread that owns the source: a worker thread never reads the
// list while the user changes it.
class ThisThread {
  public:
    explicit ThisThread(const FolderList& locations);
    ~ThisThread();
    ThisThread(const ThisThread&) = delete;
    ThisThread& operator=(const ThisThread&) = delete;

  private:
    const FolderList* previous_;
};

} // namespace SearchLocations
