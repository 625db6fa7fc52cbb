#include "FolderItem.h"
#include "TestVolumes.h"
#include "Volumes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(ColonPaths, NameTheVolumeAndMapBackToTheSameFile) {
    TestVolumes volumes;
    const struct {
        std::string volume, relative, colonPath;
    } cases[] = {
        {"HD", "Users/x/a.ior", "HD:Users:x:a.ior"},
        // HD's root is a text prefix of HD2's, but not a folder of it.
        {"HD2", "tex/a.ior", "HD2:tex:a.ior"},
        {"Data", "tex/a:b.ior", "Data:tex:a/b.ior"},
        // A Latin-1 folder name and a UTF-8 file name, both kept as they are.
        {"HD", "caf\xE9/caf\xC3\xA9.jpg", "HD:caf\xE9:caf\xC3\xA9.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colonPath);
        volumes.makeFile(c.volume, c.relative);
        EXPECT_EQ(volumes.item(c.volume, c.relative)->AbsolutePath(), c.colonPath);
        EXPECT_EQ(GetFolderItem(c.colonPath)->NativePath(), volumes.pathOf(c.volume, c.relative));
    }
    EXPECT_TRUE(GetFolderItem("hd:Users:x:a.ior")->Exists());
    EXPECT_EQ(volumes.item("HD", "caf\xE9")->DisplayName(), "caf\xC3\xA9");
}

TEST(ColonPaths, LookupFailsForMissingVolumesAndFoldersAndCannotLeaveTheVolume) {
    TestVolumes volumes;
    volumes.makeFile("HD", "tex/a.ior");
    volumes.makeFile("Data", "a.ior");
    for (const char* path :
         {"Nowhere:tex:a.ior", "HD:missing:a.ior", "HD:tex:a.ior:b", "", "HD:..:Data:a.ior"})
        EXPECT_FALSE(GetFolderItem(path)) << path;
    EXPECT_FALSE(GetFolderItem("HD:tex:b.ior")->Exists());
}

TEST(ColonPaths, AVolumeInsideAnotherNamesItsOwnItemsAndTheSystemStartsAtTheRoot) {
    TestVolumes volumes;
    const std::string nested = volumes.makeFolder("HD", "Volumes/Data");
    Volumes::setTable({{"HD", volumes.root("HD")}, {"Data", nested}});
    EXPECT_EQ(makeRef<FolderItem>(nested + "/a.ior")->AbsolutePath(), "Data:a.ior");
    EXPECT_FALSE(makeRef<FolderItem>(nested)->Parent());
    Volumes::setTable({});
    EXPECT_EQ(makeRef<FolderItem>("/usr/lib")->AbsolutePath(),
              std::string(Volumes::StartupVolumeName) + ":usr:lib");
    EXPECT_FALSE(makeRef<FolderItem>("/")->Parent());
}

// The system's table: "/" and each folder directly in the volumes folder.
// The batch asks for names, parents and colon paths of every file it meets:
// with many volumes mounted, reading the volumes folder each time would make
// it crawl.
TEST(ColonPaths, TheSystemsVolumesAreKnownWithoutReadingTheVolumesFolderEachTime) {
    TempFolder temp;
    temp.makeFile("Volumes/Data/tex/a.ior");
    temp.makeFile("Volumes/note");
    for (int i = 0; i < 1000; ++i)
        temp.makeFolder("Volumes/v" + std::to_string(i));
    Volumes::setVolumesFolder(temp.pathOf("Volumes"));
    const std::string startup = Volumes::StartupVolumeName;
    const Ref<FolderItem> data = temp.item("Volumes/Data"), note = temp.item("Volumes/note");
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(data->Name(), "Data");
        EXPECT_FALSE(data->Parent());
        EXPECT_EQ(temp.item("Volumes/Data/tex/a.ior")->AbsolutePath(), "Data:tex:a.ior");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));
    EXPECT_EQ(makeRef<FolderItem>("/")->Name(), startup);
    EXPECT_EQ(note->Parent()->NativePath(), temp.pathOf("Volumes"));
    EXPECT_EQ(note->AbsolutePath().substr(0, startup.size() + 1), startup + ":");
    EXPECT_FALSE(data->setName("Other"));
    EXPECT_EQ(GetFolderItem("Data:tex:a.ior")->NativePath(), temp.pathOf("Volumes/Data/tex/a.ior"));
    Volumes::setVolumesFolder("");
}

