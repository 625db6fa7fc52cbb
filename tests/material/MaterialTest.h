#pragma once

#include "MaterialBytes.h"
#include "Services.h"
#include "mxmFile.h"

#include <memory>

// A stream over a copy of the bytes.
inline Ref<BinaryStream> streamOver(const std::string& bytes) {
    return makeRef<BinaryStream>(std::make_shared<const std::string>(bytes));
}

// Reads a material from bytes in memory as if it were the file at path.
inline mxmFile readMaterial(const std::string& bytes,
                            const std::string& path = "/nowhere/oak.mxm") {
    return mxmFile(streamOver(bytes), makeRef<FolderItem>(path));
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
