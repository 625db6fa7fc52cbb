#pragma once

#include "Color.h"
#include "Ref.h"

#include <cstdint>

class Picture;

// The drawing context of one picture, made on it where it is drawn in or
// read from; what it draws changes the picture itself.
class Graphics {
  public:
    explicit Graphics(Picture& target) : target_(target) {}

    Color Pixel(int32_t x, int32_t y) const; // black outside the picture

    // Draws the source rectangle (sx, sy, sw, sh) of the picture scaled onto
    // the destination rectangle (x, y, w, h), each axis by its own factor,
    // nearest pixel. A size below 0 stands for the picture's own.
    void DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t w = -1,
                     int32_t h = -1, int32_t sx = 0, int32_t sy = 0, int32_t sw = -1,
                     int32_t sh = -1);

  private:
    Picture& target_;
};
