#include "NativePaths.h"

#include <climits>

#include <unistd.h>

namespace NativePaths {

std::string normalized(const std::string& path) {
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

std::string baseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool isInside(const std::string& path, const std::string& root) {
    if (root == "/")
        return true;
    return path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

} // namespace NativePaths
