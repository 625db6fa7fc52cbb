#include "ProgressWindow.h"

#include "Alerts.h"
#include "App.h"
#include "BusyCursor.h"
#include "Clipboard.h"
#include "WindowLook.h"

#include <string_view>
#include <utility>

ProgressWindow::ProgressWindow(const Ref<FolderItem>& startFolder, BatchSettings settings)
    : Startfolder(startFolder), paintInterval_(settings.paintInterval),
      run_(startFolder, std::move(settings), *this) {
    construct();
}

void ProgressWindow::Layout() {
    WindowLook::apply(*this, "Changing MXM paths", 542, 160, false);
}

void ProgressWindow::CreateControls() {
    auto& bar = addControl<ProgressBar>("ProgressBar1", 20, 41, 502, 20);
    bar.setValue(0);
    bar.setMaximum(100);

    auto& info = addControl<StaticText>("STInfo", 20, 73, 354, 20);
    info.setText("Searching MXM Files");
    info.setTextAlign(0);
    info.setTextColor(WindowLook::Text);
    info.setMultiline(false);

    auto& counter = addControl<StaticText>("STCounter", 386, 73, 136, 20);
    counter.setTextAlign(2);
    counter.setTextColor(WindowLook::Text);
    counter.setMultiline(false);

    auto& stop = addControl<PushButton>("PushButton1", 358, 105, 164, 20);
    stop.setCaption("Stop!");
    stop.setDefault(true);
    stop.setCancel(true);
    stop.onAction([this] { PushButton1_Action(); });
}

void ProgressWindow::PushButton1_Action() {
    Escaped = true;
}

void ProgressWindow::Event_Open() {
    try {
        // On a large tree the count takes a while: the window is drawn
        // first, the busy cursor shows, and the count can be stopped as
        // the walk can.
        Show();
        {
            const BusyCursor busy;
            letEventsThrough();
            pWMax = run_.count();
        }
        if (!Escaped) {
            ProgressBar1().setMaximum(pWMax);
            run_.walk();
        }
    } catch (...) {
        // The exception goes on to the framework's handler; a half-finished
        // batch window must not stay on screen.
        present();
        Close();
        throw;
    }
    present();
    Close();
    // The log names the files; the user may never read it unless told.
    if (const int32_t n = run_.notWritten(); n > 0)
        MsgBox(std::to_string(n) + (n == 1 ? " file was" : " files were") +
               " not written. The log on the clipboard names them.");
}

// The user closed the window while the run goes on: the run stops as after
// "Stop!", and from now on nothing touches the window.
void ProgressWindow::Event_Close() {
    windowGone_ = true;
    Escaped = true;
}

// A file done while the last paint was too recent is painted here once
// the interval has passed, should the next file be slow to come.
void ProgressWindow::letEventsThrough() {
    if (pending_ && paintDue())
        present();
    App::instance().DoEvents(-1);
}

void ProgressWindow::showFailure(const std::string& message) {
    present();
    MsgBox(message);
}

void ProgressWindow::showFile(const std::string& name, int32_t done, int32_t total,
                              const std::string& entry) {
    theLog += entry;
    latest_ = {name, done, total};
    pending_ = true;
    if (paintDue())
        present();
}

bool ProgressWindow::paintDue() const {
    return !lastPaint_ || std::chrono::steady_clock::now() - *lastPaint_ >= paintInterval_;
}

// The entries logged since the last paint join the log on the clipboard,
// and the window shows the last file done and the counter.
void ProgressWindow::present() {
    if (!pending_)
        return;
    pending_ = false;
    lastPaint_ = std::chrono::steady_clock::now();
    Clipboard clipboard;
    clipboardToken_ = Clipboard::appendText(clipboardToken_,
                                            std::string_view(theLog).substr(onClipboard_), theLog);
    onClipboard_ = theLog.size();
    clipboard.Close();
    if (windowGone_)
        return;
    STInfo().setText(latest_.name);
    if (latest_.total != pWMax) {
        pWMax = latest_.total;
        ProgressBar1().setMaximum(pWMax);
    }
    STCounter().setText(std::to_string(latest_.done) + "/" + std::to_string(pWMax));
    ProgressBar1().setValue(latest_.done);
    Refresh(true);
}
