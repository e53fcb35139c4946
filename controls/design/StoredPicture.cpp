#include "controls/design/StoredPicture.h"

#include <QBuffer>
#include <QImageReader>

namespace pelmora {

namespace {
const QString DataPrefix = QStringLiteral("data:image/png;base64,");

// Pictures with an alpha channel keep it: they are painted as icons, which honour it.
// Opaque pictures are bitmaps, whose mask colour makes them transparent.
OlePicture pictureOf(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    return image.hasAlphaChannel() ? OlePicture::icon(image) : OlePicture::bitmap(image);
}
} // namespace

OlePicture StoredPicture::Read(const QJsonValue& value) {
    const QString text = value.toString();
    if (text.isEmpty()) {
        return {};
    }
    if (text.startsWith(DataPrefix)) {
        const QByteArray png = QByteArray::fromBase64(text.mid(DataPrefix.size()).toLatin1());
        return pictureOf(QImage::fromData(png, "PNG"));
    }
    QImageReader reader(text);
    return pictureOf(reader.read());
}

OlePicture StoredPicture::Read(const QJsonValue& value, QString& source) {
    const OlePicture picture = Read(value);
    source = picture.isNone() ? QString() : SourceOf(value);
    return picture;
}

QString StoredPicture::SourceOf(const QJsonValue& value) {
    const QString text = value.toString();
    return text.startsWith(DataPrefix) ? QString() : text;
}

QJsonValue StoredPicture::Write(const OlePicture& picture, const QString& source) {
    if (picture.isNone()) {
        return QJsonValue();
    }
    if (!source.isEmpty()) {
        return source;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // The alpha channel tells the kind when the data is read back.
    const bool icon = picture.type() == OlePicture::Type::Icon;
    picture.image()
        .convertToFormat(icon ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        .save(&buffer, "PNG");
    return DataPrefix + QString::fromLatin1(png.toBase64());
}

} // namespace pelmora
