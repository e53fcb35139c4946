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
    Type type() const { return m_type; }
    /// The numeric type (0 none, 1 bitmap, 3 icon).
    int typeNumber() const { return static_cast<int>(m_type); }
    /// True for a picture of type None.
    bool isNone() const { return m_type == Type::None; }
    /// The picture's pixels (null for None).
    const QImage& image() const { return m_image; }
    /// Width in pixels (0 for None).
    int width() const { return m_image.width(); }
    /// Height in pixels (0 for None).
    int height() const { return m_image.height(); }

    friend bool operator==(const OlePicture& a, const OlePicture& b) {
        return a.m_type == b.m_type && a.m_image == b.m_image;
    }

private:
    OlePicture(Type type, const QImage& image);

    Type m_type = Type::None;
    QImage m_image;
};

} // namespace pelmora
