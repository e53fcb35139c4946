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
    int number() const { return m_number; }
    /// The description, e.g. "Invalid picture".
    const QString& description() const { return m_description; }
    /// The source text, e.g. "pelmora.gdcMemoryBitmap:CreateByPicture".
    const QString& source() const { return m_source; }

    /// The executable's name, ".", the class name, ":" and the procedure name.
    static QString sourceText(const QString& className, const QString& procedure);
    /// The standard text for an error number (empty when none is known).
    static QString standardText(int number);

private:
    int m_number;
    QString m_description;
    QString m_source;
};

} // namespace pelmora
