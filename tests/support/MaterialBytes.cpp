#include "MaterialBytes.h"

const std::string MaterialBytes::DefaultMarker = std::string("MXM\x01\x00\x02\xFF", 7);
const std::string MaterialBytes::DefaultMiddle =
    std::string("\x00\x01\x02midmarker\xFE\xFF", 14) + std::string(11, '\x07');

MaterialBytes& MaterialBytes::raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
}

MaterialBytes& MaterialBytes::uint32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes_ += static_cast<char>((value >> shift) & 0xFF);
    return *this;
}

MaterialBytes& MaterialBytes::marker(const std::string& bytes) {
    return raw(bytes);
}

MaterialBytes& MaterialBytes::string(const std::string& bytes) {
    if (bytes.size() >= 64)
        return longString(bytes);
    bytes_ += static_cast<char>(bytes.size());
    return raw(bytes);
}

MaterialBytes& MaterialBytes::longString(const std::string& bytes) {
    bytes_ += static_cast<char>(bytes.size() / 256 + 0x40);
    bytes_ += static_cast<char>(bytes.size() % 256);
    return raw(bytes);
}

MaterialBytes& MaterialBytes::preview(int width, int height) {
    uint32(static_cast<uint32_t>(width));
    uint32(static_cast<uint32_t>(height));
    return raw(patternBlock(width, height));
}

MaterialBytes& MaterialBytes::noPreview(uint32_t widthField) {
    return uint32(widthField);
}

MaterialBytes& MaterialBytes::middle(const std::string& bytes) {
    return raw(bytes);
}

MaterialBytes& MaterialBytes::record(const std::string& path, const std::string& block) {
    string(path);
    return raw(block);
}

Color MaterialBytes::patternPixel(int x, int y) {
    return Color{static_cast<uint8_t>(x * 7 + y * 3 + 1), static_cast<uint8_t>(x * 5 + y * 11 + 2),
                 static_cast<uint8_t>((x ^ y) * 13 + 3)};
}

std::string MaterialBytes::patternBlock(int width, int height) {
    std::string block;
    block.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Color c = patternPixel(x, y);
            block += static_cast<char>(c.red);
            block += static_cast<char>(c.green);
            block += static_cast<char>(c.blue);
        }
    return block;
}
