#pragma once

#include <QImage>
#include <QString>

namespace pelmora {

/// A picture value: nothing, a bitmap or an icon, holding its image. Bitmaps are opaque
/// pixel grids (their alpha is ignored when painted); icons are drawn with their alpha.
class OlePicture {
public:
    /// The picture kinds, numbered as the controls store them.
    enum class Type { None = 0, Bitmap = 1, Icon = 3 };

    /// An empty picture (type None), which every painter treats as nothing.
    OlePicture() = default;

    /// A bitmap picture of image (None when the image is null).
    static OlePicture bitmap(const QImage& image);
    /// An icon picture of image (None when the image is null).
    static OlePicture icon(const QImage& image);
    /// Loads a picture file: ".ico" and ".cur" files become icons, all others bitmaps;
    /// None when the file cannot be read.
    static OlePicture fromFile(const QString& fileName);

    /// The picture's kind.
    Type type() const { return type_; }
    /// The numeric type (0 none, 1 bitmap, 3 icon).
    int typeNumber() const { return static_cast<int>(type_); }
    /// True for a picture of type None.
    bool isNone() const { return type_ == Type::None; }
    /// The picture's pixels (null for None).
    const QImage& image() const { return image_; }
    /// Width in pixels (0 for None).
    int width() const { return image_.width(); }
    /// Height in pixels (0 for None).
    int height() const { return image_.height(); }

    friend bool operator==(const OlePicture& a, const OlePicture& b) {
        return a.type_ == b.type_ && a.image_ == b.image_;
    }

private:
    OlePicture(Type type, const QImage& image);

    Type type_ = Type::None;
    QImage image_;
};

} // namespace pelmora
