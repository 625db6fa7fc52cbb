#pragma once

#include "FolderItem.h"
#include "ProgressBar.h"
#include "PushButton.h"
#include "Ref.h"
#include "StaticText.h"
#include "Window.h"
#include "WriteQueue.h"
#include "mxmFile.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The batch over a folder: counts the material files below it, then checks,
// relocates and rewrites each one, with a progress bar, a counter and a
// "Stop!" button, and leaves the log of the run on the clipboard. The whole
// run happens while the window is constructed; it closes itself at the end.
// Only what lies inside the folder (links resolved) is counted and written,
// each folder and file once. Made with new; the framework owns it.
//
// The durable writes run on worker threads, a few in flight, while the walk
// goes on; everything the user sees stays on this thread and in walk order.
// A file's entry reaches the log, the clipboard and the counter only when
// its write has ended, after every earlier file's; a failed write shows the
// writer's message right before its entry, so before the next file's. After
// a stop (or a closed window, or an exception) no further file is opened,
// read or submitted; the writes already in flight are never cut off: they
// end, and their files are logged and counted, so the log, the clipboard and
// the counter name exactly the files written.
class ProgressWindow : public Window {
  public:
    explicit ProgressWindow(const Ref<FolderItem>& startFolder);

    // A stop was asked for: by "Stop!", or by the user closing the window.
    bool Escaped = false;
    Ref<FolderItem> Startfolder;
    // The number of material files the count found; grows when the walk
    // meets more, so the counter never reads past its total.
    int32_t pWMax = 0;
    std::string theLog;

    // The longest the count and the walk go on without letting events
    // through, so that the window is drawn and "Stop!" heard on any tree.
    // Tests make it 0: events are let through before every entry.
    static inline std::chrono::milliseconds pumpInterval{10};
    // At most this many writes in flight; tests make it small.
    static inline size_t maxWritesInFlight = WriteQueue::DefaultMaxInFlight;
    // Tests hold or hinder writes with it: run on each write's thread
    // before anything else, given the file about to be written.
    static inline std::function<void(const FolderItem&)> beforeEachWrite;

    ProgressBar& ProgressBar1() const { return control<ProgressBar>("ProgressBar1"); }
    StaticText& STInfo() const { return control<StaticText>("STInfo"); }
    StaticText& STCounter() const { return control<StaticText>("STCounter"); }
    PushButton& PushButton1() const { return control<PushButton>("PushButton1"); }

    int32_t CountMXMs(const Ref<FolderItem>& folder);
    void HuntThroughFolders(const Ref<FolderItem>& folder);
    void FixFile(const Ref<FolderItem>& file);

    void Event_Open() override;
    void Event_Close() override;

  protected:
    void Layout() override;
    void CreateControls() override;

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

    void PushButton1_Action();
    void showProgress(const Ref<FolderItem>& file);
    void submitWrite(mxmFile& material, Processed& processed);
    void makeRoomForAWrite();
    void showFinishedFiles();
    void showOldestFile();
    void showAllFiles();
    // The folder's subfolders, in entry order, after handing each material
    // file to the visitor; stops at once when a stop was asked for.
    template <class Visit>
    std::vector<Ref<FolderItem>> scanFolder(const Ref<FolderItem>& folder, Visit visit);
    bool firstEntry(const FolderItem& folder);
    bool firstReach(const FolderItem& file);
    void letEventsThrough();
    void letEventsThroughNowAndThen();

    Reached reached_;
    std::unique_ptr<WriteQueue> writes_;
    std::deque<Processed> processed_;
    std::chrono::steady_clock::time_point lastPump_;
    bool windowGone_ = false;
};
