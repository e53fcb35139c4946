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

} // namespace pelmora
