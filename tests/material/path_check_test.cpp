#include "MaterialTest.h"
#include "MaxwellHelper.h"
#include "SearchCache.h"
#include "SearchLocations.h"
#include "TestVolumes.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using namespace MaxwellHelper;

namespace {

using Outcome = std::pair<std::string, int32_t>; // report, severity

const std::string glass = std::string("\1\0\x12", 3) + "/Users/x/glass.ior";
const std::string atPlace = "glass.ior was at the given location\r";
const std::string noPath = "Critical error - found no path!\r";

// The material lies in HD:mat; b.jpg has moved there from /old. Files found
// elsewhere lie in Data:tex, the one default location unless a test says
// otherwise.
class PathCheckTest : public ::testing::Test {
  protected:
    PathCheckTest() {
        for (const char* file : {"mat/tex/a.jpg", "mat/sub/b.jpg", "Users/x/glass.ior"})
            volumes.makeFile("HD", file);
        volumes.makeFile("Data", "tex/glass.ior");
        volumes.makeFile("Data", "tex/glass9.r2");
        defaults = {volumes.item("Data", "tex")};
        // Counts how often the search asks for the list; may act just before it answers.
        SearchLocations::setSearchLocationsSource([this]() -> const SearchLocations::FolderList& {
            onRead(++reads);
            return defaults;
        });
    }
    ~PathCheckTest() override { SearchLocations::setSearchLocationsSource(nullptr); }
    // The native path of the file the search finds from HD:mat, or "".
    std::string found(const std::string& name, bool searchDefaults = true) {
        const Ref<FolderItem> file = findFile(name, volumes.item("HD", "mat"), searchDefaults);
        return file ? file->NativePath() : "";
    }
    void link(const std::string& target, const std::string& relative) {
        std::filesystem::create_symlink(volumes.pathOf("HD", target),
                                        volumes.pathOf("HD", relative));
    }
    // The report and severity of a check begun at status; the material stays in checked.
    Outcome check(const std::vector<std::string>& paths, std::vector<std::string> blocks = {},
                  int32_t status = 0) {
        checked.emplace(readMaterial("", volumes.pathOf("HD", "mat/wood.mxm")));
        for (const std::string& path : paths)
            checked->mxmPaths.emplace_back().setString(path);
        blocks.resize(paths.size());
        checked->mxmParameter = blocks;
        // A braced list reads status only after the check has set it.
        return {checked->ResetPaths(status), status};
    }

    TestVolumes volumes;
    RecordedAlerts services;
    SearchLocations::FolderList defaults;
    int reads = 0;
    std::function<void(int)> onRead = [](int) {};
    std::optional<mxmFile> checked;
};

TEST_F(PathCheckTest, StoredFormLeadsBackToTheFileOnEachVolume) {
    // A volume whose name begins with the startup volume's passes its prefix
    // test. Names keep their bytes: UTF-8 within and beyond ISO Latin-1, not UTF-8.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"HD", "Users/x/glass.ior", "/Users/x/glass.ior"},
        {"Data", "tex/glass.ior", "/Volumes/Data/tex/glass.ior"},
        {"HD2", "tex/glass.ior", "2/tex/glass.ior"},
        {"HD", "caf\xC3\xA9\xD0\xB6/glass.ior", "/caf\xC3\xA9\xD0\xB6/glass.ior"},
        {"HD", "caf\xE9/glass.ior", "/caf\xE9/glass.ior"}};
    for (const auto& [volume, relative, stored] : cases) {
        volumes.makeFile(volume, relative);
        EXPECT_EQ(getMaxwellPath(volumes.item(volume, relative)), stored);
        EXPECT_TRUE(MaxwellPathFileExists(stored, "glass.ior")) << stored;
    }
    EXPECT_TRUE(MaxwellPathFileExists("/Volumes/HD/Users/x/glass.ior", "glass.ior"));
    // A drive letter joins the startup volume's name: a volume that is not there.
    EXPECT_FALSE(MaxwellPathFileExists("C:\\Users\\x\\glass.ior", "glass.ior"));
    EXPECT_EQ(services.beeps, 0);
    // The name is matched as the desktop shows it; only another name beeps.
    volumes.makeFile("HD", "tex/caf\xE9.ior");
    EXPECT_TRUE(MaxwellPathFileExists("/tex/caf\xE9.ior", "caf\xC3\xA9.ior"));
    EXPECT_FALSE(MaxwellPathFileExists("/tex/caf\xE9.ior", "b.ior"));
    EXPECT_EQ(services.beeps, 1);
}

