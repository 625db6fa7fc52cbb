#include "FileType.h"
#include "Services.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<FileType> makeType(const std::string& name, const std::string& extensions) {
    auto type = std::make_unique<FileType>();
    type->setName(name);
    type->setExtensions(extensions);
    return type;
}

TEST(FileType, OnlyATypeConvertedToTextIsRegistered) {
    auto bmp = makeType("BMP", ".bmp");
    EXPECT_EQ(FileTypes::typeOfFileName("a.bmp"), "");
    EXPECT_EQ(bmp->toString(), "BMP");
    EXPECT_EQ(FileTypes::typeOfFileName("a.BMP"), "BMP");
    EXPECT_EQ(FileTypes::typeOfFileName("a.bmpx"), "");
    EXPECT_EQ(FileTypes::typeOfFileName("bmp"), "");
}

TEST(FileType, AFieldChangeOrReleaseWithdrawsTheRegistration) {
    auto jpeg = makeType("JPEG", ".jpg");
    jpeg->toString();
    jpeg->setMacType("JPEG");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "");
    jpeg->toString();
    jpeg->setMacType("JPEG"); // no change, still registered
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "JPEG");
    jpeg.reset();
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpg"), "");
}

TEST(FileType, ExtensionsOfListsTheNamedRegisteredTypes) {
    std::vector<std::unique_ptr<FileType>> types;
    types.push_back(makeType("BMP", ".bmp"));
    types.push_back(makeType("JPEG", ".jpg"));
    types.push_back(makeType("PNG", ".png"));
    types.push_back(makeType("Maxwell Material", ".mxm"));
    for (auto& type : types)
        type->toString();
    EXPECT_EQ(FileTypes::extensionsOf("BMP;JPEG;PNG;"), ".bmp;.jpg;.png");
    EXPECT_EQ(FileTypes::extensionsOf("png;Unknown"), ".png");
    EXPECT_EQ(FileTypes::typeOfFileName("a.jpeg"), "");
    EXPECT_EQ(FileTypes::typeOfFileName("x.multi.mxm"), "Maxwell Material");
}

TEST(Services, HooksReceiveMessagesAndBeeps) {
    std::vector<std::string> shown;
    int beeps = 0;
    serviceHooks() = {[&](const std::string& text) { shown.push_back(text); }, [&] { ++beeps; }};
    MsgBox("Exception in mxmFile.ResetPaths");
    Beep();
    serviceHooks() = {};
    EXPECT_EQ(shown, std::vector<std::string>{"Exception in mxmFile.ResetPaths"});
    EXPECT_EQ(beeps, 1);
    testing::internal::CaptureStderr();
    MsgBox("hello");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "MsgBox: hello\n");
}

} // namespace
