#include "MaxwellHelper.h"

#include "Exceptions.h"

namespace MaxwellHelper {

std::string string2mxstring(const std::string& bytes, bool forceLong) {
    const size_t length = bytes.size();
    if (length > static_cast<size_t>(MaxStringLength))
        throw OutOfBoundsException("A text of " + std::to_string(length) +
                                   " bytes is longer than a material file can store (" +
                                   std::to_string(MaxStringLength) + " bytes).");
    std::string result;
    result.reserve(length + 2);
    if (length < LongPrefixStart && !forceLong) {
        result += static_cast<char>(length);
    } else {
        result += static_cast<char>(length / 256 + LongPrefixStart);
        result += static_cast<char>(length % 256);
    }
    result += bytes;
    return result;
}

} // namespace MaxwellHelper
