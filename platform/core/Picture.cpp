#include "Picture.h"

#include "BinaryStream.h"
#include "FileAccess.h"
#include "PictureImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace {

constexpr int64_t MiB = 1024 * 1024;
// The most a decoder makes of the largest picture: 8 bytes a pixel (16 bits
// for each of red, green, blue and alpha).
constexpr int64_t LargestDecodedBytes = Picture::MaxPixels * 8;
// A file larger than the largest picture at 8 bytes a pixel and its headers
// holds more than the program takes: it is not read into memory.
constexpr int64_t MaxPictureFileSize = LargestDecodedBytes + MiB;

Ref<Picture> refused(std::string* why, std::string reason) {
    if (why != nullptr)
        *why = std::move(reason);
    return nullptr;
}

} // namespace

Picture::Picture(int32_t width, int32_t height)
    : image_(std::make_unique<PictureImage>(width, height, QImage::Format_RGB32)) {
    image_->fill(Qt::white);
}

Picture::Picture(PictureImage image)
    : image_(std::make_unique<PictureImage>(image.convertToFormat(QImage::Format_RGB32))) {}

Picture::~Picture() = default;

int32_t Picture::Width() const {
    return image_->width();
}

int32_t Picture::Height() const {
    return image_->height();
}

std::string Picture::WhyTooLarge(int64_t width, int64_t height) {
    if (width * height <= MaxPixels)
        return {};
    return "it is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than the " + std::to_string(MaxPixels) +
           " pixels (8192 x 8192) that a picture may have";
}

Ref<Picture> Picture::Open(const Ref<FolderItem>& file, std::string* why) {
    const std::string problem = WhyNotReadable(*file);
    const Ref<BinaryStream> stream = problem.empty() ? BinaryStream::Open(file, false) : nullptr;
    if (!stream)
        return refused(why, problem.empty() ? "it cannot be read" : problem);
    const int64_t length = stream->Length();
    if (length > MaxPictureFileSize)
        return refused(why, "it is larger than " + std::to_string(MaxPictureFileSize / MiB) +
                                " MB, more than the largest picture takes");
    const std::string bytes = stream->Read(length);
    if (std::ssize(bytes) != length)
        return refused(why, "it changed while it was read");
    return FromData(bytes, why);
}

Ref<Picture> Picture::FromData(const std::string& bytes, std::string* why) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Qt's decoders refuse more than their own allocation limit (128 MB by
    // default, less than the largest picture takes): MaxPixels is the limit.
    QImageReader::setAllocationLimit(static_cast<int>(LargestDecodedBytes / MiB));
    const QSize size = reader.size();
    std::string tooLarge = size.isValid() ? WhyTooLarge(size.width(), size.height()) : "";
    if (!tooLarge.empty())
        return refused(why, std::move(tooLarge));
    QImage image = reader.read();
    if (image.isNull())
        return refused(why, "it holds no picture that can be decoded (" +
                                reader.errorString().toStdString() + ")");
    tooLarge = WhyTooLarge(image.width(), image.height());
    if (!tooLarge.empty())
        return refused(why, std::move(tooLarge));
    return makeRef<Picture>(std::move(image));
}

Ref<Picture> Picture::FromRGBBytes(const std::string& rgb, int32_t width, int32_t height) {
    Ref<Picture> picture = NewPicture(width, height, 32);
    if (!picture || static_cast<int64_t>(rgb.size()) != static_cast<int64_t>(width) * height * 3)
        return nullptr;
    const auto* pixels = reinterpret_cast<const uchar*>(rgb.data());
    const QImage rows(pixels, width, height, static_cast<qsizetype>(width) * 3,
                      QImage::Format_RGB888);
    *picture->image_ = rows.convertToFormat(QImage::Format_RGB32);
    return picture;
}

std::string Picture::RGBBytes() const {
    const QImage rows = image_->convertToFormat(QImage::Format_RGB888);
    const size_t rowBytes = static_cast<size_t>(rows.width()) * 3;
    std::string rgb;
    rgb.reserve(rowBytes * static_cast<size_t>(rows.height()));
    for (int y = 0; y < rows.height(); ++y)
        rgb.append(reinterpret_cast<const char*>(rows.constScanLine(y)), rowBytes);
    return rgb;
}

Ref<Picture> NewPicture(int64_t width, int64_t height, int depth) {
    if (width <= 0 || height <= 0 || depth != 32 || width > INT32_MAX || height > INT32_MAX ||
        width * height > Picture::MaxPixels)
        return nullptr;
    auto picture = makeRef<Picture>(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (picture->image().isNull())
        return nullptr;
    return picture;
}
