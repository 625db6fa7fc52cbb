#include "BinaryStream.h"
#include "Fifo.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

Ref<BinaryStream> streamOver(const std::string& bytes) {
    return makeRef<BinaryStream>(std::make_shared<const std::string>(bytes));
}

} // namespace

TEST(BinaryStream, ReadsPastTheEndAreShortAndMissingBytesCountAsZero) {
    const Ref<BinaryStream> stream = streamOver("\x01\x02\x03\x04\x05\x06");
    EXPECT_EQ(stream->Read(4), "\x01\x02\x03\x04");
    EXPECT_EQ(stream->ReadUInt32(), 0x0605u);
    EXPECT_EQ(stream->Position(), stream->Length());
    EXPECT_EQ(stream->ReadUInt32(), 0u);
    EXPECT_EQ(stream->ReadUInt8(), 0u);
    EXPECT_EQ(stream->Read(-5), "");
    EXPECT_EQ(streamOver("abc")->Read(std::numeric_limits<int64_t>::max()), "abc");
}

TEST(BinaryStream, LittleEndianFlagOrdersReads) {
    const Ref<BinaryStream> stream = streamOver(std::string("\xC8\0\0\0\xC8\0\0\0", 8));
    EXPECT_EQ(stream->ReadUInt32(), 200u);
    stream->LittleEndian = false;
    EXPECT_EQ(stream->ReadUInt32(), 0xC8000000u);
}

TEST(BinaryStream, FileStreamsOpenOnlyWhatTheyCan) {
    TempFolder temp;
    temp.makeFile("a.bin", "0123456789");
    EXPECT_EQ(BinaryStream::Open(temp.item("a.bin"), true)->Read(4), "0123");
    EXPECT_FALSE(BinaryStream::Open(temp.item("missing"), false));
    EXPECT_FALSE(BinaryStream::Open(makeRef<FolderItem>(temp.path()), false));
    EXPECT_THROW(BinaryStream::Open(nullptr, false), NilObjectException);
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
