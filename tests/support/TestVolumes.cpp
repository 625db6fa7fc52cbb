#include "TestVolumes.h"

#include "Volumes.h"

TestVolumes::TestVolumes() {
    Volumes::setTable({{"HD", folder_.makeFolder("HD")},
                       {"Data", folder_.makeFolder("Data")},
                       {"HD2", folder_.makeFolder("HD2")}});
    Volumes::setPreferencesRoot(preferencesRoot());
}

TestVolumes::~TestVolumes() {
    Volumes::setTable({});
    Volumes::setPreferencesRoot("");
}

std::string TestVolumes::root(const std::string& volume) const {
    return folder_.pathOf(volume);
}

std::string TestVolumes::pathOf(const std::string& volume, const std::string& relative) const {
    return folder_.pathOf(volume + "/" + relative);
}

std::string TestVolumes::makeFile(const std::string& volume, const std::string& relative,
                                  const std::string& bytes) const {
    return folder_.makeFile(volume + "/" + relative, bytes);
}

std::string TestVolumes::makeFolder(const std::string& volume, const std::string& relative) const {
    return folder_.makeFolder(volume + "/" + relative);
}

Ref<FolderItem> TestVolumes::item(const std::string& volume, const std::string& relative) const {
    return folder_.item(volume + "/" + relative);
}

std::string TestVolumes::preferencesRoot() const {
    return folder_.pathOf("prefs");
}
