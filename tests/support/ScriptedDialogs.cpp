#include "ScriptedDialogs.h"

#include "DialogDispatcher.h"
#include "OffscreenApplication.h"

#include <gtest/gtest.h>

namespace {

const char* kindName(ShownDialog::Kind kind) {
    // In the order of ShownDialog::Kind.
    static const char* const names[] = {"MsgBox", "MessageDialog", "open dialog", "save dialog",
                                        "choose-folder dialog"};
    return names[static_cast<int>(kind)];
}

} // namespace

ScriptedDialogs::ScriptedDialogs() {
    offscreenApplication();
    previous_ = DialogDispatcher::setResponder(this);
    DialogDispatcher::installServiceHooks();
}

ScriptedDialogs::~ScriptedDialogs() {
    DialogDispatcher::setResponder(previous_);
    if (!checkUnused_ || steps_.empty())
        return;
    ADD_FAILURE() << steps_.size() << " scripted dialog step(s) never used; the next was a "
                  << kindName(steps_.front().kind);
}

ScriptedDialogs& ScriptedDialogs::add(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectMsgBox(const std::string& text) {
    return add({ShownDialog::Kind::MsgBox, false, text, {}, nullptr});
}

ScriptedDialogs& ScriptedDialogs::expectAnyMsgBox() {
    return add({ShownDialog::Kind::MsgBox, true, {}, {}, nullptr});
}

ScriptedDialogs& ScriptedDialogs::answerMessageDialog(MessageDialogChoice choice) {
    return add({ShownDialog::Kind::MessageDialog, true, {}, choice, nullptr});
}

ScriptedDialogs& ScriptedDialogs::answerOpenFile(const Ref<FolderItem>& file) {
    return add({ShownDialog::Kind::OpenFile, true, {}, {}, file});
}

ScriptedDialogs& ScriptedDialogs::answerSaveFile(const Ref<FolderItem>& file) {
    return add({ShownDialog::Kind::SaveFile, true, {}, {}, file});
}

ScriptedDialogs& ScriptedDialogs::answerSelectFolder(const Ref<FolderItem>& folder) {
    return add({ShownDialog::Kind::SelectFolder, true, {}, {}, folder});
}

std::vector<std::string> ScriptedDialogs::msgBoxes() const {
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : shown_)
        if (dialog.kind == ShownDialog::Kind::MsgBox)
            texts.push_back(dialog.text);
    return texts;
}

const ScriptedDialogs::Step* ScriptedDialogs::take(ShownDialog::Kind kind,
                                                   const std::string& what) {
    if (steps_.empty()) {
        ADD_FAILURE() << "Unexpected " << kindName(kind) << " (no scripted answer): " << what;
        return nullptr;
    }
    if (steps_.front().kind != kind) {
        ADD_FAILURE() << "Unexpected " << kindName(kind) << " (the script expects a "
                      << kindName(steps_.front().kind) << "): " << what;
        return nullptr;
    }
    current_ = std::move(steps_.front());
    steps_.pop_front();
    return &current_;
}

void ScriptedDialogs::showMsgBox(const std::string& text) {
    shown_.push_back({ShownDialog::Kind::MsgBox, text, {}, {}, {}, {}});
    const Step* step = take(ShownDialog::Kind::MsgBox, "\"" + text + "\"");
    if (step != nullptr && !step->anyText) {
        EXPECT_EQ(step->text, text) << "MsgBox text";
    }
}

MessageDialogChoice ScriptedDialogs::showMessageDialog(const MessageDialog& dialog) {
    ShownDialog record{
        ShownDialog::Kind::MessageDialog, dialog.Message, dialog.Explanation, {}, {}, {}};
    for (const MessageDialogButton* button :
         {&dialog.ActionButton, &dialog.AlternateActionButton, &dialog.CancelButton})
        if (button->Visible)
            record.buttons.push_back(button->Caption);
    shown_.push_back(record);
    const Step* step = take(ShownDialog::Kind::MessageDialog, "\"" + dialog.Message + "\"");
    return step != nullptr ? step->choice : MessageDialogChoice::Cancel;
}

Ref<FolderItem> ScriptedDialogs::showOpenFile(const std::string& filterTypeNames) {
    shown_.push_back({ShownDialog::Kind::OpenFile, {}, {}, {}, filterTypeNames, {}});
    const Step* step = take(ShownDialog::Kind::OpenFile, "filter \"" + filterTypeNames + "\"");
    return step != nullptr ? step->item : nullptr;
}

Ref<FolderItem> ScriptedDialogs::showSaveFile(const std::string& filterTypeNames,
                                              const std::string& defaultName) {
    shown_.push_back({ShownDialog::Kind::SaveFile, {}, {}, {}, filterTypeNames, defaultName});
    const Step* step = take(ShownDialog::Kind::SaveFile, "proposing \"" + defaultName + "\"");
    return step != nullptr ? step->item : nullptr;
}

Ref<FolderItem> ScriptedDialogs::showSelectFolder() {
    shown_.push_back({ShownDialog::Kind::SelectFolder, {}, {}, {}, {}, {}});
    const Step* step = take(ShownDialog::Kind::SelectFolder, "");
    return step != nullptr ? step->item : nullptr;
}
