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
    h.SetHeight(-RoundHalfEven(font_->pointSizeF() * dpi / 72.0));
    h.SetWidth(0);
    h.SetEscapement(RoundHalfEven(double(rotation_) * 10.0));
    h.SetOrientation(h.Escapement());
    h.SetWeight(font_->weight());
    h.SetItalic(font_->italic());
    h.SetUnderline(font_->underline());
    h.SetStrikeOut(font_->strikeOut());
    h.SetFaceName(font_->family().left(32));
    // Only TrueType fonts rotate; OEM fonts are raster fonts, so a rotated font asks for
    // ANSI and TrueType output.
    const bool rotated = h.Escapement() % 3600 != 0;
    h.SetCharSet((charset_ == OemCharset && rotated) ? 0 : charset_);
    h.SetOutPrecision(rotated ? 7 : 0);
    h.SetClipPrecision(0);
    h.SetQuality(2);
    h.SetPitchAndFamily(0);

    QFont font(h.FaceName());
    font.setPixelSize(std::max(1, -h.Height()));
    font.setWeight(QFont::Weight(h.Weight()));
    font.setItalic(h.Italic());
    font.setUnderline(h.Underline());
    font.setStrikeOut(h.StrikeOut());
    h.SetFont(font);
    handle_ = h;
}

} // namespace pelmora
