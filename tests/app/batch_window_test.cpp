#include "AppTest.h"
#include "EventGuard.h"
#include "ProgressWindow.h"
#include "StartWindow.h"

#include "Fifo.h"
#include "Locked.h"

#include "AtomicWrite.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <stdio.h>
#include <sys/fsuid.h>
#include <unistd.h>

namespace {

// One file at a time (read, then written) and a paint for every file, so
// that each file is shown as soon as it is done, unless a test lets more
// run; no test's hold on the writes outlives it.
class BatchTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        settings.writesInFlight = 1;
        settings.readAhead = 0;
        settings.paintInterval = std::chrono::milliseconds(0);
    }
    // The batch window over HD:folder, with the test's settings.
    void runBatch(const std::string& folder = "batch") {
        new ProgressWindow(volumes.item("HD", folder), settings);
    }
    // How an entry ends, or is, for a file not written; the message at the
    // end of a run that left n files unwritten.
    static std::string notWritten(const std::string& why) { return " Not written: " + why + "."; }
    static std::string unopened(const std::string& file, const std::string& why) {
        return file + "  ::  " + notWritten("it could not be opened (" + why + ")");
    }
    static std::string notWrittenMessage(int n) {
        return std::to_string(n) + (n == 1 ? " file was" : " files were") +
               " not written. The log on the clipboard names them.";
    }
    static inline const std::string changed = notWritten("it was changed since it was read");
    static inline const std::string denied =
        ::geteuid() == 0 ? "Operation not permitted" : "Permission denied";

    BatchSettings settings;
};

// Also notes what the clipboard held when each message box came.
struct DialogsSeeingTheClipboard : ScriptedDialogs {
    void showMsgBox(const std::string& text) override {
        clipboards.push_back(Clipboard::Text());
        ScriptedDialogs::showMsgBox(text);
    }
    std::vector<std::string> clipboards;
};

// Looks at the batch window each time the run lets events through, and may
// act there as the user would: at a pump before the first file is done (the
// count runs then), or at a sight of a processed file.
struct BatchWatcher {
    BatchWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ProgressWindow* w = Window::find<ProgressWindow>();
            if (w && w->STCounter().Text().empty() && beforeFirstFile)
                beforeFirstFile(*w);
            if (!w || w->STCounter().Text().empty())
                return;
            const std::string sight = w->STInfo().Text() + " " + w->STCounter().Text();
            if (!shown.empty() && shown.back() == sight)
                return;
            EXPECT_EQ(w->STCounter().Text(), std::to_string(w->ProgressBar1().Value()) + "/" +
                                                 std::to_string(w->ProgressBar1().Maximum()));
            shown.push_back(sight);
            clipboards.push_back(Clipboard::Text());
            if (atSight && shown.size() == actAt)
                atSight(*w);
        });
        timer.start(0);
    }

    std::function<void(ProgressWindow&)> beforeFirstFile, atSight;
    size_t actAt = 1;
    QTimer timer;
    // "file counter", and the clipboard, at each sight; the bar agrees with
    // the counter.
    std::vector<std::string> shown, clipboards;
};

void stopOrClose(ProgressWindow& w, bool close) {
    close ? void(w.widget()->close()) : UiDriver::click(w.PushButton1());
}

