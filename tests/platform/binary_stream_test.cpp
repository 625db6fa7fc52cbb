#include "BinaryStream.h"
#include "Fifo.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

static Ref<BinaryStream> streamOver(const std::string& bytes) {
    return makeRef<BinaryStream>(std::make_shared<const std::string>(bytes));
}

TEST(BinaryStream, ReadsPastTheEndAreShortMissingBytesAreZeroAndTheFlagOrdersBytes) {
    const Ref<BinaryStream> stream = streamOver("\x01\x02\x03\x04\x05\x06");
    EXPECT_EQ(stream->Read(4), "\x01\x02\x03\x04");
    EXPECT_EQ(stream->ReadUInt32(), 0x0605u);
    EXPECT_EQ(stream->Position(), stream->Length());
    EXPECT_EQ(stream->ReadUInt32(), 0u);
    EXPECT_EQ(stream->Read(-5), "");
    EXPECT_EQ(streamOver("abc")->Read(std::numeric_limits<int64_t>::max()), "abc");
    const Ref<BinaryStream> bigEndian = streamOver("\xC8\x01");
    bigEndian->LittleEndian = false;
    EXPECT_EQ(bigEndian->ReadUInt32(), 0xC8010000u);
}

// Guards: opening a FIFO (named like a material, or in place of the
// preferences file) waiting for a writer and hanging the program.
TEST(BinaryStream, OpensOnlyRegularFilesAndNeverWaits) {
    TempFolder temp;
    temp.makeFile("a.bin", "0123456789");
    EXPECT_EQ(BinaryStream::Open(temp.item("a.bin"), true)->Read(4), "0123");
    EXPECT_FALSE(BinaryStream::Open(temp.item("missing"), false));
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>(temp.path()), false));
    EXPECT_THROW(BinaryStream::Open(nullptr, false), NilObjectException);
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>("/dev/zero"), false));
    ASSERT_TRUE(makeFifo(temp.pathOf("f.mxm")));
    for (bool writable : {false, true})
        EXPECT_TRUE(returnsAtOnce(temp.pathOf("f.mxm"), [&] {
            EXPECT_FALSE(BinaryStream::Open(temp.item("f.mxm"), writable)) << writable;
        }));
}
