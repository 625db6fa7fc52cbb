#include "BatchRun.h"

#include "BinaryStream.h"
#include "MaxwellFiles.h"
#include "SearchCache.h"
#include "Text.h"

#include <utility>

namespace {

// A visible file of the material type whose name ends in ".mxm". Folders
// are never tested: hidden ones are walked too.
bool isMaterialFile(const FolderItem& entry) {
    return !entry.Directory() &&
           StringEquals(entry.Type(), MaxwellFiles::MaxwellMaterial()->Name()) && entry.Visible() &&
           MaxwellFiles::HasExtension(entry.Name());
}

} // namespace

BatchRun::BatchRun(const Ref<FolderItem>& startFolder, BatchSettings settings, BatchView& view)
    : start_(startFolder), settings_(std::move(settings)), view_(view) {}

BatchRun::~BatchRun() = default;

int32_t BatchRun::count() {
    reached_ = {};
    total_ = countBelow(start_);
    return total_;
}

void BatchRun::walk() {
    // The checks of the whole run share what their searches listed.
    const SearchCache::Scope searches;
    reached_ = {};
    writes_ = std::make_unique<WriteQueue>(settings_.writesInFlight);
    try {
        huntThrough(start_);
    } catch (...) {
        // The exception ends the run; the writes in flight end and are
        // shown first.
        showAllFiles();
        writes_.reset();
        throw;
    }
    showAllFiles();
    writes_.reset();
}

int32_t BatchRun::countBelow(const Ref<FolderItem>& folder) {
    if (view_.stopAsked() || !firstEntry(*folder))
        return 0;
    int32_t count = 0;
    const auto subfolders = scanFolder(folder, [&count](const Ref<FolderItem>&) { ++count; });
    for (const auto& subfolder : subfolders)
        count += countBelow(subfolder);
    return count;
}

void BatchRun::huntThrough(const Ref<FolderItem>& folder) {
    if (view_.stopAsked() || !firstEntry(*folder))
        return;
    const auto subfolders = scanFolder(folder, [this](const Ref<FolderItem>& file) {
        fixFile(file);
        letEventsThrough();
    });
    for (const auto& subfolder : subfolders)
        huntThrough(subfolder);
}

// The folder's subfolders, in entry order, after handing each material file
// to the visitor; stops at once when a stop was asked for.
template <class Visit>
std::vector<Ref<FolderItem>> BatchRun::scanFolder(const Ref<FolderItem>& folder, Visit visit) {
    std::vector<Ref<FolderItem>> subfolders;
    const int n = folder->Count();
    for (int i = 1; i <= n; ++i) {
        letEventsThroughNowAndThen();
        // After a stop no further file is opened, not even in this folder.
        if (view_.stopAsked())
            break;
        const Ref<FolderItem> entry = folder->Item(i);
        if (entry->Directory())
            subfolders.push_back(entry);
        else if (isMaterialFile(*entry) && firstReach(*entry))
            visit(entry);
    }
    return subfolders;
}

// A pass enters a folder once, at its first reach in walk order, so that
// links leading back into the tree cost nothing; a folder that a link leads
// to outside the start folder is not entered at all.
bool BatchRun::firstEntry(const FolderItem& folder) {
    return LiesWithin(folder, *start_) && reached_.folders.insert(folder.Identity()).second;
}

// A pass handles a file once, at its first reach: by its real location,
// which a rewrite keeps, and by its disk identity when other names (hard
// links) share it; a file with one name gives its identity up when it is
// rewritten, and a new file may get it. A file outside the start folder is
// not handled; one that does not resolve (a dangling link) is, as before:
// it only moves the counter.
bool BatchRun::firstReach(const FolderItem& file) {
    const std::string real = RealLocation(file);
    if (real.empty())
        return true;
    if (!LiesWithin(file, *start_) || !reached_.files.insert(real).second)
        return false;
    const DiskIdentity identity = file.Identity();
    if (reached_.sharedFiles.count(identity) != 0)
        return false;
    if (LinkCount(file) > 1)
        reached_.sharedFiles.insert(identity);
    return true;
}

void BatchRun::letEventsThrough() {
    // A check that the user starts meanwhile, in an editor, lists afresh.
    const SearchCache::Pause ownListings;
    view_.letEventsThrough();
    lastPump_ = std::chrono::steady_clock::now();
}

void BatchRun::letEventsThroughNowAndThen() {
    if (std::chrono::steady_clock::now() - lastPump_ >= settings_.pumpInterval)
        letEventsThrough();
}

// Reads and checks the file and hands its write to a worker; its entry is
// shown once the write has ended (showOldestFile). Waits for the oldest
// write when the most allowed are in flight.
void BatchRun::fixFile(const Ref<FolderItem>& file) {
    Processed processed{file, {}, nullptr};
    int32_t status = 0;
    const Ref<BinaryStream> stream = BinaryStream::Open(file, true);
    if (stream && stream->Length() > 0) {
        mxmFile material(stream, file);
        if (material.isMXM) {
            processed.entry = file->Name() + "  ::   " + material.getMaterialName() + ": ";
            stream->Close();
            const std::string report = material.ResetPaths(status);
            processed.entry += report + "Status " + std::to_string(status) + " ***";
            submitWrite(material, processed);
        } else {
            processed.entry = file->Name() + "  ::   Does not seem to be an MXM";
        }
    }
    processed_.push_back(std::move(processed));
    makeRoomForAWrite();
    showFinishedFiles();
}

// The walk hands over only files inside the start folder, yet a file may
// have been replaced by a link leading out of it since: right before the
// write, on the worker, the batch makes sure that it never writes outside
// the folder the user chose. The job owns copies of all it uses.
void BatchRun::submitWrite(mxmFile& material, Processed& processed) {
    processed.write = std::make_shared<Write>(Write{material.prepareWrite(processed.file), false});
    writes_->submit([write = processed.write, start = FolderItem(start_->NativePath()),
                     hook = settings_.beforeEachWrite] {
        if (hook)
            hook(write->file.file);
        write->outside = !LiesWithin(write->file.file, start);
        return write->outside ? WriteResult::written(std::nullopt) : write->file.write();
    });
}

// Waits for one write at a time, letting events through meanwhile; a stop
// heard then ends the walk before the next file. With one write in flight,
// each file is shown before the next one is opened.
void BatchRun::makeRoomForAWrite() {
    while (writes_->full()) {
        if (writes_->oldestDone(settings_.pumpInterval))
            showOldestFile();
        else
            letEventsThrough();
    }
}

void BatchRun::showFinishedFiles() {
    while (!processed_.empty() && (!processed_.front().write || writes_->oldestDone()))
        showOldestFile();
}

void BatchRun::showAllFiles() {
    while (!processed_.empty()) {
        const Processed& oldest = processed_.front();
        if (!oldest.write || writes_->oldestDone(settings_.pumpInterval))
            showOldestFile();
        letEventsThrough();
    }
}

// The oldest file's write has ended, or it had none: a failed write says so
// (the user has been told; the entry stays as logged), then its entry joins
// the log and the file is shown; the total grows when the tree gained
// material files since the count.
void BatchRun::showOldestFile() {
    const Processed oldest = std::move(processed_.front());
    processed_.pop_front();
    if (oldest.write) {
        const WriteResult result = writes_->takeOldest();
        if (!oldest.write->outside)
            mxmFile::finishWrite(oldest.write->file, result, oldest.file);
    }
    log_ += oldest.entry;
    ++done_;
    total_ = std::max(total_, done_);
    view_.showFile(oldest.file->Name(), done_, total_, log_);
}
