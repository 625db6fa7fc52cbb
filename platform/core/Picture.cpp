#include "Picture.h"

#include "BinaryStream.h"
#include "PictureImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace {

// Picture files larger than this are not read: no picture the program can
// show needs more, and a damaged or hostile file must not exhaust memory.
constexpr int64_t MaxPictureFileSize = 256 * 1024 * 1024;

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

Ref<Picture> Picture::Open(const Ref<FolderItem>& file) {
    const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
    const int64_t length = stream ? stream->Length() : 0;
    if (!stream || length > MaxPictureFileSize)
        return nullptr;
    const std::string bytes = stream->Read(length);
    // A file that shrank while it was read holds no whole picture.
    if (std::ssize(bytes) != length)
        return nullptr;
    return FromData(bytes);
}

Ref<Picture> Picture::FromData(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && static_cast<int64_t>(size.width()) * size.height() > MaxPixels)
        return nullptr;
    QImage image = reader.read();
    if (image.isNull() || static_cast<int64_t>(image.width()) * image.height() > MaxPixels)
        return nullptr;
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
