#include "controls/toolbar/MousePointers.h"

#include <QPixmap>

#include <array>

namespace pelmora {

std::optional<QCursor> MousePointerCursor(int16_t pointer, const OlePicture& icon) {
    // Indexed by the pointer value; 0, the default, has no cursor of its own.
    static constexpr std::array<Qt::CursorShape, 16> kShapes{
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (pointer >= 1 && pointer < static_cast<int>(kShapes.size())) {
        return QCursor(kShapes[pointer]);
    }
    if (pointer == 99 && !icon.isNone()) {
        return QCursor(QPixmap::fromImage(icon.image()));
    }
    return std::nullopt;
}

} // namespace pelmora
