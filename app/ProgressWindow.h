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

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The batch window over a folder: shows a batch run (BatchRun) with a
// progress bar, a counter and a "Stop!" button, and leaves the log of the
// run on the clipboard. The whole run happens while the window is
// constructed; it closes itself at the end, and then says how many files
// were not written, if any. Made with new; the framework
// owns it.
//
// The progress and the log on the clipboard are brought up to date together,
// at most once per paint interval, so that they always agree; the last
// state is shown before the window closes and before any message.
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
                  const std::string& entry) override;
    void showFailure(const std::string& message) override;
    void present();
    bool paintDue() const;

    // The last file done, not yet painted while pending_.
    struct Progress {
        std::string name;
        int32_t done = 0;
        int32_t total = 0;
    };

    const std::chrono::milliseconds paintInterval_;
    BatchRun run_;
    bool windowGone_ = false;
    Progress latest_;
    bool pending_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastPaint_;
    // How much of theLog the clipboard holds, under which token.
    std::size_t onClipboard_ = 0;
    std::uint64_t clipboardToken_ = 0;
};
