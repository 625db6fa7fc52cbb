#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempFolder::TempFolder() : path_((fs::temp_directory_path() / "mxm-test-XXXXXX").string()) {
    if (!::mkdtemp(path_.data()))
        throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code error;
    // A test may have taken the write permission away; give it back so that
    // everything can go.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(path_, error);
         it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

std::string TempFolder::makeFile(const std::string& relative, const std::string& bytes) const {
    const fs::path file = pathOf(relative);
    fs::create_directories(file.parent_path());
    EXPECT_TRUE(std::ofstream(file, std::ios::binary) << bytes) << "cannot write " << file;
    return file.string();
}

std::string TempFolder::makeFolder(const std::string& relative) const {
    fs::create_directories(pathOf(relative));
    return pathOf(relative);
}

std::string TempFolder::readFile(const std::string& relative) const {
    std::ostringstream bytes;
    bytes << std::ifstream(pathOf(relative), std::ios::binary).rdbuf();
    return bytes.str();
}
