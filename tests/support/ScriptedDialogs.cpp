#include "ScriptedDialogs.h"

#include "DialogResponder.h"
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

// The test program's QApplication on Qt's offscreen platform (unless
// QT_QPA_PLATFORM names another), made on the first call and kept until the
// tests end, with a script-less ScriptedDialogs as the responder of last
// resort: a dialog that no test scripted fails the test.
void makeOffscreenApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    auto* environment = new OffscreenEnvironment;
    environment->application = std::make_unique<QApplication>(argc, argv);
    // Made before any test's script, so it stays beneath them all.
    environment->lastResort = std::make_unique<ScriptedDialogs>();
    ::testing::AddGlobalTestEnvironment(environment);
}

std::string kindName(ShownDialog::Kind kind) {
    // In the order of ShownDialog::Kind.
    static const char* const names[] = {"MsgBox", "MessageDialog", "open dialog", "save dialog",
                                        "choose-folder dialog"};
    return names[static_cast<int>(kind)];
}

} // namespace

ScriptedDialogs::ScriptedDialogs() {
    makeOffscreenApplication();
    previous_ = DialogResponder::setCurrent(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    DialogResponder::setCurrent(previous_);
    if (checkUnused_ && !steps_.empty())
        ADD_FAILURE() << steps_.size() << " scripted dialog step(s) never used; the next was a "
                      << kindName(steps_.front().kind);
}

std::vector<std::string> ScriptedDialogs::msgBoxes() const {
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : shown_)
        if (dialog.kind == Kind::MsgBox)
            texts.push_back(dialog.text);
    return texts;
}

ScriptedDialogs::Step ScriptedDialogs::take(const ShownDialog& dialog) {
    shown_.push_back(dialog);
    if (steps_.empty() || steps_.front().kind != dialog.kind) {
        ADD_FAILURE() << "Unexpected " << kindName(dialog.kind) << " ("
                      << (steps_.empty() ? "no scripted answer"
                                         : "the script expects a " + kindName(steps_.front().kind))
                      << "): \"" << (dialog.text.empty() ? dialog.filter : dialog.text) << "\"";
        return {dialog.kind};
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    return step;
}

void ScriptedDialogs::showMsgBox(const std::string& text) {
    // A step that expects any text, or none at all, lets every text pass.
    EXPECT_EQ(take({Kind::MsgBox, text}).text.value_or(text), text) << "MsgBox text";
}

MessageDialogChoice ScriptedDialogs::showMessageDialog(const MessageDialogContent& dialog,
                                                       const Window* parent) {
    ShownDialog shown{Kind::MessageDialog, dialog.Message};
    shown.parent = parent;
    for (const MessageDialogButton* button :
         {&dialog.ActionButton, &dialog.AlternateActionButton, &dialog.CancelButton})
        if (button->Visible)
            shown.buttons.push_back(button->Caption);
    return take(shown).choice;
}

Ref<FolderItem> ScriptedDialogs::showOpenFile(const std::string& filterTypeNames) {
    return take({Kind::OpenFile, {}, {}, filterTypeNames}).item;
}

Ref<FolderItem> ScriptedDialogs::showSaveFile(const std::string& filterTypeNames,
                                              const std::string& defaultName) {
    return take({Kind::SaveFile, {}, {}, filterTypeNames, defaultName}).item;
}

Ref<FolderItem> ScriptedDialogs::showSelectFolder() {
    return take({Kind::SelectFolder}).item;
}
