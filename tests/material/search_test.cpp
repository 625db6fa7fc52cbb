#include "MaxwellHelper.h"
#include "PathCheckFixture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

using MaxwellHelper::findFile;

namespace {

class SearchTest : public ::testing::Test {
  protected:
    // The native path of what the search finds, or "" for nil.
    std::string found(const std::string& name, bool searchDefaults = true) {
        const Ref<FolderItem> file = findFile(name, temp.item("mat"), searchDefaults);
        return file ? file->NativePath() : "";
    }
    void link(const std::string& target, const std::string& relative) {
        ASSERT_EQ(::symlink(target.c_str(), temp.pathOf(relative).c_str()), 0);
    }

    TempFolder temp;
    FakeDefaultLocations defaults;
};

TEST_F(SearchTest, OwnFilesFirstThenSubfoldersDepthFirst) {
    const std::string deep = temp.makeFile("mat/A/deep/deeper/a.ior");
    temp.makeFile("mat/B/a.ior");
    EXPECT_EQ(found("a.ior"), deep);
    const std::string direct = temp.makeFile("mat/a.ior"); // sorts after A and B
    EXPECT_EQ(found("a.ior"), direct);
}

TEST_F(SearchTest, FolderNamedLikeTheFileIsSearchedNotReturned) {
    const std::string inside = temp.makeFile("mat/a.ior/a.ior");
    EXPECT_EQ(found("a.ior"), inside);
    EXPECT_EQ(found("b.ior"), "");
}

TEST_F(SearchTest, DefaultLocationsFollowTheTreeInListOrder) {
    temp.makeFile("first/x/a.ior");
    temp.makeFile("second/a.ior");
    defaults.list = {temp.item("empty"), temp.item("first"), temp.item("second")};
    temp.makeFolder("empty");
    temp.makeFolder("mat/sub");
    EXPECT_EQ(found("a.ior"), temp.pathOf("first/x/a.ior"));
    const std::string inTree = temp.makeFile("mat/sub/a.ior");
    EXPECT_EQ(found("a.ior"), inTree);
}

TEST_F(SearchTest, DefaultLocationsAreReadOnlyWhenAsked) {
    temp.makeFile("loc/a.ior");
    temp.makeFolder("mat");
    defaults.list = {temp.item("loc")};
    EXPECT_EQ(found("a.ior", false), "");
    EXPECT_EQ(defaults.reads, 0);
    EXPECT_EQ(found("a.ior", true), temp.pathOf("loc/a.ior"));
    EXPECT_EQ(defaults.reads, 1);
}

TEST_F(SearchTest, LinksToFoldersAreFollowedButALoopEnds) {
    temp.makeFile("elsewhere/a.ior");
    temp.makeFolder("mat/sub");
    link(temp.pathOf("mat"), "mat/sub/back");
    link(temp.pathOf("elsewhere"), "mat/sub/zlink");
    defaults.list = {temp.item("mat/sub/back")};
    EXPECT_EQ(found("a.ior"), temp.pathOf("mat/sub/zlink/a.ior"));
    EXPECT_EQ(found("missing.ior"), "");
}

TEST_F(SearchTest, DanglingLinkIsNoMatch) {
    temp.makeFolder("mat");
    link(temp.pathOf("gone.ior"), "mat/a.ior");
    const std::string real = temp.makeFile("mat/sub/a.ior");
    EXPECT_EQ(found("a.ior"), real);
}

} // namespace
