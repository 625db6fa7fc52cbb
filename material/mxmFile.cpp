#include "mxmFile.h"

#include "Alerts.h"
#include "ByteOrder.h"
#include "Exceptions.h"
#include "MaxwellFiles.h"
#include "MaxwellHelper.h"
#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <memory>

namespace {

constexpr int64_t TypeMarkerLength = 7;
constexpr int64_t MiddleMarkerLength = 25;
using MaxwellHelper::BytesPerPixel;
constexpr int64_t StandardPreviewBytes =
    int64_t{mxmFile::PreviewSide} * mxmFile::PreviewSide * BytesPerPixel;

// The first keyword search skips the record part's first four bytes, as
// stored files have always been read.
constexpr size_t UnsearchedBytes = 4;

// The 1-based position (as InStrB counts) of the "bitmap" that ends the block
// after a string whose last byte is at stringEnd; 0 when the block runs to the
// end. previous is the keyword found before, 0 at the first string. A search
// starts right after the string, so that a stored path holding "bitmap"
// cannot end its own block before it starts.
int keywordAfter(const std::string& part, int previous, int stringEnd) {
    const int start = previous == 0 ? int{UnsearchedBytes} + 1 : previous + 5;
    return InStrB(std::max(start, stringEnd + 1), part, mxmFile::BlockKeyword);
}

// Where the first path's shortest form leaves block bytes among the unsearched
// ones, it is written in the prefix form that ends its block where the block
// was read to end: the one-byte prefix, else the two-byte one (an empty path
// read with the prefix 40 00 followed by "\0\0bitmap" keeps that "bitmap"
// searched).
std::string firstPathBytes(const mxmString& path, const std::string& block, bool last) {
    const auto endsAsRead = [&](const std::string& stored) {
        const size_t keyword = block.find(
            mxmFile::BlockKeyword, UnsearchedBytes - std::min(stored.size(), UnsearchedBytes));
        return keyword == std::string::npos
                   ? last
                   : keyword + mxmFile::BlockKeyword.size() == block.size();
    };
    const std::string shortest = path.getMxmString();
    if (shortest.size() >= UnsearchedBytes || endsAsRead(shortest))
        return shortest;
    const std::string twoByte = MaxwellHelper::string2mxstring(path.getString(), true);
    return endsAsRead(twoByte) ? twoByte : shortest;
}

// The on-disk form of stored path i, as the writer stores it.
std::string storedPathBytes(const mxmFile& material, size_t i) {
    const std::vector<mxmString>& paths = material.mxmPaths;
    return i == 0 ? firstPathBytes(paths[0], material.mxmParameter[0], paths.size() == 1)
                  : paths[i].getMxmString();
}

std::string sizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Whether a file's state differs from the written one in its change time
// alone, as a rename leaves it.
bool renamedOnly(const std::optional<FileIdentity>& now,
                 const std::optional<FileIdentity>& written) {
    return now && written && now->device == written->device && now->inode == written->inode &&
           now->size == written->size && now->modifiedNs == written->modifiedNs;
}

} // namespace

mxmFile::mxmFile(const Ref<BinaryStream>& stream, const Ref<FolderItem>& file) {
    BinaryStream& in = stream.get();
    mxmFileFolderItem = file;
    readIdentity = in.Identity();
    fileName = file->Name();
    in.LittleEndian = true;
    mxm1TypeMarker = in.Read(TypeMarkerLength);
    if (!StringEquals(LeftB(mxm1TypeMarker, 3), "MXM"))
        return;
    isMXM = true;
    mxm2TextureName = makeRef<mxmString>(stream);
    readPreview(in);
    keepRevertCopy();
    CreatePreview();
    mxm5Mittelmarker = in.Read(MiddleMarkerLength);
    readRecords(in);
}

void mxmFile::readPreview(BinaryStream& in) {
    mxm3PreviewWidth = static_cast<int32_t>(in.ReadUInt32());
    if (mxm3PreviewWidth <= 0) {
        makeBlankPreviewSource();
        return;
    }
    mxm4PreviewHeight = static_cast<int32_t>(in.ReadUInt32());
    // A zero height stores an empty pixel block, so the fields after it still
    // line up: the file is kept and shown like one without a stored preview.
    if (mxm4PreviewHeight == 0) {
        makeBlankPreviewSource();
        return;
    }
    readStoredPreview(in);
}

