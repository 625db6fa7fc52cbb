#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The desktop's clipboard. Its text stays after Close and after the object
// goes.
class Clipboard {
  public:
    // UTF-8 text.
    static std::string Text();
    // Bytes: valid UTF-8 sequences as they are, any other byte taken as ISO
    // Latin-1 (ToDisplayText). The bytes are converted only when a program
    // asks for the text. Returns a token that names this text on the
    // clipboard, for appendText.
    static std::uint64_t setText(const std::string& text);
    // whole is the text that token names followed by added. While the
    // clipboard still holds that text, as this program put it there, added
    // is appended to its bytes, at a cost that does not grow with the text;
    // otherwise whole is put there. Returns the token of whole.
    static std::uint64_t appendText(std::uint64_t token, std::string_view added,
                                    const std::string& whole);
    void Close() {}
};
