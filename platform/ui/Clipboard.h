#pragma once

#include <string>

// The desktop's clipboard. Its text stays after Close and after the object
// goes.
class Clipboard {
  public:
    // UTF-8 text.
    static std::string Text();
    // Bytes: valid UTF-8 sequences as they are, any other byte taken as ISO
    // Latin-1 (ToDisplayText). The bytes are converted only when a program
    // asks for the text, so replacing a long text again and again costs a
    // copy of its bytes each time.
    static void setText(const std::string& text);
    void Close() {}
};
