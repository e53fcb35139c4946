#pragma once

namespace pelmora {

// Window positions of the popup menus are kept in twips (1/1440 inch) and converted with
// the logical resolution of the primary screen.

/// Twips per pixel horizontally (15 at 96 dpi).
double TwipsPerPixelX();
/// Twips per pixel vertically (15 at 96 dpi).
double TwipsPerPixelY();
/// Pixels to twips, rounded.
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
/// Twips to pixels, rounded.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);

} // namespace pelmora
