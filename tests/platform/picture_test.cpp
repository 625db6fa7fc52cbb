#include "Graphics.h"
#include "Picture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QImage>

TEST(Picture, NewPictureIsWhiteAndRefusesImpossibleSizes) {
    EXPECT_EQ(NewPicture(2, 3, 32)->graphics().Pixel(1, 2), RGB(255, 255, 255));
    EXPECT_FALSE(NewPicture(0, 200, 32));
    EXPECT_FALSE(NewPicture(200, 200, 24));
    EXPECT_FALSE(NewPicture(Picture::MaxPixels, 2, 32));
    EXPECT_FALSE(NewPicture(int64_t{1} << 32, int64_t{1} << 32, 32)); // product wraps in 64 bits
}

TEST(Graphics, DrawPictureScalesEachAxisByItsOwnFactor) {
    auto source = NewPicture(2, 1, 32);
    source->graphics().setPixel(0, 0, RGB(255, 0, 0));
    source->graphics().setPixel(1, 0, RGB(0, 0, 255));
    source->graphics().setPixel(5, 0, RGB(0, 255, 0)); // outside: ignored
    EXPECT_EQ(source->graphics().Pixel(-1, 0), RGB(0, 0, 0));
    auto target = NewPicture(4, 4, 32);
    target->graphics().DrawPicture(source, 0, 0, 4, 4, 0, 0, 2, 1);
    // Twice as wide and four times as high: a mix-up of the factors leaves the last row empty.
    EXPECT_EQ(target->graphics().Pixel(1, 3), RGB(255, 0, 0));
    EXPECT_EQ(target->graphics().Pixel(2, 3), RGB(0, 0, 255));
    EXPECT_THROW(target->graphics().DrawPicture(nullptr, 0, 0), NilObjectException);
}

TEST(Picture, OpensPictureFilesAndRefusesOthers) {
    TempFolder temp;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 255));
    image.save(QString::fromStdString(temp.pathOf("a.png")));
    temp.makeFile("b.png", "not a picture");
    EXPECT_EQ(Picture::Open(temp.item("a.png"))->graphics().Pixel(2, 1), RGB(0, 128, 255));
    EXPECT_FALSE(Picture::Open(temp.item("b.png")));
    EXPECT_FALSE(Picture::Open(temp.item("missing.png")));
}
