#pragma once

#include "controls/design/PropertyBag.h"
#include "controls/toolbar/ButtonCollection.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QFont>

namespace pelmora::ToolbarDesign {

/// Reads a toolbar's stored design in its key order. Every value that is missing, of the
/// wrong type or out of range takes its default; the buttons are replaced by the stored ones.
void Read(const PropertyBag& bag, const QFont& ambientFont, ToolbarProperties& p,
          ButtonCollection& buttons);

/// Writes a toolbar's stored design in its key order, the buttons last; values equal to
/// their defaults are left out (ButtonCount is always written).
void Write(PropertyBag& bag, const ToolbarProperties& p, const QFont& ambientFont,
           const ButtonCollection& buttons);

} // namespace pelmora::ToolbarDesign
