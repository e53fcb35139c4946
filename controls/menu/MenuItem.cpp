#include "controls/menu/MenuItem.h"

namespace pelmora {

const OlePicture& MenuItem::APicture(int) const {
    return picture_;
}

void MenuItem::SetAPicture(const OlePicture& picture, int) {
    picture_ = picture;
    pictureSource_.clear();
}

void MenuItem::SetAPicture(const OlePicture& picture, const QString& source) {
    picture_ = picture;
    pictureSource_ = source;
}

void MenuItem::SetRect(int left, int top, int right, int bottom) {
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
}

bool MenuItem::PointInside(int x, int y) const {
    return left_ <= x && x <= right_ && top_ <= y && y <= bottom_;
}

} // namespace pelmora
