#pragma once

#include "BatchSettings.h"
#include "BatchView.h"
#include "FolderItem.h"
#include "Ref.h"
#include "WriteQueue.h"
#include "mxmFile.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The batch over a folder, apart from whatever shows it: counts the material
// files below the folder, then checks, relocates and rewrites each one and
// keeps the log of the run. Only what lies inside the folder (links
// resolved) is counted and written, each folder and file once.
//
// The durable writes run on worker threads, a few in flight, while the walk
// goes on; everything the view is told comes on the caller's thread and in
// walk order. A file is shown, with its entry in the log, only when its
// write has ended, after every earlier file; a failed write shows the
// writer's message right before its entry. After a stop (or an exception)
// no further file is opened, read or submitted; the writes already in
// flight are never cut off: they end, and their files are logged and
// shown, so the log and the counter name exactly the files written.
class BatchRun {
  public:
    BatchRun(const Ref<FolderItem>& startFolder, BatchSettings settings, BatchView& view);
    ~BatchRun();
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // The number of material files below the start folder; 0 after a stop.
    int32_t count();
    // Processes every material file below the start folder, in walk order,
    // and waits for every write: the files of a folder before its
    // subfolders, entries in bytewise name order, subfolders depth first.
    void walk();

    const std::string& log() const { return log_; }

  private:
    // What one pass over the tree has reached.
    struct Reached {
        std::set<DiskIdentity> folders;
        std::set<std::string> files;        // by real location
        std::set<DiskIdentity> sharedFiles; // files with more than one name
    };
    // A material's write, shared with the job that runs it.
    struct Write {
        mxmFile::FileWrite file;
        // Set by the job: the file no longer lay inside the start folder.
        bool outside = false;
    };
    // A file read and checked whose entry is not yet shown: it waits for
    // its write, if any, and for every earlier file's.
    struct Processed {
        Ref<FolderItem> file;
        std::string entry;
        std::shared_ptr<Write> write;
    };

    int32_t countBelow(const Ref<FolderItem>& folder);
    void huntThrough(const Ref<FolderItem>& folder);
    void fixFile(const Ref<FolderItem>& file);
    void submitWrite(mxmFile& material, Processed& processed);
    void makeRoomForAWrite();
    void showFinishedFiles();
    void showOldestFile();
    void showAllFiles();
    template <class Visit>
    std::vector<Ref<FolderItem>> scanFolder(const Ref<FolderItem>& folder, Visit visit);
    bool firstEntry(const FolderItem& folder);
    bool firstReach(const FolderItem& file);
    void letEventsThrough();
    void letEventsThroughNowAndThen();

    const Ref<FolderItem> start_;
    const BatchSettings settings_;
    BatchView& view_;
    std::string log_;
    int32_t total_ = 0;
    int32_t done_ = 0;
    Reached reached_;
    std::unique_ptr<WriteQueue> writes_;
    std::deque<Processed> processed_;
    std::chrono::steady_clock::time_point lastPump_;
};
