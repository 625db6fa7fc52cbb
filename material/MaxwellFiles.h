#pragma once

#include "FileType.h"
#include "Ref.h"

#include <string>

// The material file type "Maxwell Material" (".mxm").
namespace MaxwellFiles {

// The extension of material file names.
inline const std::string Extension = ".mxm";
// Whether the name ends in the extension, letter case ignored.
bool HasExtension(const std::string& name);

// Made and registered once at start-up; nil before Initialize and after Release.
extern Ref<FileType> pMaxwellMaterial;

void Initialize();
// The registered material type; the same object on every call.
Ref<FileType> MaxwellMaterial();
// Withdraws the registration; called once when the program ends, before the
// framework's own objects go.
void Release();

} // namespace MaxwellFiles
