#pragma once

#include "FolderItem.h"
#include "Picture.h"
#include "Ref.h"

#include <string>
#include <vector>

// What was dropped on a canvas: a picture carried by the drag, or the
// dropped files that the canvas accepts, in the order of the drag; or, when
// the drag carried a picture that could not be read and no file, why not.
class DragItem {
  public:
    DragItem(Ref<::Picture> picture, std::vector<Ref<::FolderItem>> files,
             std::string pictureProblem = {})
        : picture_(std::move(picture)), files_(std::move(files)),
          pictureProblem_(std::move(pictureProblem)) {}

    bool PictureAvailable() const { return !picture_.isNil(); }
    Ref<::Picture> Picture() const { return picture_; }
    bool FolderItemAvailable() const { return !files_.empty(); }
    // The first accepted file; nil when none.
    Ref<::FolderItem> FolderItem() const { return files_.empty() ? nullptr : files_.front(); }
    // In words that finish the sentence "... could not be read: ".
    const std::string& PictureProblem() const { return pictureProblem_; }

  private:
    Ref<::Picture> picture_;
    std::vector<Ref<::FolderItem>> files_;
    std::string pictureProblem_;
};
