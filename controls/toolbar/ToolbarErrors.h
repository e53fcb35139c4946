#pragma once

#include "controls/paint/ControlError.h"

#include <QString>

namespace pelmora::ToolbarErrors {

/// Error numbers the toolbar raises.
enum : int {
    ErrOverflow = 6,
    ErrSubscript = 9,
    ErrInvalidPropertyValue = 380,
    ErrObjectRequired = 424,
    ErrKeyNotFound = 35601,
    ErrAutoSizeWithAlign = static_cast<int>(0x80040001u),
};

/// Throws the control error with the source text "<exe>.<typeName>:<procedure>"; an empty
/// description takes the standard text of the number.
[[noreturn]] void Raise(const QString& typeName, const QString& procedure, int number,
                        const QString& description = {});

/// The designer's message for an error: what a form designer shows instead of raising it.
QString DesignerMessage(int number, const QString& description);

} // namespace pelmora::ToolbarErrors
