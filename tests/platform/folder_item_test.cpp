#include "FileIdentity.h"
#include "FolderItem.h"
#include "Locked.h"
#include "NoReplaceRename.h"
#include "TempFolder.h"
#include "TestVolumes.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(ColonPaths, NameTheVolumeMapBackAndFailForWhatIsNotThere) {
    TestVolumes volumes;
    const struct {
        std::string volume, relative, colonPath;
    } cases[] = {
        {"HD", "Users/x/a.ior", "HD:Users:x:a.ior"},
        {"HD2", "tex/a.ior", "HD2:tex:a.ior"}, // HD's root is a text prefix of HD2's
        {"Data", "tex/a:b.ior", "Data:tex:a/b.ior"},
        {"HD", "caf\xE9/caf\xC3\xA9.jpg", "HD:caf\xE9:caf\xC3\xA9.jpg"}, // bytes kept as they are
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colonPath);
        volumes.makeFile(c.volume, c.relative);
        EXPECT_EQ(volumes.item(c.volume, c.relative)->AbsolutePath(), c.colonPath);
        EXPECT_EQ(GetFolderItem(c.colonPath)->NativePath(), volumes.pathOf(c.volume, c.relative));
    }
    EXPECT_TRUE(GetFolderItem("hd:Users:x:a.ior")->Exists());
    EXPECT_EQ(volumes.item("HD", "caf\xE9")->DisplayName(), "caf\xC3\xA9");
    for (const char* path :
         {"Nowhere:tex:a.ior", "HD:missing:a.ior", "HD:tex:a.ior:b", "", "HD:..:HD2:tex:a.ior"})
        EXPECT_FALSE(GetFolderItem(path)) << path;
    EXPECT_FALSE(GetFolderItem("HD2:tex:b.ior")->Exists());
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

// Guards: the volumes folder read for every name, parent or colon path (a
// crawl with many volumes mounted).
TEST(ColonPaths, TheSystemsVolumesAreKnownWithoutReadingTheVolumesFolderEachTime) {
    TempFolder temp;
    temp.makeFile("Volumes/Data/tex/a.ior");
    temp.makeFile("Volumes/note");
    Volumes::setVolumesFolder(temp.pathOf("Volumes"));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, temp.pathOf("Volumes").c_str(), IN_OPEN), 0);
    const Ref<FolderItem> data = temp.item("Volumes/Data"), note = temp.item("Volumes/note");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(data->Name(), "Data");
        EXPECT_FALSE(data->Parent());
        EXPECT_EQ(temp.item("Volumes/Data/tex/a.ior")->AbsolutePath(), "Data:tex:a.ior");
        EXPECT_EQ(makeRef<FolderItem>("/")->Name(), Volumes::StartupVolumeName);
        EXPECT_EQ(note->Parent()->NativePath(), temp.pathOf("Volumes"));
    }
    char events[4096];
    EXPECT_LE(::read(watch, events, sizeof events), 0) << "the volumes folder was read";
    ::close(watch);
    EXPECT_EQ(GetFolderItem("Data:tex:a.ior")->NativePath(), temp.pathOf("Volumes/Data/tex/a.ior"));
    Volumes::setVolumesFolder("");
}

