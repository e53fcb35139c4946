#include "controls/paint/ResourceSound.h"

#include "controls/paint/SoundPlayer.h"

#include <QFile>

namespace pelmora {

void PlayResourceSound(const QString& name, bool enabled) {
    PlayResourceSound(name, enabled, DefaultSoundPlayer());
}

void PlayResourceSound(const QString& name, bool enabled, SoundPlayer& player) {
    if (!enabled) {
        return;
    }
    try {
        const QString path = QStringLiteral(":/sounds/") + name;
        QFile resource(path);
        if (resource.exists() && resource.size() > 1) {
            player.play(path);
        }
    } catch (...) {
        // A missing click must never disturb the click itself.
    }
}

} // namespace pelmora
