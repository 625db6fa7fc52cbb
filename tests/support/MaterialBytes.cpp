#include "MaterialBytes.h"

#include "ByteOrder.h"

MaterialBytes& MaterialBytes::uint32(uint32_t value) {
    return raw(encodeUInt32(value));
}

MaterialBytes& MaterialBytes::string(const std::string& bytes) {
    if (bytes.size() >= 64)
        bytes_ += static_cast<char>(bytes.size() / 256 + 0x40);
    bytes_ += static_cast<char>(bytes.size() % 256);
    return raw(bytes);
}

Color MaterialBytes::patternPixel(int x, int y) {
    return Color{uint8_t(x * 7 + y * 3 + 1), uint8_t(x * 5 + y * 11 + 2),
                 uint8_t((x ^ y) * 13 + 3)};
}

std::string MaterialBytes::patternBlock(int width, int height) {
    std::string block;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Color c = patternPixel(x, y);
            block += {char(c.red), char(c.green), char(c.blue)};
        }
    return block;
}
