#pragma once

#include <QImage>

#include <utility>

// The pixels of a Picture are a Qt image, used as one by the layer's drawing
// code and by the controls that show pictures.
class PictureImage : public QImage {
  public:
    using QImage::QImage;
    PictureImage(QImage image) : QImage(std::move(image)) {}
};
