#include "mxmFile.h"

#include "Graphics.h"

void mxmFile::keepRevertCopy() {
    const Picture& source = myPict.get();
    revertPict = NewPicture(source.Width(), source.Height(), 32);
    Graphics(*revertPict).DrawPicture(myPict, 0, 0);
}

void mxmFile::SetPict(const Ref<Picture>& picture) {
    myPict = picture;
    CreatePreview();
}

void mxmFile::CreatePreview() {
    if (!myPict)
        return;
    Ref<Picture> preview = NewPicture(PreviewSide, PreviewSide, 32);
    Graphics(*preview).DrawPicture(myPict, 0, 0, PreviewSide, PreviewSide, 0, 0, myPict->Width(),
                                   myPict->Height());
    PreviewPict = preview;
}

void mxmFile::Revert() {
    SetPict(revertPict);
}
