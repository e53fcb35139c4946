#include "controls/toolbar/ToolbarButton.h"

#include "controls/toolbar/ToolbarErrors.h"

namespace pelmora {

namespace {

void CheckPictureIndex(int which) {
    if (which < 0 || which > 2) {
        ToolbarErrors::Raise(QStringLiteral("clsBSButton"), QStringLiteral("APicture"),
                             ToolbarErrors::ErrSubscript);
    }
}

} // namespace

const OlePicture& ToolbarButton::APicture(int whichPicture) const {
    CheckPictureIndex(whichPicture);
    return pictures_[static_cast<size_t>(whichPicture)];
}

void ToolbarButton::SetAPicture(int whichPicture, const OlePicture& picture,
                                const QString& source) {
    CheckPictureIndex(whichPicture);
    pictures_[static_cast<size_t>(whichPicture)] = picture;
    sources_[static_cast<size_t>(whichPicture)] = picture.isNone() ? QString() : source;
}

const QString& ToolbarButton::PictureSource(int whichPicture) const {
    CheckPictureIndex(whichPicture);
    return sources_[static_cast<size_t>(whichPicture)];
}

} // namespace pelmora
