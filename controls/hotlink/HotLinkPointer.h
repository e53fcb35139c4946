#pragma once
// The hyperlink label's own pointer: a pointing hand drawn here, so the control needs
// no picture file and looks the same on every desktop theme.

#include <QCursor>

namespace pelmora {

/// Width and height of the pointer picture, in pixels.
inline constexpr int kHotLinkPointerSize = 32;

/// The 32 x 32 monochrome pointing-hand pointer, hot spot at the finger tip.
QCursor HotLinkPointer();

} // namespace pelmora
