#include "MaterialReading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Color White{255, 255, 255};

struct Record {
    std::string path;
    std::string block;
};

// The records the reader split the record part into.
std::vector<Record> recordsOf(const mxmFile& material) {
    EXPECT_EQ(material.mxmPaths.size(), material.mxmParameter.size());
    std::vector<Record> records;
    for (size_t i = 0; i < material.mxmPaths.size(); ++i)
        records.push_back({material.mxmPaths[i].getString(), material.mxmParameter[i]});
    return records;
}

// The records of a material whose record part is exactly these bytes.
std::vector<Record> recordsOfPart(const std::string& recordPart) {
    return recordsOf(readMaterial(
        MaterialBytes().marker().string("oak").noPreview().middle().raw(recordPart).bytes()));
}

bool operator==(const Record& a, const Record& b) {
    return a.path == b.path && a.block == b.block;
}

void PrintTo(const Record& r, std::ostream* os) {
    *os << "{\"" << r.path << "\", \"" << r.block << "\"}";
}

} // namespace

TEST(Reader, WorkedOffsetsWithStoredPreview) {
    const std::string file = MaterialBytes()
                                 .marker()
                                 .string("0123456789")
                                 .preview(200, 200)
                                 .middle()
                                 .record("/tex/a.jpg", "p bitmap")
                                 .bytes();
    ASSERT_EQ(file.substr(18, 8), std::string("\xC8\0\0\0\xC8\0\0\0", 8));
    Ref<BinaryStream> stream = makeRef<BinaryStream>(file);
    const mxmFile m(stream, makeRef<FolderItem>("/nowhere/x.mxm"));

    EXPECT_TRUE(m.isMXM);
    EXPECT_EQ(m.mxm1TypeMarker, MaterialBytes::DefaultMarker);
    EXPECT_EQ(m.getMaterialName(), "0123456789");
    EXPECT_EQ(m.mxm3PreviewWidth, 200);
    EXPECT_EQ(m.mxm4PreviewHeight, 200);
    EXPECT_EQ(m.mxm5Mittelmarker, file.substr(120026, 25));
    EXPECT_EQ(file.substr(120051, 1), "\x0A");
    EXPECT_EQ(recordsOf(m), (std::vector<Record>{{"/tex/a.jpg", "p bitmap"}}));
    EXPECT_EQ(stream->Position(), stream->Length());
    EXPECT_EQ(pixelAt(m.myPict, 199, 199), MaterialBytes::patternPixel(199, 199));
}

TEST(Reader, WorkedOffsetsWithoutPreview) {
    const std::string file = MaterialBytes()
                                 .marker()
                                 .string("0123456789")
                                 .noPreview()
                                 .middle()
                                 .record("/a", "z")
                                 .bytes();
    const mxmFile m = readMaterial(file);
    EXPECT_EQ(m.mxm5Mittelmarker, file.substr(22, 25));
    EXPECT_EQ(file.substr(47, 1), "\x02");
    EXPECT_EQ(recordsOf(m), (std::vector<Record>{{"/a", "z"}}));
}

TEST(Reader, NotAMaterialStopsAfterTheMarker) {
    Ref<BinaryStream> stream = makeRef<BinaryStream>("MXA1234\x03oak and more");
    const mxmFile m(stream, makeRef<FolderItem>("/nowhere/a.mxm"));
    EXPECT_FALSE(m.isMXM);
    EXPECT_EQ(m.mxm1TypeMarker, "MXA1234");
    EXPECT_EQ(m.fileName, "a.mxm");
    EXPECT_TRUE(m.mxm2TextureName.isNil());
    EXPECT_TRUE(m.PreviewPict.isNil());
    EXPECT_EQ(stream->Position(), 7);
    // The framework's string equality ignores letter case.
    EXPECT_TRUE(readMaterial(MaterialBytes().marker("mxm\1\2\3\4").string("a").bytes()).isMXM);
}

TEST(Reader, WidthNotAboveZeroMeansNoStoredPreview) {
    for (uint32_t width : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(width);
        const std::string file = MaterialBytes()
                                     .marker()
                                     .string("oak")
                                     .noPreview(width)
                                     .middle()
                                     .record("/a", "b")
                                     .bytes();
        const mxmFile m = readMaterial(file);
        EXPECT_EQ(m.mxm5Mittelmarker, MaterialBytes::DefaultMiddle);
        EXPECT_EQ(m.mxm3PreviewWidth, 200);
        EXPECT_EQ(m.mxm4PreviewHeight, 200);
        EXPECT_EQ(m.myPict->Width(), 200);
        EXPECT_EQ(pixelAt(m.PreviewPict, 100, 100), White);
        EXPECT_EQ(recordsOf(m).size(), 1u);
    }
}

TEST(Reader, StoredPreviewIsReadAtItsOwnSize) {
    const std::string file =
        MaterialBytes().marker().string("oak").preview(100, 50).middle().record("/a", "b").bytes();
    const mxmFile m = readMaterial(file);
    EXPECT_EQ(m.myPict->Width(), 100);
    EXPECT_EQ(m.myPict->Height(), 50);
    EXPECT_EQ(pixelAt(m.myPict, 0, 0), MaterialBytes::patternPixel(0, 0));
    EXPECT_EQ(pixelAt(m.myPict, 99, 0), MaterialBytes::patternPixel(99, 0));
    EXPECT_EQ(pixelAt(m.myPict, 0, 1), MaterialBytes::patternPixel(0, 1));
    EXPECT_EQ(pixelAt(m.myPict, 99, 49), MaterialBytes::patternPixel(99, 49));
    // 15,000 pixel bytes, then the middle marker.
    EXPECT_EQ(m.mxm5Mittelmarker, MaterialBytes::DefaultMiddle);
}

