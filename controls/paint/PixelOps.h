#pragma once

// Pixel access shared by the painting routines. They work on plain ARGB32 buffers and touch
// the caller's image directly, so a caller may keep its own QPainter open on it.

#include <QImage>

namespace pelmora::pixelops {

/// An ARGB32 copy of the w x h area at (x, y); pixels outside the image read as 0.
QImage ReadArea(const QImage& image, int x, int y, int w, int h);

/// A w x h ARGB32 buffer filled with colour; null when the size is not positive.
QImage MakeBuffer(int w, int h, QRgb colour);

/// Stores the buffer's pixels at (x, y) of dest, clipped to dest, replacing what is there.
/// A dest that is not 32-bit is converted to ARGB32 premultiplied first.
void WriteArea(QImage& dest, int x, int y, const QImage& buffer);

/// Stores the area (sx, sy, w, h) of buffer at (x, y) of dest, clipped to both images.
void WriteArea(QImage& dest, int x, int y, const QImage& buffer, int sx, int sy, int w, int h);

/// Draws src over dest at (x, y) with its alpha (source-over), clipped to dest.
void BlendArea(QImage& dest, int x, int y, const QImage& src);

/// Fills the rectangle with an opaque colour, clipped to dest.
void FillArea(QImage& dest, int x, int y, int w, int h, QRgb colour);

/// A two-colour image: bit 1 where pick(pixel) holds. A monochrome image in a context with
/// background B and text colour T shows 1 bits in B and 0 bits in T; the colour table
/// {T, B} stands for that context.
template <typename Pick>
QImage Monochrome(const QImage& argb, QRgb textColour, QRgb backColour, Pick pick) {
    QImage mono(argb.size(), QImage::Format_Mono);
    mono.setColorTable({textColour, backColour});
    mono.fill(0);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            if (pick(in[x])) {
                out[x >> 3] |= uchar(0x80 >> (x & 7));
            }
        }
    }
    return mono;
}

/// Bit (x, y) of a Format_Mono image.
inline bool MonoBit(const QImage& mono, int x, int y) {
    return (mono.constScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

/// True when the colour is nearer white than black (the two-colour conversion).
inline bool NearerWhite(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c) > 382;
}

/// True when the two colours have the same red, green and blue.
inline bool SameRgb(QRgb a, QRgb b) {
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

} // namespace pelmora::pixelops
