#pragma once

#include <QString>

namespace pelmora {

/// Plays sound resources; the default plays them with QSoundEffect, tests count calls.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    /// Starts playing the resource (e.g. ":/sounds/BUTTON_CLICK") without waiting.
    virtual void play(const QString& resourcePath) = 0;
};

/// The player that plays through the sound device; errors (no device) are ignored.
SoundPlayer& DefaultSoundPlayer();

} // namespace pelmora
