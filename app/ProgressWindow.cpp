#include "ProgressWindow.h"

#include "App.h"
#include "BinaryStream.h"
#include "Clipboard.h"
#include "MaxwellFiles.h"
#include "SearchCache.h"
#include "Text.h"
#include "WindowLook.h"
#include "mxmFile.h"

namespace {

// A visible file of the material type whose name ends in ".mxm". Folders
// are never tested: hidden ones are walked too.
bool isMaterialFile(const FolderItem& entry) {
    return !entry.Directory() &&
           StringEquals(entry.Type(), MaxwellFiles::MaxwellMaterial()->Name()) && entry.Visible() &&
           MaxwellFiles::HasExtension(entry.Name());
}

} // namespace

ProgressWindow::ProgressWindow(const Ref<FolderItem>& startFolder) : Startfolder(startFolder) {
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
    // The checks of the whole run share what their searches listed.
    const SearchCache::Scope searches;
    try {
        // On a large tree the count takes a while: the window is drawn
        // first, and the count can be stopped as the walk can.
        Show();
        letEventsThrough();
        pWMax = CountMXMs(Startfolder);
        if (!Escaped) {
            ProgressBar1().setMaximum(pWMax);
            reached_ = {};
            writes_ = std::make_unique<WriteQueue>(maxWritesInFlight);
            HuntThroughFolders(Startfolder);
            showAllFiles();
        }
    } catch (...) {
        // The exception ends the run and goes on to the framework's handler;
        // the writes in flight end and are shown first, and a half-finished
        // batch window must not stay on screen.
        showAllFiles();
        writes_.reset();
        Close();
        throw;
    }
    writes_.reset();
    Close();
}

// The user closed the window while the run goes on: the run stops as after
// "Stop!", and from now on nothing touches the window.
void ProgressWindow::Event_Close() {
    windowGone_ = true;
    Escaped = true;
}

int32_t ProgressWindow::CountMXMs(const Ref<FolderItem>& folder) {
    if (Escaped || !firstEntry(*folder))
        return 0;
    int32_t count = 0;
    const auto subfolders = scanFolder(folder, [&count](const Ref<FolderItem>&) { ++count; });
    for (const auto& subfolder : subfolders)
        count += CountMXMs(subfolder);
    return count;
}

void ProgressWindow::HuntThroughFolders(const Ref<FolderItem>& folder) {
    if (Escaped || !firstEntry(*folder))
        return;
    const auto subfolders = scanFolder(folder, [this](const Ref<FolderItem>& file) {
        FixFile(file);
        letEventsThrough();
    });
    for (const auto& subfolder : subfolders)
        HuntThroughFolders(subfolder);
}

template <class Visit>
std::vector<Ref<FolderItem>> ProgressWindow::scanFolder(const Ref<FolderItem>& folder,
                                                        Visit visit) {
    std::vector<Ref<FolderItem>> subfolders;
    const int n = folder->Count();
    for (int i = 1; i <= n; ++i) {
        letEventsThroughNowAndThen();
        // After a stop no further file is opened, not even in this folder.
        if (Escaped)
            break;
        const Ref<FolderItem> entry = folder->Item(i);
        if (entry->Directory())
            subfolders.push_back(entry);
        else if (isMaterialFile(*entry) && firstReach(*entry))
            visit(entry);
    }
    return subfolders;
}

// A pass enters a folder once, at its first reach in walk order, so that
// links leading back into the tree cost nothing; a folder that a link leads
// to outside the start folder is not entered at all.
bool ProgressWindow::firstEntry(const FolderItem& folder) {
    return LiesWithin(folder, *Startfolder) && reached_.folders.insert(folder.Identity()).second;
}

// A pass handles a file once, at its first reach: by its real location,
// which a rewrite keeps, and by its disk identity when other names (hard
// links) share it; a file with one name gives its identity up when it is
// rewritten, and a new file may get it. A file outside the start folder is
// not handled; one that does not resolve (a dangling link) is, as before:
// it only moves the counter.
bool ProgressWindow::firstReach(const FolderItem& file) {
    const std::string real = RealLocation(file);
    if (real.empty())
        return true;
    if (!LiesWithin(file, *Startfolder) || !reached_.files.insert(real).second)
        return false;
    const DiskIdentity identity = file.Identity();
    if (reached_.sharedFiles.count(identity) != 0)
        return false;
    if (LinkCount(file) > 1)
        reached_.sharedFiles.insert(identity);
    return true;
}

