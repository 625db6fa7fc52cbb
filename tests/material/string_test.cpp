#include "MaxwellHelper.h"
#include "mxmString.h"

#include <gtest/gtest.h>

namespace {

// Every byte value in turn, 0x00 and those above 0x7F included.
std::string bytesOf(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    return bytes;
}

const std::string zero(1, '\0');

TEST(LengthPrefixedString, EachFormIsWrittenAndReadBack) {
    const std::pair<std::string, size_t> forms[] = {
        {zero, 0}, {"\x3F", 63}, {"\x40\x40", 64}, {"\x41\x2C", 300}, {"\xFF\xFF", 49151}};
    for (const auto& [prefix, length] : forms) {
        const std::string onDisk = prefix + bytesOf(length);
        EXPECT_EQ(MaxwellHelper::string2mxstring(bytesOf(length), false), onDisk);
        Ref<BinaryStream> stream = makeRef<BinaryStream>(onDisk + "next");
        EXPECT_EQ(mxmString(stream).getMxmString(), onDisk);
        EXPECT_EQ(stream->Position(), std::ssize(onDisk));
    }
    EXPECT_EQ(MaxwellHelper::string2mxstring("abc", true), "\x40\3abc");
    // One byte more than the prefix can carry has no on-disk form.
    EXPECT_THROW(MaxwellHelper::string2mxstring(bytesOf(49152), false), OutOfBoundsException);
    EXPECT_THROW(mxmString(Ref<BinaryStream>()), NilObjectException);
}

TEST(LengthPrefixedString, RenderedInTheShortestFormOfTheBytesHeld) {
    // A short length in the two-byte form; a stream that ends inside the
    // prefix or inside the string.
    const std::pair<std::string, std::string> cases[] = {
        {"\x40\3abc", "\3abc"}, {"", zero}, {"\x41", zero}, {"\5ab", "\2ab"}};
    for (const auto& [onDisk, rendered] : cases) {
        Ref<BinaryStream> stream = makeRef<BinaryStream>(onDisk);
        EXPECT_EQ(mxmString(stream).getMxmString(), rendered);
        EXPECT_EQ(stream->Position(), std::ssize(onDisk));
    }
}

} // namespace
