#pragma once

#include "controls/paint/OlePicture.h"

#include <QImage>
#include <QString>

namespace pelmora {

/// A bitmap held in its own memory surface, loaded from a file, a picture or a bitmap
/// resource. Bitmap resources are Qt resources under ":/bitmaps/", named by the resource
/// identifier (e.g. ":/bitmaps/DITHER"). Errors are ControlError with the source text
/// "<exe>.gdcMemoryBitmap:<method>".
class MemoryBitmap {
public:
    MemoryBitmap() = default;

    /// Loads a picture file. False when it held no picture; throws 53 when the file is
    /// missing and 481 when it is not a picture.
    bool CreateByFile(const QString& fileName);
    /// Loads a bitmap picture. False for nothing (type None); throws 481 "Picture property
    /// must be of type Bitmap" for any other type.
    bool CreateByPicture(const OlePicture& picture);
    /// Loads the bitmap resource ResourceID (name or number); throws 326 when there is none.
    bool CreateByResource(const QString& resourceId);
    /// Loads the bitmap resource with a numeric identifier.
    bool CreateByResource(int resourceId) { return CreateByResource(QString::number(resourceId)); }

    /// Releases the bitmap; Width and Height keep their values.
    void ClearUp();

    /// The memory surface (null when nothing is loaded), to paint from.
    const QImage& hdc() const { return bitmap_; }
    /// True while a bitmap is loaded.
    bool hBmp() const { return !bitmap_.isNull(); }
    /// Width in pixels of the last loaded bitmap.
    int Width() const { return width_; }
    /// Height in pixels of the last loaded bitmap.
    int Height() const { return height_; }
    /// A bitmap picture of the memory bitmap (a copy), or nothing when none is loaded.
    OlePicture Picture() const;

private:
    bool LoadBitmapIntoMemory(const QImage& picture);

    QImage bitmap_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace pelmora
