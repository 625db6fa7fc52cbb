#pragma once

#include "PushButton.h"
#include "StaticText.h"
#include "Window.h"

#include <string>

// The first window of the run: what the tool is for, and the three commands
// of the File menu as buttons. The buttons run the same application methods
// as the menu items; the window adds no behaviour of its own.
// Made with new; the framework owns it.
class StartWindow : public Window {
  public:
    StartWindow();

    // The open start window, made and shown when there is none.
    static StartWindow& instance();

    // The information text above the buttons.
    static std::string informationText();

    PushButton& PBSingleOpen() const { return control<PushButton>("PBSingleOpen"); }
    StaticText& StaticText1() const { return control<StaticText>("StaticText1"); }
    PushButton& PBOpenFolder() const { return control<PushButton>("PBOpenFolder"); }
    PushButton& PBPrefs() const { return control<PushButton>("PBPrefs"); }

  protected:
    void Layout() override;
    void CreateControls() override;

  private:
    PushButton& addCommandButton(const std::string& name, int top, const std::string& caption);

    void PBSingleOpen_Action();
    void PBOpenFolder_Action();
    void PBPrefs_Action();
};
