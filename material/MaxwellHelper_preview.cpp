#include "MaxwellHelper.h"

#include "Graphics.h"

namespace MaxwellHelper {

namespace {

constexpr int BytesPerPixel = 3;
constexpr int ColorBits = 24;

} // namespace

Ref<Picture> RGBMB2Pict(const Ref<MemoryBlock>& block, int32_t width, int32_t height) {
    const MemoryBlock& pixels = block.get();
    if (pixels.Size() != static_cast<int64_t>(width) * height * BytesPerPixel)
        return nullptr;
    Ref<Picture> picture = NewPicture(width, height, 32);
    Graphics& g = picture->graphics();
    int32_t offset = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            g.setPixel(x, y,
                       RGB(pixels.Byte(offset), pixels.Byte(offset + 1), pixels.Byte(offset + 2)));
            offset += BytesPerPixel;
        }
    return picture;
}

Ref<MemoryBlock> Pict2RGBMB(const Ref<Picture>& picture) {
    if (!picture)
        return makeRef<MemoryBlock>(0);
    Picture& source = picture.get();
    const int32_t width = source.Width();
    const int32_t height = source.Height();
    Graphics& g = source.graphics();
    Ref<MemoryBlock> block = NewMemoryBlock(static_cast<int64_t>(width) * height * BytesPerPixel);
    MemoryBlock& pixels = block.get();
    int32_t offset = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            pixels.setColorValue(offset, ColorBits, g.Pixel(x, y));
            offset += BytesPerPixel;
        }
    return block;
}

} // namespace MaxwellHelper
