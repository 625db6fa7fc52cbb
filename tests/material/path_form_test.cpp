#include "MaxwellHelper.h"
#include "PathCheckFixture.h"
#include "TestVolumes.h"

#include <gtest/gtest.h>

using MaxwellHelper::getMaxwellPath;
using MaxwellHelper::MaxwellPathFileExists;

namespace {

class PathFormTest : public ::testing::Test {
  protected:
    TestVolumes volumes;
    RecordedServices services;
};

TEST_F(PathFormTest, StartupVolumeDropsItsNameOtherVolumesGoUnderVolumes) {
    volumes.makeFile("HD", "Users/x/tex/a.ior");
    volumes.makeFile("Data", "tex/a.ior");
    volumes.makeFile("HD2", "tex/a.ior");
    EXPECT_EQ(getMaxwellPath(volumes.item("HD", "Users/x/tex/a.ior")), "/Users/x/tex/a.ior");
    EXPECT_EQ(getMaxwellPath(volumes.item("Data", "tex/a.ior")), "/Volumes/Data/tex/a.ior");
    // A volume whose name begins with the startup volume's passes its prefix test.
    EXPECT_EQ(getMaxwellPath(volumes.item("HD2", "tex/a.ior")), "2/tex/a.ior");
}

TEST_F(PathFormTest, NamesKeepTheirBytes) {
    const std::string latin = "caf\xC3\xA9";         // é as UTF-8
    const std::string cyrillic = "\xD0\xB6\xD0\xB8"; // outside ISO Latin-1
    const std::string raw = "caf\xE9";               // not UTF-8 at all
    for (const std::string& folder : {latin, cyrillic, raw}) {
        volumes.makeFile("HD", folder + "/a.ior");
        const std::string path = getMaxwellPath(volumes.item("HD", folder + "/a.ior"));
        EXPECT_EQ(path, "/" + folder + "/a.ior");
        EXPECT_TRUE(MaxwellPathFileExists(path, "a.ior"));
    }
}

TEST_F(PathFormTest, StoredPathsLeadBackToTheirFiles) {
    volumes.makeFile("HD", "Users/x/a.ior");
    volumes.makeFile("Data", "tex/a.ior");
    volumes.makeFile("HD2", "tex/a.ior");
    EXPECT_TRUE(MaxwellPathFileExists("/Users/x/a.ior", "a.ior"));
    EXPECT_TRUE(MaxwellPathFileExists("/Volumes/HD/Users/x/a.ior", "a.ior"));
    EXPECT_TRUE(MaxwellPathFileExists("/Volumes/Data/tex/a.ior", "a.ior"));
    EXPECT_TRUE(MaxwellPathFileExists("2/tex/a.ior", "a.ior"));
    EXPECT_FALSE(MaxwellPathFileExists("/Volumes/Data/Users/x/a.ior", "a.ior"));
    // A drive letter joins the startup volume's name: a volume that is not there.
    EXPECT_FALSE(MaxwellPathFileExists("C:\\Users\\x\\a.ior", "a.ior"));
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(PathFormTest, OnlyAnItemOfAnotherNameBeeps) {
    volumes.makeFile("HD", "tex/caf\xE9.ior");
    EXPECT_TRUE(MaxwellPathFileExists("/tex/caf\xE9.ior", "caf\xC3\xA9.ior")); // shown name
    EXPECT_EQ(services.beeps, 0);
    EXPECT_FALSE(MaxwellPathFileExists("/tex/caf\xE9.ior", "b.ior"));
    EXPECT_EQ(services.beeps, 1);
}

} // namespace
