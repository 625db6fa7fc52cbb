#pragma once

#include "BinaryStream.h"
#include "Color.h"
#include "ImageTypes.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"
#include "TestVolumes.h"
#include "UiTest.h"
#include "WindowMXM.h"
#include "mxmFile.h"

#include <QColor>
#include <QImage>

#include <string>

// Editor windows on materials in the temporary volume "HD". The material's
// stored paths name files in that volume ("/mat/tex/a.jpg" is the file
// mat/tex/a.jpg in it).
class EditorTest : public UiTest {
  protected:
    static void SetUpTestSuite() {
        if (!MaxwellFiles::MaxwellMaterial()) {
            MaxwellFiles::Initialize();
            ImageTypes::Initialize();
        }
    }

    // "oak" with the pattern preview and two stored paths.
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

    // Writes the material file and opens it as the program does: a new
    // editor, the material read from the stream, the title, the stream closed.
    WindowMXM* openEditor(const std::string& bytes = oakBytes(),
                          const std::string& relative = "mat/oak.mxm") {
        volumes.makeFile("HD", relative, bytes);
        const Ref<FolderItem> file = volumes.item("HD", relative);
        const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
        auto* editor = new WindowMXM;
        editor->currentMXM = makeRef<mxmFile>(stream, file);
        editor->setTitle(editor->currentMXM->getMaterialName());
        stream->Close();
        return editor;
    }

    // The preview stored in a material file, read afresh.
    Ref<Picture> storedPreview(const std::string& relative = "mat/oak.mxm") const {
        const Ref<FolderItem> file = volumes.item("HD", relative);
        const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
        mxmFile material(stream, file);
        stream->Close();
        return material.PreviewPict;
    }

    // What the preview canvas shows at (x, y) once painted.
    static Color shownAt(WindowMXM& editor, int x, int y) {
        editor.CPreview().paintNow();
        const QColor c = QColor::fromRgb(editor.CPreview().picture().image().pixel(x, y));
        return RGB(c.red(), c.green(), c.blue());
    }

    static QImage solidImage(Qt::GlobalColor colour) {
        QImage image(50, 40, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    // A PNG file of one colour; returns its native path.
    std::string pngFile(const std::string& relative, Qt::GlobalColor colour) const {
        const std::string path = volumes.makeFile("HD", relative);
        solidImage(colour).save(QString::fromStdString(path), "PNG");
        return path;
    }

    TestVolumes volumes;
};

inline const Color Red = RGB(255, 0, 0);
inline const Color Green = RGB(0, 255, 0);
inline const Color Background = RGB(0x50, 0x50, 0x50);
