#include "AtomicWrite.h"
#include "BinaryStream.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>

namespace {

struct Crash {};

// Stops a save at its crashAt-th step as a crash would, or fails the
// failing step's nth occurrence with the error.
struct ScriptedProbe : WriteProbe {
    int before(WriteStep step) override {
        if (look)
            look(step);
        if (reached++ == crashAt)
            throw Crash{};
        return step == failing && nth-- == 0 ? error : 0;
    }
    int crashAt = -1, reached = 0;
    std::optional<WriteStep> failing;
    int nth = 0, error = 0;
    std::function<void(WriteStep)> look;
};

// A folder holding a.mxm with the old bytes and, for an in-place save,
// its second name b.mxm.
struct SavedFile {
    explicit SavedFile(bool linked, const std::string& bytes = std::string(3000, 'o')) {
        temp.makeFile("a.mxm", bytes);
        if (linked) {
            EXPECT_EQ(::link(path().c_str(), temp.pathOf("b.mxm").c_str()), 0);
        }
    }
    std::string path() const { return temp.pathOf("a.mxm"); }
    uint64_t inode() const { return temp.item("a.mxm")->Identity().second; }
    // Hidden ones (copies of old bytes, temporary files) included.
    int entries() const { return makeRef<FolderItem>(temp.path())->Count(); }
    TempFolder temp;
};

const std::string Old(3000, 'o'), New(5000, 'n');

} // namespace

// Guards: a crash during an in-place save (a file with several names) or a
// rename leaving a mixture of old and new bytes under any name once the
// file is next opened or saved, or leaving the copy of the old bytes.
TEST(SaveCrash, AtAnyStepLeavesOldOrNewOnceTheFileIsNextOpenedOrSaved) {
    for (const bool linked : {true, false})
        for (const std::string& fresh : {New, New.substr(0, 1000)})
            for (int step = 0;; ++step) {
                SCOPED_TRACE(testing::Message() << linked << fresh.size() << " step " << step);
                SavedFile file(linked);
                ScriptedProbe crash;
                crash.crashAt = step;
                try {
                    replaceFileContent(file.path(), fresh, std::nullopt, &crash);
                    break; // every step has had its crash
                } catch (const Crash&) {
                }
                std::string seen;
                if (step % 2 == 0) {
                    const std::string name = linked ? "b.mxm" : "a.mxm";
                    const int folder = ::open(file.temp.path().c_str(), O_PATH | O_DIRECTORY);
                    std::string whyNot;
                    seen = (step % 4 == 0 ? BinaryStream::OpenAt(folder, name, false, whyNot)
                                          : BinaryStream::Open(file.temp.item(name), false))
                               ->Read(10000);
                    ::close(folder);
                    EXPECT_TRUE(!linked || file.entries() == 2);
                } else {
                    ScriptedProbe refuse;
                    refuse.failing = linked ? WriteStep::Backup : WriteStep::Rename;
                    refuse.error = EIO;
                    EXPECT_EQ(replaceFileContent(file.path(), "x", std::nullopt, &refuse).error(),
                              EIO);
                    seen = file.temp.readFile("a.mxm");
                    EXPECT_EQ(file.entries(), linked ? 2 : 1);
                }
                EXPECT_TRUE(seen == Old || seen == fresh) << seen.size();
            }
}

// Guards: a failed save that changes the file (grown, new bytes left, a
// copy of the old ones left) or loses the system's reason; a failed folder
// flush after the new content stands taken for success or for no change;
// a file that may be written but not renamed over never saved.
TEST(SaveFailure, LeavesTheFileAsItWasOrSaysThatTheNewContentStands) {
    using enum WriteStep;
    const struct {
        bool linked;
        WriteStep step;
        int nth, error;
        const std::string& after;
    } cases[] = {
        {true, Backup, 0, ENOSPC, Old},    {true, FolderFlush, 0, EIO, Old},
        {true, Reserve, 0, ENOSPC, Old},   {true, Write, 0, ENOSPC, Old},
        {true, Truncate, 0, EROFS, Old},   {true, Flush, 0, EIO, Old},
        {true, Unbackup, 0, EACCES, Old},  {true, FolderFlush, 1, EIO, New},
        {false, Write, 0, ENOSPC, Old},    {false, Rename, 0, EXDEV, Old},
        {false, FolderFlush, 0, EIO, New}, {false, Rename, 0, EPERM, New},
        {false, Rename, 0, EBUSY, New},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.linked << " step " << int(c.step) << " " << c.nth);
        SavedFile file(c.linked);
        const uint64_t inode = file.inode();
        ScriptedProbe fail;
        fail.failing = c.step;
        fail.nth = c.nth;
        fail.error = c.error;
        const WriteResult result = replaceFileContent(file.path(), New, std::nullopt, &fail);
        const bool inPlace = c.error == EPERM || c.error == EBUSY;
        EXPECT_EQ(result.error(), inPlace ? 0 : c.error);
        EXPECT_TRUE(file.temp.readFile("a.mxm") == c.after);
        EXPECT_EQ(file.entries(), c.linked ? 2 : 1);
        EXPECT_EQ(result.identity(), c.after == New ? identityAt(file.path()) : std::nullopt);
        if (c.linked || inPlace) {
            EXPECT_EQ(file.inode(), inode);
        }
    }
    EXPECT_EQ(WriteResult::failed(ENOSPC).reason(), "No space left on device");
}

