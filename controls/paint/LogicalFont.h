#pragma once

#include "controls/design/ValueTable.h"

#include <QFont>
#include <QString>

#include <optional>

namespace pelmora {

// The created font's values, one row each: the logical-font fields the platform would be
// given, and the QFont to draw with (pixel-sized; the rotation is applied by the painter,
// counter-clockwise by escapement / 10 degrees):
//   ROW(type, name, unused, default)
// Height: -(size in pixels at the screen's logical DPI). Width: always 0. Escapement: rotation
// in tenths of a degree; Orientation the same. Weight: 100..900. CharSet: 255 (OEM) becomes
// 0 (ANSI) when rotated. OutPrecision: 7 (TrueType only) when rotated, else 0. Quality: 2,
// proof. FaceName: at most 32 characters.
#define PELMORA_LOG_FONT_VALUES(ROW)                                                               \
    ROW(int, Height, , 0)                                                                          \
    ROW(int, Width, , 0)                                                                           \
    ROW(int, Escapement, , 0)                                                                      \
    ROW(int, Orientation, , 0)                                                                     \
    ROW(int, Weight, , 400)                                                                        \
    ROW(bool, Italic, , false)                                                                     \
    ROW(bool, Underline, , false)                                                                  \
    ROW(bool, StrikeOut, , false)                                                                  \
    ROW(int, CharSet, , 0)                                                                         \
    ROW(int, OutPrecision, , 0)                                                                    \
    ROW(int, ClipPrecision, , 0)                                                                   \
    ROW(int, Quality, , 2)                                                                         \
    ROW(int, PitchAndFamily, , 0)                                                                  \
    ROW(QString, FaceName, , QString())                                                            \
    ROW(QFont, Font, , QFont())

/// The created font.
class LogFontHandle {
public:
    PELMORA_LOG_FONT_VALUES(PELMORA_VALUE_ACCESSORS)

private:
    PELMORA_LOG_FONT_VALUES(PELMORA_VALUE_FIELD)
};

/// A private copy of a font with a rotation, and the font created from them (used for the
/// vertical captions of toolbars).
class LogicalFont {
public:
    /// The charset the platform calls OEM.
    static constexpr int OemCharset = 255;

    /// The copied font, or nothing.
    const std::optional<QFont>& LogFont() const { return font_; }
    /// The charset of the copied font.
    int Charset() const { return charset_; }
    /// Copies font (name, size, bold, italic, underline, strikethrough, weight and charset)
    /// and creates the font handle again.
    void setLogFont(const QFont& font, int charset = 0);
    /// Drops the copy and the handle.
    void clearLogFont();

    /// The rotation in degrees (initially 0).
    float Rotation() const { return rotation_; }
    /// Sets the rotation; recreates the handle when a font is set and the value changed.
    void setRotation(float degrees);

    /// The created font, or nullptr when there is no font.
    const LogFontHandle* handle() const { return handle_ ? &*handle_ : nullptr; }

private:
    void createHandle();

    std::optional<QFont> font_;
    int charset_ = 0;
    float rotation_ = 0.0f;
    std::optional<LogFontHandle> handle_;
};

} // namespace pelmora
