#include "controls/toolbar/ToolbarPaintResources.h"

#include "controls/paint/ControlError.h"
#include "controls/paint/PaintEffects.h"

namespace pelmora {

ToolbarPaintResources::ToolbarPaintResources() {
    try {
        dither_.CreateByResource(QStringLiteral("DITHER"));
    } catch (const ControlError&) {
        // Without the pattern a checked button is still drawn pressed.
    }
    rotated_.setRotation(90);
}

const LogFontHandle* ToolbarPaintResources::RotatedFont(const QFont& captionFont) {
    if (!rotated_.handle() || source_ != captionFont) {
        source_ = captionFont;
        rotated_.setLogFont(captionFont);
    }
    return rotated_.handle();
}

const QImage& ToolbarPaintResources::MaskedPicture(const OlePicture& picture, OleColor mask,
                                                   const PaintEffects& effects) {
    const auto key = std::make_pair(picture.image().cacheKey(), mask);
    auto found = masked_.constFind(key);
    if (found != masked_.constEnd()) {
        return *found;
    }
    if (masked_.size() >= 256) { // a bound for toolbars with very many pictures
        masked_.clear();
    }
    // Painted over full transparency, the mask-coloured pixels stay transparent.
    QImage image(picture.width(), picture.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    effects.PaintTransparentPicture(image, picture, 0, 0, picture.width(), picture.height(), 0, 0,
                                    mask);
    return *masked_.insert(key, image);
}

} // namespace pelmora
