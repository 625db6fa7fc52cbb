#pragma once

#include "Application.h"
#include "BatchSettings.h"
#include "FolderItem.h"
#include "LocationsStore.h"
#include "Ref.h"
#include "SearchLocations.h"
#include "WriteResult.h"

#include <string>
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

    // The default search locations as their absolute paths (the volume's
    // name, then the folders, joined by ":"), searched in this order after a
    // material's own folder tree. A location whose folder is missing (an
    // unmounted share, a folder renamed for a while) stays in the list and
    // in the file; the search skips it while it is missing. The same object
    // for the whole run: editors keep a reference to it and change it in
    // place.
    std::vector<std::string> DefaultLocations;
    // The location's folder; nil while it is missing.
    static Ref<FolderItem> LocationFolder(const std::string& path);

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
    // Quit while a batch runs stops the batch first: its writes in flight
    // end and their failures are shown, then the program quits.
    bool FileQuit_Action();

    // The three commands, reached from the menu and from the start window.
    // One batch runs at a time: the folder command says so while one runs.
    void MenuOpenMXM();
    void MenuOpenMXMFolder();
    void MenuSetPrefs();

    // How the batches that the folder command starts pace themselves.
    BatchSettings batchSettings;

    virtual void AddDefaultLocationForSearch(const Ref<FolderItem>& folder);
    virtual void ResetDefaultLocations();
    // Appends every location named in the preferences file, present or not.
    virtual void LoadDefaultLocations();
    // Writes the list to the preferences file when it changed, taking in
    // what other running copies saved meanwhile (see LocationsStore::save).
    virtual WriteResult SaveDefaultLocations();
    // The preferences file as a message names it.
    static std::string PreferencesFileShownName();

  private:
    static Ref<FolderItem> preferencesFile();
    LocationsStore store_{DefaultLocations};
    // The locations present at the last search, as the search reads them.
    SearchLocations::FolderList presentLocations_;
    bool batchRunning_ = false;
    bool quitAfterBatch_ = false;
};
