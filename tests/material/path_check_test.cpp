#include "MaterialReading.h"
#include "PathCheckFixture.h"
#include "TestVolumes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

const std::string glassReference = std::string("\x01\x00\x12", 3) + "/Users/x/glass.ior";

class PathCheckTest : public ::testing::Test {
  protected:
    PathCheckTest() {
        volumes.makeFile("HD", "mat/tex/a.jpg");
        volumes.makeFile("HD", "mat/sub/b.jpg"); // moved here from /old
        volumes.makeFile("HD", "Users/x/glass.ior");
    }

    mxmFile materialWith(const std::vector<std::string>& paths,
                         const std::vector<std::string>& blocks) {
        mxmFile material = readMaterial("", volumes.pathOf("HD", "mat/wood.mxm"));
        for (const std::string& path : paths) {
            material.mxmPaths.emplace_back();
            material.mxmPaths.back().setString(path);
        }
        material.mxmParameter = blocks;
        return material;
    }

    TestVolumes volumes;
    RecordedServices services;
    FakeDefaultLocations defaults;
};

TEST_F(PathCheckTest, ReportsEachPathThenEachReference) {
    mxmFile material = materialWith({"/mat/tex/a.jpg", "/old/b.jpg", "/old/c.jpg"},
                                    {"p0 bitmap", glassReference + " p1 bitmap", "p2"});
    int32_t status = 0;
    EXPECT_EQ(material.ResetPaths(status), "[ /mat/tex/a.jpg- o.k. ] \r"
                                           "[ b.jpg - Path changed, o.k. ] \r"
                                           "[ c.jpg - not found, critical ] \r"
                                           "glass.ior was at the given location\r");
    EXPECT_EQ(status, 3);
    EXPECT_EQ(material.mxmPaths[0].getString(), "/mat/tex/a.jpg");
    EXPECT_EQ(material.mxmPaths[1].getString(), "/mat/sub/b.jpg");
    EXPECT_EQ(material.mxmParameter[1], glassReference + " p1 bitmap");
}

TEST_F(PathCheckTest, WorstOutcomeWinsInAnyOrder) {
    std::array<std::string, 4> paths{"/mat/tex/a.jpg", "/old/b.jpg", "/old/c.jpg", "/old/d.jpg"};
    std::ranges::sort(paths);
    do {
        mxmFile material = materialWith({paths.begin(), paths.end()}, {"", "", "", ""});
        int32_t status = 0;
        const std::string report = material.ResetPaths(status);
        EXPECT_EQ(status, 3) << report;
        const auto moved = std::ranges::find(paths, "/old/b.jpg") - paths.begin();
        EXPECT_EQ(material.mxmPaths[moved].getString(), "/mat/sub/b.jpg");
    } while (std::ranges::next_permutation(paths).found);
}

TEST_F(PathCheckTest, MissingFirstStringIsLessSevere) {
    mxmFile material = materialWith({"/old/c.jpg", "/old/b.jpg"}, {"", ""});
    int32_t status = 0;
    EXPECT_EQ(material.ResetPaths(status),
              "[ c.jpg - not found, o.k.? ] \r[ b.jpg - Path changed, o.k. ] \r");
    EXPECT_EQ(status, 2);
}

TEST_F(PathCheckTest, SingleStringIsNotExaminedAndClearsTheSeverity) {
    mxmFile material = materialWith({"/old/c.jpg"}, {glassReference});
    int32_t status = 2;
    EXPECT_EQ(material.ResetPaths(status),
              "[ Material contains no file paths ]glass.ior was at the given location\r");
    EXPECT_EQ(status, 0);
}

TEST_F(PathCheckTest, ShortStringsAndEmptyMaterialsLeaveTheSeverity) {
    for (const auto& paths :
         {std::vector<std::string>{"abc", "", "x.j"}, std::vector<std::string>{}}) {
        mxmFile material = materialWith(paths, std::vector<std::string>(paths.size()));
        int32_t status = 1;
        EXPECT_EQ(material.ResetPaths(status), "");
        EXPECT_EQ(status, 1);
    }
}

TEST_F(PathCheckTest, BothReferenceKindsInOneBlockAreRelocatedInTurn) {
    volumes.makeFile("Data", "tex/glass.ior");
    volumes.makeFile("Data", "tex/glass9.r2");
    defaults.list = {volumes.item("Data", "tex")};
    const std::string block = std::string("\x01\x00\x12/Users/y/glass.ior\x00\x00\x12", 24) +
                              "/Users/y/glass9.r2 more.ior";
    mxmFile material = materialWith({"", ""}, {block, "p1"});
    int32_t status = 0;
    EXPECT_EQ(material.ResetPaths(status),
              "glass.ior was found at another location, and the path was changed\r"
              "glass9.r2 was found at another location, and the path was changed\r");
    EXPECT_EQ(material.mxmParameter[0],
              std::string("\x01\x00\x1B/Volumes/Data/tex/glass.ior\x00\x00\x40\x1B", 34) +
                  "/Volumes/Data/tex/glass9.r2 more.ior");
    EXPECT_EQ(status, 0);
}

TEST_F(PathCheckTest, FailureKeepsEarlierChangesAndDropsTheReport) {
    defaults.list = {nullptr};
    mxmFile material = materialWith({"/old/b.jpg", "/old/c.jpg"}, {"", ""});
    int32_t status = 0;
    EXPECT_EQ(material.ResetPaths(status), "");
    EXPECT_EQ(services.messages, std::vector<std::string>{"Exception in mxmFile.ResetPaths"});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(material.mxmPaths[0].getString(), "/mat/sub/b.jpg");
}

} // namespace
