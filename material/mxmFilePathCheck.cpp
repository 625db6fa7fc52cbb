#include "mxmFile.h"

#include "Alerts.h"
#include "MaxwellHelper.h"
#include "SearchCache.h"
#include "Text.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace {

const std::string noPathLine = "Critical error - found no path!\r";

// The stored form of the file found; none when that form would name another
// file.
std::optional<std::string> storedPathOf(const Ref<FolderItem>& found) {
    std::string path = MaxwellHelper::getMaxwellPath(found);
    if (!MaxwellHelper::MaxwellPathLeadsTo(path, found))
        return std::nullopt;
    return path;
}

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
        if (const std::optional<std::string> newPath = storedPathOf(found)) {
            material.mxmPaths[index].setString(*newPath);
            return "[ " + name + " - Path changed, o.k. ] \r";
        }
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
    std::size_t pathStart;
};

unsigned byteAt(const std::string& bytes, std::size_t position) {
    return static_cast<unsigned char>(bytes[position]);
}

// The string whose length prefix begins at the candidate, when it runs
// exactly to the end of the block.
std::optional<EmbeddedPath> fitAt(const std::string& block, std::size_t candidate) {
    std::size_t position = candidate;
    const unsigned first = byteAt(block, position++);
    std::size_t pathLength = first;
    if (first >= MaxwellHelper::LongPrefixStart) {
        if (position == block.size())
            return std::nullopt;
        pathLength = MaxwellHelper::longPrefixLength(first, byteAt(block, position++));
    }
    if (position + pathLength != block.size())
        return std::nullopt;
    return EmbeddedPath{candidate, position};
}

// Tells which paths ending at the end of one block look like what a material
// stores: no control byte, and a beginning that every stored form has: "/",
// the rest of the name of a volume beside the startup volume ("2/" for HD2
// beside HD), a drive letter, or "\\" for a network share. Each question
// costs the same however long the path, so a block in which many
// candidates fit is judged at once.
class PlausiblePaths {
  public:
    explicit PlausiblePaths(const std::string& block)
        : block_(block), volumePrefixes_(MaxwellHelper::VolumePrefixesBesideStartup()) {
        for (std::size_t position = block.size(); position > 0 && controlFree_ == 0; --position)
            if (IsControlByte(byteAt(block, position - 1)))
                controlFree_ = position;
    }

    bool startingAt(std::size_t pathStart) const {
        if (pathStart < controlFree_)
            return false;
        const std::string_view path = std::string_view(block_).substr(pathStart);
        return path.starts_with('/') || path.starts_with("\\\\") || beginsWithDrive(path) ||
               std::ranges::any_of(volumePrefixes_, [&](const std::string& prefix) {
                   return StringEquals(std::string(path.substr(0, prefix.size())), prefix);
               });
    }

  private:
    static bool beginsWithDrive(std::string_view path) {
        const char drive = path.size() >= 3 ? path[0] : '\0';
        const bool isLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
        return isLetter && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    }

    const std::string& block_;
    const std::vector<std::string> volumePrefixes_;
    std::size_t controlFree_ = 0; // no control byte from here to the end
};

// Finds the length-prefixed string that ends exactly at the end of the block.
// Nothing marks where it begins. The candidates are the positions after the
// last zero byte that can precede a prefix (the string usually follows a
// number field), in order. A byte before the string's own prefix can fit by
// chance, and a rewrite from there would drop the bytes in between; its path
// then spans the real prefix. So a fit is passed over when a later candidate
// fits with a shorter plausible path: the fit taken is the first one whose
// path is the last plausible one (a two-byte prefix whose high part is 0
// holds a one-byte prefix of the same path). Without any plausible path, the
// fit right after the zero byte, the usual case, is taken whatever its path
// looks like. A block too short to hold a prefix and an extension has none.
std::optional<EmbeddedPath> findReference(const std::string& block) {
    if (block.size() < 4)
        return std::nullopt;
    std::size_t stop = block.size() - 4;
    while (stop > 0 && byteAt(block, stop) != 0)
        --stop;
    std::vector<EmbeddedPath> fits;
    for (std::size_t candidate = stop + 1; candidate < block.size(); ++candidate)
        if (std::optional<EmbeddedPath> fit = fitAt(block, candidate))
            fits.push_back(*fit);
    if (fits.empty())
        return std::nullopt;
    const PlausiblePaths plausible(block);
    const auto last =
        std::ranges::find_if(fits.rbegin(), fits.rend(), [&](const EmbeddedPath& fit) {
            return plausible.startingAt(fit.pathStart);
        });
    if (last != fits.rend())
        return *std::ranges::find(fits, last->pathStart, &EmbeddedPath::pathStart);
    const bool afterZeroByte = byteAt(block, stop) == 0;
    if (afterZeroByte && fits.front().prefixStart == stop + 1)
        return fits.front();
    return std::nullopt;
}

} // namespace

std::string mxmFile::findFileInBlock(std::string& block, bool forceLong) {
    const std::optional<EmbeddedPath> reference = findReference(block);
    if (!reference)
        return noPathLine;
    const std::string path = block.substr(reference->pathStart);
    const std::string name = getFilenameFromPath(path);
    if (MaxwellHelper::MaxwellPathFileExists(path, name))
        return name + " was at the given location\r";
    const Ref<FolderItem> found = MaxwellHelper::findFile(name, mxmFileFolderItem->Parent(), true);
    const std::optional<std::string> newPath = found ? storedPathOf(found) : std::nullopt;
    // A keyword inside a block would end the block there when the file is
    // next read: a path holding it cannot be stored in a block.
    if (!newPath || newPath->find(BlockKeyword) != std::string::npos)
        return "Critical error - file " + name + " could not be found!\r";
    block = block.substr(0, reference->prefixStart) +
            MaxwellHelper::string2mxstring(*newPath, forceLong);
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
