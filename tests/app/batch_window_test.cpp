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
            if (w == nullptr)
                return;
            const std::string sight = w->STInfo().Text() + " " + w->STCounter().Text();
            EXPECT_EQ(w->STCounter().Text(), std::to_string(w->ProgressBar1().Value()) + "/" +
                                                 std::to_string(w->ProgressBar1().Maximum()));
            if (!shown.empty() && shown.back() == sight)
                return;
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

// "Stop!" or closing the window: the folder at hand is finished and no
// other entered; a closed window is not touched again.
TEST_F(AppTest, BatchStopOrCloseEndsTheRunAfterTheFolderAtHand) {
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing);
        volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
        volumes.makeFile("HD", "batch/b.mxm", material("Bravo"));
        volumes.makeFile("HD", "batch/sub/c.mxm", material("Charlie"));
        Clipboard::setText("");
        ProgressWindow* first = nullptr;
        BatchWatcher watcher;
        watcher.atFirstSight = [&](ProgressWindow& w) {
            first = &w;
            closing ? void(w.widget()->close()) : UiDriver::click(w.PushButton1());
        };
        new ProgressWindow(volumes.item("HD", "batch"));
        EXPECT_EQ(first->STCounter().Text(), closing ? "1/3" : "2/3");
        UiDriver::deleteClosedWindows();
        EXPECT_EQ(watcher.shown.size(), closing ? 1u : 2u);
        EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha") + okEntry("b.mxm", "Bravo"));
        EXPECT_EQ(read("batch/sub/c.mxm")->getMaterialName(), "Charlie");
        EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
    }
}

// A tree without materials leaves the clipboard alone; files that appear
// during the run raise the total; a link back up the tree is not followed.
TEST_F(AppTest, BatchCopesWithAnEmptyOrGrowingTreeAndALinkLoop) {
    volumes.makeFile("HD", "batch/sub/readme.txt", "text");
    std::filesystem::create_directory_symlink(volumes.pathOf("HD", "batch"),
                                              volumes.pathOf("HD", "batch/sub/loop"));
    Clipboard::setText("before the run");
    BatchWatcher watcher;
    new ProgressWindow(volumes.item("HD", "batch"));
    EXPECT_EQ(Clipboard::Text(), "before the run");

    volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
    volumes.makeFile("HD", "batch/sub/b.mxm", material("Bravo"));
    watcher.atFirstSight = [this](ProgressWindow&) {
        volumes.makeFile("HD", "batch/sub/c.mxm", material("Charlie"));
    };
    new ProgressWindow(volumes.item("HD", "batch"));
    EXPECT_EQ(watcher.shown, (std::vector<std::string>{"a.mxm 1/2", "b.mxm 2/2", "c.mxm 3/3"}));
}

// The exception goes to the framework's handler; the window still closes.
TEST_F(AppTest, BatchDamagedFileEndsTheRunAndKeepsTheLogSoFar) {
    volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
    volumes.makeFile("HD", "batch/b.mxm", damaged());
    volumes.makeFile("HD", "batch/c.mxm", material("Charlie"));
    dialogs.expectAnyMsgBox();
    EventGuard::run([this] { new ProgressWindow(volumes.item("HD", "batch")); });
    EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));
    EXPECT_EQ(read("batch/c.mxm")->getMaterialName(), "Charlie");
    EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
}

} // namespace
