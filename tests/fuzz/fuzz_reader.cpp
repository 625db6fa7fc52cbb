// Feeds arbitrary bytes to the material reader, then builds the file the
// writer would store from what was read and reads that back.
#include "BinaryStream.h"
#include "Exceptions.h"
#include "FolderItem.h"
#include "Picture.h"
#include "Text.h"
#include "mxmFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The material's file: a name in the temporary folder; nothing is written
// there, the writer's bytes are built in memory.
const Ref<FolderItem>& materialFile() {
    static const Ref<FolderItem> file =
        makeRef<FolderItem>((std::filesystem::temp_directory_path() / "fuzz.mxm").string());
    return file;
}

void require(bool holds) {
    if (!holds)
        std::abort();
}

// What every material that could be read must satisfy.
void checkMaterial(const mxmFile& material, const BinaryStream& stream) {
    require(stream.Position() == stream.Length());
    require(material.mxmPaths.size() == material.mxmParameter.size());
    for (size_t i = 0; i + 1 < material.mxmParameter.size(); ++i)
        require(RightB(material.mxmParameter[i], 6) == "bitmap");
    require(material.PreviewPict->Width() == 200 && material.PreviewPict->Height() == 200);
}

mxmFile readAndCheck(const std::string& bytes) {
    Ref<BinaryStream> stream = makeRef<BinaryStream>(bytes);
    mxmFile material(stream, materialFile());
    if (material.isMXM)
        checkMaterial(material, *stream);
    else
        require(stream->Position() == std::min<int64_t>(7, stream->Length()));
    return material;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        mxmFile material = readAndCheck(std::string(reinterpret_cast<const char*>(data), size));
        if (!material.isMXM)
            return 0;
        material.mxm2TextureName->setString(Split(materialFile()->Name(), ".")[0]);
        const std::string written = material.fileBytes();
        const mxmFile again = readAndCheck(written);
        // A file cut short in a marker is written back as short as it was
        // read, so only whole markers line up again.
        if (material.mxm1TypeMarker.size() == 7) {
            require(again.isMXM && again.getMaterialName() == "fuzz");
            if (material.mxm5Mittelmarker.size() == 25)
                require(again.mxm5Mittelmarker == material.mxm5Mittelmarker);
        }
    } catch (const DamagedFileException&) {
        // A preview too large to be a picture: refused with a message.
    }
    return 0;
}
