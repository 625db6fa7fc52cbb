#pragma once

#include "Application.h"
#include "FolderItem.h"
#include "Ref.h"

#include <vector>

// The program's application object. It owns the user's default search
// locations for the whole run and lends them to the file search.
class App : public Application {
  public:
    App();
    ~App() override;

    // The program's name as users see it: the start window's title and the
    // title of its messages.
    static constexpr const char* ProgramName = "Lumitrace";

    // The registered application object; raises NilObjectException when
    // there is none, or when it is not an App.
    static App& instance();

    // Searched in this order after a material's own folder tree. The same
    // object for the whole run: editors keep a reference to it and change it
    // in place.
    std::vector<Ref<FolderItem>> DefaultLocations;

    // Loads the search locations, once, before any document is opened.
    void Event_Open() override;
    // Tries any file handed over as a material, in a new editor window; a
    // file that cannot be read is named in a message that says why. A
    // material open already brings its editor to the front instead.
    void Event_OpenDocument(const Ref<FolderItem>& item) override;

    // Installs the handlers of the three commands the application answers
    // for the whole run, whichever window is in front.
    void AddMenuHandlers();
    bool FileOpen_Action();
    bool FileOpenFolder_Action();
    bool FileEditDefaultLocations_Action();

    // The three commands, reached from the menu and from the start window.
    void MenuOpenMXM();
    void MenuOpenMXMFolder();
    void MenuSetPrefs();

    virtual void AddDefaultLocationForSearch(const Ref<FolderItem>& folder);
    virtual void ResetDefaultLocations();
    // Appends every item named in the preferences file that still exists.
    virtual void LoadDefaultLocations();
    // Replaces the preferences file by the list; false when the file could
    // not be written, and the file then holds what it held before. When the
    // load had to drop lines, the old file is first kept as
    // "LumitracePaths.pref.bak" beside it.
    virtual bool SaveDefaultLocations();
    // The preferences file as a message names it.
    static std::string PreferencesFileShownName();

  private:
    static Ref<FolderItem> preferencesFile();
    bool preferencesLinesDropped_ = false;
};
