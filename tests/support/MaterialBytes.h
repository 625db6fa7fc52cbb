#pragma once

#include "ByteOrder.h"
#include "Color.h"

#include <cstdint>
#include <string>

// Builds the bytes of a material file field by field, in file order, so that a
// test shows exactly which byte matters:
//
//   std::string file = MaterialBytes()
//       .marker().string("oak").preview(100, 50).middle()
//       .record("/tex/a.jpg", "params bitmap").record("/tex/b.jpg", "tail")
//       .bytes();
//
// Nothing is checked: damaged files are built the same way (raw(), uint32()).
class MaterialBytes {
  public:
    MaterialBytes& raw(const std::string& bytes) {
        bytes_ += bytes;
        return *this;
    }
    MaterialBytes& uint32(uint32_t value) { return raw(encodeUInt32(value)); } // little-endian
    // "MXM" and four more bytes: the type marker of a material.
    MaterialBytes& marker() { return raw(std::string("MXM\x01\x00\x02\xFF", 7)); }
    // A length-prefixed string in the shortest form: one prefix byte below 64
    // bytes, else 0x40 + high part, then the low part.
    MaterialBytes& string(const std::string& bytes) {
        if (bytes.size() >= 64)
            bytes_ += static_cast<char>(bytes.size() / 256 + 0x40);
        bytes_ += static_cast<char>(bytes.size() % 256);
        return raw(bytes);
    }
    // Width, height and the pattern block of width x height pixels.
    MaterialBytes& preview(int width, int height) {
        return uint32(width).uint32(height).raw(patternBlock(width, height));
    }
    // A width field that means "no stored preview" (0, or 0x80000000 and up).
    MaterialBytes& noPreview(uint32_t widthField = 0) { return uint32(widthField); }
    // 25 bytes standing for the middle marker.
    MaterialBytes& middle() {
        return raw(std::string("\x00\x01\x02midmarker\xFE\xFF", 14) + std::string(11, '\x07'));
    }
    // The stored path as a length-prefixed string, then its block.
    MaterialBytes& record(const std::string& path, const std::string& block) {
        return string(path).raw(block);
    }
    const std::string& bytes() const { return bytes_; }

    // A colour that differs for neighbouring pixels in every channel, so a
    // swapped channel, row or column shows.
    static Color patternPixel(int x, int y) {
        return Color{uint8_t(x * 7 + y * 3 + 1), uint8_t(x * 5 + y * 11 + 2),
                     uint8_t((x ^ y) * 13 + 3)};
    }
    // The pixel block of a width x height picture of patternPixel.
    static std::string patternBlock(int width, int height) {
        std::string block;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Color c = patternPixel(x, y);
                block += {char(c.red), char(c.green), char(c.blue)};
            }
        return block;
    }

  private:
    std::string bytes_;
};
