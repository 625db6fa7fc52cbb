#include "WindowMXM.h"

#include "Alerts.h"
#include "BusyCursor.h"
#include "FileDialogs.h"
#include "ImageTypes.h"
#include "MaxwellFiles.h"
#include "MenuBar1.h"
#include "MessageDialog.h"
#include "WindowLook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// What a path check can change: the text of every stored path and every raw
// block. Their number never changes, so two of these compare element-wise.
std::vector<std::string> storedReferences(const mxmFile& material) {
    std::vector<std::string> references;
    for (const mxmString& path : material.mxmPaths)
        references.push_back(path.getString());
    references.insert(references.end(), material.mxmParameter.begin(), material.mxmParameter.end());
    return references;
}

} // namespace

WindowMXM::WindowMXM() {
    construct();
}

WindowMXM* WindowMXM::editorOf(const FolderItem& file) {
    const DiskIdentity identity = file.Identity();
    if (identity == DiskIdentity{})
        return nullptr;
    for (Window* window : openWindows()) {
        auto* editor = dynamic_cast<WindowMXM*>(window);
        if (editor != nullptr && editor->currentMXM &&
            editor->currentMXM->mxmFileFolderItem->Identity() == identity)
            return editor;
    }
    return nullptr;
}

void WindowMXM::Layout() {
    setMenuBar(MenuBar1::instance());
    WindowLook::apply(*this, "Untitled", 237, 318, false);
}

// The order of creation is also the tab order.
void WindowMXM::CreateControls() {
    createPBSave();
    createCPreview();
    createBBRevert();
    createBBCheckPath();
    createStaticText1();
}

void WindowMXM::createPBSave() {
    auto& button = addControl<PushButton>("PBSave", 128, 278, 80, 20);
    button.setCaption("Save");
    button.setEnabled(false);
    button.setDefault(true);
    button.onAction([this] { PBSave_Action(); });
}

void WindowMXM::createCPreview() {
    auto& canvas = addControl<Canvas>("CPreview", 20, 35, 197, 197);
    canvas.onOpen([this] { CPreview_Open(); });
    canvas.onDropObject([this](const DragItem& obj) { CPreview_DropObject(obj); });
    canvas.onPaint([this](Graphics& g) { CPreview_Paint(g); });
}

void WindowMXM::createBBRevert() {
    auto& button = addControl<BevelButton>("BBRevert", 20, 244, 98, 22);
    button.setCaption("Revert Icon");
    button.setEnabled(false);
    button.onAction([this] { BBRevert_Action(); });
}

void WindowMXM::createBBCheckPath() {
    auto& button = addControl<BevelButton>("BBCheckPath", 119, 244, 98, 22);
    button.setCaption("Check Path");
    button.onAction([this] { BBCheckPath_Action(); });
}

void WindowMXM::createStaticText1() {
    auto& text = addControl<StaticText>("StaticText1", 20, 12, 197, 20);
    text.setText("Drop JPG, PNG or BMP here!");
    text.setTextColor(WindowLook::Text);
    text.setTextAlign(0);
    text.setMultiline(false);
}

void WindowMXM::AddMenuHandlers() {
    AddMenuHandler("FileSave", [this] { return FileSave_Action(); });
    AddMenuHandler("FileSaveAs", [this] { return FileSaveAs_Action(); });
    AddMenuHandler("FileClose", [this] { return FileClose_Action(); });
}

void WindowMXM::PBSave_Action() {
    WriteMXMFile(false);
}

void WindowMXM::CPreview_Open() {
    CPreview().AcceptPictureDrop();
    CPreview().AcceptFileDrop(ImageTypes::All());
}

// Only the first picture or file of a drag is used. A drop that gives no
// picture changes nothing; the user is told which picture and why.
void WindowMXM::CPreview_DropObject(const DragItem& obj) {
    if (!currentMXM)
        return;
    Ref<Picture> picture = obj.Picture();
    std::string why = obj.PictureProblem(), which = "dropped picture";
    if (!obj.PictureAvailable() && obj.FolderItemAvailable()) {
        picture = Picture::Open(obj.FolderItem(), &why);
        which = "picture \"" + obj.FolderItem()->NativePath() + "\"";
    }
    if (!picture) {
        MsgBox("The " + which + " could not be read: " + why + ".");
        return;
    }
    currentMXM->SetPict(picture);
    dirty = true;
    PBSave().setEnabled(true);
    BBRevert().setEnabled(true);
    CPreview().Refresh();
}