TEST(Reader, RecordSplitAtTheKeyword) {
    EXPECT_EQ(recordsOfPart(""), std::vector<Record>{});
    EXPECT_EQ(recordsOfPart(MaterialBytes().record("/a.jpg", "no keyword here").bytes()),
              (std::vector<Record>{{"/a.jpg", "no keyword here"}}));
    EXPECT_EQ(
        recordsOfPart(MaterialBytes()
                          .record("/a.jpg", "x bitmap")
                          .record("/b.jpg", "y bitmap")
                          .record("/c.jpg", "tail")
                          .bytes()),
        (std::vector<Record>{{"/a.jpg", "x bitmap"}, {"/b.jpg", "y bitmap"}, {"/c.jpg", "tail"}}));
    // Nothing follows a keyword that ends the file: no empty record.
    EXPECT_EQ(recordsOfPart(MaterialBytes().record("/a.jpg", "bitmap").bytes()),
              (std::vector<Record>{{"/a.jpg", "bitmap"}}));
}

TEST(Reader, KeywordInTheRecordPartsFirstFourBytesIsNotFound) {
    // An empty first path leaves its block starting at the second byte.
    const std::string part = std::string("\x00", 1) + "bitmapAAAAbitmap" + "\x03xyz" + "rest";
    EXPECT_EQ(recordsOfPart(part),
              (std::vector<Record>{{"", "bitmapAAAAbitmap"}, {"xyz", "rest"}}));
}

TEST(Reader, KeywordInsideAStoredPathDoesNotSplit) {
    EXPECT_EQ(recordsOfPart(MaterialBytes()
                                .record("/tex/bitmaps/a.jpg", "p bitmap")
                                .record("/b.jpg", "end")
                                .bytes()),
              (std::vector<Record>{{"/tex/bitmaps/a.jpg", "p bitmap"}, {"/b.jpg", "end"}}));
    // An occurrence that begins in the path and ends in the block belongs to neither.
    EXPECT_EQ(
        recordsOfPart(MaterialBytes().record("/a/bit", "map Xbitmap").record("/c", "d").bytes()),
        (std::vector<Record>{{"/a/bit", "map Xbitmap"}, {"/c", "d"}}));
}

TEST(Reader, DamagedPreviewSizesAreRefused) {
    struct Size {
        uint32_t width, height;
    };
    for (Size s : {Size{65536, 65536}, Size{1, 0x80000000u}, Size{0x7FFFFFFF, 0x7FFFFFFF},
                   Size{4097, 1}, Size{1, 4097}}) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        const std::string file =
            MaterialBytes().marker().string("oak").uint32(s.width).uint32(s.height).bytes();
        try {
            readMaterial(file, "/nowhere/broken.mxm");
            ADD_FAILURE() << "no exception";
        } catch (const DamagedFileException& e) {
            EXPECT_NE(std::string(e.what()).find("broken.mxm"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("preview"), std::string::npos) << e.what();
        }
    }
}

TEST(Reader, ZeroHeightStoresNoPixels) {
    const std::string file = MaterialBytes()
                                 .marker()
                                 .string("oak")
                                 .uint32(100)
                                 .uint32(0)
                                 .middle()
                                 .record("/a", "b")
                                 .bytes();
    const mxmFile m = readMaterial(file);
    EXPECT_EQ(m.mxm5Mittelmarker, MaterialBytes::DefaultMiddle);
    EXPECT_EQ(m.myPict->Width(), 200);
    EXPECT_EQ(pixelAt(m.PreviewPict, 0, 0), White);
    EXPECT_EQ(recordsOf(m), (std::vector<Record>{{"/a", "b"}}));
}

TEST(Reader, TruncatedFilesKeepWhatIsThere) {
    const std::string whole =
        MaterialBytes().marker().string("oak").preview(10, 10).middle().record("/a", "bc").bytes();
    // Ends inside the pixel block: the missing pixels are black.
    const std::string insideBlock = whole.substr(0, 7 + 4 + 8 + 30 * 3);
    const mxmFile m = readMaterial(insideBlock);
    EXPECT_EQ(pixelAt(m.myPict, 9, 2), MaterialBytes::patternPixel(9, 2));
    EXPECT_EQ(pixelAt(m.myPict, 0, 3), (Color{0, 0, 0}));
    EXPECT_EQ(m.mxm5Mittelmarker, "");
    EXPECT_TRUE(m.mxmPaths.empty());

    // Ends inside the name, inside a path: every cut reads without error.
    for (size_t length = 7; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        Ref<BinaryStream> stream = makeRef<BinaryStream>(whole.substr(0, length));
        const mxmFile cut(stream, makeRef<FolderItem>("/nowhere/oak.mxm"));
        EXPECT_EQ(stream->Position(), static_cast<int64_t>(length));
        EXPECT_EQ(cut.PreviewPict->Width(), 200);
    }
    EXPECT_EQ(recordsOf(readMaterial(whole.substr(0, whole.size() - 3))),
              (std::vector<Record>{{"/", ""}}));
}

TEST(Reader, NilArgumentsAreRaised) {
    EXPECT_THROW(mxmFile(Ref<BinaryStream>(), makeRef<FolderItem>("/a.mxm")), NilObjectException);
    EXPECT_THROW(mxmFile(makeRef<BinaryStream>("MXM"), Ref<FolderItem>()), NilObjectException);
}
