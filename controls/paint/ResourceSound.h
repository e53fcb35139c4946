#pragma once

#include <QString>

namespace pelmora {

class SoundPlayer;

/// Plays the sound resource ":/sounds/<name>" asynchronously when enabled and the resource
/// holds more than one byte; does nothing otherwise. Never throws.
void PlayResourceSound(const QString& name, bool enabled);
/// As above, through the given player.
void PlayResourceSound(const QString& name, bool enabled, SoundPlayer& player);

} // namespace pelmora