// The start folder's files before its subfolders, each by name; hidden
// folders are walked, yet only visible files of the material type count.
// Painted at most once an hour, the window shows the first file, and the
// last state once the run is done, with the whole log on the clipboard.
TEST_F(BatchTest, BatchLogsEachMaterialFileAndPutsTheLogOnTheClipboard) {
    const std::pair<std::string, std::string> files[] = {{"a.mxm", ""},
                                                         {"b.mxm", "PNG and more bytes"},
                                                         {"c.mxm", material("Charlie")},
                                                         {".hidden/d.mxm", material("Delta")},
                                                         {"sub/e.mxm", material("Echo")},
                                                         {".x.mxm", "M"},
                                                         {"notes.txt", "M"},
                                                         {"c.mxm.bak", "M"},
                                                         {"noext", "M"}};
    const std::string b = "b.mxm  ::   Does not seem to be an MXM", c = okEntry("c.mxm", "Charlie"),
                      d = okEntry("d.mxm", "Delta"), e = okEntry("e.mxm", "Echo");
    for (const bool throttled : {false, true}) {
        SCOPED_TRACE(throttled);
        for (const auto& [name, bytes] : files)
            volumes.makeFile("HD", "batch/" + name, bytes == "M" ? material("Skipped") : bytes);
        settings.paintInterval = std::chrono::hours(throttled ? 1 : 0);
        BatchWatcher watcher;
        ProgressWindow* seen = nullptr;
        watcher.atSight = [&seen](ProgressWindow& w) { seen = &w; };
        runBatch();

        const std::vector<std::string> all{"a.mxm 1/5", "b.mxm 2/5", "c.mxm 3/5", "d.mxm 4/5",
                                           "e.mxm 5/5"};
        EXPECT_EQ(watcher.shown, throttled ? std::vector<std::string>{all[0]} : all);
        EXPECT_EQ(watcher.clipboards.back(), throttled ? "" : b + c + d + e);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->STInfo().Text() + " " + seen->STCounter().Text(), "e.mxm 5/5");
        EXPECT_EQ(Clipboard::Text(), b + c + d + e);
        for (int i : {0, 1})
            EXPECT_EQ(bytesOf("batch/" + files[i].first), files[i].second);
        UiDriver::deleteClosedWindows();
    }
}

// "Stop!" (or Escape, its key) or closing the window (by its close box or
// Ctrl+W) after the second file ends the run there, in the middle of a
// folder: no later file is written, the counter stays, and the clipboard
// ends with the second entry. A damaged third file ends the run as well, its
// exception going to the framework's handler once the writes still in
// flight have ended and been logged. Each way the window goes, and a closed
// window is not touched again.
TEST_F(BatchTest, BatchStopCloseOrDamagedFileEndsTheRun) {
    enum How { Stop, Escape, Close, CloseKey, Damaged };
    for (How how : {Stop, Escape, Close, CloseKey, Damaged}) {
        SCOPED_TRACE(how);
        settings.writesInFlight = how == Damaged ? 3 : 1;
        std::vector<std::string> files = makeBatch(4);
        if (how == Damaged)
            volumes.makeFile("HD", mPath(3), files[2] = damaged());
        volumes.makeFile("HD", "batch/sub/s.mxm", material("Sub"));
        Clipboard::setText("");
        ProgressWindow* seen = nullptr;
        BatchWatcher watcher;
        watcher.actAt = 2;
        watcher.atSight = [&](ProgressWindow& w) {
            seen = &w;
            if (how == Escape)
                UiDriver::pressKey(*w.widget(), Qt::Key_Escape);
            else if (how == CloseKey)
                UiDriver::pressKey(*w.widget(), Qt::Key_W, Qt::ControlModifier);
            else if (how != Damaged)
                stopOrClose(w, how == Close);
        };
        if (how == Damaged)
            dialogs.expectAnyMsgBox();
        std::string counter; // read while the guard keeps a closed window
        EventGuard::run([&] {
            runBatch(); // a damaged file throws
            counter = seen->STCounter().Text();
        });
        EXPECT_EQ(counter, how == Damaged ? "" : "2/5");
        UiDriver::deleteClosedWindows();
        EXPECT_EQ(Clipboard::Text(), mEntry(1) + mEntry(2));
        EXPECT_TRUE(bytesOf(mPath(3)) == files[2] && bytesOf(mPath(4)) == files[3] &&
                    bytesOf("batch/sub/s.mxm") == material("Sub"))
            << "a later file was written";
        EXPECT_EQ(Window::find<ProgressWindow>(), nullptr);
    }
}

