#include "MaterialReading.h"
#include "PathCheckFixture.h"
#include "TestVolumes.h"

#include <gtest/gtest.h>

namespace {

const std::string glassPath = "/Users/x/glass.ior"; // 18 bytes, prefix 0x12

class BlockReferenceTest : public ::testing::Test {
  protected:
    // Files found elsewhere lie in Data:tex, a default search location.
    BlockReferenceTest() {
        volumes.makeFolder("HD", "mat");
        defaults.list = {volumes.item("Data", "tex")};
    }

    // The block left by the call, then the report line.
    std::pair<std::string, std::string> relocate(std::string block, bool forceLong = false) {
        std::string line = material.findFileInBlock(block, forceLong);
        return {block, line};
    }

    TestVolumes volumes;
    RecordedServices services;
    FakeDefaultLocations defaults;
    mxmFile material = readMaterial("", volumes.pathOf("HD", "mat/wood.mxm"));
};

const std::string noPath = "Critical error - found no path!\r";

TEST_F(BlockReferenceTest, ReferenceAtItsPlaceStaysAsItIs) {
    volumes.makeFile("HD", "Users/x/glass.ior");
    const std::string shortPrefix = std::string("\x01\x00\x12", 3) + glassPath;
    const std::string longPrefix = std::string("\x01\x00\x40\x12", 4) + glassPath;
    for (const std::string& block : {shortPrefix, longPrefix})
        EXPECT_EQ(relocate(block),
                  std::pair(block, std::string("glass.ior was at the given location\r")));
}

TEST_F(BlockReferenceTest, FileFoundNowhereLeavesTheBlock) {
    const std::string block = std::string("\x01\x00\x12", 3) + glassPath;
    EXPECT_EQ(
        relocate(block),
        std::pair(block, std::string("Critical error - file glass.ior could not be found!\r")));
}

TEST_F(BlockReferenceTest, BlockWithoutZeroByteNeverTriesItsFirstByte) {
    volumes.makeFile("HD", "Users/x/glass.ior");
    const std::string prefixFirst = "\x12" + glassPath;
    EXPECT_EQ(relocate(prefixFirst), std::pair(prefixFirst, noPath));
    EXPECT_EQ(relocate("\x07\x12" + glassPath).second, "glass.ior was at the given location\r");
}

TEST_F(BlockReferenceTest, BlocksWithoutAPathStayUnchanged) {
    volumes.makeFile("Data", "tex/glass.ior");
    // A length byte that fits by chance before the reference's own prefix:
    // a rewrite from there would drop the two bytes "kv".
    const std::string path47 = "/Users/x/" + std::string(28, 'm') + "/glass.ior";
    const std::string chanceFit = std::string("\x00\x32kv\x2F", 5) + path47;
    // A path of 256 bytes: its prefix 41 00 ends in the zero byte that stops
    // the backward scan.
    const std::string path256 = "/Users/x/" + std::string(237, 'm') + "/glass.ior";
    const std::string zeroInPrefix = std::string("\x01\x41\x00", 3) + path256;
    for (const std::string& block : {std::string(".r2"), chanceFit, zeroInPrefix})
        EXPECT_EQ(relocate(block), std::pair(block, noPath)) << block.size();
}

} // namespace
