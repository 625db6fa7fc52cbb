#pragma once

#include "SearchLocations.h"
#include "Services.h"

#include <string>
#include <vector>

// Records message boxes and beeps instead of showing or sounding them.
class RecordedServices {
  public:
    RecordedServices() : previous_(serviceHooks()) {
        serviceHooks() = {[this](const std::string& text) { messages.push_back(text); },
                          [this] { ++beeps; }};
    }
    ~RecordedServices() { serviceHooks() = previous_; }
    RecordedServices(const RecordedServices&) = delete;
    RecordedServices& operator=(const RecordedServices&) = delete;

    std::vector<std::string> messages;
    int beeps = 0;

  private:
    ServiceHooks previous_;
};

// Stands in for the application's default search locations and counts how
// often the search asks for them.
class FakeDefaultLocations {
  public:
    FakeDefaultLocations() {
        SearchLocations::setSearchLocationsSource([this]() -> const SearchLocations::FolderList& {
            ++reads;
            return list;
        });
    }
    ~FakeDefaultLocations() { SearchLocations::setSearchLocationsSource(nullptr); }
    FakeDefaultLocations(const FakeDefaultLocations&) = delete;
    FakeDefaultLocations& operator=(const FakeDefaultLocations&) = delete;

    SearchLocations::FolderList list;
    int reads = 0;
};
