#include "AppWindowFixture.h"
#include "BinaryStream.h"
#include "Clipboard.h"
#include "EventGuard.h"
#include "ProgressWindow.h"
#include "UiDriver.h"
#include "mxmFile.h"

#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a person sees of the batch window each time the run lets events
// through (once after every processed file).
struct Sight {
    std::string info;
    std::string counter;
    int value = 0;
    int maximum = 0;
    std::string clipboard;
    friend bool operator==(const Sight&, const Sight&) = default;
};

// Watches the batch window from the event loop while the run pumps events,
// and may act there as the user would (press "Stop!", close the window).
class BatchWatcher {
  public:
    explicit BatchWatcher(std::function<void(ProgressWindow&, int sightNumber)> act = {})
        : act_(std::move(act)) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start();
    }

    std::vector<Sight> sights;

  private:
    void look() {
        ProgressWindow* window = Window::find<ProgressWindow>();
        if (window == nullptr)
            return;
        Sight sight{window->STInfo().Text(), window->STCounter().Text(),
                    window->ProgressBar1().Value(), window->ProgressBar1().Maximum(),
                    Clipboard::Text()};
        if (!sights.empty() && sights.back() == sight)
            return;
        sights.push_back(sight);
        if (act_)
            act_(*window, static_cast<int>(sights.size()));
    }

    QTimer timer_;
    std::function<void(ProgressWindow&, int)> act_;
};

class BatchTest : public AppWindowTest {
  protected:
    void SetUp() override {
        AppWindowTest::SetUp();
        volumes.makeFile("HD", "tex/a.jpg", "jpeg");
        volumes.makeFile("HD", "tex/b.jpg", "jpeg");
        Clipboard::setText("before the run");
    }

    std::string put(const std::string& relative, const std::string& bytes) const {
        return volumes.makeFile("HD", "batch/" + relative, bytes);
    }
    void runBatch() const { new ProgressWindow(volumes.item("HD", "batch")); }

    // The material name as a file now stores it.
    std::string storedName(const std::string& relative) const {
        const Ref<FolderItem> file = volumes.item("HD", "batch/" + relative);
        const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
        return mxmFile(stream, file).getMaterialName();
    }

    static std::string okEntry(const std::string& file, const std::string& name) {
        return file + "  ::   " + name + ": [ /tex/a.jpg- o.k. ] \r[ /tex/b.jpg- o.k. ] \r" +
               "Status 0 ***";
    }
};

std::vector<std::string> counters(const std::vector<Sight>& sights) {
    std::vector<std::string> texts;
    for (const Sight& sight : sights)
        texts.push_back(sight.counter);
    return texts;
}

TEST_F(BatchTest, StartFolderFilesFirstThenSubfolderWithCounterAndClipboardAfterEachFile) {
    put("sub/d.mxm", material("Delta"));
    put("sub/e.mxm", material("Echo"));
    put("c.mxm", material("Charlie"));
    put("a.mxm", material("Alpha"));
    put("b.mxm", material("Bravo"));
    BatchWatcher watcher;
    runBatch();

    const std::string a = okEntry("a.mxm", "Alpha"), b = okEntry("b.mxm", "Bravo"),
                      c = okEntry("c.mxm", "Charlie"), d = okEntry("d.mxm", "Delta"),
                      e = okEntry("e.mxm", "Echo");
    const std::vector<Sight> expected{
        {"a.mxm", "1/5", 1, 5, a},
        {"b.mxm", "2/5", 2, 5, a + b},
        {"c.mxm", "3/5", 3, 5, a + b + c},
        {"d.mxm", "4/5", 4, 5, a + b + c + d},
        {"e.mxm", "5/5", 5, 5, a + b + c + d + e},
    };
    EXPECT_EQ(watcher.sights, expected);
    EXPECT_EQ(Clipboard::Text(), a + b + c + d + e);
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
    // Written back although nothing needed changing: the writer stores the
    // file's name as the material name.
    EXPECT_EQ(storedName("a.mxm"), "a");
    EXPECT_EQ(storedName("sub/e.mxm"), "e");
}

TEST_F(BatchTest, OnlyVisibleMaterialFilesAreTakenButHiddenFoldersAreWalked) {
    put(".hidden.mxm", material("Hidden"));
    put(".folder/seen.mxm", material("Seen"));
    put("notes.txt", material("Text"));
    put("a.mxm.bak", material("Backup"));
    put("noext", material("Bare"));
    BatchWatcher watcher;
    runBatch();

    EXPECT_EQ(counters(watcher.sights), std::vector<std::string>{"1/1"});
    EXPECT_EQ(Clipboard::Text(), okEntry("seen.mxm", "Seen"));
    EXPECT_EQ(storedName(".hidden.mxm"), "Hidden");
}

