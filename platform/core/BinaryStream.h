#pragma once

#include "FileIdentity.h"
#include "FolderItem.h"
#include "Ref.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// A byte stream over a file or over bytes in memory. Reads at the end return
// what there is: Read gives fewer bytes, ReadUInt8 and ReadUInt32 give 0 for
// missing bytes. Nothing is ever allocated beyond what the stream holds.
class BinaryStream {
  public:
    // A stream over bytes shared with the caller, without a copy: for
    // reading pieces out of a large buffer.
    explicit BinaryStream(std::shared_ptr<const std::string> bytes);
    ~BinaryStream();
    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;

    // A stream that reads the file; nil when it cannot be opened for reading,
    // or, when writable, for writing too (missing, a folder, no permission),
    // or when a save of this program writes it in place for longer than the
    // lock's patience. Until the stream is closed, this program's saves do
    // not write the file in place. A copy of old bytes that a crashed save
    // left beside the file is written back first.
    static Ref<BinaryStream> Open(const Ref<FolderItem>& file, bool writable);
    // The same for the entry of that name in the open folder, never through
    // a link; nil with the reason in whyNot (see openRegularFileAt).
    static Ref<BinaryStream> OpenAt(int folderFd, const std::string& name, bool writable,
                                    std::string& whyNot);

    // The opened file's identity, taken before anything was read from it,
    // so that a save can tell whether the file is still the one read;
    // nothing for bytes in memory.
    const std::optional<FileIdentity>& Identity() const { return identity_; }

    bool LittleEndian = true;

    int64_t Length() const;
    int64_t Position() const;

    uint8_t ReadUInt8();
    uint32_t ReadUInt32();
    std::string Read(int64_t count);

    void Close();

    class Source; // the bytes behind the stream
  private:
    explicit BinaryStream(std::unique_ptr<Source> source);
    // A stream over the open file, which it takes over; nil for -1 and when
    // a save holds the file too long. The folder and name are the file's
    // when known.
    static Ref<BinaryStream> fromFile(int fd, int folderFd = -1, const std::string& name = {});
    std::unique_ptr<Source> source_;
    int64_t position_ = 0;
    std::optional<FileIdentity> identity_;
};
