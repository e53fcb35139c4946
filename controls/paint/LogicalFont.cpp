#include "controls/paint/LogicalFont.h"

#include "controls/paint/Drawing.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace pelmora {

namespace {

double screenDpiY() {
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            return screen->logicalDotsPerInchY();
        }
    }
    return 96.0;
}

} // namespace

void LogicalFont::setLogFont(const QFont& font, int charset) {
    QFont copy;
    copy.setFamily(font.family());
    if (font.pointSizeF() > 0) {
        copy.setPointSizeF(font.pointSizeF());
    } else if (font.pixelSize() > 0) {
        copy.setPointSizeF(font.pixelSize() * 72.0 / screenDpiY());
    }
    copy.setWeight(font.weight());
    copy.setItalic(font.italic());
    copy.setUnderline(font.underline());
    copy.setStrikeOut(font.strikeOut());
    font_ = copy;
    charset_ = charset;
    createHandle();
}

void LogicalFont::clearLogFont() {
    font_.reset();
    handle_.reset();
}

void LogicalFont::setRotation(float degrees) {
    if (degrees == rotation_) {
        return;
    }
    rotation_ = degrees;
    if (font_) {
        createHandle();
    }
}

void LogicalFont::createHandle() {
    handle_.reset();
    if (!font_) {
        return;
    }
    LogFontHandle h;
    const double dpi = screenDpiY();
    h.height = -RoundHalfEven(font_->pointSizeF() * dpi / 72.0);
    h.width = 0;
    h.escapement = RoundHalfEven(double(rotation_) * 10.0);
    h.orientation = h.escapement;
    h.weight = font_->weight();
    h.italic = font_->italic();
    h.underline = font_->underline();
    h.strikeOut = font_->strikeOut();
    h.faceName = font_->family().left(32);
    // Only TrueType fonts rotate; OEM fonts are raster fonts, so a rotated font asks for
    // ANSI and TrueType output.
    const bool rotated = h.escapement % 3600 != 0;
    h.charSet = (charset_ == OemCharset && rotated) ? 0 : charset_;
    h.outPrecision = rotated ? 7 : 0;
    h.clipPrecision = 0;
    h.quality = 2;
    h.pitchAndFamily = 0;

    h.font = QFont(h.faceName);
    h.font.setPixelSize(std::max(1, -h.height));
    h.font.setWeight(QFont::Weight(h.weight));
    h.font.setItalic(h.italic);
    h.font.setUnderline(h.underline);
    h.font.setStrikeOut(h.strikeOut);
    handle_ = h;
}

} // namespace pelmora
