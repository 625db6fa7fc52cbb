#include "MaxwellHelper.h"

#include "Exceptions.h"

namespace MaxwellHelper {

Ref<Picture> RGBMB2Pict(const Ref<MemoryBlock>& block, int32_t width, int32_t height) {
    const std::string& pixels = block->bytes();
    if (static_cast<int64_t>(pixels.size()) != static_cast<int64_t>(width) * height * BytesPerPixel)
        return nullptr;
    Ref<Picture> picture = Picture::FromRGBBytes(pixels, width, height);
    if (!picture)
        throw NilObjectException("No picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels could be made.");
    return picture;
}

Ref<MemoryBlock> Pict2RGBMB(const Ref<Picture>& picture) {
    if (!picture)
        return makeRef<MemoryBlock>(0);
    const int64_t size = static_cast<int64_t>(picture->Width()) * picture->Height() * BytesPerPixel;
    if (size > MemoryBlock::MaxSize)
        throw NilObjectException("A picture of " + std::to_string(picture->Width()) + " x " +
                                 std::to_string(picture->Height()) +
                                 " pixels is too large for a pixel block.");
    return makeRef<MemoryBlock>(picture->RGBBytes());
}

} // namespace MaxwellHelper
