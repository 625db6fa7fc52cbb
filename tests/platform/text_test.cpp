#include "Text.h"

#include <gtest/gtest.h>

using Fields = std::vector<std::string>;

TEST(Text, CharacterAndByteFormsClampAndInStrBIsOneBased) {
    EXPECT_EQ(Right("a\xC3\xA9", 1), "\xC3\xA9"); // é is one character of two bytes
    EXPECT_EQ(Right("a\xE9", 1), "\xE9");         // Latin-1: one byte a character
    EXPECT_EQ(Right("ab", 9), "ab");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")); // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xC3"));     // cut short
    EXPECT_EQ(LeftB("abc", -1), "");
    EXPECT_EQ(RightB("abc", 0), "");
    const std::string text = "xxbitmapyybitmap";
    EXPECT_EQ(InStrB(3, text, "bitmap"), 3);
    EXPECT_EQ(InStrB(4, text, "bitmap"), 11);
    EXPECT_EQ(InStrB(12, text, "bitmap"), 0);
    EXPECT_EQ(InStrB(0, text, "xx"), 1);
    EXPECT_EQ(InStrB(99, text, "x"), 0);
    EXPECT_EQ(InStrB(1, text, ""), 0);
    EXPECT_EQ(InStrB(1, std::string("a\0b", 3), std::string("\0b", 2)), 2);
}

TEST(Text, ReplaceSplitAndEqualityKeepTheirEdgeCases) {
    EXPECT_EQ(ReplaceAllB("aaa", "a", "aa"), "aaaaaa"); // replacements are not searched again
    EXPECT_EQ(ReplaceAllB("abc", "", "x"), "abc");
    EXPECT_EQ(Split("new", "."), Fields{"new"});
    EXPECT_EQ(Split("", "."), Fields{""});
    EXPECT_EQ(Split("/a/", "/"), (Fields{"", "a", ""}));
    EXPECT_EQ(Split("a;b", ""), Fields{"a;b"});
    EXPECT_TRUE(StringEquals("HD:Users", "hd:users"));
    EXPECT_FALSE(StringEquals("\xC3\x89", "\xC3\xA9")); // É and é differ
    EXPECT_FALSE(StringEquals("@", "`"));               // 0x40 and 0x60: not letters
    EXPECT_FALSE(StringEquals("a", "a "));
}

// A byte that is no UTF-8 is shown as its Latin-1 character; the UTF-8
// around it stays what it is.
TEST(Text, DisplayTextReadsOnlyTheStrayBytesAsLatin1) {
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"caf\xE9", "caf\xC3\xA9"},
        {"caf\xC3\xA9 \xFF caf\xC3\xA9", "caf\xC3\xA9 \xC3\xBF caf\xC3\xA9"},
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                         // overlong "/": two characters
        {"\xE2\x82\xAC\xE2\x82", "\xE2\x82\xAC\xC3\xA2\xC2\x82"}, // cut short at the end
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(ToDisplayText(bytes), shown) << bytes;
}
