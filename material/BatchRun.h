#pragma once

#include "AlertRecorder.h"
#include "BatchSettings.h"
#include "BatchView.h"
#include "BatchWalk.h"
#include "FileDescriptor.h"
#include "Ref.h"
#include "SearchCache.h"
#include "WorkerPool.h"
#include "WriteQueue.h"
#include "WriteResult.h"
#include "mxmFile.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <string>
#include <vector>

// The batch over a folder, apart from whatever shows it: counts the material
// files below the folder, then checks, relocates and rewrites each one and
// keeps the log of the run. Files are reached, read and written from the
// folder's descriptor without following a link out of it (see BatchWalk),
// and a file is replaced only while it is still the file that was read.
//
// The next files are read, checked and made into their new bytes on worker
// threads, a bounded number ahead of the walk, and the durable writes run on
// other worker threads, a few in flight and a bounded number of bytes;
// everything the view is told comes on the caller's thread and in walk
// order, alerts met on a worker included, each with its file, so that the
// log and every file written are those of a run that takes one file at a
// time. A file is shown, with its entry
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
        bool isFile = true; // else a folder that could not be opened
    };
    // A file handed over by the walk, to be read and checked on any thread.
    struct Job {
        std::string name;      // as listed
        std::string placeName; // in its folder, links followed
        std::string folderPath;
        FileDescriptor folder;
    };
    // What reading and checking a file gave, its write not yet submitted;
    // on a worker, also the alerts met and the exception that ended it.
    struct Prepared {
        Processed processed;
        std::shared_ptr<const Write> write;
        std::vector<AlertRecorder::Alert> alerts;
        std::exception_ptr error;
    };
    struct Ahead {
        std::future<Prepared> result;
        std::size_t bytes;
    };

    void handOver(const BatchWalk::File& file);
    void handOverShutFolder(const BatchWalk::File& file);
    Prepared prepare(Job job) const;
    void readAhead(Job job, std::size_t bytes);
    bool takeOldestAhead();
    void take(Prepared prepared);
    void submitWrite(const std::shared_ptr<const Write>& write, Processed& processed);
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
    // The walk's search cache, which the workers join.
    SearchCache* searches_ = nullptr;
    std::deque<Ahead> ahead_;
    std::size_t bytesAhead_ = 0;
    std::unique_ptr<WorkerPool> readers_;
};
