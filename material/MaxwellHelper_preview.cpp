#include "MaxwellHelper.h"

#include "Exceptions.h"
#include "Graphics.h"

namespace MaxwellHelper {

namespace {

constexpr int BytesPerPixel = 3;

} // namespace

Ref<Picture> RGBMB2Pict(const Ref<MemoryBlock>& block, int32_t width, int32_t height) {
    const std::string& pixels = block->bytes();
    if (static_cast<int64_t>(pixels.size()) != static_cast<int64_t>(width) * height * BytesPerPixel)
        return nullptr;
    // The block is exactly a binary PPM's pixel data, so the framework's
    // decoder makes the picture in one pass: the same pixels as setting them
    // one by one, several times faster on every read.
    const std::string ppm =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" + pixels;
    Ref<Picture> picture = Picture::FromData(ppm);
    if (!picture)
        throw NilObjectException("No picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels could be made.");
    return picture;
}

Ref<MemoryBlock> Pict2RGBMB(const Ref<Picture>& picture) {
    if (!picture)
        return makeRef<MemoryBlock>(0);
    Picture& source = picture.get();
    const int32_t width = source.Width();
    const int32_t height = source.Height();
    const int64_t size = static_cast<int64_t>(width) * height * BytesPerPixel;
    if (size > MemoryBlock::MaxSize)
        throw NilObjectException("A picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) +
                                 " pixels is too large for a pixel block.");
    Graphics& g = source.graphics();
    std::string pixels(static_cast<size_t>(size), '\0');
    size_t offset = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const Color c = g.Pixel(x, y);
            pixels[offset] = static_cast<char>(c.red);
            pixels[offset + 1] = static_cast<char>(c.green);
            pixels[offset + 2] = static_cast<char>(c.blue);
            offset += BytesPerPixel;
        }
    return makeRef<MemoryBlock>(pixels);
}

} // namespace MaxwellHelper
