#include "FileType.h"
#include "FolderItem.h"
#include "TestVolumes.h"
#include "Volumes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string namesOf(const Ref<FolderItem>& folder) {
    std::string names;
    for (int i = 1; i <= folder->Count(); ++i)
        names += folder->Item(i)->Name() + "|";
    return names;
}

TEST(Volumes, TheInjectedTableNamesTheVolumes) {
    TestVolumes volumes;
    ASSERT_EQ(VolumeCount(), 3);
    EXPECT_EQ(Volume(0)->Name(), "HD");
    EXPECT_EQ(Volume(2)->AbsolutePath(), "HD2:");
    EXPECT_FALSE(Volume(3));
    EXPECT_FALSE(Volume(0)->Parent());
}

TEST(Volumes, TheSystemTableStartsAtTheRootOfTheFileSystem) {
    Volumes::setTable({});
    const auto table = Volumes::table();
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table[0].nativeRoot, "/");
    EXPECT_EQ(Volume(0)->Name(), Volumes::StartupVolumeName);
    EXPECT_EQ(makeRef<FolderItem>("/usr/lib")->AbsolutePath(),
              std::string(Volumes::StartupVolumeName) + ":usr:lib");
    EXPECT_FALSE(makeRef<FolderItem>("/")->Parent());
}

TEST(ColonPaths, AbsolutePathNamesTheVolumeHoldingTheItem) {
    TestVolumes volumes;
    volumes.makeFile("HD", "Users/x/tex/a.ior");
    volumes.makeFile("HD2", "tex/a.ior");
    EXPECT_EQ(volumes.item("HD", "Users/x/tex/a.ior")->AbsolutePath(), "HD:Users:x:tex:a.ior");
    EXPECT_EQ(volumes.item("HD", "Users/x/tex")->AbsolutePath(), "HD:Users:x:tex");
    // HD's root is a text prefix of HD2's, but not a folder of it.
    EXPECT_EQ(volumes.item("HD2", "tex/a.ior")->AbsolutePath(), "HD2:tex:a.ior");
    EXPECT_EQ(GetFolderItem("HD2:tex:a.ior")->NativePath(), volumes.pathOf("HD2", "tex/a.ior"));
}

TEST(ColonPaths, AVolumeInsideAnotherWinsForItsOwnItems) {
    TestVolumes volumes;
    const std::string nested = volumes.makeFolder("HD", "Volumes/Data");
    Volumes::setTable({{"HD", volumes.root("HD")}, {"Data", nested}});
    EXPECT_EQ(makeRef<FolderItem>(nested + "/a.ior")->AbsolutePath(), "Data:a.ior");
    EXPECT_FALSE(makeRef<FolderItem>(nested)->Parent());
    EXPECT_EQ(makeRef<FolderItem>(nested)->Name(), "Data");

    // The same folder mounted twice: the further volume names it.
    Volumes::setTable({{"HD", volumes.root("HD")}, {"Alias", volumes.root("HD")}});
    EXPECT_EQ(makeRef<FolderItem>(volumes.pathOf("HD", "a.ior"))->AbsolutePath(), "Alias:a.ior");
}

TEST(ColonPaths, AColonInANameIsShownAsSlashAndMappedBack) {
    TestVolumes volumes;
    volumes.makeFile("Data", "tex/a:b.ior", "x");
    const auto file = volumes.item("Data", "tex/a:b.ior");
    EXPECT_EQ(file->AbsolutePath(), "Data:tex:a/b.ior");
    const auto back = GetFolderItem("Data:tex:a/b.ior");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Exists());
    EXPECT_EQ(back->Name(), "a:b.ior");
}

TEST(ColonPaths, RawNameBytesSurviveBothWays) {
    TestVolumes volumes;
    const std::string latin1 = "caf\xE9";   // not UTF-8
    const std::string utf8 = "caf\xC3\xA9"; // é
    volumes.makeFile("HD", latin1 + "/" + utf8 + ".jpg", "x");
    const auto file = volumes.item("HD", latin1 + "/" + utf8 + ".jpg");
    EXPECT_EQ(file->AbsolutePath(), "HD:" + latin1 + ":" + utf8 + ".jpg");
    EXPECT_EQ(file->Parent()->DisplayName(), utf8);
    const auto back = GetFolderItem("hd:" + latin1 + ":" + utf8 + ".jpg");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Exists());
    EXPECT_EQ(back->Identity(), file->Identity());
}

TEST(ColonPaths, LookupFailsOnlyForMissingVolumesAndFolders) {
    TestVolumes volumes;
    volumes.makeFile("HD", "tex/a.ior");
    EXPECT_FALSE(GetFolderItem("Nowhere:tex:a.ior"));
    EXPECT_FALSE(GetFolderItem("HD:missing:a.ior"));
    EXPECT_FALSE(GetFolderItem("HD:tex:a.ior:b")); // a file on the way
    EXPECT_FALSE(GetFolderItem(""));
    const auto missing = GetFolderItem("HD:tex:b.ior");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->Exists());
    EXPECT_EQ(GetFolderItem("HD:")->NativePath(), volumes.root("HD"));
}

TEST(ColonPaths, DotComponentsCannotLeaveTheVolume) {
    TestVolumes volumes;
    volumes.makeFile("Data", "a.ior");
    EXPECT_FALSE(GetFolderItem("HD:..:Data:a.ior"));
    EXPECT_FALSE(GetFolderItem("HD:.:x"));
}

