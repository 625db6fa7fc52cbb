#include "FileType.h"
#include "FolderItem.h"
#include "ImageTypes.h"
#include "MaxwellFiles.h"

#include <gtest/gtest.h>

TEST(FileTypes, EachPictureTypeHasExactlyItsOneExtension) {
    MaxwellFiles::Initialize();
    ImageTypes::Initialize();
    // What the preview accepts when files are dropped on it.
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All()), ".bmp;.jpg;.png");
    // Every name ends in ";", so lists of type names join by appending.
    EXPECT_EQ(FileTypes::extensionsOf(ImageTypes::All() + "Maxwell Material"),
              ".bmp;.jpg;.png;.mxm");
    const std::pair<const char*, const char*> files[] = {
        {"a.bmp", "BMP"}, {"b.JPG", "JPEG"}, {"c.png", "PNG"}, {"oak.mxm", "Maxwell Material"},
        {"d.jpeg", ""},   {"e.jpe", ""},     {"f.gif", ""}};
    for (const auto& [name, type] : files)
        EXPECT_EQ(FolderItem(std::string("/nowhere/") + name).Type(), type) << name;
    ImageTypes::Release();
    MaxwellFiles::Release();
    EXPECT_EQ(FolderItem("/nowhere/b.jpg").Type(), "");
}
