#include "AppTest.h"
#include "DefaultLocationsWindow.h"
#include "LocationsFile.h"
#include "LocationsStore.h"
#include "RealDialogs.h"
#include "SearchLocations.h"
#include "StartWindow.h"
#include "Volumes.h"
#include "WindowMXM.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <filesystem>

#include <sys/stat.h>

namespace {

class LocationsTest : public AppTest {
  protected:
    // The list, after the folders HD:name are added to it.
    std::vector<std::string>& addFolders(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            volumes.makeFolder("HD", name);
            app->AddDefaultLocationForSearch(volumes.item("HD", name));
        }
        return app->DefaultLocations;
    }
    static void deleteRows(DefaultLocationsWindow& editor, const std::vector<int>& rows,
                           int key = Qt::Key_Delete) {
        for (int row : rows)
            editor.LBFolderitems().setSelected(row, true);
        UiDriver::pressKey(editor.LBFolderitems(), key);
    }
    // The editor's rows, which must name the list's entries one by one.
    std::vector<std::string> rows(const DefaultLocationsWindow& editor) const {
        std::vector<std::string> texts;
        for (int row = 0; row < editor.LBFolderitems().ListCount(); ++row)
            texts.push_back(editor.LBFolderitems().Cell(row));
        EXPECT_EQ(texts, entries());
        return texts;
    }
    // The row as it shows, its mark included.
    static std::string shown(const DefaultLocationsWindow& editor, int row) {
        return static_cast<QListWidget*>(editor.LBFolderitems().widget())
            ->item(row)
            ->text()
            .toStdString();
    }
    const std::vector<std::string>& entries() const { return app->DefaultLocations; }
    std::string preferencesText() const {
        return volumes.folder().readFile("prefs/LumitracePaths.pref");
    }
};

// Delete (key code 127) and Backspace (8) alike remove the selected rows;
// "+" adds the chosen folder, twice when chosen twice. Every open editor
// shows each change, and each saves the whole list when it closes.
TEST_F(LocationsTest, EditorsStayInStepAndSaveTheListWhenTheyClose) {
    auto* first = new DefaultLocationsWindow(addFolders({"f0", "f1", "f2", "f3"}));
    auto* second = new DefaultLocationsWindow(app->DefaultLocations);
    deleteRows(*first, {1, 2});
    EXPECT_EQ(rows(*second), (std::vector<std::string>{"HD:f0", "HD:f3"}));
    const Ref<FolderItem> tex = volumes.item("HD", "tex");
    dialogs.answerSelectFolder(nullptr).answerSelectFolder(tex).answerSelectFolder(tex);
    for (int i = 0; i < 3; ++i)
        UiDriver::click(second->PBAdd());
    EXPECT_EQ(rows(*first), (std::vector<std::string>{"HD:f0", "HD:f3", "HD:tex", "HD:tex"}));
    EXPECT_EQ(rows(*second), rows(*first));

    first->Close();
    EXPECT_EQ(preferencesText(), "HD:f0\nHD:f3\nHD:tex\nHD:tex\n");
    UiDriver::deleteClosedWindows(); // a gone editor is no longer kept in step
    deleteRows(*second, {0, 1, 2, 3}, Qt::Key_Backspace);
    EXPECT_TRUE(rows(*second).empty());
    second->widget()->close(); // the close box
    EXPECT_EQ(preferencesText(), "");
}

