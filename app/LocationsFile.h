#pragma once

#include <string>
#include <vector>

// The text form of the search-location preferences: one absolute path a line,
// each line ended by "\n", the whole file valid UTF-8. A path is written as it
// stands, with no quoting, whenever it can be: when it is valid UTF-8 without
// control bytes. Folder names may hold any byte, so a path that cannot stand
// in such a line is written in an escaped form: ":" first, which no absolute
// path begins with (it begins with its volume's name), then the path with
// control bytes, "%" and the bytes outside valid UTF-8 written as "%" and two
// hex digits. (Any other text that begins with ":" takes the escaped form as
// well, so that it reads back as it was.)
namespace LocationsFile {

std::string format(const std::vector<std::string>& paths);

// The paths the text holds, in order. A "\r" before a line end (a file saved
// by another editor) is dropped; in an escaped line a "%" without two hex
// digits stays as it is.
std::vector<std::string> parse(const std::string& text);

// The list on disk with the changes that made now out of before: each path
// removed since (as often as it was) leaves the list on disk, where it still
// is, and each path added since is appended, in the order of now.
std::vector<std::string> merged(std::vector<std::string> onDisk,
                                const std::vector<std::string>& before,
                                const std::vector<std::string>& now);

} // namespace LocationsFile
