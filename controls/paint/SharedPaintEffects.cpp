#include "controls/paint/SharedPaintEffects.h"

#include "controls/paint/PaintEffects.h"

#include <memory>

namespace pelmora {

namespace {

std::unique_ptr<PaintEffects>& sharedEffects() {
    static std::unique_ptr<PaintEffects> effects;
    return effects;
}

} // namespace

PaintEffects& EnsurePaintEffects() {
    auto& effects = sharedEffects();
    if (!effects) {
        effects = std::make_unique<PaintEffects>();
    }
    return *effects;
}

PaintEffects* SharedPaintEffects() {
    return sharedEffects().get();
}

void ReleasePaintEffects() {
    sharedEffects().reset();
}

} // namespace pelmora
