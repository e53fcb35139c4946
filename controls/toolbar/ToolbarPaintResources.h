#pragma once

#include "controls/paint/Drawing.h"
#include "controls/paint/LogicalFont.h"
#include "controls/paint/MemoryBitmap.h"

#include <QFont>
#include <QHash>
#include <utility>

namespace pelmora {

class PaintEffects;

/// The drawing objects one toolbar keeps for its life: the "DITHER" pattern of checked
/// buttons and the font turned 90 degrees for the captions of a vertical toolbar.
class ToolbarPaintResources {
public:
    /// Loads the pattern (a missing resource leaves it empty; checked buttons then show no
    /// pattern) and prepares the rotated font.
    ToolbarPaintResources();

    /// The 8×8 checked pattern (null when it could not be loaded).
    const QImage& Dither() const { return dither_.hdc(); }
    /// The caption font turned for vertical captions, made again when the font changed.
    const LogFontHandle* RotatedFont(const QFont& captionFont);

    /// The picture with its mask-coloured pixels see-through, painted once by the painting
    /// library's transparent painter and kept, so a hover repaint only blends it.
    const QImage& MaskedPicture(const OlePicture& picture, OleColor mask,
                                const PaintEffects& effects);

private:
    MemoryBitmap dither_;
    QHash<std::pair<qint64, OleColor>, QImage> masked_;
    LogicalFont rotated_;
    QFont source_;
};

} // namespace pelmora