// The 200 x 200 preview at (-1, -1) of the 197 x 197 canvas: preview pixels 1
// to 197 of each row and column show.
void WindowMXM::CPreview_Paint(Graphics& g) {
    if (!currentMXM || !currentMXM->PreviewPict)
        return;
    const Ref<Picture>& preview = currentMXM->PreviewPict;
    g.DrawPicture(preview, -1, -1, mxmFile::PreviewSide, mxmFile::PreviewSide, 0, 0,
                  preview->Width(), preview->Height());
}

void WindowMXM::BBRevert_Action() {
    RevertImage();
}

void WindowMXM::BBCheckPath_Action() {
    CheckPaths();
}

bool WindowMXM::FileSave_Action() {
    WriteMXMFile(false);
    return true;
}

bool WindowMXM::FileSaveAs_Action() {
    WriteMXMFile(true);
    return true;
}

bool WindowMXM::FileClose_Action() {
    Close();
    return true;
}

bool WindowMXM::Event_CancelClose(bool appQuitting) {
    (void)appQuitting; // quitting asks the same question as closing
    return !CloseMXMFile();
}

// A "Save As" changes neither the title nor the file the material belongs
// to: a later "Save" writes to the file that was opened.
bool WindowMXM::WriteMXMFile(bool saveAs) {
    if (!currentMXM)
        return false;
    const Ref<FolderItem> target =
        saveAs ? GetSaveFolderItem(MaxwellFiles::MaxwellMaterial()->toString(), "new")
               : currentMXM->mxmFileFolderItem;
    if (!target) {
        Beep();
        return false;
    }
    // The writer has told the user when it could not write; the changes
    // stay unsaved so that "Save" can be tried again.
    if (!currentMXM->writeFile(target))
        return false;
    dirty = false;
    pathsUnsaved_ = false;
    PBSave().setEnabled(false);
    return true;
}

bool WindowMXM::CloseMXMFile() {
    if (!dirty)
        return true;
    MessageDialog question;
    question.Icon = 1;
    question.ActionButton.Caption = "Save";
    question.CancelButton.Visible = true;
    question.AlternateActionButton.Visible = true;
    question.AlternateActionButton.Caption = "Don't Save";
    question.Message = "Do you want to save changes to this document\u2013 before closing?";
    question.Explanation = "If you don't save, your changes will be lost. ";
    // Quitting asks each changed editor in turn: the one asked comes to the
    // front, so the user sees which material the question is about.
    Show();
    const MessageDialogButton* pressed = question.ShowModalWithin(*this);
    // A save that did not write keeps the window open, so no change is lost.
    if (pressed == &question.ActionButton)
        return WriteMXMFile(false);
    return pressed != &question.CancelButton;
}

void WindowMXM::RevertImage() {
    currentMXM->Revert();
    dirty = pathsUnsaved_;
    CPreview().Refresh();
}

// The check can take seconds (default locations with large trees): the busy
// cursor shows until the report.
void WindowMXM::CheckPaths() {
    std::string message;
    try {
        const BusyCursor busy;
        int32_t status = 0;
        const std::vector<std::string> before = storedReferences(*currentMXM);
        const std::string report = currentMXM->ResetPaths(status);
        // A reference rewritten inside a raw block leaves the severity at 0,
        // yet it is a change that closing must not drop without a question.
        if (storedReferences(*currentMXM) != before)
            pathsUnsaved_ = true;
        if (status > 0 || pathsUnsaved_) {
            dirty = true;
            PBSave().setEnabled(true);
        }
        message = std::to_string(status) + " " + report;
    } catch (...) {
        message = "Exception in WindowMXM.CheckPaths";
    }
    MsgBox(message);
}
