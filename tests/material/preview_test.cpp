#include "MaterialReading.h"
#include "MaxwellHelper.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Color dropped(int x, int y) {
    return Color{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y), 77};
}

mxmFile materialWithPreview(int width, int height) {
    return readMaterial(MaterialBytes()
                            .marker()
                            .string("oak")
                            .preview(width, height)
                            .middle()
                            .record("/a", "b")
                            .bytes());
}

// Whether the 200 x 200 preview shows colour(x, y) at every pixel.
template <class ColourOf>
::testing::AssertionResult previewShows(const Ref<Picture>& preview, ColourOf colour) {
    if (preview->Width() != 200 || preview->Height() != 200)
        return ::testing::AssertionFailure()
               << "preview is " << preview->Width() << " x " << preview->Height();
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (!(pixelAt(preview, x, y) == colour(x, y)))
                return ::testing::AssertionFailure() << "pixel " << x << ", " << y << " differs";
    return ::testing::AssertionSuccess();
}

auto storedStretched(int xFactor, int yFactor) {
    return [=](int x, int y) { return MaterialBytes::patternPixel(x / xFactor, y / yFactor); };
}

} // namespace

TEST(PixelBlock, BlockOfTheWrongSizeGivesNoPicture) {
    const std::string block = MaterialBytes::patternBlock(3, 2);
    EXPECT_TRUE(MaxwellHelper::RGBMB2Pict(makeRef<MemoryBlock>(block + "x"), 3, 2).isNil());
    EXPECT_TRUE(MaxwellHelper::RGBMB2Pict(makeRef<MemoryBlock>(block.substr(1)), 3, 2).isNil());
}

TEST(PixelBlock, PictureToBlockSizes) {
    EXPECT_EQ(MaxwellHelper::Pict2RGBMB(Ref<Picture>())->Size(), 0);
    Ref<Picture> one = pictureOf(1, 1, [](int, int) { return Color{9, 8, 7}; });
    EXPECT_EQ(MaxwellHelper::Pict2RGBMB(one)->bytes(), "\x09\x08\x07");
    Ref<Picture> preview = pictureOf(200, 200, MaterialBytes::patternPixel);
    const std::string block = MaxwellHelper::Pict2RGBMB(preview)->bytes();
    ASSERT_EQ(block.size(), 120000u);
    EXPECT_EQ(block.substr(600, 3), MaterialBytes::patternBlock(1, 2).substr(3, 3));
}

TEST(Preview, StoredPreviewIsStretchedPerAxisAndKeptForRevert) {
    mxmFile m = materialWithPreview(100, 50);
    EXPECT_TRUE(previewShows(m.PreviewPict, storedStretched(2, 4)));
    EXPECT_EQ(m.revertPict->Width(), 100);
    EXPECT_EQ(m.revertPict->Height(), 50);
    EXPECT_EQ(pixelAt(m.revertPict, 99, 49), MaterialBytes::patternPixel(99, 49));
}

TEST(Preview, DroppedPictureIsSqueezedAndStretchedToFit) {
    mxmFile m = materialWithPreview(200, 200);
    m.SetPict(pictureOf(400, 100, dropped));
    EXPECT_TRUE(previewShows(m.PreviewPict, [](int x, int y) { return dropped(2 * x, y / 2); }));
}

TEST(Preview, RevertReturnsToThePreviewAsRead) {
    mxmFile m = materialWithPreview(100, 50);
    m.SetPict(pictureOf(400, 100, dropped));
    m.Revert();
    EXPECT_EQ(m.myPict, m.revertPict);
    EXPECT_TRUE(previewShows(m.PreviewPict, storedStretched(2, 4)));
    m.Revert();
    EXPECT_TRUE(previewShows(m.PreviewPict, storedStretched(2, 4)));
}

TEST(Preview, RevertAfterSaveReturnsToThePreviewAsRead) {
    TempFolder temp;
    temp.makeFile("oak.mxm",
                  MaterialBytes().marker().string("oak").preview(100, 50).middle().bytes());
    mxmFile m = readMaterialFile(temp.item("oak.mxm"));
    m.SetPict(pictureOf(400, 100, dropped));
    ASSERT_TRUE(m.writeFile(temp.item("oak.mxm")));
    m.Revert();
    EXPECT_TRUE(previewShows(m.PreviewPict, storedStretched(2, 4)));
}

TEST(Preview, NilPictureKeepsThePreviewThatIsWritten) {
    TempFolder temp;
    mxmFile m = materialWithPreview(100, 50);
    m.SetPict(pictureOf(400, 100, dropped));
    const Ref<Picture> shown = m.PreviewPict;
    m.SetPict(Ref<Picture>());
    EXPECT_TRUE(m.myPict.isNil());
    EXPECT_EQ(m.PreviewPict, shown);
    ASSERT_TRUE(m.writeFile(temp.item("oak.mxm")));
    const std::string written = temp.readFile("oak.mxm");
    EXPECT_EQ(written.substr(19, 120000), MaxwellHelper::Pict2RGBMB(shown)->bytes());
}

TEST(Preview, MaterialWithoutStoredPreviewRevertsToBlank) {
    mxmFile m = readMaterial(MaterialBytes().marker().string("oak").noPreview().middle().bytes());
    const auto white = [](int, int) { return Color{255, 255, 255}; };
    EXPECT_TRUE(previewShows(m.PreviewPict, white));
    m.SetPict(pictureOf(400, 100, dropped));
    m.Revert();
    EXPECT_TRUE(previewShows(m.PreviewPict, white));
}
