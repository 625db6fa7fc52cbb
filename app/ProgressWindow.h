#pragma once

#include "FolderItem.h"
#include "ProgressBar.h"
#include "PushButton.h"
#include "Ref.h"
#include "StaticText.h"
#include "Window.h"

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

class mxmFile;

// The batch over a folder: counts the material files below it, then checks,
// relocates and rewrites each one, with a progress bar, a counter and a
// "Stop!" button, and leaves the log of the run on the clipboard. The whole
// run happens while the window is constructed; it closes itself at the end.
// Only what lies inside the folder (links resolved) is counted and written,
// each folder and file once. Made with new; the framework owns it.
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
    using Identity = std::pair<uint64_t, uint64_t>;
    // What one pass over the tree has reached.
    struct Reached {
        std::set<Identity> folders;
        std::set<std::string> files;    // by real location
        std::set<Identity> sharedFiles; // files with more than one name
    };

    void PushButton1_Action();
    void showProgress(const Ref<FolderItem>& file);
    void writeBack(mxmFile& material, const Ref<FolderItem>& file);
    // The folder's subfolders, in entry order, after handing each material
    // file to the visitor; stops at once when a stop was asked for.
    template <class Visit>
    std::vector<Ref<FolderItem>> scanFolder(const Ref<FolderItem>& folder, Visit visit);
    bool firstEntry(const FolderItem& folder);
    bool firstReach(const FolderItem& file);
    void letEventsThrough();
    void letEventsThroughNowAndThen();

    Reached reached_;
    std::chrono::steady_clock::time_point lastPump_;
    bool windowGone_ = false;
};
