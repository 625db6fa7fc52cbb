#pragma once

#include "Color.h"
#include "FolderItem.h"
#include "Ref.h"

#include <cstdint>
#include <memory>
#include <string>

class PictureImage;

// A picture of width x height pixels at 32 bits. A new picture is white.
class Picture {
  public:
    Picture(int32_t width, int32_t height);
    explicit Picture(PictureImage image); // converted to 32 bits
    ~Picture();

    // The largest picture the program makes or takes, in pixels: a new
    // picture, a preview stored in a material, a dropped picture or picture
    // file (8192 x 8192, or any other shape of as many pixels).
    static constexpr int64_t MaxPixels = 64 * 1024 * 1024;
    // Why a picture of that size is refused, in words that finish the
    // sentence "... could not be read: "; empty when it is within MaxPixels.
    static std::string WhyTooLarge(int64_t width, int64_t height);

    int32_t Width() const;
    int32_t Height() const;

    // nil when the file, or the bytes, hold no picture within MaxPixels that
    // the framework can decode; why, when given, then tells why, in words
    // that finish the sentence "... could not be read: ".
    static Ref<Picture> Open(const Ref<FolderItem>& file, std::string* why = nullptr);
    static Ref<Picture> FromData(const std::string& bytes, std::string* why = nullptr);
    // A picture made from rows of red, green and blue bytes, top row first;
    // nil when the bytes are not exactly width x height x 3 or no picture of
    // that size can be made.
    static Ref<Picture> FromRGBBytes(const std::string& rgb, int32_t width, int32_t height);
    // The pixels as rows of red, green and blue bytes, top row first, with
    // no padding.
    std::string RGBBytes() const;

    // The pixels as the layer holds them: PictureImage.h shows them to the
    // layer's drawing code and to the controls that show pictures alone.
    const PictureImage& image() const { return *image_; }
    PictureImage& image() { return *image_; }

  private:
    std::unique_ptr<PictureImage> image_;
};

// nil when width or height is not above 0, the depth is not 32, or the
// picture would exceed Picture::MaxPixels.
Ref<Picture> NewPicture(int64_t width, int64_t height, int depth);
