#include "App.h"
#include "BinaryStream.h"
#include "Clipboard.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"
#include "ProgressWindow.h"
#include "TestVolumes.h"
#include "UiTest.h"
#include "mxmFile.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A batch run shares its folder listings between the checks of all its
// materials; a check that runs while the batch lets events through does not.
class BatchSearchTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ownTypes_ = !MaxwellFiles::MaxwellMaterial();
        if (ownTypes_)
            MaxwellFiles::Initialize();
        app = std::make_unique<App>();
        volumes.makeFile("HD", "tex/a.jpg");
    }
    void TearDown() override {
        UiTest::TearDown();
        app.reset();
        if (ownTypes_)
            MaxwellFiles::Release();
    }

    // A material whose first stored path names a file that has moved.
    static std::string material(const std::string& name) {
        return MaterialBytes()
            .marker()
            .string(name)
            .noPreview()
            .middle()
            .record("/old/new.jpg", "p0 bitmap")
            .record("/tex/a.jpg", "p1")
            .bytes();
    }

    // The report of a check of the material file, run now.
    std::string checkNow(const std::string& relative) const {
        const Ref<FolderItem> file = volumes.item("HD", relative);
        mxmFile checked(BinaryStream::Open(file, false), file);
        int32_t status = 0;
        return checked.ResetPaths(status);
    }

    TestVolumes volumes;
    std::unique_ptr<App> app;

  private:
    bool ownTypes_ = false;
};

TEST_F(BatchSearchTest, OneRunListsEachFolderOnceAndAnEditorCheckMeanwhileListsAfresh) {
    volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
    volumes.makeFile("HD", "batch/b.mxm", material("Bravo"));
    std::string checkDuringRun;
    // Runs when the batch lets events through after a.mxm, whose check has
    // listed the batch folder already.
    QTimer::singleShot(0, [&] {
        volumes.makeFile("HD", "batch/new.jpg");
        checkDuringRun = checkNow("batch/b.mxm");
    });
    new ProgressWindow(volumes.item("HD", "batch"));

    const std::string moved = "[ new.jpg - Path changed, o.k. ] \r[ /tex/a.jpg- o.k. ] \r";
    EXPECT_EQ(checkDuringRun, moved);
    EXPECT_EQ(Clipboard::Text(), "a.mxm  ::   Alpha: [ new.jpg - not found, o.k.? ] \r"
                                 "[ /tex/a.jpg- o.k. ] \rStatus 2 ***"
                                 "b.mxm  ::   Bravo: [ new.jpg - not found, o.k.? ] \r"
                                 "[ /tex/a.jpg- o.k. ] \rStatus 2 ***");
    EXPECT_EQ(checkNow("batch/b.mxm"), moved);
}

} // namespace
