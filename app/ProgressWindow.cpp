#include "ProgressWindow.h"

#include "Alerts.h"
#include "App.h"
#include "Clipboard.h"
#include "WindowLook.h"

#include <utility>

ProgressWindow::ProgressWindow(const Ref<FolderItem>& startFolder, BatchSettings settings)
    : Startfolder(startFolder), run_(startFolder, std::move(settings), *this) {
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
        // first, and the count can be stopped as the walk can.
        Show();
        letEventsThrough();
        pWMax = run_.count();
        if (!Escaped) {
            ProgressBar1().setMaximum(pWMax);
            run_.walk();
        }
    } catch (...) {
        // The exception goes on to the framework's handler; a half-finished
        // batch window must not stay on screen.
        Close();
        throw;
    }
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

void ProgressWindow::letEventsThrough() {
    App::instance().DoEvents(-1);
}

void ProgressWindow::showFailure(const std::string& message) {
    MsgBox(message);
}

// The file's entry has joined the log: the log goes to the clipboard, and
// the window shows the file and the counter.
void ProgressWindow::showFile(const std::string& name, int32_t done, int32_t total,
                              const std::string& log) {
    theLog = log;
    Clipboard clipboard;
    Clipboard::setText(theLog);
    clipboard.Close();
    if (windowGone_)
        return;
    STInfo().setText(name);
    if (total != pWMax) {
        pWMax = total;
        ProgressBar1().setMaximum(pWMax);
    }
    STCounter().setText(std::to_string(done) + "/" + std::to_string(pWMax));
    ProgressBar1().setValue(done);
    Refresh(true);
}