// The one-pass listing tells of each entry what the entry itself tells; a
// link to a folder is that folder, and a FIFO is listed without being
// opened. Entries sort bytewise, are read again, and hide by a leading dot.
TEST(FolderEntries, AreSortedAgreeWithEachItemAndFollowLinks) {
    TempFolder temp;
    for (const char* name : {"f/file", "f/.hidden", "f/\xC3\xA9"})
        temp.makeFile(name);
    temp.makeFolder("f/Folder");
    fs::create_directory_symlink(temp.makeFolder("elsewhere"), temp.pathOf("f/to-folder"));
    fs::create_symlink("file", temp.pathOf("f/to-file"));
    fs::create_symlink(temp.pathOf("gone"), temp.pathOf("f/dangling"));
    ASSERT_EQ(::mkfifo(temp.pathOf("f/pipe").c_str(), 0600), 0);
    const Ref<FolderItem> folder = temp.item("f");
    EXPECT_EQ(folder->Count(), 8);
    temp.makeFile("f/Z");
    const FolderItem::Listing listing = folder->ListEntries();
    const auto holds = [&listing](const std::vector<uint32_t>& list, const std::string& name) {
        return std::ranges::any_of(list, [&](uint32_t at) { return listing.name(at) == name; });
    };
    ASSERT_EQ(listing.files.size() + listing.folders.size() + listing.gone.size(), 9u);
    std::string names;
    for (int i = 1; i <= folder->Count(); ++i) {
        const Ref<FolderItem> item = folder->Item(i);
        names += item->Name() + (item->Visible() ? "|" : "(hidden)|");
        EXPECT_EQ(holds(listing.folders, item->Name()), item->Directory()) << item->Name();
        EXPECT_EQ(holds(listing.gone, item->Name()), !item->Exists()) << item->Name();
    }
    EXPECT_EQ(names, ".hidden(hidden)|Folder|Z|dangling|file|pipe|to-file|to-folder|\xC3\xA9|");
    EXPECT_THROW(folder->Item(10), OutOfBoundsException);
    EXPECT_EQ(temp.item("f/to-folder")->Identity(), temp.item("elsewhere")->Identity());
    EXPECT_TRUE(temp.item("f/file")->ListEntries().names.empty());
    EXPECT_TRUE(temp.item("missing")->ListEntries().names.empty());
}

TEST(FolderItem, SetNameRenamesButNeverReplaces) {
    TempFolder temp;
    temp.makeFile("new", "mine");
    temp.makeFile("other.mxm", "theirs");
    EXPECT_TRUE(temp.item("new")->setName("new.mxm"));
    for (const char* taken : {"other.mxm", "a/b", ".."})
        EXPECT_FALSE(temp.item("new.mxm")->setName(taken)) << taken;
    EXPECT_EQ(temp.readFile("other.mxm") + temp.readFile("new.mxm"), "theirsmine");
    // Where the file system cannot rename without replacing.
    EXPECT_EQ(renameByLinking(temp.pathOf("new.mxm"), temp.pathOf("other.mxm")), EEXIST);
    EXPECT_EQ(renameByLinking(temp.pathOf("new.mxm"), temp.pathOf("moved.mxm")), 0);
    EXPECT_EQ(temp.readFile("other.mxm") + temp.readFile("moved.mxm"), "theirsmine");
    EXPECT_FALSE(temp.item("new.mxm")->Exists());
}

// Guards: a save that harms the target or leaves its temporary file when it
// fails, one that cannot write a file with other names (hard links), which
// must see the new content, and one that writes in place where no copy of
// the old bytes may go beside the file.
TEST(WriteAtomically, FailsWithoutHarmAndWritesInPlaceOnlyWithACopyBeside) {
    TempFolder temp;
    temp.makeFolder("target.mxm/inside");
    EXPECT_EQ(temp.item("target.mxm")->WriteAtomically("x").error(), EISDIR);
    EXPECT_TRUE(temp.item("target.mxm")->Directory());
    EXPECT_EQ(temp.item("gone/a.mxm")->WriteAtomically("x").error(), ENOENT);
    const std::string a = temp.makeFile("a.mxm", "old content");
    ASSERT_EQ(::link(a.c_str(), temp.pathOf("b.mxm").c_str()), 0);
    const auto identity = temp.item("a.mxm")->Identity();
    EXPECT_TRUE(temp.item("a.mxm")->WriteAtomically("new").ok());
    EXPECT_EQ(temp.readFile("b.mxm"), "new");
    EXPECT_EQ(temp.item("a.mxm")->Identity(), identity);
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 3);
    temp.makeFile("locked/a.mxm", "old");
    temp.makeFile("locked/c.mxm", "old content");
    const Locked file(temp.pathOf("locked/a.mxm")), folder(temp.pathOf("locked"));
    if (::mkdir(temp.pathOf("locked/probe").c_str(), 0755) == 0)
        GTEST_SKIP() << "this file system cannot lock a folder";
    const int refused = ::geteuid() == 0 ? EPERM : EACCES;
    for (const char* name : {"locked/c.mxm", "locked/d.mxm", "locked/a.mxm"})
        EXPECT_EQ(temp.item(name)->WriteAtomically("new").error(), refused) << name;
    EXPECT_EQ(temp.readFile("locked/a.mxm") + temp.readFile("locked/c.mxm"), "oldold content");
    EXPECT_EQ(makeRef<FolderItem>(temp.pathOf("locked"))->Count(), 2);
}

