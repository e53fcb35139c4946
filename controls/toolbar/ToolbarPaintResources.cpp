#include "ToolbarPaintResources.h"

#include "paint/ControlError.h"

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

} // namespace pelmora
