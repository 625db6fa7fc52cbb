#include "StartWindow.h"

#include "App.h"
#include "Contact.h"
#include "WindowLook.h"

StartWindow::StartWindow() {
    construct();
}

StartWindow& StartWindow::instance() {
    if (StartWindow* open = Window::find<StartWindow>())
        return *open;
    return *new StartWindow;
}

// Two carriage returns, no line feed, leave one empty line between the
// paragraphs.
std::string StartWindow::informationText() {
    return std::string("A small tool to adjust texture paths in MXM files and to exchange preview "
                       "icons in MXM files.") +
           "\r\r" + "Use only on copies of materials, use on your own risk. Report bugs to " +
           Contact::Address + ".";
}

void StartWindow::Layout() {
    WindowLook::apply(*this, App::ProgramName, 344, 239, false);
}

// The first button is made before the text above it: the tab order follows
// the order of creation, not the place on screen.
void StartWindow::CreateControls() {
    auto& open = addCommandButton("PBSingleOpen", 119, "Open MXM and set Preview Icon...");
    open.onAction([this] { PBSingleOpen_Action(); });

    auto& text = addControl<StaticText>("StaticText1", 20, 14, 304, 93);
    text.setText(informationText());
    text.setTextAlign(0);
    text.setTextColor(WindowLook::Text);
    text.setMultiline(true);
    text.setTextSize(12);

    auto& folder =
        addCommandButton("PBOpenFolder", 151, "Open folder and set all texture paths...");
    folder.onAction([this] { PBOpenFolder_Action(); });

    auto& prefs = addCommandButton("PBPrefs", 199, "Set default search paths...");
    prefs.onAction([this] { PBPrefs_Action(); });
}

PushButton& StartWindow::addCommandButton(const std::string& name, int top,
                                          const std::string& caption) {
    auto& button = addControl<PushButton>(name, 20, top, 304, 20);
    button.setCaption(caption);
    button.setDefault(false);
    button.setCancel(false);
    return button;
}

void StartWindow::PBSingleOpen_Action() {
    App::instance().MenuOpenMXM();
}

void StartWindow::PBOpenFolder_Action() {
    App::instance().MenuOpenMXMFolder();
}

void StartWindow::PBPrefs_Action() {
    App::instance().MenuSetPrefs();
}
