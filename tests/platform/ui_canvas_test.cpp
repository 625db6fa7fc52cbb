#include "Canvas.h"
#include "FileType.h"
#include "Graphics.h"
#include "TempFolder.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "Window.h"

#include <QBuffer>
#include <QImage>

namespace {

class DropWindow : public Window {
  public:
    DropWindow() { construct(); }
    std::vector<DragItem> drops;
    bool paintFrame = false;

  protected:
    void Layout() override {
        setSize(100, 100);
        setBackColor(RGB(0x50, 0x50, 0x50));
    }
    void CreateControls() override {
        auto& canvas = addControl<Canvas>("CPreview", 10, 10, 20, 20);
        canvas.onOpen([&canvas] {
            canvas.AcceptPictureDrop();
            canvas.AcceptFileDrop("PNG;BMP");
        });
        canvas.onDropObject([this](const DragItem& item) { drops.push_back(item); });
        canvas.onPaint([this](Graphics& g) {
            if (paintFrame)
                g.setPixel(0, 0, RGB(255, 0, 0));
        });
    }
};

std::string pngBytes() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

class CanvasTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        png.setName("PNG");
        png.setExtensions(".png");
        png.toString();
        bmp.setName("BMP");
        bmp.setExtensions(".bmp");
        bmp.toString();
        window = new DropWindow;
        canvas = &window->control<Canvas>("CPreview");
    }

    FileType png, bmp;
    TempFolder temp;
    DropWindow* window = nullptr;
    Canvas* canvas = nullptr;
};

} // namespace

TEST_F(CanvasTest, APictureFileIsAcceptedWhateverTheLetterCaseOfItsExtension) {
    const std::string file = temp.makeFile("Shot.PNG", pngBytes());
    ASSERT_TRUE(UiDriver::dropFiles(*canvas, {file}));
    ASSERT_EQ(window->drops.size(), 1u);
    EXPECT_FALSE(window->drops[0].PictureAvailable());
    ASSERT_TRUE(window->drops[0].FolderItemAvailable());
    EXPECT_EQ(window->drops[0].FolderItem()->NativePath(), file);
}

TEST_F(CanvasTest, ImageDataInTheDragArrivesAsAPicture) {
    QImage image(4, 5, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(UiDriver::dropImage(*canvas, image));
    ASSERT_EQ(window->drops.size(), 1u);
    ASSERT_TRUE(window->drops[0].PictureAvailable());
    EXPECT_EQ(window->drops[0].Picture()->Width(), 4);
    EXPECT_EQ(window->drops[0].Picture()->graphics().Pixel(2, 2), RGB(0, 255, 0));
}

TEST_F(CanvasTest, OtherFilesAreRefusedAtTheDragAndSkippedAmongAcceptedOnes) {
    const std::string text = temp.makeFile("notes.txt", "text");
    const std::string folder = temp.makeFolder("folder.png");
    EXPECT_FALSE(UiDriver::dropFiles(*canvas, {text}));
    EXPECT_FALSE(UiDriver::dropFiles(*canvas, {folder}));
    EXPECT_TRUE(window->drops.empty());

    const std::string first = temp.makeFile("a.bmp", "not really a bitmap");
    const std::string second = temp.makeFile("b.png", pngBytes());
    ASSERT_TRUE(UiDriver::dropFiles(*canvas, {text, first, second}));
    ASSERT_EQ(window->drops.size(), 1u);
    EXPECT_EQ(window->drops[0].FolderItem()->NativePath(), first);
    EXPECT_EQ(window->drops[0].FolderItems().size(), 2u);
}

TEST_F(CanvasTest, PaintDrawsOverTheWindowBackgroundIntoTheCanvasPicture) {
    window->paintFrame = true;
    canvas->paintNow();
    EXPECT_EQ(canvas->picture().Width(), 20);
    EXPECT_EQ(canvas->picture().image().pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(canvas->picture().image().pixelColor(19, 19), QColor(0x50, 0x50, 0x50));
}