TEST_F(PathCheckTest, ReportAndSeverity) {
    EXPECT_EQ(check({"/mat/tex/a.jpg", "/old/b.jpg", "/old/c.jpg"},
                    {"p0 bitmap", glass + " p1 bitmap", "p2"}),
              Outcome("[ /mat/tex/a.jpg- o.k. ] \r[ b.jpg - Path changed, o.k. ] \r"
                      "[ c.jpg - not found, critical ] \rglass.ior was at the given location\r",
                      3));
    EXPECT_EQ(check({"/old/c.jpg", "/old/b.jpg"}),
              Outcome("[ c.jpg - not found, o.k.? ] \r[ b.jpg - Path changed, o.k. ] \r", 2));
    // A single string is not examined, and clears the severity.
    EXPECT_EQ(check({"/old/c.jpg"}, {glass}, 2),
              Outcome("[ Material contains no file paths ]" + atPlace, 0));
    // Strings under four bytes cannot be paths; four bytes can.
    EXPECT_EQ(check({"abc", "x.jp", "", "x.j"}, {}, 1),
              Outcome("[ x.jp - not found, critical ] \r", 3));
    EXPECT_EQ(check({}, {}, 1), Outcome("", 1));
    // A failure keeps earlier changes and drops the report.
    defaults = {nullptr};
    EXPECT_EQ(check({"/old/b.jpg", "/old/c.jpg"}), Outcome("", 1));
    EXPECT_EQ(services.messages, std::vector<std::string>{"Exception in mxmFile.ResetPaths"});
    EXPECT_EQ(checked->mxmPaths[0].getString(), "/mat/sub/b.jpg");
}

TEST_F(PathCheckTest, WorstOutcomeWinsInAnyOrderAndMovedPathsAreRewritten) {
    std::vector<std::string> paths{"/mat/tex/a.jpg", "/old/b.jpg", "/old/c.jpg", "/old/d.jpg"};
    do {
        EXPECT_EQ(check(paths).second, 3);
        const auto b = std::ranges::find(paths, "/old/b.jpg") - paths.begin();
        EXPECT_EQ(checked->mxmPaths[b].getString(), "/mat/sub/b.jpg");
    } while (std::ranges::next_permutation(paths).found);
}

TEST_F(PathCheckTest, BothReferenceKindsInOneBlockAreRelocatedInTurn) {
    const std::string block =
        std::string("\1\0\x12/Users/y/glass.ior\0\0\x12", 24) + "/Users/y/glass9.r2 more.ior";
    EXPECT_EQ(check({"", ""}, {block, "p1"}),
              Outcome("glass.ior was found at another location, and the path was changed\r"
                      "glass9.r2 was found at another location, and the path was changed\r",
                      0));
    EXPECT_EQ(checked->mxmParameter[0],
              std::string("\1\0\x1B/Volumes/Data/tex/glass.ior\0\0\x40\x1B", 34) +
                  "/Volumes/Data/tex/glass9.r2 more.ior");
}

