#include "controls/paint/PixelOps.h"

#include <algorithm>

namespace pelmora::pixelops {

namespace {

bool isDirect32(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

void ensureDirect32(QImage& dest) {
    if (!isDirect32(dest.format())) {
        dest.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
}

// Between an unpremultiplied ARGB value and the storage of a 32-bit format: RGB32 stores
// no alpha, the premultiplied format applies it with alpha (one way or the other).
QRgb convertStored(QImage::Format f, QRgb c, QRgb (*alpha)(QRgb)) {
    switch (f) {
    case QImage::Format_RGB32:
        return c | 0xFF000000u;
    case QImage::Format_ARGB32_Premultiplied:
        return alpha(c);
    default:
        return c;
    }
}

QRgb toStorage(QImage::Format f, QRgb c) {
    return convertStored(f, c, qPremultiply);
}

QRgb fromStorage(QImage::Format f, QRgb c) {
    return convertStored(f, c, qUnpremultiply);
}

} // namespace

QImage ReadArea(const QImage& image, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    QImage out(w, h, QImage::Format_ARGB32);
    if (out.isNull()) {
        return out;
    }
    out.fill(0);
    const QRect inside = QRect(x, y, w, h).intersected(image.rect());
    if (inside.isEmpty()) {
        return out;
    }
    const QImage part = image.copy(inside).convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < part.height(); ++row) {
        std::copy_n(reinterpret_cast<const QRgb*>(part.constScanLine(row)), part.width(),
                    reinterpret_cast<QRgb*>(out.scanLine(inside.y() - y + row)) + (inside.x() - x));
    }
    return out;
}

QImage MakeBuffer(int w, int h, QRgb colour) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    QImage out(w, h, QImage::Format_ARGB32);
    if (!out.isNull()) {
        out.fill(colour);
    }
    return out;
}

void WriteArea(QImage& dest, int x, int y, const QImage& buffer) {
    WriteArea(dest, x, y, buffer, 0, 0, buffer.width(), buffer.height());
}

void WriteArea(QImage& dest, int x, int y, const QImage& buffer, int sx, int sy, int w, int h) {
    if (dest.isNull() || buffer.isNull() || w <= 0 || h <= 0) {
        return;
    }
    // Clip the source area to the buffer, then the target area to dest.
    QRect src = QRect(sx, sy, w, h).intersected(buffer.rect());
    QRect target = src.translated(x - sx, y - sy).intersected(dest.rect());
    if (target.isEmpty()) {
        return;
    }
    ensureDirect32(dest);
    const QImage in = buffer.format() == QImage::Format_ARGB32
                          ? buffer
                          : buffer.convertToFormat(QImage::Format_ARGB32);
    const QImage::Format f = dest.format();
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(in.constScanLine(row - y + sy));
        auto* to = reinterpret_cast<QRgb*>(dest.scanLine(row));
        for (int col = target.left(); col <= target.right(); ++col) {
            to[col] = toStorage(f, from[col - x + sx]);
        }
    }
}

void BlendArea(QImage& dest, int x, int y, const QImage& src) {
    if (dest.isNull() || src.isNull()) {
        return;
    }
    const QRect target = QRect(x, y, src.width(), src.height()).intersected(dest.rect());
    if (target.isEmpty()) {
        return;
    }
    ensureDirect32(dest);
    const QImage in = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage::Format f = dest.format();
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(in.constScanLine(row - y));
        auto* to = reinterpret_cast<QRgb*>(dest.scanLine(row));
        for (int col = target.left(); col <= target.right(); ++col) {
            const QRgb s = from[col - x];
            const int a = qAlpha(s);
            if (a == 0) {
                continue;
            }
            const QRgb d = qPremultiply(fromStorage(f, to[col]));
            const int inv = 255 - a;
            const auto mix = [inv](int sc, int dc) { return sc + (dc * inv + 127) / 255; };
            const QRgb out = qRgba(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)),
                                   mix(qBlue(s), qBlue(d)), mix(a, qAlpha(d)));
            to[col] = toStorage(f, qUnpremultiply(out));
        }
    }
}

void FillArea(QImage& dest, int x, int y, int w, int h, QRgb colour) {
    if (dest.isNull() || w <= 0 || h <= 0) {
        return;
    }
    const QRect target = QRect(x, y, w, h).intersected(dest.rect());
    if (target.isEmpty()) {
        return;
    }
    ensureDirect32(dest);
    const QRgb stored = toStorage(dest.format(), colour | 0xFF000000u);
    for (int row = target.top(); row <= target.bottom(); ++row) {
        auto* to = reinterpret_cast<QRgb*>(dest.scanLine(row));
        std::fill(to + target.left(), to + target.right() + 1, stored);
    }
}

} // namespace pelmora::pixelops
