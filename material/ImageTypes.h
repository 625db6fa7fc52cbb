#pragma once

#include "FileType.h"
#include "Ref.h"

#include <string>

// The picture file types that the preview accepts when dropped.
namespace ImageTypes {

// Made and registered once at start-up; nil before Initialize and after Release.
extern Ref<FileType> pBMP;
extern Ref<FileType> pJPEG;
extern Ref<FileType> pPNG;

void Initialize();
// The names of the picture types, each followed by ";".
std::string All();
// Withdraws the registrations in the order BMP, JPEG, PNG; called once when
// the program ends, after MaxwellFiles::Release.
void Release();

} // namespace ImageTypes
