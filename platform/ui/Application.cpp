#include "Application.h"

#include "EventGuard.h"
#include "EventHook.h"
#include "QtDialogResponder.h"
#include "Window.h"

#include <QApplication>
#include <QFile>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>

namespace {

Application* registered = nullptr;

} // namespace

struct Application::DesktopConnections {
    QPointer<QObject> hook;
    QMetaObject::Connection session;
};

Application::Application() : desktop_(std::make_unique<DesktopConnections>()) {
    registered = this;
    QtDialogResponder::setProgramName("");
    Window::setWhenLastClosed([this] { lastWindowClosed(); });
    static QtDialogResponder qtDialogs;
    DialogResponder::setProgramDialogs(qtDialogs);
    watchDesktopEvents();
}

Application::~Application() {
    delete desktop_->hook.data();
    QObject::disconnect(desktop_->session);
    if (registered == this) {
        registered = nullptr;
        Window::setWhenLastClosed(nullptr);
        QtDialogResponder::setProgramName("");
    }
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
    desktop_->hook = new EventHook(qtApp, [this](QEvent* event) {
        if (event->type() != QEvent::FileOpen || registered != this)
            return false;
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        EventGuard::run(
            [&] { OpenDocument(makeRef<FolderItem>(QFile::encodeName(file).toStdString())); });
        return true;
    });
    desktop_->session = QObject::connect(qtApp, &QGuiApplication::commitDataRequest, qtApp,
                                         [this](QSessionManager& manager) {
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

void Application::setDisplayName(const std::string& name) {
    QtDialogResponder::setProgramName(name);
}

void Application::setMenuBar(const Ref<::MenuBar>& bar) {
    commands_.setMenuBar(bar);
    for (Window* window : Window::openWindows())
        if (window->MenuBar().isNil())
            window->rebuildMenuBar();
}

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
    commands_.handlers().add(itemName, std::move(handler));
    for (Window* window : Window::openWindows())
        window->refreshMenuStates();
}

bool Application::HandleMenuCommand(const std::string& itemName) {
    if (Window* front = Window::frontmost())
        return front->HandleMenuCommand(itemName);
    return MenuCommands::route(nullptr, MenuCommands::applicationMenuBar(), itemName,
                               [] { Window::CloseAll(true); });
}

int Application::RunProgram(int argc, char** argv,
                            const std::function<int(const std::vector<std::string>&)>& program) {
    QApplication framework(argc, argv);
    return program(std::vector<std::string>(argv + 1, argv + argc));
}
