#include "AppTest.h"
#include "EventGuard.h"
#include "ProgressWindow.h"

#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>

namespace {

// Looks at the batch window each time the run lets events through (once
// after every processed file), and may act at the first look as the user
// would.
struct BatchWatcher {
    BatchWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ProgressWindow* w = Window::find<ProgressWindow>();
            const std::string sight = w ? w->STInfo().Text() + " " + w->STCounter().Text() : "";
            if (sight.empty() || (!shown.empty() && shown.back() == sight))
                return;
            EXPECT_EQ(w->STCounter().Text(), std::to_string(w->ProgressBar1().Value()) + "/" +
                                                 std::to_string(w->ProgressBar1().Maximum()));
            shown.push_back(sight);
            clipboards.push_back(Clipboard::Text());
            if (atFirstSight && shown.size() == 1)
                atFirstSight(*w);
        });
        timer.start(0);
    }

    std::function<void(ProgressWindow&)> atFirstSight;
    QTimer timer;
    // "file counter", and the clipboard, at each sight; the bar agrees with
    // the counter.
    std::vector<std::string> shown, clipboards;
};

// The start folder's files before its subfolders, each by name; hidden
// folders are walked, yet only visible files of the material type count.
TEST_F(AppTest, BatchLogsEachMaterialFileAndPutsTheLogOnTheClipboard) {
    volumes.makeFile("HD", "batch/a.mxm", "");
    volumes.makeFile("HD", "batch/b.mxm", "PNG and more bytes");
    volumes.makeFile("HD", "batch/c.mxm", material("Charlie"));
    volumes.makeFile("HD", "batch/.hidden/d.mxm", material("Delta"));
    volumes.makeFile("HD", "batch/sub/e.mxm", material("Echo"));
    for (const char* skipped : {".x.mxm", "notes.txt", "c.mxm.bak", "noext"})
        volumes.makeFile("HD", "batch/" + std::string(skipped), material("Skipped"));
    BatchWatcher watcher;
    new ProgressWindow(volumes.item("HD", "batch"));

    const std::string b = "b.mxm  ::   Does not seem to be an MXM", c = okEntry("c.mxm", "Charlie"),
                      d = okEntry("d.mxm", "Delta"), e = okEntry("e.mxm", "Echo");
    EXPECT_EQ(watcher.shown, (std::vector<std::string>{"a.mxm 1/5", "b.mxm 2/5", "c.mxm 3/5",
                                                       "d.mxm 4/5", "e.mxm 5/5"}));
    EXPECT_EQ(watcher.clipboards,
              (std::vector<std::string>{"", b, b + c, b + c + d, b + c + d + e}));
    // Written back although nothing needed changing: the writer stores the
    // file's name as the material name.
    EXPECT_EQ(read("batch/sub/e.mxm")->getMaterialName(), "e");
    EXPECT_EQ(volumes.folder().readFile("HD/batch/a.mxm"), "");
    EXPECT_EQ(volumes.folder().readFile("HD/batch/b.mxm"), "PNG and more bytes");
}

// "Stop!" or closing the window finishes the folder at hand and enters no
// other; a damaged file ends the run at once, its exception going to the
// framework's handler. Each way the window goes, the clipboard keeps the
// log so far, and a closed window is not touched again.
TEST_F(AppTest, BatchStopCloseOrDamagedFileEndsTheRun) {
    enum How { Stop, Close, Damaged };
    for (How how : {Stop, Close, Damaged}) {
        SCOPED_TRACE(how);
        volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
        volumes.makeFile("HD", "batch/b.mxm", how == Damaged ? damaged() : material("Bravo"));
        volumes.makeFile("HD", "batch/sub/c.mxm", material("Charlie"));
        Clipboard::setText("");
        ProgressWindow* first = nullptr;
        BatchWatcher watcher;
        watcher.atFirstSight = [&](ProgressWindow& w) {
            first = &w;
            if (how != Damaged)
                how == Close ? void(w.widget()->close()) : UiDriver::click(w.PushButton1());
        };
        if (how == Damaged)
            dialogs.expectAnyMsgBox();
        std::string counter; // read while the guard keeps a closed window
        EventGuard::run([&] {
            new ProgressWindow(volumes.item("HD", "batch")); // a damaged file throws
            counter = first->STCounter().Text();
        });
        EXPECT_EQ(counter, how == Stop ? "2/3" : how == Close ? "1/3" : "");
        UiDriver::deleteClosedWindows();
        EXPECT_EQ(Clipboard::Text(),
                  okEntry("a.mxm", "Alpha") + (how == Damaged ? "" : okEntry("b.mxm", "Bravo")));
        EXPECT_EQ(read("batch/sub/c.mxm")->getMaterialName(), "Charlie");
        EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
    }
}

// A tree without materials leaves the clipboard alone; a link back up the
// tree is not followed. Files that appear during the run: a material raises
// the total; a picture is found by a check run meanwhile (as an editor's
// would) and by one after the run, yet not by the run's own checks, which
// share what the run listed before.
TEST_F(AppTest, BatchCopesWithAnEmptyOrChangingTreeAndALinkLoop) {
    volumes.makeFile("HD", "batch/sub/readme.txt", "text");
    std::filesystem::create_directory_symlink(volumes.pathOf("HD", "batch"),
                                              volumes.pathOf("HD", "batch/sub/loop"));
    Clipboard::setText("before the run");
    BatchWatcher watcher;
    new ProgressWindow(volumes.item("HD", "batch"));
    EXPECT_EQ(Clipboard::Text(), "before the run");

    volumes.makeFile("HD", "batch/a.mxm", material("Alpha", "/old/new.jpg"));
    volumes.makeFile("HD", "batch/sub/b.mxm", material("Bravo", "/old/new.jpg"));
    const auto check = [this] {
        int32_t status = 0;
        return read("batch/sub/b.mxm")->ResetPaths(status);
    };
    std::string meanwhile;
    watcher.atFirstSight = [&](ProgressWindow&) { // a.mxm's check has listed the tree
        volumes.makeFile("HD", "batch/sub/c.mxm", material("Charlie"));
        volumes.makeFile("HD", "batch/sub/new.jpg");
        meanwhile = check();
    };
    new ProgressWindow(volumes.item("HD", "batch"));
    EXPECT_EQ(watcher.shown, (std::vector<std::string>{"a.mxm 1/2", "b.mxm 2/2", "c.mxm 3/3"}));
    const std::string moved = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - Path changed, o.k. ] \r",
                      missing = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - not found, critical ] \r";
    EXPECT_EQ(meanwhile, moved);
    EXPECT_EQ(Clipboard::Text(), "a.mxm  ::   Alpha: " + missing + "Status 3 ***" +
                                     "b.mxm  ::   Bravo: " + missing + "Status 3 ***" +
                                     okEntry("c.mxm", "Charlie"));
    EXPECT_EQ(check(), moved);
}

} // namespace