void mxmFile::readStoredPreview(BinaryStream& in) {
    const int64_t width = mxm3PreviewWidth;
    const int64_t height = mxm4PreviewHeight;
    // The sizes come from the file; they are checked before anything is made
    // from them, so a damaged header cannot make the program allocate. A
    // block the file holds is real, whatever its shape; a file that ends
    // inside its block is still read (black for the missing pixels) while
    // the block is no larger than a standard preview's.
    const int64_t pixels = height < 0 ? -1 : width * height;
    const bool pictured = pixels >= 0 && pixels <= Picture::MaxPixels;
    const int64_t size = pictured ? pixels * BytesPerPixel : 0;
    const bool held =
        pictured && (size <= in.Length() - in.Position() || size <= StandardPreviewBytes);
    if (!held)
        throw DamagedFileException("The material file \"" + ToDisplayText(fileName) +
                                   "\" is damaged: it claims a preview of " +
                                   sizeText(width, static_cast<uint32_t>(height)) +
                                   " pixels, more than the file holds or a picture can have.");
    std::string block = in.Read(size);
    block.resize(static_cast<size_t>(size), '\0');
    myPict =
        MaxwellHelper::RGBMB2Pict(makeRef<MemoryBlock>(block), mxm3PreviewWidth, mxm4PreviewHeight);
}

void mxmFile::makeBlankPreviewSource() {
    mxm3PreviewWidth = PreviewSide;
    mxm4PreviewHeight = PreviewSide;
    myPict = NewPicture(PreviewSide, PreviewSide, 32);
}

void mxmFile::readRecords(BinaryStream& in) {
    if (in.Length() > std::numeric_limits<int32_t>::max())
        throw DamagedFileException("The material file \"" + ToDisplayText(fileName) +
                                   "\" is 2 GB or larger, beyond what a material can be.");
    // The record part is read from the file once; its records are then taken
    // from that one copy, the same bytes the keyword search runs over.
    const auto shared = std::make_shared<const std::string>(in.Read(in.Length() - in.Position()));
    const std::string& records = *shared;
    const Ref<BinaryStream> part = makeRef<BinaryStream>(shared);
    int keyword = 0; // 1-based position in records of the last "bitmap" found; 0 for none
    while (part->Position() < part->Length()) {
        mxmPaths.emplace_back(part);
        keyword = keywordAfter(records, keyword, static_cast<int>(part->Position()));
        const int64_t blockEnd = keyword == 0 ? part->Length() : keyword + 5;
        mxmParameter.push_back(part->Read(blockEnd - part->Position()));
    }
}

int64_t mxmFile::fileSize() const {
    const Picture& preview = PreviewPict.get();
    int64_t size = std::max(TypeMarkerLength, std::ssize(mxm1TypeMarker)) +
                   std::ssize(mxm5Mittelmarker) + std::ssize(mxm2TextureName->getMxmString()) + 8 +
                   int64_t{preview.Width()} * preview.Height() * BytesPerPixel;
    for (size_t i = 0; i < mxmPaths.size(); ++i)
        size += std::ssize(storedPathBytes(*this, i)) + std::ssize(mxmParameter[i]);
    return size;
}

std::string mxmFile::fileBytes() const {
    const Picture& preview = PreviewPict.get();
    const Ref<MemoryBlock> pixels = MaxwellHelper::Pict2RGBMB(PreviewPict);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(fileSize()));
    bytes += mxm1TypeMarker;
    // A marker cut short by the end of the file read is completed with zero
    // bytes, so that the fields after it lie where the reader looks for them.
    if (std::ssize(bytes) < TypeMarkerLength)
        bytes.resize(TypeMarkerLength, '\0');
    bytes += mxm2TextureName->getMxmString();
    bytes += encodeUInt32(static_cast<uint32_t>(preview.Width()));
    bytes += encodeUInt32(static_cast<uint32_t>(preview.Height()));
    bytes += pixels->bytes();
    bytes += mxm5Mittelmarker;
    for (size_t i = 0; i < mxmPaths.size(); ++i) {
        bytes += storedPathBytes(*this, i);
        bytes += mxmParameter[i];
    }
    return bytes;
}

