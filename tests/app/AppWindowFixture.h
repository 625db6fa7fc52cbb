#pragma once

#include "App.h"
#include "ImageTypes.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"
#include "TestVolumes.h"
#include "UiTest.h"
#include "Window.h"

#include <memory>
#include <string>

// The application object and the file types as the program has them, the
// windows offscreen, and the temporary volumes "HD", "Data" and "HD2" with
// the preferences folder beside them.
class AppWindowTest : public UiTest {
  protected:
    static void SetUpTestSuite() {
        if (!MaxwellFiles::MaxwellMaterial()) {
            MaxwellFiles::Initialize();
            ImageTypes::Initialize();
        }
    }
    void SetUp() override {
        UiTest::SetUp();
        app = std::make_unique<App>();
    }
    void TearDown() override {
        UiTest::TearDown();
        app.reset();
    }

    // A material named name whose two stored paths name files in the
    // startup volume "HD".
    static std::string material(const std::string& name, const std::string& first = "/tex/a.jpg",
                                const std::string& second = "/tex/b.jpg") {
        return MaterialBytes()
            .marker()
            .string(name)
            .noPreview()
            .middle()
            .record(first, "p0 bitmap")
            .record(second, "p1")
            .bytes();
    }

    // Every window of class T that is open now.
    template <class T> static int openCount() {
        int count = 0;
        for (Window* window : Window::openWindows())
            count += dynamic_cast<T*>(window) != nullptr ? 1 : 0;
        return count;
    }

    TestVolumes volumes;
    std::unique_ptr<App> app;
};
