// Feeds arbitrary bytes to the material reader, then builds the file the
// writer would store from what was read and reads that back. What reads as a
// material is then checked twice over a small fixed tree of files, links and
// a FIFO (FuzzTree): every path a check writes must pass the next check.
#include "BinaryStream.h"
#include "DialogResponder.h"
#include "Exceptions.h"
#include "FuzzTree.h"
#include "Picture.h"
#include "Text.h"
#include "mxmFile.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

void require(bool holds) {
    if (!holds)
        std::abort();
}

// The stored paths, then (with blocks) each path followed by its block.
std::vector<std::string> recordsOf(const mxmFile& material, bool withBlocks = true) {
    std::vector<std::string> records;
    for (size_t i = 0; i < material.mxmPaths.size(); ++i) {
        records.push_back(material.mxmPaths[i].getString());
        if (withBlocks)
            records.push_back(material.mxmParameter[i]);
    }
    return records;
}

mxmFile readAndCheck(const std::string& bytes) {
    Ref<BinaryStream> stream = makeRef<BinaryStream>(std::make_shared<const std::string>(bytes));
    mxmFile material(stream, fuzzMaterialFile());
    require(stream->Position() ==
            (material.isMXM ? stream->Length() : std::min<int64_t>(7, stream->Length())));
    if (!material.isMXM)
        return material;
    require(material.mxmPaths.size() == material.mxmParameter.size());
    for (size_t i = 0; i + 1 < material.mxmParameter.size(); ++i)
        require(RightB(material.mxmParameter[i], 6) == "bitmap");
    require(material.PreviewPict->Width() == 200 && material.PreviewPict->Height() == 200);
    return material;
}

// A check over the fixed tree never fails, and what it rewrites is written
// and read back as it stands. A second check finds every stored path the
// first one wrote at its place.
//
// A reference that a relocation wrote into a block is found at its place by
// the next look at the same bytes, under the name searched for (as names
// compare: the file found may differ in letter case).
void checkPaths(mxmFile& material) {
    const std::string moved = " was found at another location, and the path was changed\r";
    const std::string atPlace = " was at the given location\r";
    for (const std::string& block : material.mxmParameter)
        for (const auto& [extension, forceLong] :
             {std::pair<std::string, bool>{".ior", false}, {".r2", true}}) {
            const size_t at = block.find(extension);
            if (at == std::string::npos)
                continue;
            std::string head = block.substr(0, at + extension.size());
            const std::string line = material.findFileInBlock(head, forceLong);
            if (!line.ends_with(moved))
                continue;
            const std::string next = material.findFileInBlock(head, forceLong);
            require(next.ends_with(atPlace) &&
                    StringEquals(next.substr(0, next.size() - atPlace.size()),
                                 line.substr(0, line.size() - moved.size())));
        }
    int32_t status = 0;
    material.ResetPaths(status);
    require(status >= 0 && status <= 3);
    require(recordsOf(readAndCheck(material.fileBytes())) == recordsOf(material));
    const std::vector<std::string> checked = recordsOf(material, false);
    int32_t again = 0;
    material.ResetPaths(again);
    require(again == (status == 1 ? 0 : status));
    require(recordsOf(material, false) == checked);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Beeps are expected; a message box would mean the check failed.
    static struct : DialogResponder {
        void showMsgBox(const std::string&) override { std::abort(); }
        void beep() override {}
    } checkedRun;
    DialogResponder::setCurrent(&checkedRun);
    fuzzMaterialFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<mxmFile> read;
    try {
        read.emplace(readAndCheck(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const DamagedFileException&) {
        // A preview too large to be a picture: refused with a message. What
        // the writer makes is never refused.
        return 0;
    }
    mxmFile& material = *read;
    if (!material.isMXM)
        return 0;
    material.mxm2TextureName->setString(Split(fuzzMaterialFile()->Name(), ".")[0]);
    // What is written reads back as the same records and is written again
    // byte for byte, even from a file cut short anywhere.
    const std::string written = material.fileBytes();
    const mxmFile again = readAndCheck(written);
    require(again.isMXM && again.getMaterialName() == "fuzz" &&
            again.mxm5Mittelmarker == material.mxm5Mittelmarker);
    require(recordsOf(again) == recordsOf(material) && again.fileBytes() == written);
    checkPaths(material);
    return 0;
}
