#pragma once

#include "FolderItem.h"
#include "ProgressBar.h"
#include "PushButton.h"
#include "Ref.h"
#include "StaticText.h"
#include "Window.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The batch over a folder: counts the material files below it, then checks,
// relocates and rewrites each one, with a progress bar, a counter and a
// "Stop!" button, and leaves the log of the run on the clipboard. The whole
// run happens while the window is constructed; it closes itself at the end.
// Made with new; the framework owns it.
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

    void PushButton1_Action();
    void showProgress(const Ref<FolderItem>& file);
    // The folder's subfolders that the walk may enter, in entry order,
    // after handing each material file to the visitor.
    template <class Visit>
    std::vector<Ref<FolderItem>> scanFolder(const Ref<FolderItem>& folder, Visit visit);
    bool onWalkPath(const Ref<FolderItem>& folder) const;

    // The folders from the start folder down to the one being walked.
    std::vector<Identity> walkPath_;
    bool windowGone_ = false;
};
