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
    h.lfHeight = -RoundHalfEven(font_->pointSizeF() * dpi / 72.0);
    h.lfWidth = 0;
    h.lfEscapement = RoundHalfEven(double(rotation_) * 10.0);
    h.lfOrientation = h.lfEscapement;
    h.lfWeight = font_->weight();
    h.lfItalic = font_->italic();
    h.lfUnderline = font_->underline();
    h.lfStrikeOut = font_->strikeOut();
    h.lfFaceName = font_->family().left(32);
    // Only TrueType fonts rotate; OEM fonts are raster fonts, so a rotated font asks for
    // ANSI and TrueType output.
    const bool rotated = h.lfEscapement % 3600 != 0;
    h.lfCharSet = (charset_ == OemCharset && rotated) ? 0 : charset_;
    h.lfOutPrecision = rotated ? 7 : 0;
    h.lfClipPrecision = 0;
    h.lfQuality = 2;
    h.lfPitchAndFamily = 0;

    h.font = QFont(h.lfFaceName);
    h.font.setPixelSize(std::max(1, -h.lfHeight));
    h.font.setWeight(QFont::Weight(h.lfWeight));
    h.font.setItalic(h.lfItalic);
    h.font.setUnderline(h.lfUnderline);
    h.font.setStrikeOut(h.lfStrikeOut);
    handle_ = h;
}

} // namespace pelmora
