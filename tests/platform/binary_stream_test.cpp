#include "BinaryStream.h"
#include "MemoryBlock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(BinaryStream, ReadsAtTheEndAreShort) {
    BinaryStream stream("abcde");
    stream.setPosition(3);
    EXPECT_EQ(stream.Read(10), "de");
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_TRUE(stream.EOF());
    EXPECT_EQ(stream.Read(1), "");
    EXPECT_EQ(stream.ReadUInt8(), 0);
    EXPECT_EQ(stream.Position(), 5);
}

TEST(BinaryStream, ReadUInt32AcrossTheEndTakesMissingBytesAsZero) {
    BinaryStream stream("\x01\x02\x03\x04\x05\x06");
    stream.setPosition(4);
    EXPECT_EQ(stream.ReadUInt32(), 0x0605u);
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(stream.ReadUInt32(), 0u);
}

TEST(BinaryStream, HugeOrNegativeCountsReadOnlyWhatIsThere) {
    BinaryStream stream("abc");
    EXPECT_EQ(stream.Read(-5), "");
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Read(std::numeric_limits<int64_t>::max()), "abc");
    stream.setPosition(-7);
    EXPECT_EQ(stream.Position(), 0);
    stream.setPosition(99);
    EXPECT_EQ(stream.Position(), 3);
}

TEST(BinaryStream, LittleEndianFlagOrdersBothWays) {
    BinaryStream stream("\xC8\x00\x00\x00");
    EXPECT_EQ(stream.ReadUInt32(), 200u);
    stream.setPosition(0);
    stream.LittleEndian = false;
    EXPECT_EQ(stream.ReadUInt32(), 0xC8000000u);

    BinaryStream out("");
    out.LittleEndian = false;
    EXPECT_TRUE(out.WriteUInt32(0x01020304));
    out.LittleEndian = true;
    EXPECT_TRUE(out.WriteUInt32(0x01020304));
    out.setPosition(0);
    EXPECT_EQ(out.Read(8), "\x01\x02\x03\x04\x04\x03\x02\x01");
}

TEST(BinaryStream, FileStreamsReadWriteAndRefuse) {
    TempFolder temp;
    temp.makeFile("a.bin", "0123456789");
    auto readOnly = BinaryStream::Open(temp.item("a.bin"), false);
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->Length(), 10);
    readOnly->setPosition(8);
    EXPECT_EQ(readOnly->Read(1000), "89");
    EXPECT_FALSE(readOnly->Write("x"));
    readOnly->Close();
    EXPECT_EQ(readOnly->Read(1), "");

    auto writable = BinaryStream::Open(temp.item("a.bin"), true);
    ASSERT_TRUE(writable);
    writable->setPosition(8);
    EXPECT_TRUE(writable->Write("XYZ"));
    EXPECT_EQ(writable->Length(), 11);
    writable->Close();
    EXPECT_EQ(temp.readFile("a.bin"), "01234567XYZ");

    EXPECT_FALSE(BinaryStream::Open(temp.item("missing"), false));
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>(temp.path()), false));
    EXPECT_THROW(BinaryStream::Open(nullptr, false), NilObjectException);
}

TEST(BinaryStream, CreateReplacesTheFile) {
    TempFolder temp;
    temp.makeFile("a.bin", "old content");
    auto stream = BinaryStream::Create(temp.item("a.bin"));
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Length(), 0);
    EXPECT_TRUE(stream->Write("new"));
    stream->Close();
    EXPECT_EQ(temp.readFile("a.bin"), "new");
    EXPECT_FALSE(BinaryStream::Create(temp.item("no/such/folder/a.bin")));
}

TEST(MemoryBlock, AccessOutsideTheBlockRaises) {
    MemoryBlock block(4);
    EXPECT_NO_THROW(block.setUInt32Value(0, 1));
    EXPECT_THROW(block.UInt32Value(1), OutOfBoundsException);
    EXPECT_THROW(block.Byte(-1), OutOfBoundsException);
    EXPECT_THROW(block.ColorValue(2, 24), OutOfBoundsException);
    EXPECT_THROW(block.StringValue(0, 5), OutOfBoundsException);
    EXPECT_EQ(MemoryBlock(std::string()).Size(), 0);
}

TEST(MemoryBlock, ColorsAndIntegersLayOutTheirBytes) {
    MemoryBlock block(7);
    block.setColorValue(0, 24, RGB(1, 2, 3));
    block.setUInt32Value(3, 0x0A0B0C0D);
    EXPECT_EQ(block.bytes(), std::string("\x01\x02\x03\x0D\x0C\x0B\x0A"));
    EXPECT_EQ(block.ColorValue(0, 24), RGB(1, 2, 3));
    block.LittleEndian = false;
    EXPECT_EQ(block.UInt32Value(3), 0x0D0C0B0Au);
}

TEST(MemoryBlock, NewMemoryBlockRefusesImpossibleSizes) {
    EXPECT_FALSE(NewMemoryBlock(-1));
    EXPECT_FALSE(NewMemoryBlock(MemoryBlock::MaxSize + 1));
    EXPECT_FALSE(NewMemoryBlock(int64_t{200} * 200 * 3 * 100000));
    auto block = NewMemoryBlock(0);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->Size(), 0);
}

} // namespace
