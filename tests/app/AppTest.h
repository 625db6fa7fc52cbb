#pragma once

#include "BinaryStream.h"
#include "Clipboard.h"
#include "MaterialBytes.h"
#include "Startup.h"
#include "TestVolumes.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "Window.h"
#include "mxmFile.h"

// The program as start-up leaves it (file types, application object with
// its menu bar and handlers, start window), on the temporary volumes "HD",
// "Data" and "HD2" with the preferences folder beside them. HD:tex holds
// the two files that the materials below name.
class AppTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        volumes.makeFile("HD", "tex/a.jpg");
        volumes.makeFile("HD", "tex/b.jpg");
        app = Startup::begin({});
        app->Start();
    }
    void TearDown() override {
        Startup::end(std::move(app));
        UiTest::TearDown();
    }

    static std::string material(const std::string& name, const std::string& second = "/tex/b.jpg") {
        MaterialBytes bytes;
        bytes.marker().string(name).preview(200, 200).middle();
        return bytes.record("/tex/a.jpg", "p0 bitmap").record(second, "p1").bytes();
    }
    // A stored preview far too large to be a picture: the reader refuses it.
    static std::string damaged() {
        return MaterialBytes().marker().string("Bad").uint32(100000).uint32(100000).bytes();
    }
    Ref<mxmFile> read(const std::string& relative) const {
        const Ref<FolderItem> file = volumes.item("HD", relative);
        return makeRef<mxmFile>(BinaryStream::Open(file, false), file);
    }
    // The batch's log entry of a material whose two paths are in place.
    static std::string okEntry(const std::string& file, const std::string& name) {
        return file + "  ::   " + name + ": [ /tex/a.jpg- o.k. ] \r[ /tex/b.jpg- o.k. ] \r" +
               "Status 0 ***";
    }
    // HD:batch/m1.mxm ... mN.mxm holding the materials "M1" ... "MN"; their bytes.
    std::vector<std::string> makeBatch(int n) {
        std::vector<std::string> bytes;
        for (int i = 1; i <= n; ++i) {
            bytes.push_back(material("M" + std::to_string(i)));
            volumes.makeFile("HD", mPath(i), bytes.back());
        }
        return bytes;
    }
    static std::string mPath(int i) { return "batch/m" + std::to_string(i) + ".mxm"; }
    static std::string mEntry(int i) {
        return okEntry("m" + std::to_string(i) + ".mxm", "M" + std::to_string(i));
    }
    std::string bytesOf(const std::string& relative) const {
        return volumes.folder().readFile("HD/" + relative);
    }
    static Window* newest() { return Window::openWindows().back(); }

    TestVolumes volumes;
    std::unique_ptr<App> app;
};
