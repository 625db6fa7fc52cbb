#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes away.
//
//   TempFolder temp;
//   temp.makeFile("tex/a.ior", "bytes");     // makes tex/ as well
//   Ref<FolderItem> f = temp.item("tex/a.ior");
class TempFolder {
  public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / "mxm-test-XXXXXX") {
        if (!::mkdtemp(path_.data()))
            throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's native path (no trailing slash).
    const std::string& path() const { return path_; }
    // The native path of relative ("a/b.txt") inside the folder.
    std::string pathOf(const std::string& relative) const { return path_ + "/" + relative; }
    Ref<FolderItem> item(const std::string& relative) const {
        return makeRef<FolderItem>(pathOf(relative));
    }

    // These make the folders on the way too, and return the native path.
    std::string makeFile(const std::string& relative, const std::string& bytes = "") const {
        std::filesystem::create_directories(std::filesystem::path(pathOf(relative)).parent_path());
        EXPECT_TRUE(std::ofstream(pathOf(relative), std::ios::binary) << bytes) << relative;
        return pathOf(relative);
    }
    std::string makeFolder(const std::string& relative) const {
        std::filesystem::create_directories(pathOf(relative));
        return pathOf(relative);
    }
    // The bytes of a file inside the folder; empty when it cannot be read.
    std::string readFile(const std::string& relative) const {
        std::ostringstream bytes;
        bytes << std::ifstream(pathOf(relative), std::ios::binary).rdbuf();
        return bytes.str();
    }

  private:
    std::string path_;
};
