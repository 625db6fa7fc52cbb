#include "Application.h"

#include "DialogDispatcher.h"
#include "EventGuard.h"
#include "Exceptions.h"
#include "Services.h"
#include "WidgetHook.h"
#include "Window.h"

#include <QApplication>
#include <QFile>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QSessionManager>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

Application* registered = nullptr;

std::string className(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : mangled;
}

} // namespace

Application::Application() {
    registered = this;
    DialogDispatcher::installServiceHooks();
    watchDesktopEvents();
}

Application::~Application() {
    delete desktopHook_.data();
    QObject::disconnect(sessionConnection_);
    if (registered == this)
        registered = nullptr;
}

Application* Application::instance() {
    return registered;
}

void Application::watchDesktopEvents() {
    auto* qtApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (qtApp == nullptr)
        return;
    // Windows are hidden, not closed, when they go; the application quits
    // when the last one has gone (see Window), or by Quit.
    qtApp->setQuitOnLastWindowClosed(false);
    desktopHook_ = new WidgetHook(qtApp, [this](QEvent* event) {
        if (event->type() != QEvent::FileOpen || registered != this)
            return false;
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        EventGuard::run(
            [&] { OpenDocument(makeRef<FolderItem>(QFile::encodeName(file).toStdString())); });
        return true;
    });
    sessionConnection_ = QObject::connect(
        qtApp, &QGuiApplication::commitDataRequest, qtApp, [this](QSessionManager& manager) {
            if (registered != this || !manager.allowsInteraction())
                return;
            bool quitting = false;
            EventGuard::run([&] { quitting = Quit(); });
            manager.release();
            if (!quitting)
                manager.cancel();
        });
}

void Application::Start() {
    if (!opened_) {
        opened_ = true;
        EventGuard::run([this] { Event_Open(); });
    }
    deliverQueuedDocuments();
}

void Application::deliverQueuedDocuments() {
    while (!queuedDocuments_.empty()) {
        Ref<FolderItem> item = queuedDocuments_.front();
        queuedDocuments_.pop_front();
        EventGuard::run([&] { Event_OpenDocument(item); });
    }
}

int Application::Run() {
    Start();
    if (QCoreApplication::instance() == nullptr)
        return 0;
    running_ = true;
    const int status = QCoreApplication::exec();
    running_ = false;
    return status;
}

void Application::OpenDocument(const Ref<FolderItem>& item) {
    if (!opened_) {
        queuedDocuments_.push_back(item);
        return;
    }
    Event_OpenDocument(item);
}

void Application::DoEvents(int milliseconds) {
    if (QCoreApplication::instance() == nullptr)
        return;
    if (milliseconds < 0)
        QCoreApplication::processEvents();
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

void Application::lastWindowClosed() {
    if (running_)
        QCoreApplication::quit();
}

bool Application::Quit() {
    if (!Window::CloseAll(true))
        return false;
    if (running_)
        QCoreApplication::quit();
    return true;
}

void Application::setMenuBar(const Ref<::MenuBar>& bar) {
    menuBar_ = bar;
    for (Window* window : Window::openWindows())
        if (window->MenuBar().isNil())
            window->rebuildMenuBar();
}

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
    menuHandlers_[itemName] = std::move(handler);
    for (Window* window : Window::openWindows())
        window->refreshMenuStates();
}

bool Application::HasMenuHandler(const std::string& itemName) const {
    return menuHandlers_.count(itemName) != 0;
}

bool Application::HandleMenuCommand(const std::string& itemName) {
    return routeMenuCommand(Window::frontmost(), itemName);
}

bool Application::runOwnHandler(const std::string& itemName) {
    auto handler = menuHandlers_.find(itemName);
    if (handler == menuHandlers_.end())
        return false;
    // A copy: the handler may replace itself while it runs.
    std::function<bool()> run = handler->second;
    return run();
}

bool Application::routeMenuCommand(Window* window, const std::string& itemName) {
    if (window != nullptr && window->runOwnMenuHandler(itemName))
        return true;
    if (registered != nullptr && registered->runOwnHandler(itemName))
        return true;
    Ref<::MenuBar> bar = window != nullptr       ? window->shownMenuBar()
                         : registered != nullptr ? registered->MenuBar()
                                                 : nullptr;
    Ref<MenuItem> item = bar.isNil() ? nullptr : bar->FindItem(itemName);
    if (item.isNil() || !item->IsQuitItem())
        return false;
    if (registered != nullptr)
        registered->Quit();
    else
        Window::CloseAll(true);
    return true;
}

bool Application::menuCommandAvailable(const Window* window, const MenuItem& item) {
    if (!item.AutoEnable())
        return item.Enabled();
    return item.IsQuitItem() || (window != nullptr && window->HasMenuHandler(item.Name())) ||
           (registered != nullptr && registered->HasMenuHandler(item.Name()));
}

void Application::reportUnhandledException(const std::exception& error) {
    // What went wrong with a file is no fault of the program: its own words
    // say it, without the text meant for programming errors.
    if (dynamic_cast<const FileException*>(&error) != nullptr) {
        MsgBox(error.what());
        return;
    }
    MsgBox("An exception of class " + className(error) +
           " was not handled. The application goes on.\n\n" + error.what());
}

int Application::RunProgram(int argc, char** argv,
                            const std::function<int(const std::vector<std::string>&)>& program) {
    QApplication framework(argc, argv);
    return program(std::vector<std::string>(argv + 1, argv + argc));
}

void Application::reportUnknownException() {
    MsgBox("An exception of an unknown class was not handled. The application goes on.");
}
