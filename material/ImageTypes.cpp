#include "ImageTypes.h"

namespace ImageTypes {

Ref<FileType> pBMP;
Ref<FileType> pJPEG;
Ref<FileType> pPNG;

namespace {

Ref<FileType> registered(const std::string& name, const std::string& extension) {
    Ref<FileType> type = makeRef<FileType>();
    type->setName(name);
    type->setExtensions(extension);
    type->setMacType("");
    type->setMacCreator("");
    type->toString();
    return type;
}

} // namespace

void Initialize() {
    pBMP = registered("BMP", ".bmp");
    pJPEG = registered("JPEG", ".jpg");
    pPNG = registered("PNG", ".png");
}

std::string All() {
    return "BMP;JPEG;PNG;";
}

void Release() {
    pBMP = nullptr;
    pJPEG = nullptr;
    pPNG = nullptr;
}

} // namespace ImageTypes
