#include "mxmFile.h"

#include "MaxwellHelper.h"
#include "SearchCache.h"
#include "Services.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace {

const std::string noPathLine = "Critical error - found no path!\r";

// ---- Stored paths ------------------------------------------------------------

std::string checkStoredPath(mxmFile& material, std::size_t index, int32_t& status) {
    const std::string path = material.mxmPaths[index].getString();
    // Stored strings carry no text encoding, so their length is counted in
    // bytes; a shorter string cannot be a path.
    if (path.size() < 4)
        return "";
    const std::string name = mxmFile::getFilenameFromPath(path);
    if (MaxwellHelper::MaxwellPathFileExists(path, name))
        return "[ " + path + "- o.k. ] \r";
    const Ref<FolderItem> found =
        MaxwellHelper::findFile(name, material.mxmFileFolderItem->Parent(), true);
    if (found) {
        // Raised before the rewrite: a failure while the new path is made
        // still leaves the severity telling that this path was missing.
        status = std::max(status, 1);
        material.mxmPaths[index].setString(MaxwellHelper::getMaxwellPath(found));
        return "[ " + name + " - Path changed, o.k. ] \r";
    }
    if (index == 0) {
        status = std::max(status, 2);
        return "[ " + name + " - not found, o.k.? ] \r";
    }
    status = std::max(status, 3);
    return "[ " + name + " - not found, critical ] \r";
}

std::string checkStoredPaths(mxmFile& material, int32_t& status) {
    if (material.mxmPaths.size() == 1) {
        status = 0;
        return "[ Material contains no file paths ]";
    }
    std::string report;
    for (std::size_t index = 0; index < material.mxmPaths.size(); ++index)
        report += checkStoredPath(material, index, status);
    return report;
}

// ---- Embedded references -----------------------------------------------------

// Only the first occurrence of the extension is examined; every byte after it
// stays in the block as it is.
std::string relocateReference(mxmFile& material, std::size_t index, const std::string& extension,
                              bool forceLong) {
    const std::string& block = material.mxmParameter[index];
    const std::size_t at = block.find(extension);
    if (at == std::string::npos)
        return "";
    const std::size_t headLength = at + extension.size();
    std::string head = block.substr(0, headLength);
    const std::string tail = block.substr(headLength);
    std::string line = material.findFileInBlock(head, forceLong);
    material.mxmParameter[index] = head + tail;
    return line;
}

std::string checkEmbeddedReferences(mxmFile& material) {
    std::string report;
    for (std::size_t index = 0; index < material.mxmParameter.size(); ++index) {
        report += relocateReference(material, index, ".ior", false);
        report += relocateReference(material, index, ".r2", true);
    }
    return report;
}

struct EmbeddedPath {
    std::size_t prefixStart;
    std::string path;
};

unsigned byteAt(const std::string& bytes, std::size_t position) {
    return static_cast<unsigned char>(bytes[position]);
}

// Finds the length-prefixed string that ends exactly at the end of the block.
// Nothing marks where it begins, so the search starts after the last zero
// byte that can precede a prefix (the prefixed string usually follows a
// number field) and takes the first candidate whose length fits. A block too
// short to hold a prefix and an extension has none.
std::optional<EmbeddedPath> fitEmbeddedPath(const std::string& block) {
    const std::size_t length = block.size();
    if (length < 4)
        return std::nullopt;
    std::size_t stop = length - 4;
    while (stop > 0 && byteAt(block, stop) != 0)
        --stop;
    std::size_t position = stop + 1;
    for (std::size_t candidate = stop + 1; position < length; ++candidate) {
        position = candidate;
        const unsigned first = byteAt(block, position++);
        std::size_t pathLength = first;
        if (first >= 0x40) {
            const unsigned second = position < length ? byteAt(block, position++) : 0;
            pathLength = (first - 0x40) * 256 + second;
        }
        if (position + pathLength == length)
            return EmbeddedPath{candidate, block.substr(position)};
    }
    return std::nullopt;
}

bool beginsLikeAbsolutePath(const std::string& path) {
    if (path.starts_with('/') || path.starts_with("\\\\"))
        return true;
    const char drive = path.size() >= 3 ? path[0] : '\0';
    const bool isLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return isLetter && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// A length byte can fit by chance before the reference's own prefix or inside
// its path; rewriting from there would throw away the bytes in between. So a
// fitted path counts only when it looks like what the material stores: an
// absolute path ("/...", a drive letter, or "\\" for a network share) without
// control bytes, whose file name has a name before its extension.
bool isPlausiblePath(const std::string& path) {
    const bool hasControlByte = std::ranges::any_of(path, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (hasControlByte || !beginsLikeAbsolutePath(path))
        return false;
    const std::string name = mxmFile::getFilenameFromPath(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0;
}

} // namespace

std::string mxmFile::findFileInBlock(std::string& block, bool forceLong) {
    const std::optional<EmbeddedPath> reference = fitEmbeddedPath(block);
    if (!reference || !isPlausiblePath(reference->path))
        return noPathLine;
    const std::string name = getFilenameFromPath(reference->path);
    if (MaxwellHelper::MaxwellPathFileExists(reference->path, name))
        return name + " was at the given location\r";
    const Ref<FolderItem> found = MaxwellHelper::findFile(name, mxmFileFolderItem->Parent(), true);
    if (!found)
        return "Critical error - file " + name + " could not be found!\r";
    block = block.substr(0, reference->prefixStart) +
            MaxwellHelper::string2mxstring(MaxwellHelper::getMaxwellPath(found), forceLong);
    return name + " was found at another location, and the path was changed\r";
}

std::string mxmFile::ResetPaths(int32_t& status) {
    try {
        // Every search of this check, or of the batch run it belongs to,
        // lists each folder once.
        const SearchCache::Scope searches;
        std::string report = checkStoredPaths(*this, status);
        return report + checkEmbeddedReferences(*this);
    } catch (...) {
        // Changes made before the failure stay; the caller sees no report.
        MsgBox("Exception in mxmFile.ResetPaths");
        return "";
    }
}
