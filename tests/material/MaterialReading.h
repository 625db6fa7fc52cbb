#pragma once

#include "BinaryStream.h"
#include "FolderItem.h"
#include "Graphics.h"
#include "MaterialBytes.h"
#include "Picture.h"
#include "mxmFile.h"

#include <string>

// Reads a material from bytes in memory as if it were the file at path.
inline mxmFile readMaterial(const std::string& bytes,
                            const std::string& path = "/nowhere/oak.mxm") {
    return mxmFile(makeRef<BinaryStream>(bytes), makeRef<FolderItem>(path));
}

// Reads a material from a file, closing the stream as the program does.
inline mxmFile readMaterialFile(const Ref<FolderItem>& file) {
    Ref<BinaryStream> stream = BinaryStream::Open(file, false);
    mxmFile material(stream, file);
    stream->Close();
    return material;
}

inline Color pixelAt(const Ref<Picture>& picture, int x, int y) {
    return picture->graphics().Pixel(x, y);
}

// A picture of the given size whose pixel (x, y) is colour(x, y).
template <class ColourOf> Ref<Picture> pictureOf(int width, int height, ColourOf colour) {
    Ref<Picture> picture = NewPicture(width, height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->graphics().setPixel(x, y, colour(x, y));
    return picture;
}

// The bytes of a little-endian 32-bit field at offset.
inline uint32_t uint32At(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
    return value;
}