TEST_F(PathCheckTest, EmbeddedReferenceIsTakenByItsOwnPrefixNeverByAChanceFit) {
    volumes.makeFile("HD", "mat/glass2.ior");
    volumes.makeFile("HD2", "tex/glass.ior");
    volumes.makeFile("HD2", "tex/sky.r2");
    defaults.push_back(volumes.item("HD2", "tex"));
    const std::string movedTo = "was found at another location, and the path was changed\r";
    const std::string dataGlass = "\x1B/Volumes/Data/tex/glass.ior";
    // 0x2B, and 0x32 before "kv", fit by chance before the real prefix.
    const std::string path40 = "/Users/y/" + std::string(21, 'q') + "/glass.ior";
    const std::string path47 = "/Users/x/" + std::string(28, 'm') + "/glass.ior";
    const std::tuple<std::string, bool, std::string, std::string> cases[] = {
        {glass, false, atPlace, glass},
        {std::string("\1\0\x40\x12", 4) + glass.substr(3), false, atPlace, ""},
        // Without a zero byte the scan starts at the second byte.
        {"\7\x12" + glass.substr(3), false, atPlace, ""},
        {glass.substr(2), false, noPath, ""},
        {std::string("\1\0\x11", 3) + "/Users/x/lost.ior", false,
         "Critical error - file lost.ior could not be found!\r", ""},
        {".r2", true, noPath, ""},
        // The forms the check writes for a volume beside the startup volume.
        {std::string("\1\0\x0F", 3) + "2/tex/glass.ior", false, atPlace, ""},
        {"\x40\x0C"
         "2/tex/sky.r2",
         true, "sky.r2 was at the given location\r", ""},
        {std::string("\1\0\x40\x0B", 4) + "/old/sky.r2", true, "sky.r2 " + movedTo,
         std::string("\1\0\x40\x0C", 4) + "2/tex/sky.r2"},
        // Right after the zero byte a bare name is taken; further on it is not.
        {std::string("\1\0\x0A", 3) + "glass2.ior", false, "glass2.ior " + movedTo,
         std::string("\1\0\x0F", 3) + "/mat/glass2.ior"},
        {std::string("\0\1\2\x0A", 4) + "glass2.ior", false, noPath, ""},
        {std::string("\0\x2B/q\x28", 5) + path40, false, "glass.ior " + movedTo,
         std::string("\0\x2B/q", 4) + dataGlass},
        {std::string("\0\x32kv\x2F", 5) + path47, false, "glass.ior " + movedTo,
         std::string("\0\x32kv", 4) + dataGlass}};
    mxmFile m = readMaterial("", volumes.pathOf("HD", "mat/wood.mxm"));
    for (const auto& [block, forceLong, line, after] : cases) {
        std::string left = block;
        EXPECT_EQ(m.findFileInBlock(left, forceLong), line) << block;
        EXPECT_EQ(left, after.empty() ? block : after) << block;
        // What a relocation wrote passes the next check.
        if (!after.empty()) {
            EXPECT_EQ(m.findFileInBlock(left, forceLong),
                      line.substr(0, line.find(' ')) + " was at the given location\r");
        }
    }
}

TEST_F(PathCheckTest, BlockWhereThousandsOfCandidatesFitIsJudgedAtOnce) {
    // Every fourth byte begins a two-byte prefix that fits, its path
    // beginning with "/"; a control byte near the end spoils every path.
    std::string block(40000, 'a');
    for (std::size_t at = 1; at + 8 <= block.size(); at += 4) {
        const std::size_t length = block.size() - at - 2;
        if (length % 256 != 0) // a zero byte would end the scan there
            block.replace(at, 3, {char(0x40 + length / 256), char(length % 256), '/'});
    }
    block.replace(block.size() - 5, 5, "\1.ior");
    mxmFile m = readMaterial("", volumes.pathOf("HD", "mat/wood.mxm"));
    std::string left = block;
    EXPECT_EQ(m.findFileInBlock(left, false), noPath);
    EXPECT_EQ(left, block);
    // Without the control byte the last of them is the reference.
    left = block.replace(block.size() - 5, 1, "b");
    EXPECT_EQ(m.findFileInBlock(left, false),
              "Critical error - file aaab.ior could not be found!\r");
}

