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
    m_font = copy;
    m_charset = charset;
    createHandle();
}

void LogicalFont::clearLogFont() {
    m_font.reset();
    m_handle.reset();
}

void LogicalFont::setRotation(float degrees) {
    if (degrees == m_rotation) {
        return;
    }
    m_rotation = degrees;
    if (m_font) {
        createHandle();
    }
}

void LogicalFont::createHandle() {
    m_handle.reset();
    if (!m_font) {
        return;
    }
    LogFontHandle h;
    const double dpi = screenDpiY();
    h.lfHeight = -RoundHalfEven(m_font->pointSizeF() * dpi / 72.0);
    h.lfWidth = 0;
    h.lfEscapement = RoundHalfEven(double(m_rotation) * 10.0);
    h.lfOrientation = h.lfEscapement;
    h.lfWeight = m_font->weight();
    h.lfItalic = m_font->italic();
    h.lfUnderline = m_font->underline();
    h.lfStrikeOut = m_font->strikeOut();
    h.lfFaceName = m_font->family().left(32);
    // Only TrueType fonts rotate; OEM fonts are raster fonts, so a rotated font asks for
    // ANSI and TrueType output.
    const bool rotated = h.lfEscapement % 3600 != 0;
    h.lfCharSet = (m_charset == OemCharset && rotated) ? 0 : m_charset;
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
    m_handle = h;
}

} // namespace pelmora
