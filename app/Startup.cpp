#include "Startup.h"

#include "ImageTypes.h"
#include "MaxwellFiles.h"
#include "MenuBar1.h"
#include "StartWindow.h"
#include "UnhandledException.h"
#include "Window.h"

#include <exception>

std::unique_ptr<App> Startup::begin(const std::vector<std::string>& documents) {
    MaxwellFiles::Initialize();
    ImageTypes::Initialize();
    auto app = std::make_unique<App>();
    app->setDisplayName(App::ProgramName);
    app->setMenuBar(MenuBar1::instance());
    app->AddMenuHandlers();
    StartWindow::instance();
    for (const std::string& path : documents)
        app->OpenDocument(makeRef<FolderItem>(path));
    return app;
}

void Startup::end(std::unique_ptr<App> app) {
    Window::DiscardAll();
    app.reset();
    MenuBar1::Release();
    MaxwellFiles::Release();
    ImageTypes::Release();
}

int Startup::run(const std::vector<std::string>& documents) {
    int status = 0;
    std::unique_ptr<App> app;
    try {
        app = begin(documents);
        status = app->Run();
    } catch (const std::exception& error) {
        UnhandledException::report(error);
    } catch (...) {
        UnhandledException::reportUnknown();
    }
    end(std::move(app));
    return status;
}
