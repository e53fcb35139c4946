#include "app/ScreenUnits.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pelmora {

int TwipsToPixels(int twips, const QWidget* widget) {
    double dpi = 96.0;
    if (widget != nullptr) {
        dpi = widget->logicalDpiY();
    } else if (QGuiApplication::primaryScreen() != nullptr) {
        dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    }
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace pelmora
