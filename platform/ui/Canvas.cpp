#include "Canvas.h"

#include "EventGuard.h"
#include "EventHook.h"
#include "FileType.h"
#include "PictureImage.h"
#include "Text.h"
#include "Window.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace {

bool carriesImage(const QMimeData& data) {
    if (data.hasImage())
        return true;
    for (const QString& format : data.formats())
        if (format.startsWith("image/"))
            return true;
    return false;
}

// The first image the data carries that can be read; nil, and why, when none.
Ref<Picture> imageOf(const QMimeData& data, std::string& why) {
    if (data.hasImage()) {
        const QImage image = qvariant_cast<QImage>(data.imageData());
        why = image.isNull() ? "it holds no picture that can be decoded"
                             : Picture::WhyTooLarge(image.width(), image.height());
        if (why.empty())
            return makeRef<Picture>(image);
    }
    for (const QString& format : data.formats()) {
        if (!format.startsWith("image/"))
            continue;
        Ref<Picture> picture = Picture::FromData(data.data(format).toStdString(), &why);
        if (!picture.isNil())
            return picture;
    }
    return nullptr;
}

} // namespace

Canvas::Canvas(Window& window, const std::string& name)
    : Control(window, name, new QWidget(window.content())),
      picture_(std::make_unique<Picture>(1, 1)) {
    new EventHook(widget(), [this](QEvent* event) {
        switch (event->type()) {
        case QEvent::Paint:
            paintOnto(*widget());
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData() != nullptr && wantsDrag(*drag->mimeData()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::unique_ptr<DragItem> item =
                drop->mimeData() != nullptr ? dragItemFor(*drop->mimeData()) : nullptr;
            if (!item) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            if (drop_)
                EventGuard::run([&] { drop_(*item); });
            return true;
        }
        default:
            return false;
        }
    });
}

Canvas::~Canvas() = default;

void Canvas::AcceptPictureDrop() {
    acceptPictures_ = true;
    widget()->setAcceptDrops(true);
}

void Canvas::AcceptFileDrop(const std::string& typeNames) {
    for (const std::string& extension : Split(FileTypes::extensionsOf(typeNames), ";"))
        if (!extension.empty())
            extensions_.push_back(extension);
    widget()->setAcceptDrops(true);
}

// Decides at the drag without decoding anything, so dragging stays quick.
bool Canvas::wantsDrag(const QMimeData& data) const {
    return (acceptPictures_ && carriesImage(data)) || !acceptedFiles(data).empty();
}

std::unique_ptr<DragItem> Canvas::dragItemFor(const QMimeData& data) const {
    std::string pictureProblem;
    Ref<Picture> picture = acceptPictures_ ? imageOf(data, pictureProblem) : nullptr;
    std::vector<Ref<FolderItem>> files = acceptedFiles(data);
    if (picture.isNil() && files.empty() && pictureProblem.empty())
        return nullptr;
    return std::make_unique<DragItem>(picture, std::move(files), std::move(pictureProblem));
}

std::vector<Ref<FolderItem>> Canvas::acceptedFiles(const QMimeData& data) const {
    std::vector<Ref<FolderItem>> files;
    if (extensions_.empty() || !data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        auto file = makeRef<FolderItem>(QFile::encodeName(url.toLocalFile()).toStdString());
        if (acceptedFileName(file->Name()) && !file->Directory())
            files.push_back(file);
    }
    return files;
}

bool Canvas::acceptedFileName(const std::string& name) const {
    return std::any_of(extensions_.begin(), extensions_.end(), [&](const std::string& extension) {
        return name.size() > extension.size() &&
               StringEquals(std::string_view(name).substr(name.size() - extension.size()),
                            extension);
    });
}

void Canvas::repaintPicture() {
    const QSize size = widget()->size().expandedTo(QSize(1, 1));
    if (picture_->image().size() != size)
        picture_ = std::make_unique<Picture>(size.width(), size.height());
    const Color back = window().HasBackColor() ? window().BackColor() : Color{};
    picture_->image().fill(window().HasBackColor() ? QColor(back.red, back.green, back.blue)
                                                   : widget()->palette().color(QPalette::Window));
    if (paint_)
        EventGuard::run([this] {
            Graphics g(*picture_);
            paint_(g);
        });
}

void Canvas::paintNow() {
    repaintPicture();
    widget()->update();
}

void Canvas::Refresh() {
    widget()->update();
}

void Canvas::paintOnto(QWidget& target) {
    repaintPicture();
    QPainter painter(&target);
    painter.drawImage(0, 0, picture_->image());
}
