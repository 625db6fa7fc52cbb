#pragma once

#include <string>
#include <vector>

// The text form of the search-location preferences: one absolute path a line,
// each line ended by "\n", the whole file valid UTF-8. Folder names may hold
// any byte, so the bytes that would break a line or the UTF-8 text (control
// bytes, bytes outside a valid UTF-8 sequence) are written as "%" and two hex
// digits, and "%" itself as "%25". Every other path is written as it stands.
namespace LocationsFile {

std::string format(const std::vector<std::string>& paths);

// The paths the text holds, in order. A "\r" before a line end (a file saved
// by another editor) is dropped; a "%" without two hex digits stays as it is.
std::vector<std::string> parse(const std::string& text);

} // namespace LocationsFile
