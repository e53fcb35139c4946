#include "controls/paint/MemoryBitmap.h"

#include "controls/paint/ControlError.h"

#include <QFileInfo>

namespace pelmora {

namespace {

QString sourceOf(const char* method) {
    return ControlError::sourceText(QStringLiteral("gdcMemoryBitmap"), QLatin1String(method));
}

} // namespace

bool MemoryBitmap::LoadBitmapIntoMemory(const QImage& picture) {
    ClearUp();
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) {
        return false;
    }
    // A memory bitmap is an opaque screen-compatible pixel grid.
    QImage copy = picture.convertToFormat(QImage::Format_RGB32);
    if (copy.isNull()) {
        ClearUp();
        return false;
    }
    bitmap_ = copy;
    width_ = copy.width();
    height_ = copy.height();
    return true;
}

bool MemoryBitmap::CreateByFile(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) {
        throw ControlError(53, QString(), sourceOf("CreateByFile"));
    }
    const OlePicture picture = OlePicture::fromFile(fileName);
    if (picture.isNone()) {
        throw ControlError(481, QString(), sourceOf("CreateByFile"));
    }
    return LoadBitmapIntoMemory(picture.image());
}

bool MemoryBitmap::CreateByPicture(const OlePicture& picture) {
    if (picture.isNone()) {
        return false;
    }
    if (picture.type() != OlePicture::Type::Bitmap) {
        throw ControlError(481, QStringLiteral("Picture property must be of type Bitmap"),
                           sourceOf("CreateByPicture"));
    }
    return LoadBitmapIntoMemory(picture.image());
}

bool MemoryBitmap::CreateByResource(const QString& resourceId) {
    const QImage image(QStringLiteral(":/bitmaps/") + resourceId);
    if (image.isNull()) {
        throw ControlError(
            326, QStringLiteral("Resource with identifier '%1' not found").arg(resourceId),
            sourceOf("CreateByResource"));
    }
    return LoadBitmapIntoMemory(image);
}

void MemoryBitmap::ClearUp() {
    bitmap_ = QImage();
}

OlePicture MemoryBitmap::Picture() const {
    return OlePicture::bitmap(bitmap_);
}

} // namespace pelmora
