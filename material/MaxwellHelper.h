#pragma once

#include "FolderItem.h"
#include "MemoryBlock.h"
#include "Picture.h"
#include "Ref.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Shared helpers of the material file format, one section per concern.
namespace MaxwellHelper {

// ---- Length-prefixed strings -------------------------------------------------

// The longest string the prefix can carry (prefix 0xFF 0xFF).
constexpr int32_t MaxStringLength = 49151;

// A first prefix byte below this is the length itself; from it on, the
// prefix has two bytes: LongPrefixStart + length / 256, then length % 256.
constexpr unsigned LongPrefixStart = 0x40;

// The length a two-byte prefix gives.
constexpr size_t longPrefixLength(unsigned first, unsigned second) {
    return (first - LongPrefixStart) * 256 + second;
}

// The on-disk form of bytes: the one-byte prefix for a length below
// LongPrefixStart unless forceLong, else the two-byte prefix. Raises
// OutOfBoundsException for a string longer than MaxStringLength, which has no
// on-disk form.
std::string string2mxstring(const std::string& bytes, bool forceLong);

// ---- Preview pixel blocks ----------------------------------------------------
// A pixel block is width x height pixels, rows top to bottom, three bytes per
// pixel (red, green, blue), no padding.

constexpr int BytesPerPixel = 3;

// A new picture from the block; nil when the block's size is not
// width x height x 3. A nil block raises NilObjectException, and so does a
// picture the framework cannot make or decode (more than 32767 pixels a side).
Ref<Picture> RGBMB2Pict(const Ref<MemoryBlock>& block, int32_t width, int32_t height);

// The picture's pixel block; an empty block for a nil picture. Never nil.
Ref<MemoryBlock> Pict2RGBMB(const Ref<Picture>& picture);

// ---- Stored paths and the file search --------------------------------------

// The stored form of the file's path: "/" and the folders below the startup
// volume, else "/Volumes/" and the volume's name first.
std::string getMaxwellPath(const Ref<FolderItem>& f);

// True when a file called name stands at the place the stored path names.
// Sounds the beep when something of another name stands there.
bool MaxwellPathFileExists(const std::string& path, const std::string& name);

// True when the stored path names the file itself (the same file on disk).
// A name holding ":" has no stored form: its path names another file.
bool MaxwellPathLeadsTo(const std::string& path, const Ref<FolderItem>& file);

// How getMaxwellPath begins the paths of files on volumes whose names extend
// the startup volume's: the rest of each such name, then "/" ("2/" for HD2
// beside HD).
std::vector<std::string> VolumePrefixesBesideStartup();

// The first file called name in the folder's tree (its own files before any
// subfolder, subfolders depth first in entry order), then, when searchDefaults
// is set, in each default search location in list order; nil when none.
// Inside an open SearchCache::Scope, folders that earlier searches listed are
// not read again.
Ref<FolderItem> findFile(const std::string& name, const Ref<FolderItem>& folder,
                         bool searchDefaults);

} // namespace MaxwellHelper
