#include "MaxwellFiles.h"

#include "Text.h"

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

bool HasExtension(const std::string& name) {
    return StringEquals(Right(name, Len(Extension)), Extension);
}

Ref<FileType> MaxwellMaterial() {
    return pMaxwellMaterial;
}

void Release() {
    pMaxwellMaterial = nullptr;
}

} // namespace MaxwellFiles