// Ctrl+W closes any window with the steps of its close box, and so does
// Escape in a window without a cancel button or a text field: a changed
// editor asks its question once, the locations editor saves the list.
TEST_F(LocationsTest, CloseKeysCloseEveryWindowAsItsCloseBox) {
    const std::string path = volumes.makeFile("HD", "m/oak.mxm", material("Oak"));
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape);
        const auto closeKey = [escape](Window& window) {
            UiDriver::pressKey(*window.widget(), escape ? Qt::Key_Escape : Qt::Key_W,
                               escape ? Qt::NoModifier : Qt::ControlModifier);
        };
        app->OpenDocument(makeRef<FolderItem>(path));
        auto& material = dynamic_cast<WindowMXM&>(*newest());
        material.dirty = true;
        dialogs.answerMessageDialog(MessageDialogChoice::Cancel)
            .answerMessageDialog(MessageDialogChoice::AlternateAction);
        closeKey(material);
        EXPECT_FALSE(material.IsClosed());
        closeKey(material);
        EXPECT_TRUE(material.IsClosed());

        auto* locations = new DefaultLocationsWindow(addFolders({"f0"}));
        closeKey(*locations);
        EXPECT_TRUE(locations->IsClosed());
        EXPECT_EQ(preferencesText(), LocationsFile::format(entries()));

        StartWindow& start = StartWindow::instance();
        closeKey(start);
        EXPECT_TRUE(start.IsClosed());
        UiDriver::deleteClosedWindows();
    }
}

// The file is UTF-8 text, yet folder names with any bytes read back; a
// preferences folder that cannot be made is like a missing file.
TEST_F(LocationsTest, ListReadsBackWhateverTheNames) {
    addFolders({"new\nline", "cr\r", "100%41", "caf\xE9", "caf\xC3\xA9", "\xD0\xB6", "a:b",
                "tab\there", "half\xC3", "a:b"});
    const std::vector<std::string> saved = entries();
    ASSERT_TRUE(app->SaveDefaultLocations().ok());
    app->ResetDefaultLocations();
    app->LoadDefaultLocations();
    EXPECT_EQ(entries(), saved);
    for (const std::string& path : saved)
        EXPECT_TRUE(App::LocationFolder(path)) << path;

    Volumes::setPreferencesRoot(volumes.folder().makeFile("blocker") + "/prefs");
    app->LoadDefaultLocations();
    EXPECT_EQ(entries(), saved);
}

// A path stands in its line as it is, "%" included; only a path that cannot
// be a line of UTF-8 text is escaped, behind a ":" that no path begins with.
TEST(LocationsFile, PathsStandAsTheyAreUnlessTheyCannotBeALine) {
    const std::pair<std::string, std::string> cases[] = {
        {"HD:100%41", "HD:100%41"},
        {"HD:caf\xC3\xA9 50%", "HD:caf\xC3\xA9 50%"},
        {"HD:new\nline", ":HD:new%0Aline"},
        {"HD:cr\r", ":HD:cr%0D"},
        {"HD:caf\xE9 100%41", ":HD:caf%E9 100%2541"},
        {":x", "::x"},
    };
    for (const auto& [path, line] : cases) {
        EXPECT_EQ(LocationsFile::format({path}), line + "\n");
        EXPECT_EQ(LocationsFile::parse(line + "\r\n"), std::vector<std::string>{path});
    }
}

// A location whose folder is missing stays in the list and in the file,
// marked in the editor and skipped by the search until it is back; only what
// the user removes goes, and an unchanged list is not written.
TEST_F(LocationsTest, MissingLocationsStayUntilTheUserRemovesThem) {
    volumes.makeFolder("HD", "f0");
    volumes.folder().makeFolder("prefs/LumitracePaths.pref.bak");
    volumes.folder().makeFile("prefs/LumitracePaths.pref", "HD:f0\nHD:gone\n\nShare:x\n");
    app->LoadDefaultLocations();
    EXPECT_EQ(entries(), (std::vector<std::string>{"HD:f0", "HD:gone", "Share:x"}));
    const auto searched = [] { return SearchLocations::currentSearchLocations().size(); };
    EXPECT_EQ(searched(), 1u);
    auto* editor = new DefaultLocationsWindow(app->DefaultLocations);
    EXPECT_EQ(shown(*editor, 0) + shown(*editor, 1) + shown(*editor, 2),
              "HD:f0HD:gone (missing)Share:x (missing)");
    volumes.makeFolder("HD", "gone");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(editor->widget(), &activate);
    EXPECT_EQ(shown(*editor, 1), "HD:gone");
    EXPECT_EQ(searched(), 2u);

    const std::string file = volumes.folder().pathOf("prefs/LumitracePaths.pref");
    const std::optional<FileIdentity> unchanged = identityAt(file);
    editor->Close();
    EXPECT_EQ(identityAt(file), unchanged);
    editor = new DefaultLocationsWindow(app->DefaultLocations);
    deleteRows(*editor, {0});
    editor->Close();
    EXPECT_EQ(preferencesText(), "HD:gone\nShare:x\n");
    Window::DiscardAll();
    app.reset();
    EXPECT_TRUE(SearchLocations::currentSearchLocations().empty());
}