// The window is up, saying "Searching MXM Files", before the count starts;
// the count shows the busy cursor and lets events through as it goes:
// "Stop!" or closing the window then ends the run before any file is
// touched. Links to the kernel's own file systems cost nothing.
TEST_F(BatchTest, BatchCountShowsItsWindowAndCanBeStopped) {
    settings.pumpInterval = std::chrono::milliseconds(0);
    const std::string alpha = material("Alpha");
    for (const char* kernel : {"proc", "sys"})
        std::filesystem::create_directory_symlink(std::string("/") + kernel,
                                                  volumes.makeFolder("HD", "batch") + "/" + kernel);
    enum How { Stop, Close, Neither };
    for (How how : {Stop, Close, Neither}) {
        SCOPED_TRACE(how);
        volumes.makeFile("HD", "batch/a.mxm", alpha);
        volumes.makeFile("HD", "batch/sub/b.mxm", material("Bravo"));
        Clipboard::setText("before the run");
        BatchWatcher watcher;
        int pumps = 0, drawn = 0;
        bool busy = false;
        watcher.beforeFirstFile = [&](ProgressWindow& w) {
            drawn += w.widget()->isVisible() && w.STInfo().Text() == "Searching MXM Files";
            // The fourth pump comes while the count lists the start folder.
            if (++pumps == 4)
                busy = QApplication::overrideCursor();
            if (pumps == 4 && how != Neither)
                stopOrClose(w, how == Close);
        };
        EventGuard::run([&] { runBatch(); });
        UiDriver::deleteClosedWindows();
        EXPECT_GE(pumps, 4);
        EXPECT_EQ(drawn, pumps);
        EXPECT_TRUE(busy && !QApplication::overrideCursor());
        EXPECT_EQ(watcher.shown.size(), how == Neither ? 2u : 0u);
        EXPECT_EQ(Clipboard::Text() == "before the run", how != Neither);
        EXPECT_EQ(bytesOf("batch/a.mxm") == alpha, how != Neither);
    }
}

// A tree without materials leaves the clipboard alone; a link back up the
// tree is not followed. Files that appear during the run: a material raises
// the total; a picture is found by a check run meanwhile (as an editor's
// would) and by one after the run, yet not by the run's own checks, which
// share what the run listed before.
TEST_F(BatchTest, BatchCopesWithAnEmptyOrChangingTreeAndALinkLoop) {
    volumes.makeFile("HD", "batch/sub/readme.txt", "text");
    std::filesystem::create_directory_symlink(volumes.pathOf("HD", "batch"),
                                              volumes.pathOf("HD", "batch/sub/loop"));
    Clipboard::setText("before the run");
    BatchWatcher watcher;
    runBatch();
    EXPECT_EQ(Clipboard::Text(), "before the run");

    volumes.makeFile("HD", "batch/a.mxm", material("Alpha", "/old/new.jpg"));
    volumes.makeFile("HD", "batch/sub/b.mxm", material("Bravo", "/old/new.jpg"));
    const auto check = [this] {
        int32_t status = 0;
        return read("batch/sub/b.mxm")->ResetPaths(status);
    };
    std::string meanwhile;
    watcher.atSight = [&](ProgressWindow&) { // a.mxm's check has listed the tree
        volumes.makeFile("HD", "batch/sub/c.mxm", material("Charlie"));
        volumes.makeFile("HD", "batch/sub/new.jpg");
        meanwhile = check();
    };
    runBatch();
    EXPECT_EQ(watcher.shown, (std::vector<std::string>{"a.mxm 1/2", "b.mxm 2/2", "c.mxm 3/3"}));
    const std::string moved = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - Path changed, o.k. ] \r",
                      missing = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - not found, critical ] \r";
    EXPECT_EQ(meanwhile, moved);
    EXPECT_EQ(Clipboard::Text(), "a.mxm  ::   Alpha: " + missing + "Status 3 ***" +
                                     "b.mxm  ::   Bravo: " + missing + "Status 3 ***" +
                                     okEntry("c.mxm", "Charlie"));
    EXPECT_EQ(check(), moved);
}

