#pragma once

#include <string>
#include <vector>

// The few direct file-system queries that several framework classes share.
namespace NativeFolder {

// The names in the folder, sorted bytewise, without "." and ".."; empty when
// the folder cannot be read.
std::vector<std::string> entries(const std::string& nativePath);

// Whether the path names a folder, following links.
bool isFolder(const std::string& nativePath);

} // namespace NativeFolder
