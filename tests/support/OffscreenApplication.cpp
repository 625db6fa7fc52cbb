#include "OffscreenApplication.h"

#include "ScriptedDialogs.h"
#include "Window.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

// Keeps the QApplication until every test has run, then removes what the
// tests left behind before Qt goes.
class OffscreenEnvironment : public ::testing::Environment {
  public:
    void TearDown() override {
        Window::DiscardAll();
        lastResort.reset();
        application.reset();
    }

    std::unique_ptr<QApplication> application;
    std::unique_ptr<ScriptedDialogs> lastResort;
};

OffscreenEnvironment* environment = nullptr;

} // namespace

QApplication& offscreenApplication() {
    if (environment == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests";
        static char* argv[] = {name, nullptr};
        environment = new OffscreenEnvironment;
        environment->application = std::make_unique<QApplication>(argc, argv);
        // Made before any test's script, so it stays beneath them all.
        environment->lastResort = std::make_unique<ScriptedDialogs>();
        ::testing::AddGlobalTestEnvironment(environment);
    }
    return *environment->application;
}
