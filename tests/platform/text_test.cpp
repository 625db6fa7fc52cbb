#include "Text.h"

#include <gtest/gtest.h>

namespace {

const std::string eAcute = "\xC3\xA9"; // é in UTF-8

TEST(Text, CharacterFormsCountUtf8CharactersAndBytesOtherwise) {
    const std::string utf8 = "a" + eAcute + "b";
    EXPECT_EQ(Len(utf8), 3);
    EXPECT_EQ(LenB(utf8), 4);
    EXPECT_EQ(Left(utf8, 2), "a" + eAcute);
    EXPECT_EQ(Right(utf8, 2), eAcute + "b");
    EXPECT_EQ(Right(utf8, 9), utf8);
    EXPECT_EQ(Left(utf8, 0), "");

    const std::string latin1 = "a\xE9"
                               "b";
    EXPECT_EQ(Len(latin1), 3);
    EXPECT_EQ(Left(latin1, 2), "a\xE9");
    EXPECT_EQ(Right(latin1, 1), "b");
}

TEST(Text, MalformedUtf8IsNotTakenAsCharacters) {
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xC3"));             // cut short
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
    EXPECT_EQ(Chr(0xE9), eAcute);
    EXPECT_EQ(Chr(0x1F600), "\xF0\x9F\x98\x80");
}

TEST(Text, ByteFormsClampTheirCounts) {
    EXPECT_EQ(LeftB("abc", 5), "abc");
    EXPECT_EQ(LeftB("abc", -1), "");
    EXPECT_EQ(RightB("abc", 5), "abc");
    EXPECT_EQ(RightB("abc", 0), "");
    EXPECT_EQ(MidB("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MidB("abcdef", 5), "ef");
    EXPECT_EQ(MidB("abc", 9), "");
    EXPECT_EQ(ChrB(0x1FF), "\xFF");
    EXPECT_EQ(AscB("\xFF"), 255);
    EXPECT_EQ(AscB(""), 0);
}

TEST(Text, InStrBIsOneBasedAndStartsAtTheGivenByte) {
    const std::string text = "xxbitmapyybitmap";
    EXPECT_EQ(InStrB(1, text, "bitmap"), 3);
    EXPECT_EQ(InStrB(3, text, "bitmap"), 3);
    EXPECT_EQ(InStrB(4, text, "bitmap"), 11);
    EXPECT_EQ(InStrB(12, text, "bitmap"), 0);
    EXPECT_EQ(InStrB(0, text, "xx"), 1);
    EXPECT_EQ(InStrB(99, text, "x"), 0);
    EXPECT_EQ(InStrB(1, text, ""), 0);
    EXPECT_EQ(InStrB(1, std::string("a\0b", 3), std::string("\0b", 2)), 2);
}

TEST(Text, ReplaceAllBReplacesEveryOccurrenceOnce) {
    EXPECT_EQ(ReplaceAllB("HD/Users/x", "/", ":"), "HD:Users:x");
    EXPECT_EQ(ReplaceAllB("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllB("abc", "", "x"), "abc");
}

TEST(Text, SplitGivesOnePieceWhenTheDelimiterIsAbsent) {
    EXPECT_EQ(Split("oak.wood.mxm", "."), (std::vector<std::string>{"oak", "wood", "mxm"}));
    EXPECT_EQ(Split("new", "."), (std::vector<std::string>{"new"}));
    EXPECT_EQ(Split("", "."), (std::vector<std::string>{""}));
    EXPECT_EQ(Split("/a/", "/"), (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(Split("a;b", ""), (std::vector<std::string>{"a;b"}));
}

TEST(Text, StringEqualsIgnoresOnlyAsciiLetterCase) {
    EXPECT_TRUE(StringEquals("HD:Users", "hd:users"));
    EXPECT_FALSE(StringEquals("\xC3\x89", eAcute)); // É and é differ
    EXPECT_FALSE(StringEquals("@", "`"));           // 0x40 and 0x60: not letters
    EXPECT_FALSE(StringEquals("a", "a "));
}

TEST(Text, DisplayTextTakesOtherBytesAsLatin1) {
    EXPECT_EQ(ToDisplayText("a" + eAcute), "a" + eAcute);
    EXPECT_EQ(ToDisplayText("a\xE9"), "a" + eAcute);
    EXPECT_TRUE(IsValidUtf8(ToDisplayText("\xFF\xC3")));
}

} // namespace