TEST(FolderEntries, AreSortedBytewiseReadAgainAndHiddenByALeadingDot) {
    TempFolder temp;
    for (const char* name : {"a", "B", ".hidden", "\xC3\xA9"})
        temp.makeFile(name);
    const auto folder = makeRef<FolderItem>(temp.path());
    EXPECT_EQ(folder->Count(), 4);
    temp.makeFile("Z");
    std::string names;
    for (int i = 1; i <= folder->Count(); ++i)
        names += folder->Item(i)->Name() + (folder->Item(i)->Visible() ? "|" : "(hidden)|");
    EXPECT_EQ(names, ".hidden(hidden)|B|Z|a|\xC3\xA9|");
    EXPECT_THROW(folder->Item(0), OutOfBoundsException);
    EXPECT_THROW(folder->Item(6), OutOfBoundsException);
}

// The one-pass listing must tell of each entry what asking the entry itself
// tells, whatever kind of entry it is; a link to a folder is a folder, the
// same one.
TEST(FolderEntries, AgreeWithEachItemAndFollowLinks) {
    TempFolder temp;
    temp.makeFile("f/file");
    temp.makeFile("f/.hidden");
    temp.makeFolder("f/folder");
    temp.makeFolder("elsewhere");
    fs::create_directory_symlink(temp.pathOf("elsewhere"), temp.pathOf("f/to-folder"));
    fs::create_symlink("file", temp.pathOf("f/to-file"));
    fs::create_symlink(temp.pathOf("gone"), temp.pathOf("f/dangling"));
    ASSERT_EQ(::mkfifo(temp.pathOf("f/pipe").c_str(), 0600), 0);

    const Ref<FolderItem> folder = temp.item("f");
    const std::vector<FolderItem::Entry> entries = folder->Entries();
    ASSERT_EQ(static_cast<int>(entries.size()), folder->Count());
    for (int i = 1; i <= folder->Count(); ++i) {
        const Ref<FolderItem> item = folder->Item(i);
        const FolderItem::Entry& entry = entries[static_cast<size_t>(i - 1)];
        EXPECT_EQ(entry.name, item->Name());
        EXPECT_EQ(entry.directory, item->Directory()) << entry.name;
        EXPECT_EQ(entry.exists, item->Exists()) << entry.name;
    }
    EXPECT_TRUE(temp.item("f/to-folder")->Directory());
    EXPECT_EQ(temp.item("f/to-folder")->Identity(), temp.item("elsewhere")->Identity());
    EXPECT_FALSE(temp.item("f/dangling")->Exists());
    EXPECT_TRUE(temp.item("f/file")->Entries().empty());
    EXPECT_TRUE(temp.item("missing")->Entries().empty());
}

TEST(FolderItem, SetNameRenamesButNeverReplaces) {
    TempFolder temp;
    temp.makeFile("new", "mine");
    temp.makeFile("other.mxm", "theirs");
    EXPECT_TRUE(temp.item("new")->setName("new.mxm"));
    for (const char* taken : {"other.mxm", "a/b", ".."})
        EXPECT_FALSE(temp.item("new.mxm")->setName(taken)) << taken;
    EXPECT_EQ(temp.readFile("other.mxm"), "theirs");
    EXPECT_EQ(temp.readFile("new.mxm"), "mine");
}

TEST(WriteAtomically, ReplacesTheLinkedFileAndKeepsPermissions) {
    TempFolder temp;
    const std::string path = temp.makeFile("real.mxm", "old");
    fs::permissions(path, fs::perms(0640));
    fs::create_symlink(path, temp.pathOf("link.mxm"));
    EXPECT_TRUE(temp.item("link.mxm")->WriteAtomically("new"));
    EXPECT_TRUE(fs::is_symlink(temp.pathOf("link.mxm")));
    EXPECT_EQ(temp.readFile("real.mxm"), "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 2); // no temporary file left
}

TEST(WriteAtomically, FailsWithoutHarmAndLeavesNoTemporaryFile) {
    TempFolder temp;
    temp.makeFolder("target.mxm/inside");
    EXPECT_FALSE(temp.item("target.mxm")->WriteAtomically("x"));
    EXPECT_TRUE(temp.item("target.mxm")->Directory());
    EXPECT_FALSE(temp.item("gone/a.mxm")->WriteAtomically("x"));
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 1);
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    temp.makeFile("locked/a.mxm", "old");
    fs::permissions(temp.pathOf("locked"), fs::perms(0555));
    EXPECT_FALSE(temp.item("locked/a.mxm")->WriteAtomically("new"));
    EXPECT_EQ(temp.readFile("locked/a.mxm"), "old");
    EXPECT_EQ(makeRef<FolderItem>(temp.pathOf("locked"))->Count(), 1);
}
