#include "FileType.h"
#include "FolderItem.h"
#include "ImageTypes.h"
#include "MaxwellFiles.h"

#include <gtest/gtest.h>

TEST(FileTypes, RegisteredAtStartUpAndWithdrawnAtRelease) {
    MaxwellFiles::Initialize();
    ImageTypes::Initialize();
    EXPECT_EQ(MaxwellFiles::MaxwellMaterial(), MaxwellFiles::MaxwellMaterial());
    EXPECT_EQ(MaxwellFiles::MaxwellMaterial()->toString(), "Maxwell Material");
    EXPECT_EQ(FolderItem("/x/oak.wood.MXM").Type(), "Maxwell Material");
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All()), ".bmp;.jpg;.png");
    EXPECT_EQ(FileTypes::typeOfFileName("a.JPG"), "JPEG");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpeg"), "");

    MaxwellFiles::Release();
    ImageTypes::Release();
    EXPECT_EQ(FileTypes::typeOfFileName("a.mxm"), "");
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All()), "");
}
