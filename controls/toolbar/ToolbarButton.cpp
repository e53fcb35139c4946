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

const OlePicture& ToolbarButton::APicture(int WhichPicture) const {
    CheckPictureIndex(WhichPicture);
    return pictures_[static_cast<size_t>(WhichPicture)];
}

void ToolbarButton::SetAPicture(int WhichPicture, const OlePicture& picture,
                                const QString& source) {
    CheckPictureIndex(WhichPicture);
    pictures_[static_cast<size_t>(WhichPicture)] = picture;
    sources_[static_cast<size_t>(WhichPicture)] = picture.isNone() ? QString() : source;
}

const QString& ToolbarButton::PictureSource(int WhichPicture) const {
    CheckPictureIndex(WhichPicture);
    return sources_[static_cast<size_t>(WhichPicture)];
}

} // namespace pelmora
