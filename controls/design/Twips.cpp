#include "controls/design/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pelmora {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;

double twipsPerPixel(const QWidget* widget, bool horizontal) {
    double dpi = kDefaultDpi;
    if (widget != nullptr) {
        dpi = horizontal ? widget->logicalDpiX() : widget->logicalDpiY();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    }
    return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

int rounded(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

double TwipsPerPixelX(const QWidget* widget) {
    return twipsPerPixel(widget, true);
}

double TwipsPerPixelY(const QWidget* widget) {
    return twipsPerPixel(widget, false);
}

int PixelsToTwipsX(int pixels, const QWidget* widget) {
    return rounded(pixels * TwipsPerPixelX(widget));
}

int PixelsToTwipsY(int pixels, const QWidget* widget) {
    return rounded(pixels * TwipsPerPixelY(widget));
}

int TwipsToPixelsX(double twips, const QWidget* widget) {
    return rounded(twips / TwipsPerPixelX(widget));
}

int TwipsToPixelsY(double twips, const QWidget* widget) {
    return rounded(twips / TwipsPerPixelY(widget));
}

} // namespace pelmora