bool mxmFile::writeFile(const Ref<FolderItem>& target) {
    const FileWrite pending = prepareWrite(target);
    const WriteResult result = pending.write();
    const bool written = finishWrite(pending, result, target);
    // The next save expects this one's file, its change time as the ".mxm"
    // rename left it; also when only the last flush failed, since the new
    // content stands.
    if (pending.expected && result.identity()) {
        const std::optional<FileIdentity> now = identityAt(target->NativePath());
        readIdentity = renamedOnly(now, result.identity()) ? now : result.identity();
    }
    return written;
}

mxmFile::FileWrite mxmFile::prepareWrite(const Ref<FolderItem>& target) {
    const FolderItem& given = target.get();
    // Through a link, the name, the write and the ".mxm" rename all concern
    // the file it leads to. A link loop leads nowhere: the write fails.
    const Ref<FolderItem> linked = given.LinkTarget();
    FileWrite pending = prepareWriteOf(linked ? linked.get() : given);
    if (!isReadFile(pending.file))
        pending.expected.reset();
    return pending;
}

mxmFile::FileWrite mxmFile::prepareWriteOf(const FolderItem& file) {
    FileWrite pending{file, {}, false, readIdentity};
    mxm2TextureName->setString(Split(file.Name(), ".")[0]);
    // A file the reader would refuse is not written: the old one stays.
    pending.tooLarge = fileSize() > std::numeric_limits<int32_t>::max();
    if (!pending.tooLarge)
        pending.bytes = fileBytes();
    return pending;
}

// Whether the file (links resolved) is the one this material was read from.
bool mxmFile::isReadFile(const FolderItem& file) const {
    if (!mxmFileFolderItem)
        return false;
    const Ref<FolderItem> read = mxmFileFolderItem->LinkTarget();
    return read && read->NativePath() == file.NativePath();
}

WriteResult mxmFile::FileWrite::write() const {
    return tooLarge ? WriteResult::failed(EFBIG) : file.WriteAtomically(bytes, expected);
}

bool mxmFile::finishWrite(const FileWrite& pending, const WriteResult& result,
                          const Ref<FolderItem>& target) {
    if (!pending.tooLarge && result.ok()) {
        // A renamed file is named by the target from then on, so that the
        // next save finds it.
        FolderItem file = pending.file;
        if (moveToMxmName(file))
            target.get() = file;
        return true;
    }
    MsgBox(whyNotWritten(pending, result));
    return false;
}

std::string mxmFile::whyNotWritten(const FileWrite& pending, const WriteResult& result) {
    if (pending.tooLarge)
        return "Can't write file... The material would be 2 GB or larger, beyond what a "
               "material file can be.";
    const std::string path = "\"" + pending.file.NativePath() + "\"";
    if (result.outcome() == WriteResult::Outcome::Changed)
        return "The file " + path +
               " was changed by another program since it was read, and was not written.";
    return "Can't write file... Probably file is opened in another application!\n\n" + path + ": " +
           result.reason() + ".";
}
// True when the file was given a new name.
bool mxmFile::moveToMxmName(FolderItem& target) {
    const std::string name = target.Name();
    if (MaxwellFiles::HasExtension(name))
        return false;
    // The framework never renames over another file: when the name with
    // ".mxm" is taken, the material stays under the name it was written to.
    return target.setName(name + MaxwellFiles::Extension);
}

std::string mxmFile::getMaterialName() const {
    return mxm2TextureName->getString();
}

std::string mxmFile::getFilenameFromPath(const std::string& path) {
    const std::vector<std::string> slashPieces = Split(path, "/");
    const std::vector<std::string> backslashPieces = Split(path, "\\");
    if (backslashPieces.size() < slashPieces.size())
        return slashPieces.back();
    return backslashPieces.back();
}