// So does one whose path, holding "bitmap", would end its block when next read.
TEST_F(PathCheckTest, FoundFileWhosePathNamesAnotherFileOrEndsABlockCountsAsNotFound) {
    volumes.makeFile("HD", "mat/tex/co:lon.jpg");
    volumes.makeFile("HD", "mat/tex/co:lon.ior");
    volumes.makeFile("HD", "mat/bitmaps/caf\xE9.jpg");
    volumes.makeFile("HD", "mat/bitmaps/bm.ior");
    const std::string block = std::string("\1\0\x0F", 3) + "/old/co:lon.ior";
    const std::string bitmaps = std::string("\1\0\x0B", 3) + "/old/bm.ior";
    EXPECT_EQ(check({"/old/caf\xE9.jpg", "/old/co:lon.jpg"}, {bitmaps, block}),
              Outcome("[ caf\xE9.jpg - Path changed, o.k. ] \r"
                      "[ co:lon.jpg - not found, critical ] \r"
                      "Critical error - file bm.ior could not be found!\r"
                      "Critical error - file co:lon.ior could not be found!\r",
                      3));
    EXPECT_EQ(checked->mxmPaths[0].getString(), "/mat/bitmaps/caf\xE9.jpg");
    EXPECT_EQ(checked->mxmParameter, std::vector<std::string>({bitmaps, block}));
}

// Own files first, then subfolders depth first (links to folders followed,
// a loop ended), then the default locations only when asked, in list order.
TEST_F(PathCheckTest, SearchOrderAndFoldersNeverMatch) {
    const std::string deep = volumes.makeFile("HD", "mat/A/deep/deeper/a.ior");
    volumes.makeFile("HD", "mat/B/a.ior");
    const std::string inFolderNamedLikeIt = volumes.makeFile("HD", "mat/b.ior/b.ior");
    for (const char* file : {"first/x/c.ior", "second/c.ior", "elsewhere/d.ior"})
        volumes.makeFile("HD", file);
    link("mat", "mat/sub/back");
    link("elsewhere", "mat/sub/zlink");
    defaults = {volumes.item("HD", "missing"), volumes.item("HD", "first"),
                volumes.item("HD", "second")};
    EXPECT_EQ(found("a.ior"), deep);
    EXPECT_EQ(found("b.ior"), inFolderNamedLikeIt);
    EXPECT_EQ(found("c.ior", false), "");
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(found("c.ior"), volumes.pathOf("HD", "first/x/c.ior"));
    EXPECT_EQ(found("d.ior"), volumes.pathOf("HD", "mat/sub/zlink/d.ior"));
    EXPECT_EQ(found("missing.ior"), "");
    const std::string direct = volumes.makeFile("HD", "mat/a.ior"); // sorts after A and B
    EXPECT_EQ(found("a.ior"), direct);
    const std::string inTree = volumes.makeFile("HD", "mat/sub/c.ior");
    EXPECT_EQ(found("c.ior"), inTree);
}

TEST_F(PathCheckTest, OnePathCheckListsEachFolderOnceAndTheNextListsAfresh) {
    volumes.makeFolder("HD", "lib");
    defaults = {volumes.item("HD", "lib")};
    // Made when the search for b.ior asks for the default locations, all
    // folders listed by then: the later searches of this check do not see them.
    onRead = [this](int read) {
        if (read == 2)
            for (const char* file : {"mat/sub/C.IOR", "lib/d.ior"})
                volumes.makeFile("HD", file);
    };
    const std::vector<std::string> paths{"/no/a.ior", "/no/b.ior", "/no/c.ior", "/no/d.ior"};
    EXPECT_EQ(check(paths).first.find("changed"), std::string::npos);
    EXPECT_EQ(check(paths).first,
              "[ a.ior - not found, o.k.? ] \r[ b.ior - not found, critical ] \r"
              "[ c.ior - Path changed, o.k. ] \r[ d.ior - Path changed, o.k. ] \r");
}

} // namespace