// Two running copies of the program: each one's additions and removals are
// made to what the other saved meanwhile, so neither loses its changes.
TEST(LocationsStore, TwoCopiesKeepEachOthersChanges) {
    const TempFolder temp;
    const Ref<FolderItem> file = temp.item("LumitracePaths.pref");
    temp.makeFile("LumitracePaths.pref", "A\nB\nC\n");
    std::vector<std::string> first, second;
    LocationsStore one(first), two(second);
    one.load(file);
    two.load(file);
    first = {"B", "C", "D", "D"};
    second = {"A", "B", "E"};
    ASSERT_TRUE(one.save(file).ok());
    ASSERT_TRUE(two.save(file).ok());
    EXPECT_EQ(temp.readFile("LumitracePaths.pref"), "B\nD\nD\nE\n");
    EXPECT_EQ(second, (std::vector<std::string>{"B", "D", "D", "E"}));
}

// Closing an editor when the file cannot be written tells the user which
// file and why, who would otherwise find the list gone at the next start.
TEST_F(LocationsTest, EditorSaysWhenItCannotSaveTheList) {
    volumes.folder().makeFolder("prefs/LumitracePaths.pref/in the way");
    const std::string blocked = volumes.folder().makeFile("blocker") + "/prefs";
    const std::pair<std::string, std::string> cases[] = {
        {volumes.preferencesRoot(),
         volumes.preferencesRoot() + "/LumitracePaths.pref\": Is a directory"},
        {blocked, blocked + "/LumitracePaths.pref\": Not a directory"}};
    for (const auto& [root, shown] : cases) {
        Volumes::setPreferencesRoot(root);
        dialogs.expectMsgBox("The list of default locations could not be saved to \"" + shown +
                             ".");
        (new DefaultLocationsWindow(addFolders({"f0"})))->Close();
    }
}

// Records how many search locations the application holds whenever a
// message is shown, to tell what the start-up had done by then.
struct WatchingDialogs : ScriptedDialogs {
    void showMsgBox(const std::string& text) override {
        locationsAtMessage.push_back(App::instance().DefaultLocations.size());
        ScriptedDialogs::showMsgBox(text);
    }
    std::vector<size_t> locationsAtMessage;
};

// Documents from the command line wait for the Open event, which loads the
// list, and then open in order; those that are no material or cannot be read
// leave no editor behind, and each but the empty file says why.
TEST_F(AppTest, StartupLoadsTheListBeforeTheDocumentsInOrder) {
    volumes.folder().makeFile("prefs/LumitracePaths.pref", "HD:tex\n");
    const std::string fifo = volumes.pathOf("HD", "pipe.mxm"),
                      dangling = volumes.pathOf("HD", "link.mxm");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_symlink(volumes.pathOf("HD", "gone.mxm"), dangling);
    const std::vector<std::string> documents{volumes.makeFile("HD", "leaf.png", "\x89PNG data"),
                                             volumes.makeFile("HD", "b.mxm", material("Bravo")),
                                             volumes.makeFile("HD", "bad.mxm", damaged()),
                                             volumes.pathOf("HD", "none.mxm"),
                                             volumes.makeFolder("HD", "folder.mxm"),
                                             dangling,
                                             fifo,
                                             volumes.makeFile("HD", "empty.mxm"),
                                             volumes.makeFile("HD", "a.mxm", material("Alpha"))};
    const auto unreadable = [](const std::string& path, const std::string& why) {
        return "The file \"" + path + "\" could not be opened: " + why + ".";
    };
    WatchingDialogs watching;
    watching.expectMsgBox("leaf.png doesn't seem to be an MXM file!")
        .expectAnyMsgBox()
        .expectMsgBox(unreadable(documents[3], "it does not exist"))
        .expectMsgBox(unreadable(documents[4], "it is a folder"))
        .expectMsgBox(unreadable(dangling, "it is a link to a file that does not exist"))
        .expectMsgBox(unreadable(fifo, "it is not a regular file"));
    Startup::end(std::move(app));
    app = Startup::begin(documents);
    app->Start();
    EXPECT_EQ(watching.locationsAtMessage, std::vector<size_t>(6, 1));
    // A damaged file is no fault of the program: only what is wrong with it.
    EXPECT_EQ(watching.msgBoxes().at(1).rfind("The material file \"bad.mxm\" is damaged", 0), 0u);
    ASSERT_EQ(Window::openWindows().size(), 3u); // the start window first
    EXPECT_EQ(Window::openWindows()[1]->Title(), "Bravo");
    EXPECT_EQ(newest()->Title(), "Alpha");
}

