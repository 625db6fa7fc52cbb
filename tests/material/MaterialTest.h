#pragma once

#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "SearchLocations.h"
#include "Services.h"
#include "mxmFile.h"

#include <functional>
#include <string>
#include <vector>

// Reads a material from bytes in memory as if it were the file at path.
inline mxmFile readMaterial(const std::string& bytes,
                            const std::string& path = "/nowhere/oak.mxm") {
    return mxmFile(makeRef<BinaryStream>(bytes), makeRef<FolderItem>(path));
}

// A material at path holding these stored paths, each with its block (empty
// where none is given).
inline mxmFile materialWith(const std::string& path, const std::vector<std::string>& paths,
                            std::vector<std::string> blocks = {}) {
    mxmFile material = readMaterial("", path);
    material.mxmPaths.resize(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        material.mxmPaths[i].setString(paths[i]);
    blocks.resize(paths.size());
    material.mxmParameter = blocks;
    return material;
}

// Records message boxes and beeps instead of showing or sounding them.
struct RecordedServices {
    RecordedServices() {
        serviceHooks() = {[this](const std::string& text) { messages.push_back(text); },
                          [this] { ++beeps; }};
    }
    ~RecordedServices() { serviceHooks() = previous; }

    const ServiceHooks previous = serviceHooks();
    std::vector<std::string> messages;
    int beeps = 0;
};

// Stands in for the application's default search locations; counts how often
// the search asks for them and may act just before it answers.
struct FakeDefaultLocations {
    FakeDefaultLocations() {
        SearchLocations::setSearchLocationsSource([this]() -> const SearchLocations::FolderList& {
            if (onRead)
                onRead();
            ++reads;
            return list;
        });
    }
    ~FakeDefaultLocations() { SearchLocations::setSearchLocationsSource(nullptr); }

    SearchLocations::FolderList list;
    int reads = 0;
    std::function<void()> onRead;
};
