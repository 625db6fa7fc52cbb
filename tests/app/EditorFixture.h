#pragma once

#include "BinaryStream.h"
#include "ImageTypes.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"
#include "TestVolumes.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "WindowMXM.h"

#include <QColor>
#include <QImage>

// Editor windows on materials in the temporary volume "HD", whose stored
// paths ("/mat/tex/a.jpg") name files in that volume.
class EditorTest : public UiTest {
  protected:
    static void SetUpTestSuite() {
        MaxwellFiles::Initialize();
        ImageTypes::Initialize();
    }
    // As the program does before it ends: the framework's list of
    // registered types may go before these module-level objects would.
    static void TearDownTestSuite() {
        MaxwellFiles::Release();
        ImageTypes::Release();
    }

    static std::string oakBytes(const std::string& secondPath = "/mat/tex/b.jpg") {
        return MaterialBytes()
            .marker()
            .string("oak")
            .preview(200, 200)
            .middle()
            .record("/mat/tex/a.jpg", "p0 bitmap")
            .record(secondPath, "p1")
            .bytes();
    }

    // Opens the material as the program does.
    WindowMXM* openEditor(const std::string& bytes = oakBytes(),
                          const std::string& relative = "mat/oak.mxm") {
        volumes.makeFile("HD", relative, bytes);
        auto* editor = new WindowMXM;
        editor->currentMXM = read(relative);
        editor->setTitle(editor->currentMXM->getMaterialName());
        return editor;
    }

    Ref<mxmFile> read(const std::string& relative) const {
        const Ref<FolderItem> file = volumes.item("HD", relative);
        const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
        auto material = makeRef<mxmFile>(stream, file);
        stream->Close();
        return material;
    }

    Color storedPixel(const std::string& relative = "mat/oak.mxm") const {
        return read(relative)->PreviewPict->graphics().Pixel(10, 10);
    }

    static Color shownAt(WindowMXM& editor, int x, int y) {
        editor.CPreview().paintNow();
        const QColor c = QColor::fromRgb(editor.CPreview().picture().image().pixel(x, y));
        return RGB(c.red(), c.green(), c.blue());
    }

    static QImage solid(Qt::GlobalColor colour) {
        QImage image(50, 40, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    static void drop(WindowMXM& editor, Qt::GlobalColor colour) {
        ASSERT_TRUE(UiDriver::dropImage(editor.CPreview(), solid(colour)));
    }

    std::string pngFile(const std::string& relative, Qt::GlobalColor colour) const {
        const std::string path = volumes.makeFile("HD", relative);
        solid(colour).save(QString::fromStdString(path), "PNG");
        return path;
    }

    TestVolumes volumes;
};

inline const Color Red = RGB(255, 0, 0);
inline const Color Green = RGB(0, 255, 0);

inline bool changedWithSaveAndRevert(const WindowMXM& editor) {
    return editor.dirty && editor.PBSave().Enabled() && editor.BBRevert().Enabled();
}
