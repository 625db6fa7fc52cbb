#include "BinaryStream.h"
#include "Fifo.h"
#include "MemoryBlock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <limits>

TEST(BinaryStream, ReadsPastTheEndAreShortAndMissingBytesCountAsZero) {
    BinaryStream stream("\x01\x02\x03\x04\x05\x06");
    stream.setPosition(4);
    EXPECT_EQ(stream.ReadUInt32(), 0x0605u);
    EXPECT_TRUE(stream.EOF());
    EXPECT_EQ(stream.ReadUInt32(), 0u);
    stream.setPosition(-7);
    EXPECT_EQ(stream.Read(-5), "");
    EXPECT_EQ(stream.Read(std::numeric_limits<int64_t>::max()).size(), 6u);
}

TEST(BinaryStream, LittleEndianFlagOrdersReadsAndWrites) {
    BinaryStream stream(std::string("\xC8\0\0\0", 4));
    EXPECT_EQ(stream.ReadUInt32(), 200u);
    stream.setPosition(0);
    stream.LittleEndian = false;
    EXPECT_EQ(stream.ReadUInt32(), 0xC8000000u);
    EXPECT_TRUE(stream.WriteUInt32(0x01020304));
    stream.LittleEndian = true;
    EXPECT_TRUE(stream.WriteUInt32(0x01020304));
    stream.setPosition(4);
    EXPECT_EQ(stream.Read(8), "\x01\x02\x03\x04\x04\x03\x02\x01");
}

TEST(BinaryStream, FileStreamsRefuseWhatTheyCannotDo) {
    TempFolder temp;
    temp.makeFile("a.bin", "0123456789");
    EXPECT_FALSE(BinaryStream::Open(temp.item("a.bin"), false)->Write("x"));
    EXPECT_EQ(BinaryStream::Create(temp.item("a.bin"))->Length(), 0);
    EXPECT_FALSE(BinaryStream::Open(temp.item("missing"), false));
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>(temp.path()), false));
    EXPECT_FALSE(BinaryStream::Create(temp.item("no/such/folder/a.bin")));
    EXPECT_THROW(BinaryStream::Open(nullptr, false), NilObjectException);
}

TEST(MemoryBlock, AccessOutsideTheBlockRaisesAndImpossibleSizesAreRefused) {
    MemoryBlock block(4);
    EXPECT_THROW(block.UInt32Value(1), OutOfBoundsException);
    EXPECT_THROW(block.Byte(-1), OutOfBoundsException);
    EXPECT_THROW(block.ColorValue(2, 24), OutOfBoundsException);
    EXPECT_FALSE(NewMemoryBlock(-1));
    EXPECT_FALSE(NewMemoryBlock(MemoryBlock::MaxSize + 1));
    EXPECT_EQ(NewMemoryBlock(0)->Size(), 0);
}

// Opening a FIFO for reading waits until another program writes to it: a
// FIFO named like a material, or in place of the preferences file, would
// hang the program. It is a file that cannot be opened, as a device is.
TEST(BinaryStream, OpensOnlyRegularFilesAndNeverWaits) {
    TempFolder temp;
    ASSERT_TRUE(makeFifo(temp.pathOf("f.mxm")));
    for (bool writable : {false, true})
        EXPECT_TRUE(returnsAtOnce(temp.pathOf("f.mxm"), [&] {
            EXPECT_FALSE(BinaryStream::Open(temp.item("f.mxm"), writable)) << writable;
        }));
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>("/dev/zero"), false));
}
