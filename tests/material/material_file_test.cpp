#include "Graphics.h"
#include "Locked.h"
#include "MaterialTest.h"
#include "MaxwellHelper.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Whether the preview is 200 x 200 and shows the pattern picture of
// MaterialBytes stretched by the factors (squeezed where below 1).
::testing::AssertionResult shows(const Ref<Picture>& preview, double xFactor, double yFactor) {
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (!(Graphics(*preview).Pixel(x, y) ==
                  MaterialBytes::patternPixel(int(x / xFactor), int(y / yFactor))))
                return ::testing::AssertionFailure() << "pixel " << x << ", " << y << " differs";
    return ::testing::AssertionResult(preview->Width() == 200 && preview->Height() == 200);
}

std::vector<std::string> recordsOf(const mxmFile& m) {
    std::vector<std::string> records;
    for (size_t i = 0; i < m.mxmPaths.size(); ++i)
        records.insert(records.end(), {m.mxmPaths[i].getString(), m.mxmParameter.at(i)});
    return records;
}

class MaterialFileTest : public ::testing::Test {
  protected:
    // The material name and the preview fields, then the rest of the file.
    std::string oak(const MaterialBytes& preview) const {
        return MaterialBytes().marker().string("oak").raw(preview.bytes()).bytes() + records;
    }
    // What the program does not interpret: bytes 0x00 and above 0x7F, a long
    // path, an empty one, a block without the keyword.
    const std::string records = MaterialBytes()
                                    .middle()
                                    .record("/tex/a.jpg", std::string("\0\1 params bitmap", 16))
                                    .record("/Volumes/Data/" + std::string(80, 'x'), "\xFF bitmap")
                                    .record("", "tail")
                                    .bytes();
    MaterialBytes size200() const { return MaterialBytes().uint32(200).uint32(200); }
    TempFolder temp;
    RecordedAlerts services;
};

TEST_F(MaterialFileTest, WorkedOffsetsWithAndWithoutStoredPreview) {
    // The middle marker starts after 120,000 pixel bytes, else after a width
    // that is not above zero (and a height, when the width is).
    const std::pair<MaterialBytes, size_t> cases[] = {{MaterialBytes().preview(200, 200), 120026},
                                                      {MaterialBytes().noPreview(0), 22},
                                                      {MaterialBytes().noPreview(0x80000000u), 22},
                                                      {MaterialBytes().uint32(100).uint32(0), 26}};
    for (const auto& [preview, middle] : cases) {
        const std::string file =
            MaterialBytes().marker().string("0123456789").raw(preview.bytes()).bytes() + records;
        const mxmFile m = readMaterial(file);
        EXPECT_EQ(m.mxm5Mittelmarker, file.substr(middle, 25)) << middle;
        EXPECT_EQ(m.mxmParameter.back(), "tail");
    }
}

TEST_F(MaterialFileTest, RecordsSplitAfterTheKeywordAndReadBackAsWritten) {
    // Each case: the record part, then its paths and blocks, as read and as written.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {MaterialBytes().record("/a.jpg", "no keyword").bytes(), {"/a.jpg", "no keyword"}},
        {MaterialBytes().record("/a.jpg", "x bitmap").record("/b.jpg", "bitmap").bytes(),
         {"/a.jpg", "x bitmap", "/b.jpg", "bitmap"}},
        // An empty first path leaves a keyword within the part's first four
        // bytes, where the first search does not look.
        {std::string(1, '\0') + "bitmapAAAAbitmap\3xyzrest",
         {"", "bitmapAAAAbitmap", "xyz", "rest"}},
        // After an empty path's two-byte prefix, the first search finds it.
        {std::string("\x40\0\0\0bitmap\1Xbitmap\2YZ", 21),
         {"", std::string("\0\0bitmap", 8), "X", "bitmap", "YZ", ""}},
        // A stored path holding the keyword, or its first half, splits nothing.
        {MaterialBytes().record("/bitmaps/a", "p bitmap").record("/a/bit", "map X").bytes(),
         {"/bitmaps/a", "p bitmap", "/a/bit", "map X"}}};
    for (const auto& [part, expected] : cases) {
        const mxmFile m = readMaterial(
            MaterialBytes().marker().string("oak").noPreview().middle().bytes() + part);
        EXPECT_EQ(recordsOf(m), expected) << part;
        EXPECT_EQ(recordsOf(readMaterial(m.fileBytes())), expected) << part;
    }
}

