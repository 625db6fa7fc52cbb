#include "MaterialReading.h"
#include "Services.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Records what the program shows instead of showing it.
class WriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = serviceHooks();
        serviceHooks().msgBox = [this](const std::string& text) { messages.push_back(text); };
    }
    void TearDown() override { serviceHooks() = saved_; }

    std::vector<std::string> messages;
    TempFolder temp;

  private:
    ServiceHooks saved_;
};

const std::string LongPath = "/Volumes/Data/" + std::string(80, 'x') + "/texture.jpg";

std::string typicalMaterial(const std::string& name, int width, int height) {
    return MaterialBytes()
        .marker()
        .string(name)
        .preview(width, height)
        .middle()
        .record("/tex/a.jpg", std::string("\x00\x01 params bitmap", 16))
        .record(LongPath, "\xFF\xFE more bitmap")
        .record("", "tail without keyword")
        .bytes();
}

// A folder that refuses new files while the object lives: write-protected,
// and for root, which ignores that, made immutable.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const std::string& path) : path_(path) {
        ::chmod(path.c_str(), 0555);
        setImmutable(true);
        locked_ = ::access(path.c_str(), W_OK) != 0 || immutable();
    }
    ~ReadOnlyFolder() {
        setImmutable(false);
        ::chmod(path_.c_str(), 0755);
    }
    bool locked() const { return locked_; }

  private:
    int flags() const {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        int value = 0;
        ::ioctl(fd, FS_IOC_GETFLAGS, &value);
        ::close(fd);
        return value;
    }
    bool immutable() const { return flags() & FS_IMMUTABLE_FL; }
    void setImmutable(bool on) const {
        int value = on ? flags() | FS_IMMUTABLE_FL : flags() & ~FS_IMMUTABLE_FL;
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        ::ioctl(fd, FS_IOC_SETFLAGS, &value);
        ::close(fd);
    }

    std::string path_;
    bool locked_ = false;
};

} // namespace

TEST_F(WriterTest, UnchangedMaterialRoundTripsByteForByte) {
    const std::string original = typicalMaterial("oak", 200, 200);
    temp.makeFile("oak.mxm", original);
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    ASSERT_TRUE(m.writeFile(m.mxmFileFolderItem));
    EXPECT_EQ(temp.readFile("oak.mxm"), original);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WriterTest, NoStoredPreviewIsWrittenAsBlank200By200) {
    const std::string part = MaterialBytes().record("/a", "b bitmap").bytes();
    temp.makeFile("oak.mxm",
                  MaterialBytes().marker().string("oak").noPreview().middle().raw(part).bytes());
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    ASSERT_TRUE(m.writeFile(temp.item("oak.mxm")));
    const std::string written = temp.readFile("oak.mxm");
    EXPECT_EQ(written, MaterialBytes()
                           .marker()
                           .string("oak")
                           .uint32(200)
                           .uint32(200)
                           .raw(std::string(120000, '\xFF'))
                           .middle()
                           .raw(part)
                           .bytes());
}

TEST_F(WriterTest, SmallPreviewIsWrittenAt200By200) {
    const std::string original = typicalMaterial("oak", 100, 50);
    temp.makeFile("oak.mxm", original);
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    ASSERT_TRUE(m.writeFile(temp.item("oak.mxm")));
    const std::string written = temp.readFile("oak.mxm");
    const size_t pixels = 7 + 4 + 8;
    EXPECT_EQ(uint32At(written, 11), 200u);
    EXPECT_EQ(uint32At(written, 15), 200u);
    EXPECT_EQ(written.size(), original.size() - 15000 + 120000);
    EXPECT_EQ(written.substr(pixels + 120000), original.substr(pixels + 15000));
}

