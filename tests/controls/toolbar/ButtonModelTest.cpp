// Buttons addressed by index or key, adding, deleting and moving them, the indexed
// properties with their change notices, the group rules and the numbered errors.
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include <QSignalSpy>

namespace pelmora::test {
namespace {

using ButtonModelTest = ToolbarTest;

QStringList Keys(ToolBar& tb) {
    QStringList keys;
    for (int i = 1; i <= tb.ButtonCount(); ++i) {
        keys << tb.ButtonKey(i);
    }
    return keys;
}

void ExpectError(const std::function<void()>& action, int number, const QString& procedure,
                 const QString& typeName = "xToolbar") {
    try {
        action();
        ADD_FAILURE() << "no error " << number;
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_TRUE(e.source().endsWith("." + typeName + ":" + procedure))
            << e.source().toStdString();
    }
}

TEST_F(ButtonModelTest, KeysAreFoundWithoutCaseAndTheFirstMatchWins) {
    AddButtons(5);
    tb->SetButtonKey(2, "Open");
    tb->SetButtonKey(5, "OPEN");
    EXPECT_EQ(tb->KeyToIndex("open"), 2);
    EXPECT_EQ(tb->KeyToIndex(QStringLiteral("oPeN")), 2);
}

TEST_F(ButtonModelTest, NumbersAndLeadingNumbersAreIndexesWithoutARangeCheck) {
    AddButtons(3);
    tb->SetButtonKey(1, "12");
    EXPECT_EQ(tb->KeyToIndex("7"), 7);
    EXPECT_EQ(tb->KeyToIndex(7), 7);
    EXPECT_EQ(tb->KeyToIndex("3abc"), 3);
    EXPECT_EQ(tb->KeyToIndex("12"), 12); // a key that reads as a number is an index
    EXPECT_EQ(tb->KeyToIndex(" 2 "), 2);
    EXPECT_EQ(tb->KeyToIndex(2.5), 2); // halves to even
    EXPECT_EQ(tb->KeyToIndex(0), 0);
    EXPECT_EQ(tb->KeyToIndex("-1"), -1);
}

TEST_F(ButtonModelTest, UnknownEmptyAndZeroTextKeysRaise35601) {
    AddButtons(2);
    for (const QVariant& key : {QVariant("nothing"), QVariant(""), QVariant("0")}) {
        try {
            tb->KeyToIndex(key);
            ADD_FAILURE() << "no error for " << key.toString().toStdString();
        } catch (const ControlError& e) {
            EXPECT_EQ(e.number(), 35601);
            EXPECT_EQ(e.description(), "Element not found. Key is missing or illegal.");
            EXPECT_TRUE(e.source().endsWith(".xToolbar:KeyToIndex"));
        }
    }
    ExpectError([&] { tb->KeyToIndex("99999"); }, 6, "KeyToIndex");
}

TEST_F(ButtonModelTest, SwapMovesOneButtonAndShiftsTheOthers) {
    AddButtons(5);
    EXPECT_EQ(tb->SwapButton(2, 5), 5);
    EXPECT_EQ(Keys(*tb), QStringList({"B1", "B3", "B4", "B5", "B2"}));
    EXPECT_EQ(tb->SwapButton(5, 1), 1);
    EXPECT_EQ(Keys(*tb), QStringList({"B2", "B1", "B3", "B4", "B5"}));
    EXPECT_EQ(tb->SwapButton("b3", "B3"), 3);
    EXPECT_EQ(Keys(*tb), QStringList({"B2", "B1", "B3", "B4", "B5"}));
    ExpectError([&] { tb->SwapButton(0, 2); }, 380, "SwapButton");
    ExpectError([&] { tb->SwapButton(1, 6); }, 380, "SwapButton");
}

TEST_F(ButtonModelTest, DeleteRemovesOneButtonAndRefusesBadIndexes) {
    AddButtons(3);
    QSignalSpy changed(tb.get(), &ToolBar::PropertyChanged);
    EXPECT_EQ(tb->DeleteButton(2), 2);
    EXPECT_EQ(Keys(*tb), QStringList({"B1", "B3"}));
    EXPECT_TRUE(changed.contains(QVariantList{"ButtonCount"}));
    ExpectError([&] { tb->DeleteButton(0); }, 380, "DeleteButton");
    ExpectError([&] { tb->DeleteButton(3); }, 380, "DeleteButton");
    EXPECT_EQ(tb->ButtonCount(), 2);
    EXPECT_EQ(tb->DeleteButton("b3"), 1);
}

TEST_F(ButtonModelTest, AddButtonGivesAnEnabledVisiblePushButtonWithAMagentaMask) {
    EXPECT_EQ(tb->AddButton(), 1);
    EXPECT_EQ(tb->ButtonStyle(1), tbbtButton);
    EXPECT_TRUE(tb->ButtonEnabled(1));
    EXPECT_TRUE(tb->ButtonVisible(1));
    EXPECT_TRUE(tb->ButtonUseMaskColor(1));
    EXPECT_EQ(tb->ButtonMaskColor(1), OleRgb(255, 0, 255));
    EXPECT_FALSE(tb->ButtonChecked(1));
    EXPECT_EQ(tb->AddButtonEx("k", tbbtCheck, OlePicture(), "tip", 0, false, "Cap", true, false, 4,
                              false),
              2);
    EXPECT_EQ(tb->ButtonToolTipText("K"), "tip");
    EXPECT_TRUE(tb->ButtonChecked(2));
    EXPECT_FALSE(tb->ButtonEnabled(2));
    EXPECT_FALSE(tb->ButtonVisible(2));
    EXPECT_FLOAT_EQ(tb->ButtonPlaceholderWidth(2), 4);
}

TEST_F(ButtonModelTest, ThereIsRoomForExactly32767Buttons) {
    tb->SetRedraw(false);
    for (int i = 0; i < 32767; ++i) {
        tb->AddButton();
    }
    EXPECT_EQ(tb->ButtonCount(), 32767);
    ExpectError([&] { tb->AddButton(); }, 6, "AddButtonEx");
    EXPECT_EQ(tb->ButtonCount(), 32767);
}

TEST_F(ButtonModelTest, IndexedPropertiesOutsideTheArrayRaise9AndChangeNothing) {
    AddButtons(2);
    ExpectError([&] { tb->ButtonCaption(3); }, 9, "ButtonCaption");
    ExpectError([&] { tb->SetButtonEnabled(-1, false); }, 9, "ButtonEnabled");
    ExpectError([&] { tb->Button(5); }, 9, "Button");
    ExpectError([&] { tb->Button(1).APicture(3); }, 9, "APicture", "clsBSButton");
    EXPECT_TRUE(tb->ButtonEnabled(1));
    EXPECT_TRUE(tb->ButtonEnabled(2));
}

TEST_F(ButtonModelTest, ChangeNoticesNameThePropertyAndSomeTheIndex) {
    AddButtons(3);
    QSignalSpy changed(tb.get(), &ToolBar::PropertyChanged);
    tb->SetButtonChecked(3, true);
    tb->SetButtonPictureOver(2, OlePicture());
    tb->SetButtonPictureDown(1, OlePicture());
    tb->SetButtonCaption(2, "x");
    QStringList names;
    for (const auto& args : changed) {
        names << args.at(0).toString();
    }
    EXPECT_EQ(names, QStringList({"ButtonChecked3", "ButtonPictureOver2", "ButtonPictureDown1",
                                  "ButtonCaption"}));
}

TEST_F(ButtonModelTest, WritingTheSameEnabledValueRepaintsAndSignalsNothing) {
    AddButtons(1);
    QSignalSpy changed(tb.get(), &ToolBar::PropertyChanged);
    // Draw over the button: only a repaint would restore it.
    QImage& surface = const_cast<QImage&>(tb->Surface());
    surface.setPixel(Centre(1), qRgb(1, 2, 3));
    tb->SetButtonEnabled(1, true);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(tb->Surface().pixel(Centre(1)), qRgb(1, 2, 3));
    tb->SetButtonEnabled(1, false);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_NE(tb->Surface().pixel(Centre(1)), qRgb(1, 2, 3));
}

TEST_F(ButtonModelTest, CheckedWritesIgnoreGroupsAndCurrentGroupIdFindsTheLastChecked) {
    AddButtons(6);
    for (int i : {2, 4, 6}) {
        tb->SetButtonGroupID(i, 5);
    }
    tb->SetButtonChecked(2, true);
    tb->SetButtonChecked(6, true);
    EXPECT_TRUE(tb->ButtonChecked(2)); // no group rule on a plain write
    EXPECT_EQ(tb->CurrentGroupID(5), 6);
    EXPECT_EQ(tb->CurrentGroupID(3), 0);
}

TEST_F(ButtonModelTest, ForceClickRaisesButtonClickAndAppliesTheGroupOnly) {
    AddButtons(4);
    tb->SetButtonStyle(1, tbbtCheck);
    tb->SetButtonGroupID(2, 7);
    tb->SetButtonStyle(3, tbbtSeparator);
    tb->SetButtonGroupID(3, 7);
    tb->SetButtonChecked(3, true);
    tb->SetButtonEnabled(2, false);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    tb->ForceClick("b2");
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<int16_t>(), 2);
    EXPECT_EQ(clicks.at(0).at(1).toString(), "B2");
    EXPECT_TRUE(tb->ButtonChecked(2));
    EXPECT_FALSE(tb->ButtonChecked(3)); // any style in the group
    tb->ForceClick(1);
    EXPECT_FALSE(tb->ButtonChecked(1)); // a check button is not toggled
    EXPECT_EQ(player.plays, 0);
    try {
        tb->ForceClick(5);
        ADD_FAILURE() << "ForceClick(5) accepted";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_EQ(e.description(), "Invalid Key or Index value");
        EXPECT_TRUE(e.source().endsWith(".xToolbar:ForceClick"));
    }
}

TEST_F(ButtonModelTest, SendClickAndSendRestoreEventOnlyRaiseTheirEvents) {
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    int x = 0, y = 0;
    QObject::connect(tb.get(), &ToolBar::DockingWindow, [&](int32_t& dockX, int32_t& dockY) {
        x = dockX;
        y = dockY;
    });
    tb->SendClick(9, "floating");
    tb->SendRestoreEvent(1, 20, 30);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<int16_t>(), 9);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
}

} // namespace
} // namespace pelmora::test
