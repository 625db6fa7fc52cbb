#include "Graphics.h"
#include "Picture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

namespace {

std::string encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data.toStdString();
}

TEST(Picture, NewPictureIsWhiteAndRefusesImpossibleSizes) {
    auto picture = NewPicture(2, 3, 32);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->graphics().Pixel(1, 2), RGB(255, 255, 255));
    EXPECT_FALSE(NewPicture(0, 200, 32));
    EXPECT_FALSE(NewPicture(200, -1, 32));
    EXPECT_FALSE(NewPicture(200, 200, 24));
    EXPECT_FALSE(NewPicture(Picture::MaxPixels, 2, 32));
    EXPECT_FALSE(NewPicture(int64_t{1} << 32, int64_t{1} << 32, 32)); // product wraps in 64 bits
}

TEST(Graphics, PixelsOutsideThePictureAreIgnored) {
    auto picture = NewPicture(1, 1, 32);
    picture->graphics().setPixel(5, 0, RGB(1, 2, 3));
    picture->graphics().setPixel(0, 0, RGB(1, 2, 3));
    EXPECT_EQ(picture->graphics().Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(picture->graphics().Pixel(-1, 0), RGB(0, 0, 0));
}

TEST(Graphics, DrawPictureScalesEachAxisByItsOwnFactor) {
    auto source = NewPicture(2, 1, 32);
    source->graphics().setPixel(0, 0, RGB(255, 0, 0));
    source->graphics().setPixel(1, 0, RGB(0, 0, 255));
    auto target = NewPicture(4, 4, 32);
    target->graphics().DrawPicture(source, 0, 0, 4, 4, 0, 0, 2, 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(target->graphics().Pixel(x, y), x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        }
    }
}

TEST(Graphics, DrawPictureCopiesOneToOneAtTheSourceSize) {
    auto source = NewPicture(3, 2, 32);
    source->graphics().setPixel(2, 1, RGB(10, 20, 30));
    auto target = NewPicture(3, 2, 32);
    target->graphics().DrawPicture(source, 0, 0);
    EXPECT_EQ(target->image(), source->image());
    EXPECT_THROW(target->graphics().DrawPicture(nullptr, 0, 0), NilObjectException);
}

TEST(Picture, DecodesCommonFormats) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 255));
    for (const char* format : {"BMP", "PNG", "JPEG"}) {
        SCOPED_TRACE(format);
        auto picture = Picture::FromData(encoded(image, format));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width(), 3);
        EXPECT_EQ(picture->Height(), 2);
        EXPECT_EQ(picture->image().format(), QImage::Format_RGB32);
    }
    TempFolder temp;
    temp.makeFile("a.png", encoded(image, "PNG"));
    temp.makeFile("b.png", "not a picture");
    ASSERT_TRUE(Picture::Open(temp.item("a.png")));
    EXPECT_EQ(Picture::Open(temp.item("a.png"))->graphics().Pixel(2, 1), RGB(0, 128, 255));
    EXPECT_FALSE(Picture::Open(temp.item("b.png")));
    EXPECT_FALSE(Picture::Open(temp.item("missing.png")));
    EXPECT_FALSE(Picture::FromData(""));
}

} // namespace
