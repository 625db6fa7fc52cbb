#pragma once

#include <climits>
#include <string>

#include <unistd.h>

// Native paths as text: "/"-separated, absolute once normalized.
namespace NativePaths {

// Absolute, without repeated or trailing slashes, so that paths compare as
// text. Links and ".." are left alone: an item keeps the path it was given.
inline std::string normalized(const std::string& path) {
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char buffer[PATH_MAX];
        const char* cwd = ::getcwd(buffer, sizeof buffer);
        absolute = std::string(cwd ? cwd : "") + "/" + absolute;
    }
    std::string out;
    for (char c : absolute)
        if (c != '/' || out.empty() || out.back() != '/')
            out += c;
    if (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

inline std::string baseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The folder holding the path; "/" for an item at the root.
inline std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

inline std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// Whether the path is the root or lies below it, as text.
inline bool isInside(const std::string& path, const std::string& root) {
    return root == "/" || (path.compare(0, root.size(), root) == 0 &&
                           (path.size() == root.size() || path[root.size()] == '/'));
}

// A name the file system can hold in one folder entry.
inline bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

} // namespace NativePaths
