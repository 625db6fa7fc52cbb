#pragma once

#include <string>

// Native paths as text: "/"-separated, absolute once normalized.
namespace NativePaths {

// Absolute, without repeated or trailing slashes, so that paths compare as
// text. Links and ".." are left alone: an item keeps the path it was given.
std::string normalized(const std::string& path);

std::string baseName(const std::string& path);
// The folder holding the path; "/" for an item at the root.
std::string folderOf(const std::string& path);
std::string joined(const std::string& folder, const std::string& name);
// Whether the path is the root or lies below it, as text.
bool isInside(const std::string& path, const std::string& root);
// A name the file system can hold in one folder entry.
bool isPlainName(const std::string& name);

} // namespace NativePaths
