#include "Graphics.h"

#include "Picture.h"
#include "PictureImage.h"

#include <QPainter>

Color Graphics::Pixel(int32_t x, int32_t y) const {
    const QImage& image = target_.image();
    if (!image.valid(x, y))
        return Color{};
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void Graphics::DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t w, int32_t h,
                           int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
    const Picture& source = picture.get();
    if (w < 0)
        w = source.Width();
    if (h < 0)
        h = source.Height();
    if (sw < 0)
        sw = source.Width();
    if (sh < 0)
        sh = source.Height();
    if (w == 0 || h == 0 || sw == 0 || sh == 0)
        return;
    // Drawing a picture into itself needs a copy of the source first.
    const QImage& sourcePixels = source.image();
    const QImage sourceImage = &source == &target_ ? sourcePixels.copy() : sourcePixels;
    QPainter painter(&target_.image());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(x, y, w, h), sourceImage, QRectF(sx, sy, sw, sh));
}