TEST_F(AppTest, EachStartWindowButtonDoesWhatItsMenuItemDoes) {
    StartWindow& start = StartWindow::instance();
    for (bool viaMenu : {false, true}) {
        SCOPED_TRACE(viaMenu);
        const auto command = [&](const std::string& item, PushButton& button) {
            EXPECT_TRUE(viaMenu ? app->HandleMenuCommand(item) : (UiDriver::click(button), true));
        };
        const size_t windows = Window::openWindows().size();
        const std::string alpha = viaMenu ? "m/alpha2.mxm" : "m/alpha.mxm"; // one editor a file
        volumes.makeFile("HD", alpha, material("Alpha"));
        dialogs.answerOpenFile(nullptr).answerOpenFile(volumes.item("HD", alpha));
        command("FileOpen", start.PBSingleOpen());
        command("FileOpen", start.PBSingleOpen());
        EXPECT_TRUE(Window::openWindows().size() == windows + 1 && newest()->Title() == "Alpha");
        EXPECT_EQ(dialogs.shown().back().filter, "Maxwell Material");

        volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
        Clipboard::setText("before");
        for (const Ref<FolderItem>& folder : {Ref<FolderItem>(), volumes.item("HD", "batch")})
            dialogs
                .expectMsgBox("Attention: The application DOES NOT create backups. NEVER work "
                              "on the original files.")
                .answerSelectFolder(folder);
        command("FileOpenFolder", start.PBOpenFolder());
        EXPECT_EQ(Clipboard::Text(), "before");
        command("FileOpenFolder", start.PBOpenFolder());
        EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));

        command("FileEditDefaultLocations", start.PBPrefs());
        EXPECT_EQ(&dynamic_cast<DefaultLocationsWindow&>(*newest()).DefaultLocations,
                  &app->DefaultLocations);
    }
}

// Ctrl+O, Return, Return must not start the batch on the folder that the
// choose-folder dialog opens in (the working folder): the folder must be
// picked or typed. Qt's own dialogs, driven by keys.
TEST_F(AppTest, FolderDialogTakesOnlyAFolderTheUserNames) {
    volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
    const TempFolder working;
    working.makeFile("w.mxm", material("Work"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(working.path()));
    Clipboard::setText("before");
    const std::string batch = volumes.pathOf("HD", "batch");
    RealDialogs real;
    real.then<QMessageBox>([](QMessageBox& warning) {
            EXPECT_EQ(warning.windowTitle(), "Lumitrace");
            UiDriver::pressKey(warning, Qt::Key_Return);
        })
        .then<QFileDialog>([](QFileDialog& dialog) {
            EXPECT_FALSE(
                dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->isEnabled());
            UiDriver::pressKey(dialog, Qt::Key_Return);
        })
        .then<QFileDialog>([&batch](QFileDialog& dialog) {
            UiDriver::typeText(dialog, batch);
            UiDriver::pressKey(dialog, Qt::Key_Return);
        });
    UiDriver::pressKey(*StartWindow::instance().widget(), Qt::Key_O, Qt::ControlModifier);
    QDir::setCurrent(before);
    EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));
    EXPECT_TRUE(working.readFile("w.mxm") == material("Work")) << "the working folder was taken";
}

} // namespace
