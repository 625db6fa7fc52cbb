#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The framework's text functions. Strings are byte strings; the character
// forms treat valid UTF-8 as characters and any other text as one character
// per byte.

// Characters.
int Len(const std::string& text);
std::string Right(const std::string& text, int count);
std::string Chr(int codePoint); // UTF-8 form of one character

// Bytes.
int LenB(const std::string& text);
std::string LeftB(const std::string& text, int count);
std::string RightB(const std::string& text, int count);

// 1-based position of find in text at or after start; 0 when there is none.
// A start below 1 searches from the beginning. The search is byte-exact.
int InStrB(int start, const std::string& text, const std::string& find);
std::string ReplaceAllB(const std::string& text, const std::string& find,
                        const std::string& replacement);

// 0-based pieces; one piece (the whole text) when the delimiter is absent.
std::vector<std::string> Split(const std::string& text, const std::string& delimiter);

// The framework's string equality: letter case of ASCII letters is ignored,
// everything else compares bytewise.
bool StringEquals(std::string_view a, std::string_view b);

// Whether the byte is an ASCII control character (below 0x20, or 0x7F).
bool IsControlByte(unsigned char byte);

// Whether the bytes are valid UTF-8.
bool IsValidUtf8(const std::string& text);
// The number of bytes of the well-formed UTF-8 sequence that begins at the
// index (1 for an ASCII byte); 0 when none begins there.
size_t Utf8SequenceLength(const std::string& text, size_t index);

// The bytes as UTF-8 text: valid UTF-8 sequences unchanged, each byte that is
// not part of one taken as an ISO Latin-1 character. Used for everything
// shown to a person or put on the clipboard.
std::string ToDisplayText(const std::string& bytes);
