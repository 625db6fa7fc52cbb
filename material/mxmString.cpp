#include "mxmString.h"

#include "MaxwellHelper.h"

mxmString::mxmString(const Ref<BinaryStream>& stream) {
    BinaryStream& in = stream.get();
    const unsigned first = in.ReadUInt8();
    const size_t length = first < MaxwellHelper::LongPrefixStart
                              ? first
                              : MaxwellHelper::longPrefixLength(first, in.ReadUInt8());
    theString = in.Read(length);
}

std::string mxmString::getMxmString() const {
    return MaxwellHelper::string2mxstring(theString, false);
}
