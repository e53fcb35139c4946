#include "controls/paint/ResourceSound.h"
#include "controls/paint/SoundPlayer.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

class CountingPlayer : public SoundPlayer {
public:
    void play(const QString& resourcePath) override { played.append(resourcePath); }
    QStringList played;
};

TEST(PlayResourceSound, PlaysOnlyWhenEnabledAndTheResourceExists) {
    QFile click(QStringLiteral(":/sounds/BUTTON_CLICK"));
    ASSERT_TRUE(click.exists());
    EXPECT_GT(click.size(), 44) << "a wave header and samples";

    CountingPlayer player;
    PlayResourceSound(QStringLiteral("BUTTON_CLICK"), false, player);
    EXPECT_TRUE(player.played.isEmpty());
    PlayResourceSound(QStringLiteral("NO_SUCH_SOUND"), true, player);
    EXPECT_TRUE(player.played.isEmpty());
    PlayResourceSound(QStringLiteral("BUTTON_CLICK"), true, player);
    EXPECT_EQ(player.played, QStringList{QStringLiteral(":/sounds/BUTTON_CLICK")});
    // The real player on a machine that may have no sound device: nothing is raised.
    EXPECT_NO_THROW(PlayResourceSound(QStringLiteral("BUTTON_CLICK"), true));
}

} // namespace
} // namespace pelmora
