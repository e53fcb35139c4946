#pragma once
// Sizes of the window's layout are given in twips, as the stored designs give them.

class QWidget;

namespace pelmora {

/// twips (1/1440 inch) as pixels of widget's screen, rounded.
int TwipsToPixels(int twips, const QWidget* widget = nullptr);

} // namespace pelmora
