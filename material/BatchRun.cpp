#include "BatchRun.h"

#include "AtomicWrite.h"
#include "BinaryStream.h"
#include "SearchCache.h"

#include <algorithm>
#include <cerrno>
#include <utility>

BatchRun::BatchRun(const Ref<FolderItem>& startFolder, BatchSettings settings, BatchView& view)
    : start_(startFolder), settings_(std::move(settings)), view_(view) {}

BatchRun::~BatchRun() = default;

BatchWalk BatchRun::newWalk() {
    return BatchWalk([this] { return view_.stopAsked(); },
                     [this] { letEventsThroughNowAndThen(); });
}

int32_t BatchRun::count() {
    int32_t count = 0;
    newWalk().run(start_->NativePath(), [&count](const BatchWalk::File&) { ++count; });
    total_ = count;
    return count;
}

void BatchRun::walk() {
    // The checks of the whole run share what their searches listed.
    const SearchCache::Scope searches;
    writes_ = std::make_unique<WriteQueue>(settings_.writesInFlight);
    try {
        newWalk().run(start_->NativePath(), [this](const BatchWalk::File& file) {
            fixFile(file);
            letEventsThrough();
        });
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
// shown once the write has ended (showOldestFile). An empty file gives no
// entry and is not written.
void BatchRun::fixFile(const BatchWalk::File& file) {
    Processed processed{file.name, {}, false, nullptr};
    const FolderBeneath::Place& place = file.place;
    std::string whyNot = "its folder is gone";
    const int folder = place.folder->descriptor();
    const Ref<BinaryStream> stream =
        folder >= 0 ? BinaryStream::OpenAt(folder, place.name, true, whyNot) : nullptr;
    if (!stream) {
        processed.entry =
            file.name + "  ::   Not written: it could not be opened (" + whyNot + ").";
        processed.notWritten = true;
    } else if (stream->Length() > 0) {
        const std::string path = place.folder->path() + "/" + place.name;
        mxmFile material(stream, makeRef<FolderItem>(path));
        if (material.isMXM) {
            int32_t status = 0;
            processed.entry = file.name + "  ::   " + material.getMaterialName() + ": ";
            stream->Close();
            const std::string report = material.ResetPaths(status);
            processed.entry += report + "Status " + std::to_string(status) + " ***";
            submitWrite(material, file, processed);
        } else {
            processed.entry = file.name + "  ::   Does not seem to be an MXM";
        }
    }
    processed_.push_back(std::move(processed));
    // With one write in flight, each file is shown before the next one is
    // opened.
    while (writes_->full())
        waitForOldestWrite();
    showFinishedFiles();
}

// The write goes to the file's own folder, by the name it was read under,
// and only while the file there is still the one read. A write larger than
// the bound on bytes in flight waits until it is alone.
void BatchRun::submitWrite(mxmFile& material, const BatchWalk::File& file, Processed& processed) {
    const FolderItem target(file.place.folder->path() + "/" + file.place.name);
    auto write = std::make_shared<const Write>(
        Write{material.prepareWriteOf(target), file.place.folder->shared(), file.place.name});
    const std::size_t bytes = write->file.bytes.size();
    while (bytesInFlight_ > 0 && bytesInFlight_ + bytes > settings_.bytesInFlight)
        waitForOldestWrite();
    bytesInFlight_ += bytes;
    processed.write = write;
    writes_->submit([this, write] { return runWrite(*write); });
}

// Runs on a worker, or alone on the caller's thread for a second try.
WriteResult BatchRun::runWrite(const Write& write) const {
    if (settings_.beforeEachWrite)
        if (std::optional<WriteResult> given =
                settings_.beforeEachWrite(write.file.file.NativePath()))
            return *given;
    if (write.file.tooLarge)
        return WriteResult::failed(EFBIG);
    if (!write.folder.valid())
        return WriteResult::failed(ENOENT);
    const WriteResult result =
        replaceFileContentAt(write.folder.get(), write.name, write.file.bytes, write.file.expected);
    // The name now holds a link, where the file read was none.
    return result.error() == ELOOP ? WriteResult::changed() : result;
}

// Each write in flight needs room for a whole new copy: one that failed for
// want of room may succeed alone, once the others have ended.
WriteResult BatchRun::takeOldestWrite(const Write& write) {
    WriteResult result = writes_->takeOldest();
    if (result.error() == ENOSPC || result.error() == EDQUOT) {
        writes_->waitForAll();
        result = runWrite(write);
    }
    bytesInFlight_ -= write.file.bytes.size();
    return result;
}

// Waits for the oldest write, letting events through meanwhile; a stop
// heard then ends the walk before the next file.
void BatchRun::waitForOldestWrite() {
    if (writes_->oldestDone(settings_.pumpInterval))
        showOldestFile();
    else
        letEventsThrough();
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
// first, then the file's entry joins the log and the file is shown; the
// total grows when the tree gained material files since the count. A file
// that changed since it was read is only logged: nothing went wrong.
void BatchRun::showOldestFile() {
    Processed oldest = std::move(processed_.front());
    processed_.pop_front();
    if (oldest.write) {
        const WriteResult result = takeOldestWrite(*oldest.write);
        if (!result.ok()) {
            if (result.outcome() != WriteResult::Outcome::Changed)
                view_.showFailure(mxmFile::whyNotWritten(oldest.write->file, result));
            oldest.entry += " Not written: " + result.reason() + ".";
            oldest.notWritten = true;
        }
    }
    log_ += oldest.entry;
    notWritten_ += oldest.notWritten ? 1 : 0;
    ++done_;
    total_ = std::max(total_, done_);
    view_.showFile(oldest.name, done_, total_, oldest.entry);
}
