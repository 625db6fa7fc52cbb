#include "PreferencesFolder.h"

#include "NativeFolder.h"
#include "NativePaths.h"
#include "Volumes.h"

#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool makeFolders(const std::string& path) {
    if (NativeFolder::isFolder(path))
        return true;
    if (path == "/" || !makeFolders(NativePaths::folderOf(path)))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 || NativeFolder::isFolder(path);
}

std::string userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return config;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    const passwd* user = ::getpwuid(::getuid());
    if (user && user->pw_dir && user->pw_dir[0] == '/')
        return std::string(user->pw_dir) + "/.config";
    return {};
}

} // namespace

std::string PreferencesFolderPath() {
    const std::string root = Volumes::preferencesRoot();
    return root.empty() ? userConfigFolder() : root;
}

Ref<FolderItem> PreferencesFolder() {
    const std::string root = PreferencesFolderPath();
    if (root.empty() || !makeFolders(NativePaths::normalized(root)))
        return nullptr;
    return makeRef<FolderItem>(root);
}
