#include "AppTest.h"
#include "ProgressWindow.h"

#include <QTimer>

namespace {

// A batch run shares its folder listings between the checks of all its
// materials; a check that runs while the batch lets events through (as an
// editor's would) lists afresh, and so does a check after the run.
TEST_F(AppTest, BatchListsEachFolderOnceAndACheckMeanwhileListsAfresh) {
    volumes.makeFile("HD", "batch/a.mxm", material("Alpha", "/old/new.jpg"));
    volumes.makeFile("HD", "batch/b.mxm", material("Bravo", "/old/new.jpg"));
    const auto check = [this] {
        int32_t status = 0;
        return read("batch/b.mxm")->ResetPaths(status);
    };
    const std::string moved = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - Path changed, o.k. ] \r";
    std::string meanwhile;
    // Runs after a.mxm, whose check has listed the batch folder already.
    QTimer::singleShot(0, [&] {
        volumes.makeFile("HD", "batch/new.jpg");
        meanwhile = check();
    });
    new ProgressWindow(volumes.item("HD", "batch"));
    EXPECT_EQ(meanwhile, moved);
    const std::string missing = "[ /tex/a.jpg- o.k. ] \r[ new.jpg - not found, critical ] \r";
    EXPECT_EQ(Clipboard::Text(), "a.mxm  ::   Alpha: " + missing + "Status 3 ***" +
                                     "b.mxm  ::   Bravo: " + missing + "Status 3 ***");
    EXPECT_EQ(check(), moved);
}

} // namespace
