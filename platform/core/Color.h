#pragma once

#include <cstdint>

struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline Color RGB(int red, int green, int blue) {
    return Color{static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                 static_cast<uint8_t>(blue)};
}
