#pragma once

#include "BinaryStream.h"
#include "FileIdentity.h"
#include "FolderItem.h"
#include "Picture.h"
#include "Ref.h"
#include "WriteResult.h"
#include "mxmString.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One material file in memory. The constructor reads the whole file;
// writeFile rebuilds it. What the program does not interpret (the markers
// and the raw blocks between stored paths) is kept as raw bytes and written
// back as it stands.
class mxmFile {
  public:
    // The side of the preview that is shown and written.
    static constexpr int32_t PreviewSide = 200;
    // Ends every block of the record part but the last.
    static inline const std::string BlockKeyword = "bitmap";

    // Reads the material at the stream's position. The stream is left at the
    // end of the file (after the type marker when it is no material) and is
    // not closed. Raises NilObjectException for a nil stream or file, and
    // DamagedFileException for a file of 2 GB or more and for a stored
    // preview larger than a picture can be, or larger than a standard
    // preview and than what the file holds after its size fields.
    mxmFile(const Ref<BinaryStream>& stream, const Ref<FolderItem>& file);

    // Preview: the current source picture becomes the given one (nil keeps
    // the preview as it is) and the preview is made again.
    void SetPict(const Ref<Picture>& picture);
    // Stretches myPict over a new 200 x 200 PreviewPict, each axis by its own
    // factor; nothing happens while myPict is nil.
    void CreatePreview();
    // Back to the preview as it was read.
    void Revert();

    // Writes the material over the target, its name up to the first "." as
    // the material name, then gives the target the extension ".mxm" when it
    // lacks it. false when the file could not be written, or would be 2 GB
    // or larger, which the reader refuses, or is the file that was read and
    // was changed since by another program (the user has been told, the
    // target is unchanged). Through a link, the file it leads to is named,
    // written and renamed; a renamed file is then named by the target. A nil target, or an object
    // that holds no material, raises NilObjectException before anything is written.
    bool writeFile(const Ref<FolderItem>& target);

    // writeFile in three steps, for a caller that runs the slow durable write
    // on another thread: prepareWrite names the material after the target and
    // makes the file's bytes; FileWrite::write stores them and touches
    // nothing else, so any thread may run it; finishWrite, back on the
    // caller's thread, tells the user why a write failed, or gives the file
    // its ".mxm" name. The target passed to both must be the same.
    struct FileWrite {
        // Where the bytes go: the target, or the file a link leads to.
        FolderItem file;
        std::string bytes;
        // 2 GB or larger, which the reader refuses: not written.
        bool tooLarge = false;
        // The file as it was read, when the target is that file: it is
        // replaced only while it is still so.
        std::optional<FileIdentity> expected;
        WriteResult write() const;
    };
    FileWrite prepareWrite(const Ref<FolderItem>& target);
    // The write of the file itself, no link followed, named after it and
    // expecting it as it was read.
    FileWrite prepareWriteOf(const FolderItem& file);
    static bool finishWrite(const FileWrite& write, const WriteResult& result,
                            const Ref<FolderItem>& target);
    // The message that tells the user why a prepared write did not happen.
    static std::string whyNotWritten(const FileWrite& write, const WriteResult& result);
    // The whole file as writeFile stores it, from the model as it stands.
    std::string fileBytes() const;

    std::string getMaterialName() const;
    // The text after the last separator of the kind ("/" or "\") that occurs
    // more often in the path; on a tie the backslash decides.
    static std::string getFilenameFromPath(const std::string& path);

    // Path check (implemented with the path search): rewrites stored paths
    // that point nowhere, returns the report and raises status to the worst
    // severity found.
    std::string ResetPaths(int32_t& status);
    // Relocates the ".ior" and ".r2" references inside one raw block;
    // returns their report lines.
    std::string findFileInBlock(std::string& block, bool forceLong);

    Ref<FolderItem> mxmFileFolderItem;
    // mxmFileFolderItem's file as it was read, then as this object last
    // wrote it; nothing for a material read from memory.
    std::optional<FileIdentity> readIdentity;
    std::string fileName;
    Ref<Picture> PreviewPict;
    Ref<Picture> myPict;
    Ref<Picture> revertPict;
    Ref<mxmString> mxm2TextureName;
    std::string mxm1TypeMarker;
    int32_t mxm3PreviewWidth = 0;
    int32_t mxm4PreviewHeight = 0;
    std::string mxm5Mittelmarker;
    std::vector<mxmString> mxmPaths;
    std::vector<std::string> mxmParameter;
    bool isMXM = false;

  private:
    void readPreview(BinaryStream& in);
    void readStoredPreview(BinaryStream& in);
    void makeBlankPreviewSource();
    void keepRevertCopy();
    void readRecords(BinaryStream& in);
    int64_t fileSize() const;
    bool isReadFile(const FolderItem& file) const;
    static bool moveToMxmName(FolderItem& target);
};
