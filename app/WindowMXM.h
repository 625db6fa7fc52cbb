#pragma once

#include "BevelButton.h"
#include "Canvas.h"
#include "DragItem.h"
#include "Graphics.h"
#include "PushButton.h"
#include "Ref.h"
#include "StaticText.h"
#include "Window.h"
#include "mxmFile.h"

// The editor of one material: its preview, which a dropped picture or
// picture file replaces, and the commands save, save as, revert, path check
// and close. Made with new and visible when the constructor returns, titled
// "Untitled" and without a material; the creator then sets currentMXM (once)
// and the title, or closes the window when the file is no material.
class WindowMXM : public Window {
  public:
    WindowMXM();

    // The material shown; nil until the creator sets it.
    Ref<mxmFile> currentMXM;
    // Changes not yet written: a new preview, or paths rewritten by a check.
    bool dirty = false;

    PushButton& PBSave() const { return control<PushButton>("PBSave"); }
    Canvas& CPreview() const { return control<Canvas>("CPreview"); }
    BevelButton& BBRevert() const { return control<BevelButton>("BBRevert"); }
    BevelButton& BBCheckPath() const { return control<BevelButton>("BBCheckPath"); }
    StaticText& StaticText1() const { return control<StaticText>("StaticText1"); }

    // Writes the material to the file it was read from, or (saveAs) to a
    // file chosen in the save dialog. True when the file was written; a
    // cancelled dialog beeps, and a failed write keeps the editor changed.
    bool WriteMXMFile(bool saveAs);
    // The close question; true when the window may close.
    bool CloseMXMFile();
    void RevertImage();
    // The path check, its severity and report shown in a message.
    void CheckPaths();

    bool Event_CancelClose(bool appQuitting) override;

    // The editor open on the file, under any of its names; nullptr when none.
    static WindowMXM* editorOf(const FolderItem& file);

  protected:
    void Layout() override;
    void CreateControls() override;
    void AddMenuHandlers() override;

  private:
    void createPBSave();
    void createCPreview();
    void createBBRevert();
    void createBBCheckPath();
    void createStaticText1();

    void PBSave_Action();
    void CPreview_Open();
    void CPreview_DropObject(const DragItem& obj);
    void CPreview_Paint(Graphics& g);
    void BBRevert_Action();
    void BBCheckPath_Action();

    bool FileSave_Action();
    bool FileSaveAs_Action();
    bool FileClose_Action();

    // Paths that a check rewrote and no save has written yet: reverting the
    // preview leaves them changed.
    bool pathsUnsaved_ = false;
};
