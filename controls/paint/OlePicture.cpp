#include "controls/paint/OlePicture.h"

#include <QFileInfo>

namespace pelmora {

OlePicture::OlePicture(Type type, const QImage& image)
    : type_(image.isNull() ? Type::None : type), image_(image.isNull() ? QImage() : image) {}

OlePicture OlePicture::bitmap(const QImage& image) {
    return OlePicture(Type::Bitmap, image);
}

OlePicture OlePicture::icon(const QImage& image) {
    return OlePicture(Type::Icon, image);
}

OlePicture OlePicture::fromFile(const QString& fileName) {
    QImage image(fileName);
    if (image.isNull()) {
        return {};
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("ico") || suffix == QLatin1String("cur")) {
        return icon(image);
    }
    return bitmap(image);
}

} // namespace pelmora
