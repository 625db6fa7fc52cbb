#pragma once

#include "DialogResponder.h"
#include "MaterialBytes.h"
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
struct RecordedAlerts : DialogResponder {
    RecordedAlerts() : previous(DialogResponder::setCurrent(this)) {}
    ~RecordedAlerts() override { DialogResponder::setCurrent(previous); }
    void showMsgBox(const std::string& text) override { messages.push_back(text); }
    void beep() override { ++beeps; }

    DialogResponder* const previous;
    std::vector<std::string> messages;
    int beeps = 0;
};
