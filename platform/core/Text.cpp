#include "Text.h"

#include <algorithm>
#include <cstddef>

namespace {

unsigned char byteAt(const std::string& text, size_t index) {
    return static_cast<unsigned char>(text[index]);
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The byte offset of the character at charIndex (0-based) in valid UTF-8.
size_t offsetOfCharacter(const std::string& text, int charIndex) {
    size_t offset = 0;
    for (int i = 0; i < charIndex && offset < text.size(); ++i)
        offset += Utf8SequenceLength(text, offset);
    return offset;
}

char asciiLower(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

} // namespace

// Overlong forms, surrogates and values past U+10FFFF are not well-formed.
size_t Utf8SequenceLength(const std::string& text, size_t index) {
    const unsigned char lead = byteAt(text, index);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (index + length > text.size())
        return 0;
    const unsigned char second = byteAt(text, index + 1);
    if (second < low || second > high)
        return 0;
    for (size_t k = 2; k < length; ++k)
        if (!isContinuation(byteAt(text, index + k)))
            return 0;
    return length;
}

bool IsValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

int Len(const std::string& text) {
    if (!IsValidUtf8(text))
        return LenB(text);
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return !isContinuation(static_cast<unsigned char>(c));
    }));
}

std::string Right(const std::string& text, int count) {
    if (!IsValidUtf8(text))
        return RightB(text, count);
    const int length = Len(text);
    if (count <= 0)
        return {};
    if (count >= length)
        return text;
    return text.substr(offsetOfCharacter(text, length - count));
}

std::string Chr(int codePoint) {
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {};
    const auto cp = static_cast<unsigned>(codePoint);
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

int LenB(const std::string& text) {
    return static_cast<int>(text.size());
}

std::string LeftB(const std::string& text, int count) {
    if (count <= 0)
        return {};
    return text.substr(0, static_cast<size_t>(count));
}

std::string RightB(const std::string& text, int count) {
    if (count <= 0)
        return {};
    const size_t n = std::min(static_cast<size_t>(count), text.size());
    return text.substr(text.size() - n);
}

int InStrB(int start, const std::string& text, const std::string& find) {
    if (find.empty())
        return 0;
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from >= text.size())
        return 0;
    const size_t found = text.find(find, from);
    return found == std::string::npos ? 0 : static_cast<int>(found + 1);
}

std::string ReplaceAllB(const std::string& text, const std::string& find,
                        const std::string& replacement) {
    if (find.empty())
        return text;
    std::string out;
    size_t from = 0;
    for (size_t found = text.find(find); found != std::string::npos;
         found = text.find(find, from)) {
        out.append(text, from, found - from);
        out += replacement;
        from = found + find.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter) {
    if (delimiter.empty())
        return {text};
    std::vector<std::string> pieces;
    size_t from = 0;
    for (size_t found = text.find(delimiter); found != std::string::npos;
         found = text.find(delimiter, from)) {
        pieces.push_back(text.substr(from, found - from));
        from = found + delimiter.size();
    }
    pieces.push_back(text.substr(from));
    return pieces;
}

bool IsControlByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

bool StringEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

// Each well-formed UTF-8 sequence is kept; every byte outside one is read as
// ISO Latin-1, so one stray byte does not change how the rest of a text reads.
std::string ToDisplayText(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes, i);
        if (length > 0) {
            out.append(bytes, i, length);
            i += length;
        } else {
            out += Chr(byteAt(bytes, i));
            ++i;
        }
    }
    return out;
}
