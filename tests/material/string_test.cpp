#include "BinaryStream.h"
#include "MaxwellHelper.h"
#include "mxmString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

mxmString readString(const std::string& bytes, int64_t* endPosition = nullptr) {
    Ref<BinaryStream> stream = makeRef<BinaryStream>(bytes);
    mxmString s(stream);
    if (endPosition)
        *endPosition = stream->Position();
    return s;
}

// Every byte value, 0x00 and those above 0x7F included, in turn.
std::string bytesOfLength(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    return bytes;
}

struct PrefixCase {
    size_t length;
    std::string prefix;
};

} // namespace

TEST(LengthPrefixedString, EachLengthGetsItsPrefixAndReadsBack) {
    const PrefixCase cases[] = {{0, std::string("\x00", 1)},
                                {63, "\x3F"},
                                {64, "\x40\x40"},
                                {300, "\x41\x2C"},
                                {49151, "\xFF\xFF"}};
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text = bytesOfLength(c.length);
        const std::string onDisk = c.prefix + text;
        EXPECT_EQ(MaxwellHelper::string2mxstring(text, false), onDisk);

        int64_t end = 0;
        const mxmString read = readString(onDisk + "next", &end);
        EXPECT_EQ(read.getString(), text);
        EXPECT_EQ(end, static_cast<int64_t>(onDisk.size()));
        EXPECT_EQ(read.getMxmString(), onDisk);
    }
}

TEST(LengthPrefixedString, ForcedLongFormForShortStrings) {
    EXPECT_EQ(MaxwellHelper::string2mxstring("abc", false), std::string("\x03") + "abc");
    EXPECT_EQ(MaxwellHelper::string2mxstring("abc", true), std::string("\x40\x03") + "abc");
    EXPECT_EQ(MaxwellHelper::string2mxstring("", true), std::string("\x40\x00", 2));
}

TEST(LengthPrefixedString, ShortLengthInLongPrefixIsReadAndWrittenShort) {
    const std::string text = bytesOfLength(16);
    const mxmString read = readString("\x40\x10" + text);
    EXPECT_EQ(read.getString(), text);
    EXPECT_EQ(read.getMxmString(), "\x10" + text);
}

TEST(LengthPrefixedString, HighPartIsFirstByteMinus0x40) {
    // 0x80 carries a high part of 0x40, not a flag bit with 0 beneath it.
    const std::string text = bytesOfLength(0x4001);
    EXPECT_EQ(readString("\x80\x01" + text).getString(), text);
}

TEST(LengthPrefixedString, StreamEndingEarlyKeepsWhatWasThere) {
    int64_t end = 0;
    EXPECT_EQ(readString("", &end).getString(), "");
    EXPECT_EQ(readString("\x41", &end).getString(), "");
    EXPECT_EQ(end, 1);

    const mxmString cut = readString(std::string("\x05") + "ab", &end);
    EXPECT_EQ(cut.getString(), "ab");
    EXPECT_EQ(end, 3);
    // The prefix follows the bytes held, not the length that was read.
    EXPECT_EQ(cut.getMxmString(), std::string("\x02") + "ab");
}

TEST(LengthPrefixedString, PrefixFollowsTheLengthWhenRendered) {
    mxmString s = readString(std::string("\x0A") + "0123456789");
    s.setString(bytesOfLength(70));
    EXPECT_EQ(s.getMxmString().substr(0, 2), "\x40\x46");
}

TEST(LengthPrefixedString, FailuresAreRaised) {
    EXPECT_THROW(mxmString(Ref<BinaryStream>()), NilObjectException);
    // One byte more than the prefix can carry has no on-disk form.
    EXPECT_THROW(MaxwellHelper::string2mxstring(bytesOfLength(49152), false), OutOfBoundsException);
}
