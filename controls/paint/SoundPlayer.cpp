#include "controls/paint/SoundPlayer.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace pelmora {

namespace {

class EffectPlayer : public SoundPlayer {
public:
    void play(const QString& resourcePath) override {
        if (!QCoreApplication::instance()) {
            return;
        }
        // One effect per sound, owned by the application so it outlives the asynchronous
        // playback and goes away with the application.
        QPointer<QSoundEffect>& effect = effects_[resourcePath];
        if (!effect) {
            effect = new QSoundEffect(QCoreApplication::instance());
            effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
        }
        effect->play();
    }

private:
    QHash<QString, QPointer<QSoundEffect>> effects_;
};

} // namespace

SoundPlayer& DefaultSoundPlayer() {
    static EffectPlayer player;
    return player;
}

} // namespace pelmora
