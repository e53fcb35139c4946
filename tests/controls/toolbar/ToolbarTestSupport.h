#pragma once
// Shared set-up of the toolbar tests: a real toolbar shown on the offscreen screen, and
// helpers that read its surface and drive it with the mouse.

#include "controls/paint/Drawing.h"
#include "controls/paint/SoundPlayer.h"
#include "controls/paint/ToolTipWindow.h"
#include "controls/toolbar/ToolBar.h"
#include "controls/toolbar/ToolbarInteraction.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace pelmora::test {

/// Counts the sounds a toolbar plays.
class CountingPlayer : public SoundPlayer {
public:
    void play(const QString& resourcePath) override {
        ++plays;
        last = resourcePath;
    }
    int plays = 0;
    QString last;
};

/// A shown toolbar with a sound counter and a beep counter.
class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCursor::setPos(0, 0);
        tb = std::make_unique<ToolBar>();
        tb->SetSoundPlayer(&player);
        tb->SetBeeper([this] { ++beeps; });
        tb->setGeometry(100, 100, 400, 30);
        tb->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tb.get()));
    }
    void TearDown() override {
        tb.reset();
        HideToolTip();
        QCursor::setPos(0, 0);
    }

    /// Adds count push buttons keyed "B1", "B2", ... without pictures or captions.
    void AddButtons(int count, int32_t style = tbbtButton) {
        for (int i = 0; i < count; ++i) {
            const int index = tb->AddButton();
            tb->SetButtonKey(index, QStringLiteral("B%1").arg(index));
            tb->SetButtonStyle(index, style);
        }
    }
    /// The centre of a button.
    QPoint Centre(int index) {
        return QPoint(tb->ButtonClientLeft(index) + tb->ButtonClientWidth(index) / 2,
                      tb->ButtonClientTop(index) + tb->ButtonClientHeight(index) / 2);
    }
    /// Moves the mouse (and the screen cursor) over a point of the toolbar.
    void MoveTo(QPoint p) { QTest::mouseMove(tb.get(), p); }
    /// Presses at one button and releases at another (the cursor follows).
    void Drag(int from, int to, Qt::MouseButton button = Qt::LeftButton) {
        MoveTo(Centre(from));
        QTest::mousePress(tb.get(), button, {}, Centre(from));
        QTest::mouseRelease(tb.get(), button, {}, Centre(to));
    }
    void ClickAt(int index, Qt::MouseButton button = Qt::LeftButton) { Drag(index, index, button); }
    /// The surface pixel as 0x00BBGGRR.
    ColorRef Pixel(int x, int y) { return RgbToColorRef(tb->Surface().pixel(x, y)); }
    /// An OLE colour as 0x00BBGGRR.
    static ColorRef Colour(OleColor c) { return TranslateOleColor(c); }

    CountingPlayer player;
    int beeps = 0;
    std::unique_ptr<ToolBar> tb;
};

} // namespace pelmora::test