// A preview size is refused only when the file cannot hold its block (never
// allocated from a mere claim); every preview a file holds is read.
TEST_F(MaterialFileTest, PreviewSizesTheFileCannotHoldAreRefusedAndShortFilesReadToTheirEnd) {
    const std::pair<uint32_t, uint32_t> claimed[] = {
        {65536, 65536}, {1, 0x80000000u}, {201, 200}, {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& [width, height] : claimed)
        EXPECT_THROW(readMaterial(oak(MaterialBytes().uint32(width).uint32(height))),
                     DamagedFileException)
            << width << " x " << height;
    for (const auto& [width, height] : {std::pair{4097, 1}, {1, 40000}}) {
        const mxmFile m = readMaterial(oak(MaterialBytes().preview(width, height)));
        EXPECT_EQ(m.myPict->Width() * 100000 + m.myPict->Height(), width * 100000 + height);
        EXPECT_EQ(m.mxmParameter.back(), "tail");
    }
    const std::string whole = oak(MaterialBytes().preview(2, 2));
    // Written, a file cut short anywhere reads back with the records it had.
    for (size_t length = 3; length <= whole.size(); ++length) {
        Ref<BinaryStream> stream = streamOver(whole.substr(0, length));
        const mxmFile cut(stream, makeRef<FolderItem>("/x/oak.mxm"));
        EXPECT_EQ(stream->Position(), static_cast<int64_t>(length));
        EXPECT_EQ(recordsOf(readMaterial(cut.fileBytes())), recordsOf(cut)) << length;
    }
}

TEST_F(MaterialFileTest, PreviewStretchedPerAxisRevertedAndWrittenByteForByte) {
    mxmFile m = readMaterial(oak(MaterialBytes().preview(100, 50)));
    EXPECT_TRUE(shows(m.PreviewPict, 2, 4)); // from 15,000 bytes, and no more:
    EXPECT_EQ(m.mxmParameter.back(), "tail");
    const Ref<Picture> dropped = readMaterial(oak(MaterialBytes().preview(400, 100))).myPict;
    m.SetPict(dropped);
    EXPECT_TRUE(shows(m.PreviewPict, 0.5, 2));
    m.Revert();
    EXPECT_TRUE(shows(m.PreviewPict, 2, 4));
    // A nil picture keeps the preview, which is what is written, at 200 x 200.
    m.SetPict(dropped);
    m.SetPict(Ref<Picture>());
    EXPECT_TRUE(shows(m.PreviewPict, 0.5, 2));
    ASSERT_TRUE(m.writeFile(temp.item("oak.mxm")));
    EXPECT_EQ(temp.readFile("oak.mxm"),
              oak(size200().raw(MaxwellHelper::Pict2RGBMB(m.PreviewPict)->bytes())));
    m.Revert();
    EXPECT_TRUE(shows(m.PreviewPict, 2, 4));
    // Written byte for byte (a file ending after the middle marker gains no
    // empty record), with a blank preview where none was stored.
    const std::string original = oak(MaterialBytes().preview(200, 200));
    for (const std::string& file :
         {original, MaterialBytes().marker().string("oak").preview(200, 200).middle().bytes()}) {
        ASSERT_TRUE(readMaterial(file).writeFile(temp.item("oak.mxm")));
        EXPECT_TRUE(temp.readFile("oak.mxm") == file);
    }
    mxmFile blank = readMaterial(oak(MaterialBytes().noPreview()));
    blank.SetPict(readMaterial(original).myPict);
    blank.Revert();
    ASSERT_TRUE(blank.writeFile(temp.item("oak.mxm")));
    EXPECT_EQ(temp.readFile("oak.mxm"), oak(size200().raw(std::string(120000, '\xFF'))));
    EXPECT_TRUE(services.messages.empty());
}

TEST(PixelBlock, MakesAPictureOnlyOfExactlyThreeBytesAPixel) {
    const std::string block = MaterialBytes::patternBlock(3, 2);
    EXPECT_TRUE(MaxwellHelper::RGBMB2Pict(makeRef<MemoryBlock>(block + "x"), 3, 2).isNil());
    EXPECT_TRUE(MaxwellHelper::RGBMB2Pict(makeRef<MemoryBlock>(block.substr(1)), 3, 2).isNil());
    EXPECT_EQ(MaxwellHelper::Pict2RGBMB(Ref<Picture>())->bytes(), "");
}

// Through a link, the name, the write and the ".mxm" rename concern the file it leads to.
TEST_F(MaterialFileTest, NameUpToTheFirstDotAndMxmAppendedWhereThatNameIsFree) {
    mxmFile m = readMaterial(oak(MaterialBytes().noPreview()));
    temp.makeFile("taken/new.mxm", "someone else's file");
    temp.makeFile("real", "old");
    fs::create_symlink("real", temp.pathOf("lnk"));
    // A taken new.mxm is not replaced: the file keeps the name it was given.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"oak.wood.mxm", "oak.wood.mxm", "oak"},
        {"ch\xEAne.MXM", "ch\xEAne.MXM", "ch\xEAne"},
        {"new", "new.mxm", "new"},
        {"taken/new", "taken/new", "new"},
        {"lnk", "real.mxm", "real"}};
    for (const auto& [target, written, name] : cases) {
        const Ref<FolderItem> item = temp.item(target);
        ASSERT_TRUE(m.writeFile(item));
        EXPECT_EQ(item->NativePath(), temp.pathOf(written));
        EXPECT_EQ(readMaterial(temp.readFile(written)).getMaterialName(), name);
    }
    EXPECT_FALSE(temp.item("new")->Exists());
    EXPECT_EQ(temp.readFile("taken/new.mxm"), "someone else's file");
    EXPECT_TRUE(fs::is_symlink(temp.pathOf("lnk")));
    EXPECT_FALSE(fs::exists(temp.pathOf("lnk.mxm")));
}

