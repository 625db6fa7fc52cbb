#include "SearchLocations.h"

#include <utility>

namespace SearchLocations {
namespace {

Source& installedSource() {
    static Source source;
    return source;
}

thread_local const FolderList* thisThreadsList = nullptr;

} // namespace

ThisThread::ThisThread(const FolderList& locations)
    : previous_(std::exchange(thisThreadsList, &locations)) {}

ThisThread::~ThisThread() {
    thisThreadsList = previous_;
}

void setSearchLocationsSource(Source source) {
    installedSource() = std::move(source);
}

const FolderList& currentSearchLocations() {
    static const FolderList none;
    if (thisThreadsList)
        return *thisThreadsList;
    const Source& source = installedSource();
    return source ? source() : none;
}

} // namespace SearchLocations
