#include "LocationsFile.h"

#include "Text.h"

#include <algorithm>
#include <cstddef>

namespace LocationsFile {
namespace {

const char hexDigits[] = "0123456789ABCDEF";
// Begins an escaped line; an absolute path begins with its volume's name.
const char escapeMark = ':';

void appendEscaped(std::string& line, unsigned char byte) {
    line += '%';
    line += hexDigits[byte >> 4];
    line += hexDigits[byte & 0x0F];
}

bool canStandPlain(const std::string& path) {
    if (!path.empty() && path.front() == escapeMark)
        return false;
    for (char c : path)
        if (IsControlByte(static_cast<unsigned char>(c)))
            return false;
    return IsValidUtf8(path);
}

std::string escapedLine(const std::string& path) {
    std::string line(1, escapeMark);
    std::size_t position = 0;
    while (position < path.size()) {
        const auto byte = static_cast<unsigned char>(path[position]);
        if (byte >= 0x80) {
            const std::size_t length = Utf8SequenceLength(path, position);
            if (length > 0) {
                line.append(path, position, length);
                position += length;
                continue;
            }
        }
        if (IsControlByte(byte) || byte == '%' || byte >= 0x80)
            appendEscaped(line, byte);
        else
            line += static_cast<char>(byte);
        ++position;
    }
    return line;
}

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

std::string unescaped(const std::string& line) {
    std::string path;
    for (std::size_t position = 1; position < line.size(); ++position) {
        if (line[position] == '%' && position + 2 < line.size() &&
            hexValue(line[position + 1]) >= 0 && hexValue(line[position + 2]) >= 0) {
            path +=
                static_cast<char>(hexValue(line[position + 1]) * 16 + hexValue(line[position + 2]));
            position += 2;
        } else {
            path += line[position];
        }
    }
    return path;
}

} // namespace

std::string format(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text += (canStandPlain(path) ? path : escapedLine(path)) + "\n";
    return text;
}

std::vector<std::string> parse(const std::string& text) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool escaped = !line.empty() && line.front() == escapeMark;
        paths.push_back(escaped ? unescaped(line) : line);
        start = end + 1;
    }
    return paths;
}

std::vector<std::string> merged(std::vector<std::string> onDisk,
                                const std::vector<std::string>& before,
                                const std::vector<std::string>& now) {
    std::vector<std::string> removed = before, added;
    for (const std::string& path : now) {
        const auto kept = std::find(removed.begin(), removed.end(), path);
        if (kept != removed.end())
            removed.erase(kept);
        else
            added.push_back(path);
    }
    for (const std::string& path : removed) {
        const auto at = std::find(onDisk.begin(), onDisk.end(), path);
        if (at != onDisk.end())
            onDisk.erase(at);
    }
    onDisk.insert(onDisk.end(), added.begin(), added.end());
    return onDisk;
}

} // namespace LocationsFile
