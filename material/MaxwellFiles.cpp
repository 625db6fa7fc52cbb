#include "MaxwellFiles.h"

namespace MaxwellFiles {

Ref<FileType> pMaxwellMaterial;

void Initialize() {
    pMaxwellMaterial = makeRef<FileType>();
    pMaxwellMaterial->setName("Maxwell Material");
    pMaxwellMaterial->setExtensions(Extension);
    pMaxwellMaterial->setMacType("    ");
    pMaxwellMaterial->setMacCreator("    ");
    pMaxwellMaterial->toString();
}

Ref<FileType> MaxwellMaterial() {
    return pMaxwellMaterial;
}

void Release() {
    pMaxwellMaterial = nullptr;
}

} // namespace MaxwellFiles