// A folder reached through many links is entered once, at its first reach,
// and a file reached by a link or a second name is handled once: each
// material is counted, checked, logged and written once, under the name it
// was first reached by. A material that cannot be opened (a dangling link,
// a FIFO, a locked file) is counted and logged with the reason, and the run
// ends saying how many files were not written. A folder that cannot be
// opened is logged with the reason where its files would have come; the
// run's files belong to nobody, and the run goes as nobody (the thread's
// file system user), so that root meets the refusal too.
TEST_F(BatchTest, BatchHandlesEachFolderAndFileOnce) {
    for (int i = 0; i <= 4; ++i)
        volumes.makeFolder("HD", "batch/L" + std::to_string(i));
    for (int i = 0; i < 4; ++i)
        for (const char* link : {"l", "r"})
            std::filesystem::create_directory_symlink(
                "../L" + std::to_string(i + 1),
                volumes.pathOf("HD", "batch/L" + std::to_string(i) + "/" + link));
    std::filesystem::create_hard_link(volumes.makeFile("HD", "batch/L4/m.mxm", material("Mike")),
                                      volumes.pathOf("HD", "batch/L0/h.mxm"));
    volumes.makeFile("HD", "batch/L3/n.mxm", material("November"));
    std::filesystem::create_symlink("../L3/n.mxm", volumes.pathOf("HD", "batch/L0/s.mxm"));
    std::filesystem::create_symlink("gone", volumes.pathOf("HD", "batch/L4/d.mxm"));
    ASSERT_TRUE(makeFifo(volumes.pathOf("HD", "batch/L4/f.mxm")));
    const Locked locked(volumes.makeFile("HD", "batch/L4/k.mxm", material("Kilo")));
    volumes.makeFile("HD", "batch/L4/x/shut.mxm", material("Xray"));
    for (const auto& item : std::filesystem::recursive_directory_iterator(volumes.pathOf("HD", "")))
        ::lchown(item.path().c_str(), 65534, 65534);
    std::filesystem::permissions(volumes.pathOf("HD", "batch/L4/x"), {});
    std::filesystem::permissions(std::filesystem::path(volumes.root("HD")).parent_path(),
                                 std::filesystem::perms(0755));
    dialogs.expectMsgBox(notWrittenMessage(3));
    BatchWatcher watcher;
    const uid_t fsuid = ::setfsuid(65534);
    runBatch();
    ::setfsuid(fsuid);
    EXPECT_EQ(watcher.shown, (std::vector<std::string>{"h.mxm 1/5", "s.mxm 2/5", "d.mxm 3/5",
                                                       "f.mxm 4/5", "k.mxm 5/5", "x/ 5/5"}));
    EXPECT_EQ(Clipboard::Text(), okEntry("h.mxm", "Mike") + okEntry("s.mxm", "November") +
                                     unopened("d.mxm", "No such file or directory") +
                                     unopened("f.mxm", "it is not a regular file") +
                                     unopened("k.mxm", denied) +
                                     unopened("x/", "Permission denied"));
    std::filesystem::permissions(volumes.pathOf("HD", "batch/L4/x"), std::filesystem::perms(0755));
}

// Nothing outside the chosen folder is written, whichever link leads there:
// a link to a folder outside is not entered, one to a material outside is
// not counted, and a file that has become such a link by the time of its
// write is read and logged but left alone. The chosen folder itself may be
// reached through a link.
TEST_F(BatchTest, BatchWritesNothingOutsideTheChosenFolder) {
    const std::string victim = material("Victim");
    volumes.makeFile("HD", "outside/victim.mxm", victim);
    volumes.makeFile("HD", "tree/own.mxm", material("Own"));
    std::filesystem::create_directory_symlink("../outside", volumes.pathOf("HD", "tree/shared"));
    std::filesystem::create_symlink("../outside/victim.mxm", volumes.pathOf("HD", "tree/v.mxm"));
    std::filesystem::create_directory_symlink("tree", volumes.pathOf("HD", "chosen"));
    BatchWatcher watcher;
    runBatch("chosen");
    EXPECT_EQ(watcher.shown, std::vector<std::string>{"own.mxm 1/1"});
    EXPECT_EQ(Clipboard::Text(), okEntry("own.mxm", "Own"));
    EXPECT_EQ(read("tree/own.mxm")->getMaterialName(), "own");
    EXPECT_TRUE(volumes.folder().readFile("HD/outside/victim.mxm") == victim);

    // Turned into such a link after it was read, as its write begins; and
    // saved by another program meanwhile: neither is written, both are
    // logged as changed, and the other save stays.
    const std::string turned = volumes.pathOf("HD", "tree/own.mxm"), saved = material("Saved");
    volumes.makeFile("HD", "tree/saved.mxm", material("Old"));
    settings.beforeEachWrite = [&](const std::string& path) {
        if (path.ends_with("/saved.mxm")) {
            EXPECT_TRUE(replaceFileContent(path, saved).ok());
        } else {
            std::filesystem::remove(turned);
            std::filesystem::create_symlink("../outside/victim.mxm", turned);
        }
        return std::nullopt;
    };
    dialogs.expectMsgBox(notWrittenMessage(2));
    runBatch("chosen");
    EXPECT_EQ(Clipboard::Text(),
              okEntry("own.mxm", "own") + changed + okEntry("saved.mxm", "Old") + changed);
    EXPECT_TRUE(volumes.folder().readFile("HD/outside/victim.mxm") == victim);
    EXPECT_TRUE(bytesOf("tree/saved.mxm") == saved);
}

