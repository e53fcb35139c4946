#include "controls/menu/MenuTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace pelmora {

namespace {
double twipsPerPixel(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi =
        screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY())
               : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}
} // namespace

double TwipsPerPixelX() {
    return twipsPerPixel(true);
}

double TwipsPerPixelY() {
    return twipsPerPixel(false);
}

int PixelsToTwipsX(int pixels) {
    return static_cast<int>(std::lround(pixels * TwipsPerPixelX()));
}

int PixelsToTwipsY(int pixels) {
    return static_cast<int>(std::lround(pixels * TwipsPerPixelY()));
}

int TwipsToPixelsX(int twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}

int TwipsToPixelsY(int twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

} // namespace pelmora
