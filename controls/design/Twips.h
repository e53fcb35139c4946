#pragma once
// The one conversion between twips (1/1440 inch), in which stored designs keep positions and
// sizes, and pixels: 1440 / logical DPI twips to the pixel (15 at 96 dpi). The DPI is the
// widget's when one is given, else the primary screen's, else 96.

class QWidget;

namespace pelmora {

/// Twips per pixel horizontally.
double TwipsPerPixelX(const QWidget* widget = nullptr);
/// Twips per pixel vertically.
double TwipsPerPixelY(const QWidget* widget = nullptr);
/// Pixels to twips, rounded.
int PixelsToTwipsX(int pixels, const QWidget* widget = nullptr);
/// Pixels to twips, rounded.
int PixelsToTwipsY(int pixels, const QWidget* widget = nullptr);
/// Twips to pixels, rounded.
int TwipsToPixelsX(double twips, const QWidget* widget = nullptr);
/// Twips to pixels, rounded.
int TwipsToPixelsY(double twips, const QWidget* widget = nullptr);

} // namespace pelmora