// A swapper exchanges, over and over while the batch runs, a folder of the
// tree with a link to a folder outside, and each material of another folder
// with a link to a material outside: nothing outside is ever written.
TEST_F(BatchTest, BatchWritesNothingOutsideWhileTheTreeIsSwapped) {
    settings.writesInFlight = WriteQueue::DefaultMaxInFlight;
    const std::string victim = material("Victim");
    const int n = 200;
    std::vector<std::pair<std::string, std::string>> swaps{
        {volumes.makeFolder("HD", "tree/sub"), volumes.pathOf("HD", "tree/x")}};
    std::filesystem::create_directory_symlink("../outside", swaps[0].second);
    for (int i = 0; i < n; ++i) {
        const std::string name = "m" + std::to_string(i) + ".mxm";
        volumes.makeFile("HD", "tree/sub/" + name, material("Sub"));
        volumes.makeFile("HD", "outside/" + name, victim);
        swaps.emplace_back(volumes.makeFile("HD", "tree/files/" + name, material("File")),
                           volumes.pathOf("HD", "tree/files/.l" + name));
        std::filesystem::create_symlink("../../outside/" + name, swaps.back().second);
    }
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        while (!done)
            for (const auto& [a, b] : swaps)
                ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE);
    });
    dialogs.allowUnusedSteps();
    for (int round = 0; round < 3; ++round) {
        dialogs.expectAnyMsgBox();
        runBatch("tree");
    }
    done = true;
    swapper.join();
    int written = 0;
    for (int i = 0; i < n; ++i)
        written += bytesOf("outside/m" + std::to_string(i) + ".mxm") != victim;
    EXPECT_EQ(written, 0) << "outside files written";
}

