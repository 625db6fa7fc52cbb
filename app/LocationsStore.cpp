#include "LocationsStore.h"

#include "BinaryStream.h"
#include "FileIdentity.h"
#include "LocationsFile.h"

#include <optional>

namespace {

// The locations the file names, and the file's identity as read; nothing
// when it is there but cannot be read. A missing file names none.
std::optional<std::vector<std::string>> readLocations(const Ref<FolderItem>& file,
                                                      std::optional<FileIdentity>& identity) {
    const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
    identity.reset();
    if (!stream)
        return file->Exists() ? std::nullopt : std::optional(std::vector<std::string>{});
    identity = stream->Identity();
    std::vector<std::string> paths = LocationsFile::parse(stream->Read(stream->Length()));
    stream->Close();
    // An empty line names no location; the program never writes one.
    std::erase(paths, std::string());
    return paths;
}

} // namespace

void LocationsStore::load(const Ref<FolderItem>& file) {
    std::optional<FileIdentity> identity;
    const auto paths = readLocations(file, identity);
    if (!paths)
        return;
    list_.insert(list_.end(), paths->begin(), paths->end());
    saved_ = *paths;
}

// The file is replaced only while it is still the one read right before;
// another copy's save in between means reading and merging once more.
WriteResult LocationsStore::save(const Ref<FolderItem>& file) {
    constexpr int attempts = 5;
    WriteResult result = WriteResult::written(std::nullopt);
    for (int attempt = 0; attempt < attempts && list_ != saved_; ++attempt) {
        std::optional<FileIdentity> identity;
        const auto onDisk = readLocations(file, identity);
        if (onDisk && *onDisk != saved_) {
            list_ = LocationsFile::merged(*onDisk, saved_, list_);
            saved_ = *onDisk;
            if (list_ == saved_)
                break;
        }
        result = file->WriteAtomically(LocationsFile::format(list_), identity);
        if (result.ok())
            saved_ = list_;
        else if (result.outcome() != WriteResult::Outcome::Changed)
            break;
    }
    return result;
}
