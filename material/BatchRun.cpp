#include "BatchRun.h"

#include "Alerts.h"
#include "AtomicWrite.h"
#include "BinaryStream.h"
#include "SearchCache.h"
#include "SearchLocations.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    newWalk().run(start_->NativePath(),
                  [&count](const BatchWalk::File& file) { count += file.folderError ? 0 : 1; });
    total_ = count;
    return count;
}

void BatchRun::walk() {
    // The checks of the whole run share what their searches listed.
    const SearchCache::Scope searches;
    searches_ = &searches.cache();
    writes_ = std::make_unique<WriteQueue>(settings_.writesInFlight);
    if (settings_.readAhead > 0)
        readers_ = std::make_unique<WorkerPool>(std::max<std::size_t>(1, settings_.readThreads));
    try {
        newWalk().run(start_->NativePath(), [this](const BatchWalk::File& file) {
            handOver(file);
            letEventsThrough();
        });
        while (!ahead_.empty() && takeOldestAhead())
            letEventsThrough();
    } catch (...) {
        // The exception ends the run; the files read ahead are dropped, and
        // the writes in flight end and are shown first.
        ahead_.clear();
        readers_.reset();
        showAllFiles();
        writes_.reset();
        throw;
    }
    // After a stop, the files read ahead are neither written nor logged.
    ahead_.clear();
    readers_.reset();
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

// The file is read and checked on a worker ahead of its turn, or here
// when nothing is read ahead; its write is submitted in walk order.
void BatchRun::handOver(const BatchWalk::File& file) {
    if (file.folderError)
        return handOverShutFolder(file);
    FolderBeneath& folder = *file.place.folder;
    Job job{file.name, file.place.name, folder.path(), folder.shared()};
    if (!readers_)
        return take(prepare(std::move(job)));
    const std::size_t bytes = job.folder.valid() ? folder.fileSize(job.placeName) : 0;
    while (!ahead_.empty() &&
           (ahead_.size() >= settings_.readAhead || bytesAhead_ + bytes > settings_.bytesInFlight))
        if (!takeOldestAhead())
            return;
    readAhead(std::move(job), bytes);
}

// A folder that could not be opened is logged where its files would have
// come, after the files read ahead; it is no file of the counter.
void BatchRun::handOverShutFolder(const BatchWalk::File& file) {
    const std::string name = file.name + "/";
    Prepared prepared{{name,
                       name + "  ::   Not written: it could not be opened (" +
                           std::strerror(file.folderError) + ").",
                       false, nullptr, false},
                      nullptr,
                      {},
                      nullptr};
    if (!readers_)
        return take(std::move(prepared));
    std::promise<Prepared> ready;
    ready.set_value(std::move(prepared));
    ahead_.push_back({ready.get_future(), 0});
}

// Reads and checks the file and makes its new bytes; an empty file gives
// no entry and is not written. Runs on any thread.
BatchRun::Prepared BatchRun::prepare(Job job) const {
    Prepared prepared{{job.name, {}, false, nullptr}, nullptr, {}, nullptr};
    Processed& processed = prepared.processed;
    std::string whyNot = "its folder is gone";
    const Ref<BinaryStream> stream =
        job.folder.valid() ? BinaryStream::OpenAt(job.folder.get(), job.placeName, true, whyNot)
                           : nullptr;
    if (!stream) {
        processed.entry = job.name + "  ::   Not written: it could not be opened (" + whyNot + ").";
        processed.notWritten = true;
    } else if (stream->Length() > 0) {
        const std::string path = job.folderPath + "/" + job.placeName;
        mxmFile material(stream, makeRef<FolderItem>(path));
        if (material.isMXM) {
            int32_t status = 0;
            processed.entry = job.name + "  ::   " + material.getMaterialName() + ": ";
            stream->Close();
            const std::string report = material.ResetPaths(status);
            processed.entry += report + "Status " + std::to_string(status) + " ***";
            prepared.write = std::make_shared<const Write>(Write{
                material.prepareWriteOf(FolderItem(path)), std::move(job.folder), job.placeName});
        } else {
            processed.entry = job.name + "  ::   Does not seem to be an MXM";
        }
    }
    return prepared;
}

// On a worker: the checks join the walk's search cache and search the
// default locations as they are now, and alerts wait for the file's turn.
void BatchRun::readAhead(Job job, std::size_t bytes) {
    auto task = std::make_shared<std::packaged_task<Prepared()>>(
        [this, job = std::move(job),
         locations = SearchLocations::currentSearchLocations()]() mutable {
            const AlertRecorder alerts;
            const SearchCache::Scope searches(*searches_);
            const SearchLocations::ThisThread defaults(locations);
            Prepared prepared;
            try {
                prepared = prepare(std::move(job));
            } catch (...) {
                prepared.error = std::current_exception();
            }
            prepared.alerts = alerts.alerts();
            return prepared;
        });
    ahead_.push_back({task->get_future(), bytes});
    bytesAhead_ += bytes;
    readers_->submit([task] { (*task)(); });
}

// Waits for the oldest file read ahead, letting events through meanwhile,
// and takes it; false, taking nothing, once a stop is asked for.
bool BatchRun::takeOldestAhead() {
    Ahead& oldest = ahead_.front();
    while (oldest.result.wait_for(settings_.pumpInterval) != std::future_status::ready) {
        letEventsThrough();
        if (view_.stopAsked())
            return false;
    }
    if (view_.stopAsked())
        return false;
    Prepared prepared = oldest.result.get();
    bytesAhead_ -= oldest.bytes;
    ahead_.pop_front();
    for (const AlertRecorder::Alert& alert : prepared.alerts)
        alert.beep ? Beep() : MsgBox(alert.text);
    if (prepared.error)
        std::rethrow_exception(prepared.error);
    take(std::move(prepared));
    return true;
}

// The file's write is submitted; its entry is shown once the write has
// ended (showOldestFile).
void BatchRun::take(Prepared prepared) {
    if (prepared.write)
        submitWrite(prepared.write, prepared.processed);
    processed_.push_back(std::move(prepared.processed));
    // With one write in flight, each file is shown before the next one is
    // taken.
    while (writes_->full())
        waitForOldestWrite();
    showFinishedFiles();
}

// The write goes to the file's own folder, by the name it was read under,
// and only while the file there is still the one read. A write larger than
// the bound on bytes in flight waits until it is alone.
void BatchRun::submitWrite(const std::shared_ptr<const Write>& write, Processed& processed) {
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
    done_ += oldest.isFile ? 1 : 0;
    total_ = std::max(total_, done_);
    view_.showFile(oldest.name, done_, total_, oldest.entry);
}
