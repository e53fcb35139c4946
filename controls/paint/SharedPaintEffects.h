#pragma once
// The one painting-effects object all toolbars share: the first toolbar creates it, the last
// one releases it.

namespace pelmora {

class PaintEffects;

/// The shared painting-effects object of the toolbars, created if there is none.
PaintEffects& EnsurePaintEffects();
/// The shared painting-effects object, or nullptr when none exists.
PaintEffects* SharedPaintEffects();
/// Releases the shared painting-effects object (the last toolbar does this when it ends).
void ReleasePaintEffects();

} // namespace pelmora