TEST_F(MaterialFileTest, FailedWriteLeavesTheOldFileAndSaysSo) {
    const std::string original = MaterialBytes().marker().string("elm").noPreview().bytes();
    temp.makeFile("locked/oak.mxm", original);
    mxmFile m = readMaterial(original); // written as "oak": other bytes
    EXPECT_THROW(m.writeFile(Ref<FolderItem>()), NilObjectException);
    EXPECT_THROW(readMaterial("no material").writeFile(temp.item("locked/oak.mxm")),
                 NilObjectException);
    fs::create_symlink("loop", temp.pathOf("loop"));
    EXPECT_FALSE(m.writeFile(temp.item("loop")));
    const Locked folder(temp.pathOf("locked")), file(temp.pathOf("locked/oak.mxm"));
    if (::mkdir(temp.pathOf("locked/probe").c_str(), 0755) == 0)
        GTEST_SKIP() << "this file system cannot lock a folder";
    EXPECT_FALSE(m.writeFile(temp.item("locked/oak.mxm")));
    EXPECT_FALSE(m.writeFile(temp.item("locked/new")));
    EXPECT_EQ(temp.readFile("locked/oak.mxm"), original);
    EXPECT_FALSE(temp.item("locked/new")->Exists());
    EXPECT_TRUE(fs::is_symlink(temp.pathOf("loop")));
    const auto cantWrite = [](const std::string& path, const std::string& reason) {
        return "Can't write file... Probably file is opened in another application!\n\n\"" + path +
               "\": " + reason + ".";
    };
    const std::string locked = ::geteuid() == 0 ? "Operation not permitted" : "Permission denied";
    EXPECT_EQ(services.messages,
              (std::vector<std::string>{
                  cantWrite(temp.pathOf("loop"), "Too many levels of symbolic links"),
                  cantWrite(temp.pathOf("locked/oak.mxm"), locked),
                  cantWrite(temp.pathOf("locked/new"), locked)}));
}

// A save replaces only the file as it was read, or as this material last
// wrote it (renamed to ".mxm" since): another program's change stays.
TEST_F(MaterialFileTest, ASaveNeverReplacesAFileChangedSinceItWasRead) {
    temp.makeFile("oak", oak(MaterialBytes().noPreview()));
    const Ref<FolderItem> file = temp.item("oak");
    mxmFile m(BinaryStream::Open(file, false), file);
    ASSERT_TRUE(m.writeFile(file));
    ASSERT_TRUE(m.writeFile(file)) << "the second save expects the first one's file";
    fs::rename(temp.makeFile("other", "replaced"), temp.pathOf("oak.mxm"));
    EXPECT_FALSE(m.writeFile(file));
    EXPECT_EQ(temp.readFile("oak.mxm"), "replaced");
    EXPECT_EQ(services.messages.size(), 1u);
}

