#include "SearchLocations.h"

#include <utility>

namespace SearchLocations {
namespace {

Source& installedSource() {
    static Source source;
    return source;
}

} // namespace

void setSearchLocationsSource(Source source) {
    installedSource() = std::move(source);
}

const FolderList& currentSearchLocations() {
    static const FolderList none;
    const Source& source = installedSource();
    return source ? source() : none;
}

} // namespace SearchLocations
