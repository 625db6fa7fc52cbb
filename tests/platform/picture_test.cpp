#include "Fifo.h"
#include "Graphics.h"
#include "Picture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

TEST(Picture, NewPictureIsWhiteAndRefusesImpossibleSizes) {
    EXPECT_EQ(Graphics(*NewPicture(2, 3, 32)).Pixel(1, 2), RGB(255, 255, 255));
    EXPECT_FALSE(NewPicture(0, 200, 32));
    EXPECT_FALSE(NewPicture(200, 200, 24));
    EXPECT_FALSE(NewPicture(Picture::MaxPixels, 2, 32));
    EXPECT_FALSE(NewPicture(int64_t{1} << 32, int64_t{1} << 32, 32)); // product wraps in 64 bits
}

// Drawing scaled per axis is proven where the material preview is made with it.
TEST(Graphics, PixelsOutsideThePictureAreBlackAndANilPictureRaises) {
    auto picture = NewPicture(2, 1, 32);
    EXPECT_EQ(Graphics(*picture).Pixel(-1, 0), RGB(0, 0, 0));
    EXPECT_THROW(Graphics(*picture).DrawPicture(nullptr, 0, 0), NilObjectException);
}

// A FIFO dropped on the preview, named like a picture, is no picture.
TEST(Picture, OpenRefusesAFifoAtOnce) {
    TempFolder temp;
    ASSERT_TRUE(makeFifo(temp.pathOf("p.png")));
    EXPECT_TRUE(returnsAtOnce(temp.pathOf("p.png"),
                              [&] { EXPECT_FALSE(Picture::Open(temp.item("p.png"))); }));
}