// The write in steps (the middle one on another thread) renames to ".mxm"
// only after a write that succeeded, and reports one that failed.
TEST_F(MaterialFileTest, AWriteInStepsEndsAsWriteFileDoes) {
    mxmFile m = readMaterial(oak(MaterialBytes().noPreview()));
    for (const bool written : {false, true}) {
        temp.makeFile("new", "old");
        const Ref<FolderItem> target = temp.item("new");
        const mxmFile::FileWrite pending = m.prepareWrite(target);
        WriteResult done = WriteResult::failed(EACCES);
        if (written)
            std::thread([&] { done = pending.write(); }).join();
        EXPECT_EQ(mxmFile::finishWrite(pending, done, target), written);
        EXPECT_EQ(target->NativePath(), temp.pathOf(written ? "new.mxm" : "new"));
        EXPECT_EQ(readMaterial(temp.readFile(written ? "new.mxm" : "new"), "/x/new").isMXM,
                  written);
    }
    EXPECT_EQ(services.messages.size(), 1u);
}

// The writer refuses to make a file of 2 GB or more, which the reader refuses.
TEST_F(MaterialFileTest, AMaterialOf2GBOrMoreIsNotWritten) {
    const std::string original = oak(MaterialBytes().noPreview());
    temp.makeFile("oak.mxm", original);
    mxmFile m = readMaterial(original);
    // Just enough: with the 120,000 preview bytes the writer adds, 2 GB.
    m.mxmParameter.back().resize((size_t{1} << 31) - original.size());
    EXPECT_FALSE(m.writeFile(temp.item("oak.mxm")));
    EXPECT_EQ(temp.readFile("oak.mxm"), original);
    EXPECT_EQ(services.messages.size(), 1u);
}

TEST(FilenameFromPath, TextAfterTheLastOfTheCommonerSeparator) {
    EXPECT_EQ(mxmFile::getFilenameFromPath("/Users/x/a.jpg"), "a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("C:\\tex\\a.jpg"), "a.jpg");
    EXPECT_EQ(mxmFile::getFilenameFromPath("/a/b\\c"), "b\\c");
    EXPECT_EQ(mxmFile::getFilenameFromPath("a/b\\c"), "c"); // a tie: the backslash decides
    EXPECT_EQ(mxmFile::getFilenameFromPath("HD:tex:a.jpg"), "HD:tex:a.jpg"); // no separator
    EXPECT_EQ(mxmFile::getFilenameFromPath("/tex/"), "");
    EXPECT_EQ(mxmFile::getFilenameFromPath(""), "");
}

TEST(LengthPrefixedString, EachFormReadsBackAndAStreamEndingEarlyIsReadToItsEnd) {
    // Every byte value, 0x00 and those above 0x7F included.
    const std::string zero(1, '\0'), all = MaterialBytes::patternBlock(16384, 1);
    const std::pair<std::string, size_t> forms[] = {
        {zero, 0}, {"\x3F", 63}, {"\x40\x40", 64}, {"\x41\x2C", 300}, {"\xFF\xFF", 49151}};
    for (const auto& [prefix, length] : forms) {
        const std::string onDisk = prefix + all.substr(0, length);
        EXPECT_EQ(MaxwellHelper::string2mxstring(all.substr(0, length), false), onDisk);
        Ref<BinaryStream> stream = streamOver(onDisk + "next");
        EXPECT_EQ(mxmString(stream).getMxmString(), onDisk);
        EXPECT_EQ(stream->Position(), std::ssize(onDisk));
    }
    EXPECT_EQ(MaxwellHelper::string2mxstring("abc", true), "\x40\3abc");
    // One byte more than the prefix can carry has no on-disk form.
    EXPECT_THROW(MaxwellHelper::string2mxstring(all.substr(0, 49152), false), OutOfBoundsException);
    // Rendered in the shortest form of the bytes held: a short length in the
    // two-byte form; a stream that ends inside the prefix or inside the string.
    const std::pair<std::string, std::string> cases[] = {
        {"\x40\3abc", "\3abc"}, {"", zero}, {"\x41", zero}, {"\5ab", "\2ab"}};
    for (const auto& [onDisk, rendered] : cases) {
        Ref<BinaryStream> stream = streamOver(onDisk);
        EXPECT_EQ(mxmString(stream).getMxmString(), rendered);
        EXPECT_EQ(stream->Position(), std::ssize(onDisk));
    }
}

} // namespace
