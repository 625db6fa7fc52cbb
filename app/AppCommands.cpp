// The application's events and commands: opening materials, the batch over
// a folder and the editor of the search locations.
#include "App.h"

#include "Alerts.h"
#include "BinaryStream.h"
#include "DefaultLocationsWindow.h"
#include "FileAccess.h"
#include "FileDialogs.h"
#include "MaxwellFiles.h"
#include "ProgressWindow.h"
#include "UnhandledException.h"
#include "WindowMXM.h"
#include "mxmFile.h"

#include <exception>
#include <utility>

void App::Event_Open() {
    LoadDefaultLocations();
}

// A material open already is not opened again: two editors of one file
// would each save over the other's changes. Its editor comes to the front.
void App::Event_OpenDocument(const Ref<FolderItem>& item) {
    if (WindowMXM* open = WindowMXM::editorOf(*item)) {
        open->Show();
        return;
    }
    // Only a regular file is opened: a named pipe would wait for a writer.
    const std::string problem = WhyNotReadable(*item);
    const Ref<BinaryStream> stream = problem.empty() ? BinaryStream::Open(item, false) : nullptr;
    if (!stream) {
        MsgBox("The file \"" + item->NativePath() + "\" could not be opened: " +
               (problem.empty() ? "it cannot be read" : problem) + ".");
        return;
    }
    if (stream->Length() > 0) {
        auto* w = new WindowMXM;
        try {
            w->currentMXM = makeRef<mxmFile>(stream, item);
        } catch (const std::exception& error) {
            // An editor without a material would offer commands that all
            // fail; it goes once the user has read why.
            stream->Close();
            UnhandledException::report(error);
            w->Close();
            return;
        }
        if (!w->currentMXM->isMXM) {
            MsgBox(item->Name() + " doesn't seem to be an MXM file!");
            w->Close();
        } else {
            w->setTitle(w->currentMXM->getMaterialName());
        }
    }
    stream->Close();
}

void App::AddMenuHandlers() {
    AddMenuHandler("FileOpen", [this] { return FileOpen_Action(); });
    AddMenuHandler("FileOpenFolder", [this] { return FileOpenFolder_Action(); });
    AddMenuHandler("FileEditDefaultLocations",
                   [this] { return FileEditDefaultLocations_Action(); });
    AddMenuHandler("FileQuit", [this] { return FileQuit_Action(); });
}

bool App::FileOpen_Action() {
    MenuOpenMXM();
    return true;
}

bool App::FileOpenFolder_Action() {
    MenuOpenMXMFolder();
    return true;
}

bool App::FileEditDefaultLocations_Action() {
    MenuSetPrefs();
    return true;
}

bool App::FileQuit_Action() {
    if (!batchRunning_) {
        Quit();
        return true;
    }
    // The batch runs inside this command's caller: it stops at its next
    // file, and the folder command quits once it has ended.
    quitAfterBatch_ = true;
    if (auto* batch = Window::find<ProgressWindow>())
        batch->Escaped = true;
    return true;
}

void App::MenuOpenMXM() {
    const Ref<FolderItem> file = GetOpenFolderItem(MaxwellFiles::MaxwellMaterial()->toString());
    if (file)
        OpenDocument(file);
}

void App::MenuOpenMXMFolder() {
    if (batchRunning_) {
        MsgBox("A batch is running. Stop it or let it end before you start another one.");
        return;
    }
    MsgBox("Attention: The application DOES NOT create backups. NEVER work on the original files.");
    const Ref<FolderItem> folder = SelectFolder();
    if (!folder)
        return;
    // The whole batch runs while its window is made.
    batchRunning_ = true;
    try {
        new ProgressWindow(folder, batchSettings);
    } catch (...) {
        batchRunning_ = false;
        throw;
    }
    batchRunning_ = false;
    if (std::exchange(quitAfterBatch_, false))
        Quit();
}

void App::MenuSetPrefs() {
    new DefaultLocationsWindow(DefaultLocations);
}
