#include "FileType.h"
#include "FolderItem.h"
#include "ImageTypes.h"
#include "MaxwellFiles.h"

#include <gtest/gtest.h>

namespace {

class FileTypesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MaxwellFiles::Initialize();
        ImageTypes::Initialize();
    }
    void TearDown() override {
        MaxwellFiles::Release();
        ImageTypes::Release();
    }
};

} // namespace

TEST_F(FileTypesTest, MaterialTypeIsOneObjectNamedMaxwellMaterial) {
    Ref<FileType> first = MaxwellFiles::MaxwellMaterial();
    EXPECT_EQ(first, MaxwellFiles::MaxwellMaterial());
    EXPECT_EQ(first->toString(), "Maxwell Material");
    EXPECT_EQ(first->toString(), "Maxwell Material");
    EXPECT_EQ(FolderItem("/x/oak.wood.mxm").Type(), "Maxwell Material");
    EXPECT_EQ(FolderItem("/x/OAK.MXM").Type(), "Maxwell Material");
    EXPECT_EQ(FolderItem("/x/oak.mxm.bak").Type(), "");
}

TEST_F(FileTypesTest, PictureTypesNamedInAllHaveOneExtensionEach) {
    EXPECT_EQ(ImageTypes::All(), "BMP;JPEG;PNG;");
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All()), ".bmp;.jpg;.png");
    EXPECT_EQ(FileTypes::typeOfFileName("a.JPG"), "JPEG");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpeg"), "");
    EXPECT_EQ(FileTypes::typeOfFileName("a.gif"), "");
}

TEST_F(FileTypesTest, ReleaseWithdrawsTheRegistrations) {
    MaxwellFiles::Release();
    ImageTypes::Release();
    EXPECT_TRUE(MaxwellFiles::MaxwellMaterial().isNil());
    EXPECT_EQ(FileTypes::typeOfFileName("a.mxm"), "");
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All()), "");
}