TEST(FolderEntries, AreSortedBytewiseAndIncludeHiddenOnes) {
    TempFolder temp;
    for (const char* name : {"a", "B", ".hidden", "\xC3\xA9", "Z"})
        temp.makeFile(name);
    const auto folder = makeRef<FolderItem>(temp.path());
    EXPECT_EQ(namesOf(folder), ".hidden|B|Z|a|\xC3\xA9|");
    EXPECT_FALSE(folder->Item(1)->Visible());
    EXPECT_TRUE(folder->Item(2)->Visible());
    EXPECT_THROW(folder->Item(0), OutOfBoundsException);
    EXPECT_THROW(folder->Item(6), OutOfBoundsException);
    EXPECT_EQ(temp.item("a")->Count(), 0);
}

TEST(FolderEntries, CountReadsTheFolderAgain) {
    TempFolder temp;
    temp.makeFile("a");
    const auto folder = makeRef<FolderItem>(temp.path());
    EXPECT_EQ(folder->Count(), 1);
    temp.makeFile("b");
    EXPECT_EQ(folder->Count(), 2);
}

TEST(FolderEntries, DirectoryFollowsLinks) {
    TempFolder temp;
    temp.makeFolder("real");
    temp.makeFile("file");
    fs::create_directory_symlink(temp.pathOf("real"), temp.pathOf("link"));
    fs::create_symlink(temp.pathOf("gone"), temp.pathOf("dangling"));
    EXPECT_TRUE(temp.item("link")->Directory());
    EXPECT_EQ(temp.item("link")->Identity(), temp.item("real")->Identity());
    EXPECT_FALSE(temp.item("file")->Directory());
    EXPECT_FALSE(temp.item("dangling")->Exists());
    EXPECT_NE(temp.item("file")->Identity(), temp.item("real")->Identity());
}

TEST(FolderItem, TypeComesFromTheRegisteredExtensionForFilesOnly) {
    FileType material;
    material.setName("Maxwell Material");
    material.setExtensions(".mxm");
    material.toString();
    TempFolder temp;
    temp.makeFile("oak.MXM");
    temp.makeFolder("folder.mxm");
    EXPECT_EQ(temp.item("oak.MXM")->Type(), "Maxwell Material");
    EXPECT_EQ(temp.item("folder.mxm")->Type(), "");
    EXPECT_EQ(temp.item("oak.mxm.txt")->Type(), "");
}

TEST(FolderItem, SetNameRenamesButNeverReplaces) {
    TempFolder temp;
    temp.makeFile("new", "mine");
    temp.makeFile("other.mxm", "theirs");
    const auto file = temp.item("new");
    EXPECT_TRUE(file->setName("new.mxm"));
    EXPECT_EQ(file->Name(), "new.mxm");
    EXPECT_EQ(temp.readFile("new.mxm"), "mine");
    EXPECT_FALSE(file->setName("other.mxm"));
    EXPECT_EQ(temp.readFile("other.mxm"), "theirs");
    EXPECT_FALSE(file->setName("a/b"));
    EXPECT_FALSE(file->setName(".."));
}

TEST(WriteAtomically, ReplacesTheContentAndKeepsPermissions) {
    TempFolder temp;
    const std::string path = temp.makeFile("a.mxm", "old");
    ::chmod(path.c_str(), 0640);
    EXPECT_TRUE(temp.item("a.mxm")->WriteAtomically("new content"));
    EXPECT_EQ(temp.readFile("a.mxm"), "new content");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_TRUE(temp.item("fresh.mxm")->WriteAtomically(""));
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 2); // no temporary file left
}

TEST(WriteAtomically, WritesThroughALinkToItsFile) {
    TempFolder temp;
    temp.makeFile("real.mxm", "old");
    fs::create_symlink(temp.pathOf("real.mxm"), temp.pathOf("link.mxm"));
    EXPECT_TRUE(temp.item("link.mxm")->WriteAtomically("new"));
    EXPECT_TRUE(fs::is_symlink(temp.pathOf("link.mxm")));
    EXPECT_EQ(temp.readFile("real.mxm"), "new");
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
    const std::string path = temp.makeFile("locked/a.mxm", "old");
    ::chmod(temp.pathOf("locked").c_str(), 0555);
    EXPECT_FALSE(temp.item("locked/a.mxm")->WriteAtomically("new"));
    EXPECT_EQ(temp.readFile("locked/a.mxm"), "old");
    EXPECT_EQ(makeRef<FolderItem>(temp.pathOf("locked"))->Count(), 1);
}

TEST(PreferencesFolder, IsMadeWhereTheRootPoints) {
    TestVolumes volumes;
    const auto prefs = PreferencesFolder();
    ASSERT_TRUE(prefs);
    EXPECT_TRUE(prefs->Directory());
    EXPECT_EQ(prefs->NativePath(), volumes.preferencesRoot());
    volumes.makeFile("HD", "file");
    Volumes::setPreferencesRoot(volumes.pathOf("HD", "file/prefs"));
    EXPECT_FALSE(PreferencesFolder());
}

TEST(PreferencesFolder, FallsBackToTheXdgConfigFolder) {
    TestVolumes volumes;
    Volumes::setPreferencesRoot("");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", volumes.pathOf("HD", "config").c_str(), 1);
    const auto prefs = PreferencesFolder();
    saved ? ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(prefs);
    EXPECT_EQ(prefs->AbsolutePath(), "HD:config");
    EXPECT_TRUE(prefs->Directory());
}

} // namespace
