#include "MaterialReading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Color White{255, 255, 255};

using Records = std::vector<std::pair<std::string, std::string>>; // path, block

Records recordsOf(const mxmFile& material) {
    EXPECT_EQ(material.mxmPaths.size(), material.mxmParameter.size());
    Records records;
    for (size_t i = 0; i < material.mxmPaths.size(); ++i)
        records.emplace_back(material.mxmPaths[i].getString(), material.mxmParameter[i]);
    return records;
}

// The records of a material whose record part is exactly these bytes.
Records recordsOfPart(const std::string& recordPart) {
    return recordsOf(readMaterial(
        MaterialBytes().marker().string("oak").noPreview().middle().raw(recordPart).bytes()));
}

} // namespace

TEST(Reader, WorkedOffsetsWithAndWithoutPreview) {
    const std::string with = MaterialBytes()
                                 .marker()
                                 .string("0123456789")
                                 .preview(200, 200)
                                 .middle()
                                 .record("/a", "z")
                                 .bytes();
    ASSERT_EQ(with.substr(18, 8), std::string("\xC8\0\0\0\xC8\0\0\0", 8));
    Ref<BinaryStream> stream = makeRef<BinaryStream>(with);
    const mxmFile m(stream, makeRef<FolderItem>("/nowhere/x.mxm"));
    EXPECT_EQ(m.getMaterialName(), "0123456789");
    EXPECT_EQ(m.mxm5Mittelmarker, with.substr(120026, 25));
    EXPECT_EQ(with.substr(120051, 1), "\x02");
    EXPECT_EQ(recordsOf(m), (Records{{"/a", "z"}}));
    EXPECT_EQ(stream->Position(), stream->Length());
    EXPECT_EQ(pixelAt(m.myPict, 199, 199), MaterialBytes::patternPixel(199, 199));

    const std::string without = MaterialBytes()
                                    .marker()
                                    .string("0123456789")
                                    .noPreview()
                                    .middle()
                                    .record("/a", "z")
                                    .bytes();
    const mxmFile n = readMaterial(without);
    EXPECT_EQ(n.mxm5Mittelmarker, without.substr(22, 25));
    EXPECT_EQ(without.substr(47, 1), "\x02");
    EXPECT_EQ(recordsOf(n), (Records{{"/a", "z"}}));
}

TEST(Reader, NotAMaterialStopsAfterTheMarker) {
    Ref<BinaryStream> stream = makeRef<BinaryStream>("MXA1234\x03oak and more");
    const mxmFile m(stream, makeRef<FolderItem>("/nowhere/a.mxm"));
    EXPECT_FALSE(m.isMXM);
    EXPECT_TRUE(m.mxm2TextureName.isNil());
    EXPECT_TRUE(m.PreviewPict.isNil());
    EXPECT_EQ(stream->Position(), 7);
    // The framework's string equality ignores letter case.
    EXPECT_TRUE(readMaterial(MaterialBytes().marker("mxm\1\2\3\4").string("a").bytes()).isMXM);
}

TEST(Reader, WidthNotAboveZeroMeansNoStoredPreview) {
    for (uint32_t width : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(width);
        const mxmFile m = readMaterial(MaterialBytes()
                                           .marker()
                                           .string("oak")
                                           .noPreview(width)
                                           .middle()
                                           .record("/a", "b")
                                           .bytes());
        EXPECT_EQ(m.mxm5Mittelmarker, MaterialBytes::DefaultMiddle);
        EXPECT_EQ(m.myPict->Width(), 200);
        EXPECT_EQ(pixelAt(m.PreviewPict, 100, 100), White);
        EXPECT_EQ(recordsOf(m).size(), 1u);
    }
}

TEST(Reader, StoredPreviewIsReadAtItsOwnSize) {
    const mxmFile m =
        readMaterial(MaterialBytes().marker().string("oak").preview(100, 50).middle().bytes());
    EXPECT_EQ(m.myPict->Width(), 100);
    EXPECT_EQ(m.myPict->Height(), 50);
    EXPECT_EQ(pixelAt(m.myPict, 99, 0), MaterialBytes::patternPixel(99, 0));
    EXPECT_EQ(pixelAt(m.myPict, 0, 1), MaterialBytes::patternPixel(0, 1));
    // 15,000 pixel bytes, then the middle marker.
    EXPECT_EQ(m.mxm5Mittelmarker, MaterialBytes::DefaultMiddle);
}

