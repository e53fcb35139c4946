#pragma once

#include "controls/paint/OlePicture.h"

#include <QCursor>
#include <cstdint>
#include <optional>

namespace pelmora {

/// The cursor for a MousePointer value (0 default, 1 arrow, 2 cross, 3 I-beam, 4 icon,
/// 5 size all, 6 NE-SW, 7 N-S, 8 NW-SE, 9 W-E, 10 up arrow, 11 hourglass, 12 no drop,
/// 13 arrow and hourglass, 14 arrow and question mark, 15 size all, 99 the custom icon);
/// nothing for 0, for unknown values and for 99 without an icon.
std::optional<QCursor> MousePointerCursor(int16_t pointer, const OlePicture& icon);

} // namespace pelmora
