#include "AppTest.h"
#include "EventGuard.h"
#include "ProgressWindow.h"

#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>

namespace {

// Looks at the batch window each time the run lets events through (once
// after every processed file), and may act there as the user would.
struct BatchWatcher {
    BatchWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ProgressWindow* w = Window::find<ProgressWindow>();
            if (w == nullptr)
                return;
            const std::string sight = w->STInfo().Text() + " " + w->STCounter().Text() + " " +
                                      std::to_string(w->ProgressBar1().Value()) + "/" +
                                      std::to_string(w->ProgressBar1().Maximum());
            if (!shown.empty() && shown.back() == sight)
                return;
            shown.push_back(sight);
            clipboards.push_back(Clipboard::Text());
            if (act)
                act(*w, shown.size());
        });
        timer.start(0);
    }

    std::function<void(ProgressWindow&, size_t sight)> act;
    QTimer timer;
    // "file counter bar/maximum", and the clipboard, at each sight.
    std::vector<std::string> shown, clipboards;
};

class BatchTest : public AppTest {
  protected:
    void put(const std::string& relative, const std::string& bytes) const {
        volumes.makeFile("HD", "batch/" + relative, bytes);
    }
    void runBatch() const { new ProgressWindow(volumes.item("HD", "batch")); }
};

// The start folder's files before its subfolders, each by name; hidden
// folders are walked, yet only visible files of the material type count.
TEST_F(BatchTest, WalkLogsEachMaterialFileAndPutsTheLogOnTheClipboard) {
    put("a.mxm", "");
    put("b.mxm", "PNG and more bytes");
    put("c.mxm", material("Charlie"));
    put(".hidden/d.mxm", material("Delta"));
    put("sub/e.mxm", material("Echo"));
    for (const char* skipped : {".x.mxm", "notes.txt", "c.mxm.bak", "noext"})
        put(skipped, material("Skipped"));
    BatchWatcher watcher;
    runBatch();

    const std::string b = "b.mxm  ::   Does not seem to be an MXM", c = okEntry("c.mxm", "Charlie"),
                      d = okEntry("d.mxm", "Delta"), e = okEntry("e.mxm", "Echo");
    EXPECT_EQ(watcher.shown,
              (std::vector<std::string>{"a.mxm 1/5 1/5", "b.mxm 2/5 2/5", "c.mxm 3/5 3/5",
                                        "d.mxm 4/5 4/5", "e.mxm 5/5 5/5"}));
    EXPECT_EQ(watcher.clipboards,
              (std::vector<std::string>{"", b, b + c, b + c + d, b + c + d + e}));
    EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
    // Written back although nothing needed changing: the writer stores the
    // file's name as the material name.
    EXPECT_EQ(read("batch/sub/e.mxm")->getMaterialName(), "e");
    EXPECT_EQ(read("batch/.x.mxm")->getMaterialName(), "Skipped");
    EXPECT_EQ(volumes.folder().readFile("HD/batch/a.mxm"), "");
    EXPECT_EQ(volumes.folder().readFile("HD/batch/b.mxm"), "PNG and more bytes");
}

TEST_F(BatchTest, TreeWithoutMaterialsLeavesTheClipboardAlone) {
    put("sub/readme.txt", "text");
    Clipboard::setText("before the run");
    BatchWatcher watcher;
    runBatch();
    EXPECT_TRUE(watcher.shown.empty());
    EXPECT_EQ(Clipboard::Text(), "before the run");
    EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
}

// "Stop!" or closing the window: the folder at hand is finished and no
// other entered; a closed window is not touched again.
TEST_F(BatchTest, StopOrCloseEndsTheRunAfterTheFolderAtHand) {
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing);
        put("a.mxm", material("Alpha"));
        put("b.mxm", material("Bravo"));
        put("sub/c.mxm", material("Charlie"));
        Clipboard::setText("");
        ProgressWindow* first = nullptr;
        BatchWatcher watcher;
        watcher.act = [&](ProgressWindow& w, size_t sight) {
            if (sight == 1 && closing)
                w.widget()->close();
            if (sight == 1 && !closing)
                UiDriver::click(w.PushButton1());
            first = sight == 1 ? &w : first;
        };
        runBatch();
        EXPECT_EQ(first->STCounter().Text(), closing ? "1/3" : "2/3");
        UiDriver::deleteClosedWindows();
        EXPECT_EQ(watcher.shown.size(), closing ? 1u : 2u);
        EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha") + okEntry("b.mxm", "Bravo"));
        EXPECT_EQ(read("batch/sub/c.mxm")->getMaterialName(), "Charlie");
        EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
    }
}

// Files that appear during the run raise the total; a link back up the
// tree is not followed.
TEST_F(BatchTest, WalkCopesWithAGrowingTreeAndALinkLoop) {
    put("a.mxm", material("Alpha"));
    put("sub/b.mxm", material("Bravo"));
    std::filesystem::create_directory_symlink(volumes.pathOf("HD", "batch"),
                                              volumes.pathOf("HD", "batch/sub/loop"));
    BatchWatcher watcher;
    watcher.act = [this](ProgressWindow&, size_t sight) {
        if (sight == 1)
            put("sub/c.mxm", material("Charlie"));
    };
    runBatch();
    EXPECT_EQ(watcher.shown,
              (std::vector<std::string>{"a.mxm 1/2 1/2", "b.mxm 2/2 2/2", "c.mxm 3/3 3/3"}));
}

// The exception goes to the framework's handler; the window still closes.
TEST_F(BatchTest, DamagedFileEndsTheRunAndKeepsTheLogSoFar) {
    put("a.mxm", material("Alpha"));
    // A stored preview far too large to be a picture: the reader refuses it.
    put("b.mxm", MaterialBytes().marker().string("Bravo").uint32(100000).uint32(100000).bytes());
    put("c.mxm", material("Charlie"));
    dialogs.expectAnyMsgBox().answerSelectFolder(volumes.item("HD", "batch")).expectAnyMsgBox();
    EventGuard::run([this] { app->MenuOpenMXMFolder(); });
    EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));
    EXPECT_EQ(read("batch/c.mxm")->getMaterialName(), "Charlie");
    EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
}

} // namespace
