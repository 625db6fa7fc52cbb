#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// The C library's EOF macro would turn the member EOF() into a syntax error;
// code that needs the end-of-file value uses std::char_traits<char>::eof().
#undef EOF

// A byte stream over a file or over bytes in memory. Reads at the end return
// what there is: Read gives fewer bytes, ReadUInt8 and ReadUInt32 give 0 for
// missing bytes. Nothing is ever allocated beyond what the stream holds.
class BinaryStream {
  public:
    // A stream over a copy of the bytes, readable and writable.
    explicit BinaryStream(const std::string& bytes);
    // A read-only stream over bytes shared with the caller, without a copy:
    // for reading pieces out of a large buffer.
    explicit BinaryStream(std::shared_ptr<const std::string> bytes);
    ~BinaryStream();
    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;

    // nil when the file cannot be opened (missing, a folder, no permission).
    static Ref<BinaryStream> Open(const Ref<FolderItem>& file, bool writable);
    // A new empty file, readable and writable, replacing any file of that
    // name; nil when it cannot be created.
    static Ref<BinaryStream> Create(const Ref<FolderItem>& file);

    bool LittleEndian = true;

    int64_t Length() const;
    int64_t Position() const;
    void setPosition(int64_t position); // clamped to 0 .. Length
    bool EOF() const;

    uint8_t ReadUInt8();
    uint32_t ReadUInt32();
    std::string Read(int64_t count);

    // false when the bytes could not be written.
    bool Write(const std::string& bytes);
    bool WriteUInt32(uint32_t value);

    void Close();

    class Source; // the bytes behind the stream
  private:
    explicit BinaryStream(std::unique_ptr<Source> source);
    std::unique_ptr<Source> source_;
    int64_t position_ = 0;
};