// Guards: a save on a full volume that grows or changes the file it
// fails to replace, and failures on a full or read-only volume that do not
// say why. Mounts a small tmpfs in a mount namespace of its own: root only.
TEST(SaveFailure, OnAFullOrReadOnlyVolumeSaysWhyAndLeavesTheFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    TempFolder temp;
    const std::string volume = temp.makeFolder("volume"), old(60000, 'o');
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=256k") != 0)
            ::_exit(100);
        const std::string a = temp.makeFile("volume/a.mxm", old),
                          c = temp.makeFile("volume/c.mxm", old), big(250000, 'n');
        const bool held =
            ::link(a.c_str(), (volume + "/b.mxm").c_str()) == 0 &&
            replaceFileContent(a, big).error() == ENOSPC && temp.readFile("volume/a.mxm") == old &&
            replaceFileContent(c, big).error() == ENOSPC && temp.readFile("volume/c.mxm") == old &&
            ::mount(nullptr, volume.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0 &&
            replaceFileContent(a, "n").error() == EROFS &&
            replaceFileContent(volume + "/d.mxm", "n").error() == EROFS;
        ::_exit(held ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    if (WEXITSTATUS(status) == 100)
        GTEST_SKIP() << "no small volume could be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Guards: two in-place saves of one file interleaving (the later one's
// bytes cut to the earlier one's length), and a reader of this program
// seeing a save half done (new bytes, then the old tail). The first save
// is held after its bytes are written, before the file is cut to length.
TEST(SaveTurns, InPlaceSavesTakeTurnsAndReadersNeverSeeAHalfDoneSave) {
    SavedFile file(true, std::string(400000, 'a'));
    const auto whole = [](const std::string& bytes) {
        return bytes.find_first_not_of(bytes[0]) == std::string::npos &&
               bytes.size() == (bytes[0] == 'b' ? 100000u : 400000u);
    };
    std::promise<void> held;
    ScriptedProbe hold;
    hold.look = [&](WriteStep step) {
        if (step == WriteStep::Truncate) {
            held.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    };
    std::thread first([&] {
        EXPECT_TRUE(replaceFileContent(file.path(), std::string(100000, 'b'), {}, &hold).ok());
    });
    held.get_future().wait();
    std::thread second(
        [&] { EXPECT_TRUE(replaceFileContent(file.path(), std::string(400000, 'c')).ok()); });
    const Ref<BinaryStream> stream = BinaryStream::Open(file.temp.item("b.mxm"), false);
    EXPECT_TRUE(whole(stream->Read(stream->Length())));
    stream->Close();
    first.join();
    second.join();
    EXPECT_TRUE(whole(file.temp.readFile("b.mxm")));
}

// Guards: a rename save dropping extended attributes (an ACL granting a
// collaborator write, a user note) or, where the saver may not give the new
// file the old one's owner, changing the owner; a temporary file readable
// by others while it is written.
TEST(SaveKeeps, AttributesOrWritesInPlaceAndNeverShowsTheTemporaryFileToOthers) {
    SavedFile file(false);
    // An access ACL: owner rw, user 65534 rw, group r, mask rw, others r.
    const std::string acl(
        "\2\0\0\0\1\0\6\0\xFF\xFF\xFF\xFF\2\0\6\0\xFE\xFF\0\0\4\0\4\0\xFF\xFF\xFF\xFF"
        "\x10\0\6\0\xFF\xFF\xFF\xFF\x20\0\4\0\xFF\xFF\xFF\xFF",
        44);
    const std::pair<std::string, std::string> attributes[] = {{"user.note", "kept"},
                                                              {"system.posix_acl_access", acl}};
    for (const auto& [name, value] : attributes)
        if (::setxattr(file.path().c_str(), name.c_str(), value.data(), value.size(), 0) != 0)
            GTEST_SKIP() << "no extended attributes here";
    ScriptedProbe named;
    named.failing = WriteStep::UnnamedFile;
    named.error = EOPNOTSUPP;
    mode_t temporaryMode = 07777;
    named.look = [&](WriteStep step) {
        struct stat info {};
        if (step == WriteStep::Write &&
            ::stat(file.temp.pathOf(".a.mxm.mxmtool-tmp").c_str(), &info) == 0)
            temporaryMode = info.st_mode & 07777;
    };
    const uint64_t inode = file.inode();
    ASSERT_TRUE(replaceFileContent(file.path(), New, std::nullopt, &named).ok());
    EXPECT_NE(file.inode(), inode);
    EXPECT_EQ(temporaryMode, 0600u);
    for (const auto& [name, value] : attributes) {
        std::string kept(100, '\0');
        kept.resize(std::max<ssize_t>(
            0, ::getxattr(file.path().c_str(), name.c_str(), kept.data(), kept.size())));
        EXPECT_EQ(kept, value) << name;
    }
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        return;
    // As nobody, in a folder anyone may write to, a root-owned file that
    // anyone may write: a new file could not be root's.
    ::chmod(file.temp.path().c_str(), 0777);
    ::chmod(file.path().c_str(), 0666);
    const uint64_t before = file.inode();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0 ||
            ::access(file.path().c_str(), W_OK) != 0)
            ::_exit(100); // the temporary folder lies where nobody may not go
        ::_exit(replaceFileContent(file.path(), Old).ok() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    if (WEXITSTATUS(status) == 100)
        GTEST_SKIP() << "nobody cannot reach the temporary folder";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat info {};
    ::stat(file.path().c_str(), &info);
    EXPECT_EQ(std::pair(uint64_t(info.st_uid), uint64_t(info.st_ino)), std::pair(0ul, before));
    EXPECT_TRUE(file.temp.readFile("a.mxm") == Old);
}