// A tree deeper than the system takes paths for is walked, and its deepest
// material is processed and logged. The time bound only catches a walk gone
// astray, even under the sanitizers on a loaded machine; bench/ measures the
// walk's pace.
TEST_F(BatchTest, BatchWalksATreeDeeperThanAPath) {
    const std::string top = volumes.makeFolder("HD", "batch/deep");
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int depth = 0; depth < 3000; ++depth) {
        ::mkdirat(fd, "level", 0755);
        const int next = ::openat(fd, "level", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(std::exchange(fd, next));
    }
    const std::string bytes = material("Deep");
    const int file = ::openat(fd, "deepest.mxm", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(::write(file, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(file);
    ::close(fd);
    const auto start = std::chrono::steady_clock::now();
    runBatch();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(Clipboard::Text(), okEntry("deepest.mxm", "Deep"));
    EXPECT_EQ(std::system(("rm -rf '" + top + "'").c_str()), 0);
}

// With several writes in flight, finishing in any order (here the later
// ones first), the files are still shown and logged in walk order, each
// sight's clipboard holding exactly the files counted; a write that fails
// in the middle says so before its entry, after the earlier files', and
// the run goes on.
TEST_F(BatchTest, BatchWithWritesInFlightShowsFilesAndFailuresInWalkOrder) {
    settings.writesInFlight = 8;
    // The third file is locked once read, as its write begins.
    std::atomic<int> started{0};
    std::unique_ptr<Locked> locked;
    settings.beforeEachWrite = [&](const std::string& path) -> std::optional<WriteResult> {
        if (path.ends_with("/m3.mxm"))
            locked = std::make_unique<Locked>(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * (6 - ++started)));
        return std::nullopt;
    };
    const std::string kept = makeBatch(6)[2];
    DialogsSeeingTheClipboard seeing;
    seeing.expectMsgBox(
        "Can't write file... Probably file is opened in another application!\n\n\"" +
        volumes.pathOf("HD", mPath(3)) + "\": " + denied + ".");
    seeing.expectMsgBox(notWrittenMessage(1));
    BatchWatcher watcher;
    runBatch();

    const auto logOfFirst = [](size_t k) {
        std::string log;
        for (size_t i = 1; i <= k; ++i)
            log += mEntry(int(i)) + (i == 3 ? notWritten(denied) : "");
        return log;
    };
    EXPECT_EQ(seeing.clipboards, (std::vector<std::string>{logOfFirst(2), logOfFirst(6)}));
    ASSERT_FALSE(watcher.shown.empty());
    EXPECT_EQ(watcher.shown.back(), "m6.mxm 6/6");
    for (size_t i = 0; i < watcher.shown.size(); ++i) {
        const size_t k = std::stoul(watcher.shown[i].substr(1));
        EXPECT_EQ(watcher.shown[i], mPath(int(k)).substr(6) + " " + std::to_string(k) + "/6");
        EXPECT_EQ(watcher.clipboards[i], logOfFirst(k)) << k;
    }
    EXPECT_EQ(Clipboard::Text(), logOfFirst(6));
    EXPECT_TRUE(bytesOf(mPath(3)) == kept);
    locked.reset();
    // Written back although nothing needed changing: the writer stores the
    // file's name as the material name.
    EXPECT_EQ(read(mPath(6))->getMaterialName(), "m6");
}

// Writes in flight hold a bounded number of bytes: with a bound below one
// file, each write goes alone. A write that fails for want of room, as a
// nearly full disk fails all but one of them, is tried again alone once the
// others have ended, and succeeds.
TEST_F(BatchTest, BatchBoundsTheBytesInFlightAndRetriesAFullDiskAlone) {
    settings.writesInFlight = 8;
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full);
        settings.bytesInFlight = full ? size_t{1} << 30 : 1;
        std::atomic<int> active{0}, most{0};
        // Each write waits a while for another to join it.
        settings.beforeEachWrite = [&](const std::string&) -> std::optional<WriteResult> {
            ++active;
            for (int waited = 0; active < 2 && waited < 50; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const int crowd = active--;
            most = std::max(most.load(), crowd);
            if (full && crowd > 1)
                return WriteResult::failed(ENOSPC);
            return std::nullopt;
        };
        makeBatch(6);
        runBatch();
        EXPECT_EQ(most > 1, full);
        EXPECT_EQ(read(mPath(6))->getMaterialName(), "m6");
    }
}

// One batch at a time: during a run, the start window's folder button and
// Ctrl+O in the batch window say that a batch is running and start none.
// Ctrl+Q during a run stops it; the writes held in flight end and a failed
// one is shown before any window closes; then the program quits.
TEST_F(BatchTest, BatchRunsAloneAndQuitWaitsForItsWrites) {
    BatchSettings& batch = app->batchSettings;
    batch.writesInFlight = 3;
    batch.pumpInterval = std::chrono::milliseconds(0);
    std::atomic<bool> quitAsked{false};
    std::atomic<int> held{0};
    batch.beforeEachWrite = [&](const std::string& path) -> std::optional<WriteResult> {
        ++held;
        for (int waited = 0; !quitAsked && waited < 5000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return path.ends_with("/m2.mxm") ? std::optional(WriteResult::failed(EIO)) : std::nullopt;
    };
    const std::string fourth = makeBatch(4)[3],
                      running = "A batch is running. Stop it or let it end before you start "
                                "another one.";
    struct : ScriptedDialogs {
        void showMsgBox(const std::string& text) override {
            startOpen.push_back(Window::find<StartWindow>() != nullptr);
            ScriptedDialogs::showMsgBox(text);
        }
        std::vector<bool> startOpen;
    } watching;
    watching.expectAnyMsgBox()
        .answerSelectFolder(volumes.item("HD", "batch"))
        .expectMsgBox(running)
        .expectMsgBox(running)
        .expectMsgBox("Can't write file... Probably file is opened in another application!\n\n\"" +
                      volumes.pathOf("HD", mPath(2)) + "\": Input/output error.")
        .expectMsgBox(notWrittenMessage(1));
    BatchWatcher watcher;
    watcher.beforeFirstFile = [&](ProgressWindow& w) {
        if (held < 3 || quitAsked)
            return;
        UiDriver::click(StartWindow::instance().PBOpenFolder());
        UiDriver::pressKey(*w.widget(), Qt::Key_O, Qt::ControlModifier);
        UiDriver::pressKey(*w.widget(), Qt::Key_Q, Qt::ControlModifier);
        quitAsked = true;
    };
    UiDriver::click(StartWindow::instance().PBOpenFolder());
    UiDriver::deleteClosedWindows();
    EXPECT_EQ(watching.startOpen, std::vector<bool>(5, true));
    EXPECT_TRUE(Window::openWindows().empty());
    EXPECT_EQ(Clipboard::Text(),
              mEntry(1) + mEntry(2) + notWritten("Input/output error") + mEntry(3));
    EXPECT_TRUE(bytesOf(mPath(4)) == fourth);
}

// "Stop!" while three writes are held in flight: no further file is opened
// (the next one is damaged: reading it would end the run with an error);
// the first write is let go at once, the other two once the first file is
// shown, so that they are still in flight when the walk ends. All three
// end, are written and logged, and the counter counts them.
TEST_F(BatchTest, BatchStoppedWithWritesInFlightFinishesAndLogsThem) {
    settings.pumpInterval = std::chrono::milliseconds(0);
    settings.writesInFlight = 3;
    std::atomic<int> held{0};
    std::atomic<bool> first{false}, rest{false};
    settings.beforeEachWrite = [&](const std::string& path) -> std::optional<WriteResult> {
        ++held;
        const std::atomic<bool>& released = path.ends_with("/m1.mxm") ? first : rest;
        for (int waited = 0; !released && waited < 5000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::nullopt;
    };
    makeBatch(3);
    const std::string damagedBytes = damaged(), later = material("M5");
    volumes.makeFile("HD", mPath(4), damagedBytes);
    volumes.makeFile("HD", "batch/sub/m5.mxm", later);
    BatchWatcher watcher;
    watcher.beforeFirstFile = [&](ProgressWindow& w) {
        if (held == 3 && !first) {
            UiDriver::click(w.PushButton1());
            first = true;
        }
    };
    watcher.atSight = [&rest](ProgressWindow&) { rest = true; };
    runBatch();

    EXPECT_TRUE(rest);
    ASSERT_FALSE(watcher.shown.empty());
    EXPECT_EQ(watcher.shown.back(), "m3.mxm 3/5");
    EXPECT_EQ(Clipboard::Text(), mEntry(1) + mEntry(2) + mEntry(3));
    EXPECT_EQ(read(mPath(3))->getMaterialName(), "m3");
    EXPECT_TRUE(bytesOf(mPath(4)) == damagedBytes && bytesOf("batch/sub/m5.mxm") == later);
}

// Files read and checked ahead on worker threads, with many writes in
// flight, are logged and written exactly as one file at a time would: the
// test corpus's files and materials whose paths are found in a default
// location or nowhere, more of them than are read ahead. A file the reader
// refuses ends both runs at the same place, the last folder.
TEST_F(BatchTest, BatchReadingAheadLogsAndWritesAsOneFileAtATime) {
    for (const char* found : {"lib/glass.ior", "lib/sky.r2"})
        volumes.makeFile("HD", found);
    app->AddDefaultLocationForSearch(volumes.item("HD", "lib"));
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& seed : std::filesystem::directory_iterator(MXM_TEST_CORPUS)) {
        const std::string name = seed.path().stem().string() + ".mxm",
                          bytes =
                              (std::ostringstream() << std::ifstream(seed.path()).rdbuf()).str();
        volumes.makeFile("HD", "probe/" + name, bytes);
        bool refused = false;
        try {
            read("probe/" + name);
        } catch (const std::exception&) {
            refused = true;
        }
        for (const char* folder : {"a/", "b/", "b/c/"})
            if (!refused || folder[0] == 'a')
                files.push_back({(refused ? "z/" : folder) + name, bytes});
    }
    for (int i = 0; i < 24; ++i) {
        const std::string texture = "x" + std::to_string(i) + ".jpg";
        if (i % 3 != 0)
            volumes.makeFile("HD", "lib/" + texture);
        files.push_back({"m/m" + std::to_string(i) + ".mxm", material("M", "/old/" + texture)});
    }
    std::string logs[2];
    for (const bool ahead : {false, true}) {
        const std::string run = ahead ? "ahead/" : "single/";
        for (const auto& [name, bytes] : files)
            volumes.makeFile("HD", run + name, bytes);
        if (ahead)
            settings = BatchSettings{};
        dialogs.expectAnyMsgBox();
        EventGuard::run([&] { runBatch(run); });
        UiDriver::deleteClosedWindows();
        logs[ahead] = Clipboard::Text();
    }
    EXPECT_EQ(logs[1], logs[0]);
    for (const char* seen : {"Path changed", "m23.mxm  ::   ", "was found at another location"})
        EXPECT_NE(logs[0].find(seen), std::string::npos) << seen;
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(bytesOf("ahead/" + name) == bytesOf("single/" + name)) << name;
}

} // namespace
