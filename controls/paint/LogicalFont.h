#pragma once

#include <QFont>
#include <QString>

#include <optional>

namespace pelmora {

/// The created font: the logical-font fields the platform would be given, and the QFont to
/// draw with (pixel-sized; the rotation is applied by the painter, counter-clockwise by
/// escapement / 10 degrees).
struct LogFontHandle {
    int height = 0;      ///< -(size in pixels at the screen's logical DPI)
    int width = 0;       ///< always 0
    int escapement = 0;  ///< rotation in tenths of a degree
    int orientation = 0; ///< same as escapement
    int weight = 400;    ///< 100..900
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;      ///< 255 (OEM) becomes 0 (ANSI) when rotated
    int outPrecision = 0; ///< 7 (TrueType only) when rotated, else 0
    int clipPrecision = 0;
    int quality = 2; ///< proof
    int pitchAndFamily = 0;
    QString faceName; ///< at most 32 characters
    QFont font;       ///< the font to draw with
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