// Guards: a save that loses the file's owner, group or mode, or passes a
// set-ID bit on to new content.
TEST(WriteAtomically, KeepsOwnerGroupAndPermissionsAndDropsSetIdBits) {
    TempFolder temp;
    const std::string plain = temp.makeFile("plain.mxm", "old");
    const std::string setId = temp.makeFile("setid.mxm", "old");
    ::chmod(setId.c_str(), 06755);
    const passwd* nobody = ::getpwnam("nobody");
    const group* nogroup = ::getgrnam("nogroup");
    const bool asRoot = ::geteuid() == 0 && nobody && nogroup;
    if (asRoot) {
        ASSERT_EQ(::chown(plain.c_str(), nobody->pw_uid, nogroup->gr_gid), 0);
    }
    ::chmod(plain.c_str(), 0640);
    EXPECT_TRUE(temp.item("plain.mxm")->WriteAtomically("new").ok());
    EXPECT_TRUE(temp.item("setid.mxm")->WriteAtomically("new").ok());
    struct stat info {};
    ASSERT_EQ(::stat(plain.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (asRoot) {
        EXPECT_EQ(std::pair(info.st_uid, info.st_gid), std::pair(nobody->pw_uid, nogroup->gr_gid));
    }
    ASSERT_EQ(::stat(setId.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
    EXPECT_EQ(temp.readFile("plain.mxm") + temp.readFile("setid.mxm"), "newnew");
}

// Guards: a link replaced by a file instead of its chain's end being
// written, and a link loop taken for a place to write.
TEST(WriteAtomically, FollowsLinksToTheEndAndFailsOnALoop) {
    TempFolder temp;
    temp.makeFolder("sub");
    fs::create_symlink("sub/new.mxm", temp.pathOf("dangling"));
    fs::create_symlink("dangling", temp.pathOf("chain"));
    fs::create_symlink("loop2", temp.pathOf("loop1"));
    fs::create_symlink("loop1", temp.pathOf("loop2"));
    EXPECT_TRUE(temp.item("chain")->WriteAtomically("through").ok());
    EXPECT_TRUE(temp.item("chain")->WriteAtomically("again").ok());
    EXPECT_EQ(temp.readFile("sub/new.mxm"), "again");
    EXPECT_EQ(makeRef<FolderItem>(temp.pathOf("sub"))->Count(), 1);
    EXPECT_EQ(temp.item("loop1")->WriteAtomically("x").error(), ELOOP);
    EXPECT_FALSE(temp.item("loop1")->LinkTarget());
    for (const char* link : {"dangling", "chain", "loop1", "loop2"})
        EXPECT_TRUE(fs::is_symlink(temp.pathOf(link))) << link;
}

// Guards: a crashed save's temporary file left behind, and another
// program's save in progress taken for abandoned.
TEST(WriteAtomically, ClearsWhatACrashLeftButNeverAnotherSaveInProgress) {
    TempFolder temp;
    temp.makeFile("a.mxm", "old");
    const std::string other = temp.makeFile(".a.mxm.mxmtool-tmp", "half written");
    EXPECT_TRUE(temp.item("a.mxm")->WriteAtomically("new").ok());
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 1);
    const int fd = ::open(other.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    auto mine = std::async(std::launch::async,
                           [&] { return temp.item("a.mxm")->WriteAtomically("mine").ok(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(::rename(other.c_str(), temp.pathOf("a.mxm").c_str()), 0);
    ::close(fd);
    EXPECT_TRUE(mine.get());
    EXPECT_EQ(temp.readFile("a.mxm"), "mine");
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 1);
}

// Guards: a save replacing, by rename or in place, a file that another
// program changed or removed since it was read, and a written identity that
// the next save cannot expect.
TEST(WriteAtomically, ReplacesOnlyAFileThatStillHasTheExpectedIdentity) {
    TempFolder temp;
    const std::string linked = temp.makeFile("linked");
    ASSERT_EQ(::link(linked.c_str(), temp.pathOf("other name").c_str()), 0);
    for (const std::string name : {"single", "linked"}) {
        SCOPED_TRACE(name);
        const Ref<FolderItem> file = temp.item(name);
        const WriteResult first = file->WriteAtomically("mine", identityAt(temp.makeFile(name)));
        ASSERT_TRUE(first.ok());
        const WriteResult second = file->WriteAtomically("again", first.identity());
        EXPECT_TRUE(second.ok());
        EXPECT_EQ(second.identity(), identityAt(file->NativePath()));
        temp.makeFile(name, "theirs");
        const WriteResult late = file->WriteAtomically("stale", second.identity());
        EXPECT_EQ(late.outcome(), WriteResult::Outcome::Changed);
        EXPECT_EQ(std::pair(late.error(), late.reason()),
                  std::pair(0, std::string("it was changed since it was read")));
        EXPECT_EQ(temp.readFile(name), "theirs");
    }
    EXPECT_EQ(temp.readFile("other name"), "theirs");
    EXPECT_FALSE(temp.item("gone")->WriteAtomically("x", identityAt(linked)).ok());
}

TEST(WriteAtomically, SavesFromSeveralThreadsAtOnce) {
    TempFolder temp;
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i)
                EXPECT_TRUE(temp.item(std::to_string(t % 3))
                                ->WriteAtomically(std::string(1000, 'a' + t))
                                .ok());
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(makeRef<FolderItem>(temp.path())->Count(), 3);
    for (const char* name : {"0", "1", "2"}) {
        const std::string bytes = temp.readFile(name);
        EXPECT_EQ(bytes.size(), 1000u);
        EXPECT_EQ(bytes.find_first_not_of(bytes[0]), std::string::npos) << name;
    }
}

namespace {

// The type of the file system mounted exactly at the path; empty if none.
std::string mountedType(const std::string& path) {
    std::ifstream table("/proc/self/mountinfo");
    std::string type;
    for (std::string line, field, mountPoint; std::getline(table, line);) {
        std::istringstream(line) >> field >> field >> field >> field >> mountPoint;
        if (mountPoint == path)
            std::istringstream(line.substr(line.find(" - ") + 3)) >> type;
    }
    return type;
}

} // namespace

// Guards: walking /proc or /sys (minutes), directly or through a link, from a
// searched tree. A tmpfs is an ordinary place for files.
TEST(FolderEntries, KernelFileSystemsListAsEmptyAndTmpfsAsItIs) {
    TempFolder temp;
    std::vector<std::string> kernel{"/proc", "/sys", "/sys/kernel"};
    if (mountedType("/dev") == "devtmpfs")
        kernel.push_back("/dev");
    for (const std::string& path : kernel) {
        const std::string link = temp.pathOf("to" + ReplaceAllB(path, "/", "-"));
        fs::create_directory_symlink(path, link);
        for (const auto& folder : {makeRef<FolderItem>(path), makeRef<FolderItem>(link)}) {
            EXPECT_TRUE(folder->Directory()) << path;
            EXPECT_EQ(folder->Count(), 0) << path;
            EXPECT_TRUE(folder->ListEntries().names.empty()) << path;
        }
    }
    if (mountedType("/dev/shm") != "tmpfs")
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    const fs::path onTmpfs = fs::path("/dev/shm") / fs::path(temp.path()).filename();
    fs::create_directory(onTmpfs);
    std::ofstream(onTmpfs / "a.ior") << "a";
    EXPECT_EQ(makeRef<FolderItem>(onTmpfs.string())->ListEntries().files.size(), 1u);
    fs::remove_all(onTmpfs);
}