TEST_F(BatchTest, EmptyAndNonMaterialFilesAdvanceTheCounterWithoutBeingWritten) {
    const std::string notMaterial = "PNG and more bytes";
    put("a.mxm", "");
    put("b.mxm", notMaterial);
    put("c.mxm", material("Charlie"));
    BatchWatcher watcher;
    runBatch();

    const std::string b = "b.mxm  ::   Does not seem to be an MXM";
    const std::string c = okEntry("c.mxm", "Charlie");
    ASSERT_EQ(counters(watcher.sights), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(watcher.sights[0].clipboard, "");
    EXPECT_EQ(watcher.sights[1].clipboard, b);
    EXPECT_EQ(Clipboard::Text(), b + c);
    EXPECT_EQ(volumes.folder().readFile("HD/batch/b.mxm"), notMaterial);
    EXPECT_EQ(volumes.folder().readFile("HD/batch/a.mxm"), "");
}

TEST_F(BatchTest, EmptyTreeLeavesTheClipboardAlone) {
    volumes.makeFolder("HD", "batch/sub/deeper");
    put("sub/readme.txt", "text");
    BatchWatcher watcher;
    runBatch();

    EXPECT_TRUE(watcher.sights.empty());
    EXPECT_EQ(Clipboard::Text(), "before the run");
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
}

TEST_F(BatchTest, StopFinishesTheFolderAtHandAndEntersNoOther) {
    put("a.mxm", material("Alpha"));
    put("b.mxm", material("Bravo"));
    put("c.mxm", material("Charlie"));
    put("sub/d.mxm", material("Delta"));
    put("sub/e.mxm", material("Echo"));
    BatchWatcher watcher([](ProgressWindow& window, int sight) {
        if (sight == 1)
            UiDriver::click(window.PushButton1());
    });
    runBatch();

    EXPECT_EQ(counters(watcher.sights), (std::vector<std::string>{"1/5", "2/5", "3/5"}));
    EXPECT_EQ(Clipboard::Text(),
              okEntry("a.mxm", "Alpha") + okEntry("b.mxm", "Bravo") + okEntry("c.mxm", "Charlie"));
    EXPECT_EQ(storedName("sub/d.mxm"), "Delta");
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
}

TEST_F(BatchTest, ClosingTheWindowStopsTheRunAndNothingTouchesItAfterwards) {
    put("a.mxm", material("Alpha"));
    put("b.mxm", material("Bravo"));
    put("sub/c.mxm", material("Charlie"));
    ProgressWindow* closed = nullptr;
    BatchWatcher watcher([&closed](ProgressWindow& window, int sight) {
        if (sight == 1) {
            closed = &window;
            window.widget()->close();
        }
    });
    runBatch();

    // Closed windows stay until control returns to the event loop.
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(closed->STCounter().Text(), "1/3");
    EXPECT_EQ(closed->STInfo().Text(), "a.mxm");
    UiDriver::deleteClosedWindows();
    EXPECT_EQ(counters(watcher.sights), std::vector<std::string>{"1/3"});
    EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha") + okEntry("b.mxm", "Bravo"));
    EXPECT_EQ(storedName("sub/c.mxm"), "Charlie");
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
}

TEST_F(BatchTest, FilesAddedDuringTheWalkRaiseTheTotal) {
    put("a.mxm", material("Alpha"));
    put("sub/b.mxm", material("Bravo"));
    BatchWatcher watcher([this](ProgressWindow&, int sight) {
        if (sight == 1)
            put("sub/c.mxm", material("Charlie"));
    });
    runBatch();

    ASSERT_EQ(counters(watcher.sights), (std::vector<std::string>{"1/2", "2/2", "3/3"}));
    EXPECT_EQ(watcher.sights.back().value, 3);
    EXPECT_EQ(watcher.sights.back().maximum, 3);
}

TEST_F(BatchTest, LinkBackUpTheTreeIsNotFollowed) {
    put("a.mxm", material("Alpha"));
    put("sub/b.mxm", material("Bravo"));
    std::filesystem::create_directory_symlink(volumes.pathOf("HD", "batch"),
                                              volumes.pathOf("HD", "batch/sub/loop"));
    BatchWatcher watcher;
    runBatch();

    EXPECT_EQ(counters(watcher.sights), (std::vector<std::string>{"1/2", "2/2"}));
}

TEST_F(BatchTest, ExceptionEndsTheRunClosesTheWindowAndKeepsTheLogSoFar) {
    put("a.mxm", material("Alpha"));
    // A stored preview far too large to be a picture: the reader refuses it.
    put("b.mxm", MaterialBytes().marker().string("Bravo").uint32(100000).uint32(100000).bytes());
    put("c.mxm", material("Charlie"));
    dialogs.expectMsgBox(
        "Attention: The application DOES NOT create backups. NEVER work on the original files.");
    dialogs.answerSelectFolder(volumes.item("HD", "batch"));
    dialogs.expectAnyMsgBox();
    EventGuard::run([this] { app->MenuOpenMXMFolder(); });

    EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));
    EXPECT_EQ(storedName("c.mxm"), "Charlie");
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
}

} // namespace
