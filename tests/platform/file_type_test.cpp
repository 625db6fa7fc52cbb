#include "FileType.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FileType, RegistersWhenConvertedToTextAndLeavesOnChangeOrRelease) {
    auto jpeg = std::make_unique<FileType>();
    jpeg->setName("JPEG");
    jpeg->setExtensions(".jpg");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "");
    jpeg->toString();
    EXPECT_EQ(FileTypes::typeOfFileName("x.multi.JPG"), "JPEG");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpgx"), "");
    EXPECT_EQ(FileTypes::typeOfFileName("jpg"), "");
    EXPECT_EQ(FileTypes::extensionsOf("Unknown;jpeg;"), ".jpg");
    jpeg->setMacType("JPEG");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "");
    jpeg->toString();
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "JPEG");
    jpeg.reset();
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "");
}
