#pragma once

// PNG files of any size that stay small: a black picture whose compressed
// pixels are one zero byte and then copies of the bytes before it, written
// by hand, so a 7000 x 7000 picture is a file of about 1 MB made at once.
//
//   temp.makeFile("big.png", PngBytes::black(7000, 7000));

#include <algorithm>
#include <cstdint>
#include <string>

namespace PngBytes {

inline std::string bigEndian(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

inline uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline std::string chunk(const std::string& type, const std::string& data) {
    return bigEndian(static_cast<uint32_t>(data.size())) + type + data +
           bigEndian(crc32(type + data));
}

// A zlib stream of n zero bytes: one block of fixed codes, a literal 0, then
// copies of 258 bytes at distance 1, then literal zeros. Codes are given in
// the order their bits are sent, first bit lowest.
inline std::string zeros(uint64_t n) {
    std::string out = "\x78\x01";
    uint64_t pending = 0;
    int pendingBits = 0;
    const auto put = [&](uint32_t bits, int length) {
        pending |= uint64_t{bits} << pendingBits;
        for (pendingBits += length; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            out += static_cast<char>(pending);
    };
    const uint32_t literalZero = 0x0C, copy258AtDistanceOne = 0xA3;
    put(0b011, 3); // the last block, fixed codes
    put(literalZero, 8);
    uint64_t copies = (n - 1) / 258;
    // Eight copies are 13 whole bytes: from the second eight on, the same.
    for (int i = 0; i < 16 && copies > 0; ++i, --copies)
        put(copy258AtDistanceOne, 13);
    for (const std::string eight = out.substr(std::max<size_t>(out.size(), 13) - 13); copies >= 8;
         copies -= 8)
        out += eight;
    for (; copies > 0; --copies)
        put(copy258AtDistanceOne, 13);
    for (uint64_t left = (n - 1) % 258; left > 0; --left)
        put(literalZero, 8);
    put(0, 7 + 7); // end of block, then up to the byte's end
    return out + bigEndian(static_cast<uint32_t>(n % 65521) << 16 | 1); // Adler-32
}

inline std::string black(uint32_t width, uint32_t height) {
    const uint64_t rowBytes = 1 + uint64_t{width} * 3; // filter byte, then RGB
    const std::string header =
        bigEndian(width) + bigEndian(height) + std::string("\x08\x02\0\0\0", 5);
    return "\x89PNG\r\n\x1A\n" + chunk("IHDR", header) + chunk("IDAT", zeros(rowBytes * height)) +
           chunk("IEND", "");
}

} // namespace PngBytes
