#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// 32-bit integers as four bytes, least significant first when littleEndian.
inline std::string encodeUInt32(uint32_t value, bool littleEndian = true) {
    std::string bytes(4, '\0');
    for (size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (littleEndian ? 8 * i : 8 * (3 - i)));
    return bytes;
}

// The integer held by the first four bytes.
inline uint32_t decodeUInt32(std::string_view bytes, bool littleEndian = true) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t{static_cast<uint8_t>(bytes[i])} << (littleEndian ? 8 * i : 8 * (3 - i));
    return value;
}
