#pragma once

#include <QString>
#include <stdexcept>

namespace pelmora {

/// The one error type the controls raise: a number, a description and a source text
/// naming the executable, the control or class and the procedure.
class ControlError : public std::runtime_error {
public:
    /// An empty description is replaced by the standard text of the number.
    ControlError(int number, const QString& description, const QString& source);

    /// The error number, e.g. 481.
    int number() const { return number_; }
    /// The description, e.g. "Invalid picture".
    const QString& description() const { return description_; }
    /// The source text, e.g. "pelmora.gdcMemoryBitmap:CreateByPicture".
    const QString& source() const { return source_; }

    /// The executable's name, ".", the class name, ":" and the procedure name.
    static QString sourceText(const QString& className, const QString& procedure);
    /// The standard text for an error number (empty when none is known).
    static QString standardText(int number);

private:
    int number_;
    QString description_;
    QString source_;
};

} // namespace pelmora
