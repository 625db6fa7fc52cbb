#pragma once

#include "FolderItem.h"
#include "Picture.h"
#include "Ref.h"

#include <vector>

// What was dropped on a canvas: a picture carried by the drag, or the
// dropped files that the canvas accepts, in the order of the drag.
class DragItem {
  public:
    DragItem(Ref<::Picture> picture, std::vector<Ref<::FolderItem>> files)
        : picture_(std::move(picture)), files_(std::move(files)) {}

    bool PictureAvailable() const { return !picture_.isNil(); }
    Ref<::Picture> Picture() const { return picture_; }
    bool FolderItemAvailable() const { return !files_.empty(); }
    // The first accepted file; nil when none.
    Ref<::FolderItem> FolderItem() const { return files_.empty() ? nullptr : files_.front(); }

  private:
    Ref<::Picture> picture_;
    std::vector<Ref<::FolderItem>> files_;
};
