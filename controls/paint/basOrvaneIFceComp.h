#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QWidget;

namespace pelmora {

class PaintEffects;
class ToolTipWindow;

/// The shared painting-effects object of the toolbars, created if there is none.
PaintEffects& EnsurePaintEffects();
/// The shared painting-effects object, or nullptr when none exists.
PaintEffects* SharedPaintEffects();
/// Releases the shared painting-effects object (the last toolbar does this when it ends).
void ReleasePaintEffects();

/// True when the widget under the screen cursor is window itself.
bool IsMouseOverWindow(const QWidget* window);
/// True when the widget at the global position is window itself.
bool IsMouseOverWindowAt(QPoint globalPos, const QWidget* window);

/// Plays sound resources; the default plays them with QSoundEffect, tests count calls.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    /// Starts playing the resource (e.g. ":/sounds/BUTTON_CLICK") without waiting.
    virtual void play(const QString& resourcePath) = 0;
};

/// The player that plays through the sound device; errors (no device) are ignored.
SoundPlayer& DefaultSoundPlayer();

/// Plays the sound resource ":/sounds/<name>" asynchronously when enabled and the resource
/// holds more than one byte; does nothing otherwise. Never throws.
void PlayResourceSound(const QString& name, bool enabled);
/// As above, through the given player.
void PlayResourceSound(const QString& name, bool enabled, SoundPlayer& player);

/// Shows the tooltip window with text just below the screen cursor, kept on the primary
/// screen, for the owner window; font, when given, becomes the window's font. Any tooltip
/// shown is hidden first. Always returns true.
bool ShowToolTip(const QString& text, QWidget* ownerHwnd, const QFont* font = nullptr);
/// ShowToolTip with a given cursor position (global pixels).
bool ShowToolTipAt(QPoint cursor, const QString& text, QWidget* ownerHwnd,
                   const QFont* font = nullptr);
/// Closes the tooltip window if one is shown.
void HideToolTip();
/// The tooltip window while one exists, else nullptr.
ToolTipWindow* CurrentToolTip();

} // namespace pelmora
