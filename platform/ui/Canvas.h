#pragma once

#include "Control.h"
#include "DragItem.h"
#include "Graphics.h"
#include "Picture.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

// A drawing surface. It keeps a picture of its own size: each paint fills it
// with the window's background, raises Paint with its Graphics, and shows it.
class Canvas : public Control {
  public:
    Canvas(Window& window, const std::string& name);
    ~Canvas() override;

    void onPaint(std::function<void(Graphics& g)> handler) { paint_ = std::move(handler); }
    void onDropObject(std::function<void(const DragItem& item)> handler) {
        drop_ = std::move(handler);
    }

    // What the canvas shows, as last painted.
    const Picture& picture() const { return *picture_; }
    // Paints now (Paint is raised), without waiting for the screen.
    void paintNow();
    void Refresh() override;

    // Drags carrying image data are accepted.
    void AcceptPictureDrop();
    // Drags carrying a file of one of these registered types (";"-joined
    // names) are accepted. Anything else is refused at the drag.
    void AcceptFileDrop(const std::string& typeNames);

    // What a drag would deliver, nullptr when the canvas refuses it.
    std::unique_ptr<DragItem> dragItemFor(const QMimeData& data) const;

  private:
    bool wantsDrag(const QMimeData& data) const;
    std::vector<Ref<FolderItem>> acceptedFiles(const QMimeData& data) const;
    bool acceptedFileName(const std::string& name) const;
    void repaintPicture();
    void paintOnto(QWidget& target);

    std::unique_ptr<Picture> picture_;
    std::function<void(Graphics&)> paint_;
    std::function<void(const DragItem&)> drop_;
    bool acceptPictures_ = false;
    std::vector<std::string> extensions_; // lower case, with the dot
};
