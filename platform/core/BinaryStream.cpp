#include "BinaryStream.h"

#include "ByteOrder.h"
#include "InPlaceBackup.h"
#include "RegularFile.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The bytes behind a stream: positioned reads over a file or over memory.
// A closed source holds nothing.
class BinaryStream::Source {
  public:
    virtual ~Source() = default;
    virtual int64_t length() const = 0;
    // Up to count bytes at offset; fewer at the end.
    virtual std::string readAt(int64_t offset, int64_t count) = 0;
    virtual void close() = 0;
};

namespace {

// Bytes shared with whoever made the stream, read in place and never
// changed: reading pieces out of a large buffer makes no second copy of it.
class SharedSource : public BinaryStream::Source {
  public:
    explicit SharedSource(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}

    int64_t length() const override { return bytes_ ? static_cast<int64_t>(bytes_->size()) : 0; }

    std::string readAt(int64_t offset, int64_t count) override {
        return bytes_->substr(static_cast<size_t>(offset), static_cast<size_t>(count));
    }

    void close() override { bytes_.reset(); }

  private:
    std::shared_ptr<const std::string> bytes_;
};

class FileSource : public BinaryStream::Source {
  public:
    explicit FileSource(int fd) : fd_(fd) {}
    ~FileSource() override { close(); }

    int64_t length() const override {
        struct stat info {};
        if (fd_ < 0 || ::fstat(fd_, &info) != 0)
            return 0;
        return static_cast<int64_t>(info.st_size);
    }

    std::string readAt(int64_t offset, int64_t count) override {
        return readFullyAt(fd_, offset, count);
    }

    void close() override {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

} // namespace

BinaryStream::BinaryStream(std::shared_ptr<const std::string> bytes)
    : source_(std::make_unique<SharedSource>(std::move(bytes))) {}

BinaryStream::BinaryStream(std::unique_ptr<Source> source) : source_(std::move(source)) {}

BinaryStream::~BinaryStream() = default;

Ref<BinaryStream> BinaryStream::Open(const Ref<FolderItem>& file, bool writable) {
    return fromFile(openRegularFile(file->NativePath(), writable ? O_RDWR : O_RDONLY));
}

Ref<BinaryStream> BinaryStream::OpenAt(int folderFd, const std::string& name, bool writable,
                                       std::string& whyNot) {
    const int fd = openRegularFileAt(folderFd, name, writable ? O_RDWR : O_RDONLY, whyNot);
    if (fd < 0)
        return nullptr;
    const Ref<BinaryStream> stream = fromFile(fd, folderFd, name);
    if (!stream)
        whyNot = "another save kept it locked";
    return stream;
}

Ref<BinaryStream> BinaryStream::fromFile(int fd, int folderFd, const std::string& name) {
    if (fd < 0)
        return nullptr;
    // Read while no save of this program writes the file in place, and as a
    // crashed save's copy of the old bytes restored it.
    if (InPlaceBackup::prepareRead(fd, folderFd, name) != 0) {
        ::close(fd);
        return nullptr;
    }
    const std::optional<FileIdentity> identity = identityOf(fd);
    const Ref<BinaryStream> stream(
        std::shared_ptr<BinaryStream>(new BinaryStream(std::make_unique<FileSource>(fd))));
    stream->identity_ = identity;
    return stream;
}

int64_t BinaryStream::Length() const {
    return source_->length();
}

int64_t BinaryStream::Position() const {
    return position_;
}

std::string BinaryStream::Read(int64_t count) {
    const int64_t length = Length();
    position_ = std::min(position_, length);
    const int64_t available = std::min(std::max<int64_t>(count, 0), length - position_);
    if (available == 0)
        return {};
    std::string bytes = source_->readAt(position_, available);
    position_ += static_cast<int64_t>(bytes.size());
    return bytes;
}

uint8_t BinaryStream::ReadUInt8() {
    const std::string bytes = Read(1);
    return bytes.empty() ? 0 : static_cast<uint8_t>(bytes[0]);
}

uint32_t BinaryStream::ReadUInt32() {
    // Missing bytes at the end count as 0.
    std::string bytes = Read(4);
    bytes.resize(4, '\0');
    return decodeUInt32(bytes, LittleEndian);
}

void BinaryStream::Close() {
    source_->close();
}
