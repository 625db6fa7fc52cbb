#pragma once

#include "BatchSettings.h"
#include "BatchView.h"
#include "BatchWalk.h"
#include "FileDescriptor.h"
#include "Ref.h"
#include "WriteQueue.h"
#include "WriteResult.h"
#include "mxmFile.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

// The batch over a folder, apart from whatever shows it: counts the material
// files below the folder, then checks, relocates and rewrites each one and
// keeps the log of the run. Files are reached, read and written from the
// folder's descriptor without following a link out of it (see BatchWalk),
// and a file is replaced only while it is still the file that was read.
//
// The durable writes run on worker threads, a few in flight and a bounded
// number of bytes, while the walk goes on; everything the view is told comes
// on the caller's thread and in walk order. A file is shown, with its entry
// in the log, only when its write has ended, after every earlier file; a
// failed write shows its message right before its entry. A file not
// written (it could not be opened, its write failed, or it changed since it
// was read) says so in its entry. After a stop (or an exception) no further
// file is opened, read or submitted; the writes already in flight are never
// cut off: they end, and their files are logged and shown, so the log and
// the counter name exactly the files handled.
class BatchRun {
  public:
    BatchRun(const Ref<FolderItem>& startFolder, BatchSettings settings, BatchView& view);
    ~BatchRun();
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // The number of material files below the start folder; 0 after a stop.
    int32_t count();
    // Processes every material file below the start folder, in walk order,
    // and waits for every write.
    void walk();

    const std::string& log() const { return log_; }
    // How many material files were not written: they could not be opened,
    // their write failed, or they changed since they were read.
    int32_t notWritten() const { return notWritten_; }

  private:
    // A material's write, shared with the job that runs it.
    struct Write {
        mxmFile::FileWrite file;
        FileDescriptor folder;
        std::string name;
    };
    // A file read and checked whose entry is not yet shown: it waits for
    // its write, if any, and for every earlier file's.
    struct Processed {
        std::string name;
        std::string entry;
        bool notWritten = false;
        std::shared_ptr<const Write> write;
    };

    void fixFile(const BatchWalk::File& file);
    void submitWrite(mxmFile& material, const BatchWalk::File& file, Processed& processed);
    WriteResult runWrite(const Write& write) const;
    WriteResult takeOldestWrite(const Write& write);
    void waitForOldestWrite();
    void showFinishedFiles();
    void showOldestFile();
    void showAllFiles();
    BatchWalk newWalk();
    void letEventsThrough();
    void letEventsThroughNowAndThen();

    const Ref<FolderItem> start_;
    const BatchSettings settings_;
    BatchView& view_;
    std::string log_;
    int32_t total_ = 0;
    int32_t done_ = 0;
    int32_t notWritten_ = 0;
    std::unique_ptr<WriteQueue> writes_;
    std::deque<Processed> processed_;
    std::size_t bytesInFlight_ = 0;
    std::chrono::steady_clock::time_point lastPump_;
};