void ProgressWindow::letEventsThrough() {
    // A check that the user starts meanwhile, in an editor, lists afresh.
    const SearchCache::Pause ownListings;
    App::instance().DoEvents(-1);
    lastPump_ = std::chrono::steady_clock::now();
}

void ProgressWindow::letEventsThroughNowAndThen() {
    if (std::chrono::steady_clock::now() - lastPump_ >= pumpInterval)
        letEventsThrough();
}

void ProgressWindow::showProgress(const Ref<FolderItem>& file) {
    if (windowGone_)
        return;
    STInfo().setText(file->Name());
    // The bar's own value counts the files processed so far.
    const int32_t k = ProgressBar1().Value() + 1;
    if (k > pWMax) {
        // The tree gained material files since the count.
        pWMax = k;
        ProgressBar1().setMaximum(pWMax);
    }
    STCounter().setText(std::to_string(k) + "/" + std::to_string(pWMax));
    ProgressBar1().setValue(k);
    Refresh(true);
}

// Reads and checks the file and hands its write to a worker; its entry is
// shown once the write has ended (showOldestFile). Waits for the oldest
// write when the most allowed are in flight.
void ProgressWindow::FixFile(const Ref<FolderItem>& file) {
    Processed processed{file, {}, nullptr};
    int32_t status = 0;
    const Ref<BinaryStream> stream = BinaryStream::Open(file, true);
    if (stream && stream->Length() > 0) {
        mxmFile material(stream, file);
        if (material.isMXM) {
            processed.entry = file->Name() + "  ::   " + material.getMaterialName() + ": ";
            stream->Close();
            const std::string report = material.ResetPaths(status);
            processed.entry += report + "Status " + std::to_string(status) + " ***";
            submitWrite(material, processed);
        } else {
            processed.entry = file->Name() + "  ::   Does not seem to be an MXM";
        }
    }
    processed_.push_back(std::move(processed));
    makeRoomForAWrite();
    showFinishedFiles();
}

// The walk hands over only files inside the start folder, yet a file may
// have been replaced by a link leading out of it since: right before the
// write, on the worker, the batch makes sure that it never writes outside
// the folder the user chose. The job owns copies of all it uses.
void ProgressWindow::submitWrite(mxmFile& material, Processed& processed) {
    processed.write = std::make_shared<Write>(Write{material.prepareWrite(processed.file), false});
    writes_->submit([write = processed.write, start = FolderItem(Startfolder->NativePath())] {
        if (beforeEachWrite)
            beforeEachWrite(write->file.file);
        write->outside = !LiesWithin(write->file.file, start);
        return write->outside || write->file.write();
    });
}

// The GUI thread waits for one write at a time, letting events through
// meanwhile; a stop heard then ends the walk before the next file. With one
// write in flight, each file is shown before the next one is opened.
void ProgressWindow::makeRoomForAWrite() {
    while (writes_->full()) {
        if (writes_->oldestDone(pumpInterval))
            showOldestFile();
        else
            letEventsThrough();
    }
}

void ProgressWindow::showFinishedFiles() {
    while (!processed_.empty() && (!processed_.front().write || writes_->oldestDone()))
        showOldestFile();
}

void ProgressWindow::showAllFiles() {
    while (!processed_.empty()) {
        const Processed& oldest = processed_.front();
        if (!oldest.write || writes_->oldestDone(pumpInterval))
            showOldestFile();
        letEventsThrough();
    }
}

// The oldest file's write has ended, or it had none: a failed write says so
// (the user has been told; the entry stays as logged), then its entry joins
// the log on the clipboard and the counter moves on.
void ProgressWindow::showOldestFile() {
    const Processed oldest = std::move(processed_.front());
    processed_.pop_front();
    if (oldest.write) {
        const bool written = writes_->takeOldest();
        if (!oldest.write->outside)
            mxmFile::finishWrite(oldest.write->file, written, oldest.file);
    }
    theLog += oldest.entry;
    Clipboard clipboard;
    Clipboard::setText(theLog);
    clipboard.Close();
    showProgress(oldest.file);
}
