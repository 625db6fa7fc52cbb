#include "mxmString.h"

#include "MaxwellHelper.h"

namespace {

// A first byte at or above this starts the two-byte prefix.
constexpr int LongPrefixStart = 0x40;

} // namespace

mxmString::mxmString(const Ref<BinaryStream>& stream) {
    BinaryStream& in = stream.get();
    int length = in.ReadUInt8();
    if (length >= LongPrefixStart)
        length = (length - LongPrefixStart) * 256 + in.ReadUInt8();
    theString = in.Read(length);
}

std::string mxmString::getMxmString() const {
    return MaxwellHelper::string2mxstring(theString, false);
}