TEST(Reader, RecordSplitAtTheKeyword) {
    EXPECT_EQ(recordsOfPart(""), Records{});
    EXPECT_EQ(recordsOfPart(MaterialBytes().record("/a.jpg", "no keyword here").bytes()),
              (Records{{"/a.jpg", "no keyword here"}}));
    EXPECT_EQ(recordsOfPart(MaterialBytes()
                                .record("/a.jpg", "x bitmap")
                                .record("/b.jpg", "y bitmap")
                                .record("/c.jpg", "tail")
                                .bytes()),
              (Records{{"/a.jpg", "x bitmap"}, {"/b.jpg", "y bitmap"}, {"/c.jpg", "tail"}}));
    // Nothing follows a keyword that ends the file: no empty record.
    EXPECT_EQ(recordsOfPart(MaterialBytes().record("/a.jpg", "bitmap").bytes()),
              (Records{{"/a.jpg", "bitmap"}}));
    // An empty first path leaves a keyword within the part's first four bytes,
    // where the first search does not look.
    EXPECT_EQ(recordsOfPart(std::string("\x00", 1) + "bitmapAAAAbitmap" + "\x03xyz" + "rest"),
              (Records{{"", "bitmapAAAAbitmap"}, {"xyz", "rest"}}));
}

TEST(Reader, KeywordInsideAStoredPathDoesNotSplit) {
    EXPECT_EQ(recordsOfPart(MaterialBytes()
                                .record("/tex/bitmaps/a.jpg", "p bitmap")
                                .record("/b.jpg", "end")
                                .bytes()),
              (Records{{"/tex/bitmaps/a.jpg", "p bitmap"}, {"/b.jpg", "end"}}));
    // An occurrence that begins in the path and ends in the block belongs to neither.
    EXPECT_EQ(
        recordsOfPart(MaterialBytes().record("/a/bit", "map Xbitmap").record("/c", "d").bytes()),
        (Records{{"/a/bit", "map Xbitmap"}, {"/c", "d"}}));
}

TEST(Reader, DamagedPreviewSizesAreRefused) {
    const std::pair<uint32_t, uint32_t> sizes[] = {
        {65536, 65536}, {1, 0x80000000u}, {0x7FFFFFFF, 0x7FFFFFFF}, {4097, 1}, {1, 4097}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const std::string file =
            MaterialBytes().marker().string("oak").uint32(width).uint32(height).bytes();
        try {
            readMaterial(file, "/nowhere/broken.mxm");
            ADD_FAILURE() << "no exception";
        } catch (const DamagedFileException& e) {
            EXPECT_NE(std::string(e.what()).find("broken.mxm"), std::string::npos) << e.what();
        }
    }
}

TEST(Reader, ZeroHeightStoresNoPixels) {
    const mxmFile m = readMaterial(MaterialBytes()
                                       .marker()
                                       .string("oak")
                                       .uint32(100)
                                       .uint32(0)
                                       .middle()
                                       .record("/a", "b")
                                       .bytes());
    EXPECT_EQ(pixelAt(m.PreviewPict, 0, 0), White);
    EXPECT_EQ(recordsOf(m), (Records{{"/a", "b"}}));
}

TEST(Reader, TruncatedFilesKeepWhatIsThere) {
    const std::string whole =
        MaterialBytes().marker().string("oak").preview(10, 10).middle().record("/a", "bc").bytes();
    // Ends inside the pixel block: the missing pixels are black.
    const mxmFile m = readMaterial(whole.substr(0, 7 + 4 + 8 + 30 * 3));
    EXPECT_EQ(pixelAt(m.myPict, 9, 2), MaterialBytes::patternPixel(9, 2));
    EXPECT_EQ(pixelAt(m.myPict, 0, 3), (Color{0, 0, 0}));
    EXPECT_TRUE(m.mxmPaths.empty());

    // Every cut, inside the name or a path included, reads to its end.
    for (size_t length = 7; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        Ref<BinaryStream> stream = makeRef<BinaryStream>(whole.substr(0, length));
        const mxmFile cut(stream, makeRef<FolderItem>("/nowhere/oak.mxm"));
        EXPECT_EQ(stream->Position(), static_cast<int64_t>(length));
    }
    EXPECT_EQ(recordsOf(readMaterial(whole.substr(0, whole.size() - 3))), (Records{{"/", ""}}));
}