TEST_F(WriterTest, MaterialNameIsTheTargetsNameUpToItsFirstDot) {
    temp.makeFile("oak.mxm", typicalMaterial("oak", 2, 2));
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));

    Ref<FolderItem> wood = temp.item("oak.wood.mxm");
    ASSERT_TRUE(m.writeFile(wood));
    EXPECT_EQ(m.getMaterialName(), "oak");
    EXPECT_EQ(wood->Name(), "oak.wood.mxm");
    EXPECT_EQ(readMaterialFile(temp.item("oak.wood.mxm")).getMaterialName(), "oak");

    // The name's bytes are stored as they stand.
    const std::string latin1Name = "ch\xEAne";
    Ref<FolderItem> raw = temp.item(latin1Name + ".MXM");
    ASSERT_TRUE(m.writeFile(raw));
    EXPECT_EQ(raw->Name(), latin1Name + ".MXM");
    EXPECT_EQ(readMaterialFile(raw).getMaterialName(), latin1Name);
}

TEST_F(WriterTest, TargetWithoutExtensionGetsMxmAppended) {
    temp.makeFile("oak.mxm", typicalMaterial("oak", 2, 2));
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    Ref<FolderItem> target = temp.item("new");
    ASSERT_TRUE(m.writeFile(target));
    EXPECT_EQ(target->Name(), "new.mxm");
    EXPECT_FALSE(temp.item("new")->Exists());
    EXPECT_EQ(readMaterialFile(temp.item("new.mxm")).getMaterialName(), "new");
}

TEST_F(WriterTest, AppendingMxmNeverReplacesAnotherFile) {
    temp.makeFile("oak.mxm", typicalMaterial("oak", 2, 2));
    temp.makeFile("new.mxm", "someone else's file");
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    Ref<FolderItem> target = temp.item("new");
    ASSERT_TRUE(m.writeFile(target));
    EXPECT_EQ(temp.readFile("new.mxm"), "someone else's file");
    EXPECT_EQ(target->Name(), "new");
    EXPECT_EQ(readMaterialFile(temp.item("new")).getMaterialName(), "new");
}

TEST_F(WriterTest, FailedWriteLeavesTheOldFileAndSaysSo) {
    const std::string original = typicalMaterial("oak", 2, 2);
    temp.makeFile("locked/oak.mxm", original);
    mxmFile m = readMaterialFile(temp.item("locked/oak.mxm"));
    m.SetPict(pictureOf(5, 5, [](int, int) { return Color{1, 2, 3}; }));
    ReadOnlyFolder lock(temp.pathOf("locked"));
    if (!lock.locked())
        GTEST_SKIP() << "this file system cannot lock a folder";

    EXPECT_FALSE(m.writeFile(temp.item("locked/oak.mxm")));
    EXPECT_FALSE(m.writeFile(temp.item("locked/new")));
    EXPECT_EQ(temp.readFile("locked/oak.mxm"), original);
    EXPECT_FALSE(temp.item("locked/new")->Exists());
    EXPECT_EQ(messages,
              std::vector<std::string>(
                  2, "Can't write file... Probably file is opened in another application!"));
}

TEST_F(WriterTest, NilTargetOrNoMaterialIsRaisedBeforeWriting) {
    temp.makeFile("oak.mxm", typicalMaterial("oak", 2, 2));
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    EXPECT_THROW(m.writeFile(Ref<FolderItem>()), NilObjectException);

    temp.makeFile("text.mxm", "plain text");
    mxmFile notMaterial = readMaterialFile(temp.item("text.mxm"));
    EXPECT_THROW(notMaterial.writeFile(temp.item("text.mxm")), NilObjectException);
    EXPECT_EQ(temp.readFile("text.mxm"), "plain text");
}

TEST(FilenameFromPath, LastComponentOfTheCommonerSeparator) {
    EXPECT_EQ(mxmFile::getFilenameFromPath("/Users/x/a.jpg"), "a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("C:\\tex\\a.jpg"), "a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("/a/b\\c"), "b\\c");
    EXPECT_EQ(mxmFile::getFilenameFromPath("a/b\\c"), "c");
    EXPECT_EQ(mxmFile::getFilenameFromPath("a.jpg"), "a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("HD:tex:a.jpg"), "HD:tex:a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("/tex/"), "");
    EXPECT_EQ(mxmFile::getFilenameFromPath(""), "");
}
