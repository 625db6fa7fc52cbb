#pragma once

#include "BatchRun.h"
#include "BatchSettings.h"
#include "BatchView.h"
#include "FolderItem.h"
#include "ProgressBar.h"
#include "PushButton.h"
#include "Ref.h"
#include "StaticText.h"
#include "Window.h"

#include <cstdint>
#include <string>

// The batch window over a folder: shows a batch run (BatchRun) with a
// progress bar, a counter and a "Stop!" button, and leaves the log of the
// run on the clipboard. The whole run happens while the window is
// constructed; it closes itself at the end, and then says how many files
// were not written, if any. Made with new; the framework
// owns it.
class ProgressWindow : public Window, private BatchView {
  public:
    explicit ProgressWindow(const Ref<FolderItem>& startFolder, BatchSettings settings = {});

    // A stop was asked for: by "Stop!", or by the user closing the window.
    bool Escaped = false;
    Ref<FolderItem> Startfolder;
    // The number of material files the count found; grows when the walk
    // meets more, so that the counter never reads past its total.
    int32_t pWMax = 0;
    std::string theLog;

    ProgressBar& ProgressBar1() const { return control<ProgressBar>("ProgressBar1"); }
    StaticText& STInfo() const { return control<StaticText>("STInfo"); }
    StaticText& STCounter() const { return control<StaticText>("STCounter"); }
    PushButton& PushButton1() const { return control<PushButton>("PushButton1"); }

    void Event_Open() override;
    void Event_Close() override;

  protected:
    void Layout() override;
    void CreateControls() override;

  private:
    void PushButton1_Action();
    void letEventsThrough() override;
    bool stopAsked() const override { return Escaped; }
    void showFile(const std::string& name, int32_t done, int32_t total,
                  const std::string& log) override;
    void showFailure(const std::string& message) override;

    BatchRun run_;
    bool windowGone_ = false;
};
