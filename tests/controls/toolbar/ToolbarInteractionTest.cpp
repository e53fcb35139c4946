// The mouse on the real toolbar: which release clicks, check and group buttons, cancelling,
// right clicks and the beep, the swallowed Click, hover events and the tooltip delay.
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include "controls/paint/ToolTipWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>

namespace pelmora::test {
namespace {

using InteractionTest = ToolbarTest;

QList<int> ClickedIndexes(const QSignalSpy& spy) {
    QList<int> indexes;
    for (const auto& args : spy) {
        indexes << args.at(0).value<int16_t>();
    }
    return indexes;
}

TEST_F(InteractionTest, PressingOnOneButtonAndReleasingOnAnotherClicksTheSecond) {
    AddButtons(6);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    Drag(3, 5);
    ASSERT_EQ(ClickedIndexes(clicks), QList<int>({5}));
    EXPECT_EQ(clicks.at(0).at(1).toString(), "B5");
    EXPECT_EQ(player.plays, 1);
    EXPECT_EQ(player.last, ":/sounds/BUTTON_CLICK");
}

TEST_F(InteractionTest, ClickSoundFollowsPlaySounds) {
    AddButtons(1);
    tb->SetPlaySounds(false);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    ClickAt(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(player.plays, 0);
}

TEST_F(InteractionTest, DisabledButtonsSeparatorsAndPlaceholdersNeverClick) {
    AddButtons(3);
    tb->SetButtonEnabled(1, false);
    tb->SetButtonStyle(2, tbbtSeparator);
    tb->SetButtonStyle(3, tbbtPlaceholder);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    QSignalSpy before(tb.get(), &ToolBar::BeforeButtonClick);
    for (int i = 1; i <= 3; ++i) {
        ClickAt(i);
    }
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(before.count(), 0);
}

TEST_F(InteractionTest, CheckButtonsToggleWithAnyMouseButton) {
    AddButtons(1, tbbtCheck);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    ClickAt(1);
    EXPECT_TRUE(tb->ButtonChecked(1));
    ClickAt(1, Qt::RightButton);
    EXPECT_FALSE(tb->ButtonChecked(1));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(beeps, 0);
}

TEST_F(InteractionTest, CancelStopsTheClickButNotTheToggle) {
    AddButtons(1, tbbtCheck);
    QObject::connect(tb.get(), &ToolBar::BeforeButtonClick,
                     [](int16_t, const QString&, bool& cancel) { cancel = true; });
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    QSignalSpy click(tb.get(), &ToolBar::Click);
    ClickAt(1);
    EXPECT_TRUE(tb->ButtonChecked(1));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(player.plays, 0);
    EXPECT_EQ(click.count(), 1); // not a button click, so the control's own click comes
}

TEST_F(InteractionTest, AGroupButtonUnchecksItsAdjacentRunOnly) {
    AddButtons(6, tbbtButtonGroup);
    tb->SetButtonStyle(1, tbbtButton);
    tb->SetButtonStyle(5, tbbtButton);
    for (int i : {2, 4, 6}) {
        tb->SetButtonChecked(i, true);
    }
    ClickAt(3);
    EXPECT_TRUE(tb->ButtonChecked(3));
    EXPECT_FALSE(tb->ButtonChecked(2));
    EXPECT_FALSE(tb->ButtonChecked(4));
    EXPECT_TRUE(tb->ButtonChecked(6));
    ClickAt(3); // clicking a checked group button leaves it checked
    EXPECT_TRUE(tb->ButtonChecked(3));
}

TEST_F(InteractionTest, AGroupIdChecksTheClickedButtonAndUnchecksTheWholeGroup) {
    AddButtons(4);
    tb->SetButtonStyle(2, tbbtCheck);
    tb->SetButtonStyle(4, tbbtSeparator);
    for (int i = 1; i <= 4; ++i) {
        tb->SetButtonGroupID(i, 7);
    }
    tb->SetButtonChecked(2, true);
    tb->SetButtonChecked(4, true);
    ClickAt(1);
    EXPECT_TRUE(tb->ButtonChecked(1));
    EXPECT_FALSE(tb->ButtonChecked(2));
    EXPECT_FALSE(tb->ButtonChecked(4));
    EXPECT_EQ(tb->CurrentGroupID(7), 1);
}

TEST_F(InteractionTest, RightClicksOnPushButtonsBeepUnlessTheHandlerSaysNo) {
    AddButtons(2);
    bool cancelBeep = false;
    QObject::connect(tb.get(), &ToolBar::ButtonRightClick,
                     [&](int16_t, const QString&, bool& answer) { answer = cancelBeep; });
    QSignalSpy right(tb.get(), &ToolBar::ButtonRightClick);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    ClickAt(2, Qt::RightButton);
    EXPECT_EQ(right.count(), 1);
    EXPECT_EQ(beeps, 1);
    cancelBeep = true;
    ClickAt(2, Qt::RightButton);
    EXPECT_EQ(right.count(), 2);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(clicks.count(), 0);

    QSignalSpy rightOnBar(tb.get(), &ToolBar::RightClick);
    const QPoint empty(300, 15);
    MoveTo(empty);
    QTest::mousePress(tb.get(), Qt::RightButton, {}, empty);
    QTest::mouseRelease(tb.get(), Qt::RightButton, {}, empty);
    EXPECT_EQ(rightOnBar.count(), 1);
}

TEST_F(InteractionTest, AButtonClickSwallowsTheNextControlClickOnly) {
    AddButtons(1);
    QSignalSpy click(tb.get(), &ToolBar::Click);
    ClickAt(1);
    EXPECT_EQ(click.count(), 0);
    const QPoint empty(300, 15);
    MoveTo(empty);
    QTest::mouseClick(tb.get(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(click.count(), 1);
}

TEST_F(InteractionTest, RightClickedCheckAndGroupButtonsLeaveTheNextControlClick) {
    AddButtons(2, tbbtCheck);
    tb->SetButtonStyle(2, tbbtButtonGroup);
    QSignalSpy click(tb.get(), &ToolBar::Click);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    const QPoint empty(300, 15);
    for (int button : {1, 2}) {
        ClickAt(button, Qt::RightButton);
        MoveTo(empty);
        QTest::mouseClick(tb.get(), Qt::LeftButton, {}, empty);
    }
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(click.count(), 2);
}

// The window system's double click is a press, a release, a double click and a release.
// The double click only raises DblClick, so the button is clicked once; a disabled bar takes
// none of it.
TEST_F(InteractionTest, ADoubleClickClicksOnceAndADisabledBarTakesNoMouse) {
    AddButtons(1);
    QSignalSpy clicks(tb.get(), &ToolBar::ButtonClick);
    QSignalSpy downs(tb.get(), &ToolBar::MouseDown);
    QSignalSpy doubles(tb.get(), &ToolBar::DblClick);
    const auto doubleClick = [&] {
        ClickAt(1);
        QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(Centre(1)),
                           QPointF(tb->mapToGlobal(Centre(1))), Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(tb.get(), &second);
        QTest::mouseRelease(tb.get(), Qt::LeftButton, {}, Centre(1));
    };
    const auto counts = [&] {
        return QList<qsizetype>{clicks.count(), downs.count(), doubles.count()};
    };
    doubleClick();
    EXPECT_EQ(counts(), QList<qsizetype>({1, 1, 1}));
    tb->setEnabled(false);
    doubleClick();
    EXPECT_EQ(counts(), QList<qsizetype>({1, 1, 1}));
}

TEST_F(InteractionTest, MouseMoveIsRaisedOnlyOverNoButtonAndMouseOverOnEntering) {
    AddButtons(3);
    tb->SetButtonEnabled(2, false);
    tb->SetButtonStyle(3, tbbtSeparator);
    QSignalSpy moves(tb.get(), &ToolBar::MouseMove);
    QSignalSpy over(tb.get(), &ToolBar::ButtonMouseOver);
    MoveTo(Centre(1));
    MoveTo(Centre(1) + QPoint(1, 0));
    EXPECT_EQ(over.count(), 1);
    EXPECT_EQ(tb->HotButton(), 1);
    const QImage before = tb->Surface().copy();
    MoveTo(Centre(2)); // disabled: the event comes, the button is not drawn hot
    EXPECT_EQ(over.count(), 2);
    const QRect r2(tb->ButtonClientLeft(2), 2, tb->ButtonClientWidth(2), 26);
    EXPECT_EQ(tb->Surface().copy(r2), before.copy(r2));
    MoveTo(Centre(3)); // an enabled separator raises nothing
    EXPECT_EQ(over.count(), 2);
    EXPECT_EQ(moves.count(), 0);
    MoveTo(QPoint(300, 15));
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(tb->HotButton(), 0);
    EXPECT_FLOAT_EQ(tb->MouseX(), 300);
}

TEST_F(InteractionTest, LeavingTheControlClearsTheHotButtonAndThePosition) {
    AddButtons(1);
    MoveTo(Centre(1));
    EXPECT_EQ(tb->HotButton(), 1);
    QCursor::setPos(10, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tb->HotButton() == 0; }, 5000));
    EXPECT_FLOAT_EQ(tb->MouseX(), 0);
    EXPECT_FLOAT_EQ(tb->MouseY(), 0);
}

TEST_F(InteractionTest, TheTooltipComesOnceAboutASecondAfterTheMouseRests) {
    AddButtons(2);
    tb->SetButtonToolTipText(1, "First tip");
    QElapsedTimer resting;
    resting.start();
    MoveTo(Centre(1));
    EXPECT_TRUE(tb->Interaction().TipArmed());
    QTest::qWait(300);
    EXPECT_EQ(CurrentToolTip(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([] { return CurrentToolTip() != nullptr; }, 5000));
    EXPECT_GE(resting.elapsed(), 900); // about a second: coarse timers may fire 5% early
    ToolTipWindow* tip = CurrentToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->label()->text(), "First tip");
    EXPECT_FALSE(tb->Interaction().TipArmed()); // shown once per arming
    MoveTo(Centre(1) + QPoint(1, 1));
    EXPECT_FALSE(tb->Interaction().TipArmed());
    MoveTo(Centre(2)); // no text: nothing armed, the tip closes
    EXPECT_FALSE(tb->Interaction().TipArmed());
    EXPECT_EQ(CurrentToolTip(), nullptr);
}

TEST_F(InteractionTest, NoTooltipWhenTooltipsAreOffOrTheMouseWasPressed) {
    AddButtons(1);
    tb->SetButtonToolTipText(1, "Tip");
    tb->SetShowToolTips(false);
    MoveTo(Centre(1));
    EXPECT_FALSE(tb->Interaction().TipArmed());
    tb->SetShowToolTips(true);
    MoveTo(QPoint(300, 15));
    MoveTo(Centre(1));
    EXPECT_TRUE(tb->Interaction().TipArmed());
    QTest::mousePress(tb.get(), Qt::LeftButton, {}, Centre(1));
    QTest::mouseRelease(tb.get(), Qt::LeftButton, {}, Centre(1));
    EXPECT_FALSE(tb->Interaction().TipArmed());
}

TEST(ToolbarDocking, AGripperDragNeverClicksAndMovesTheBarInItsContainer) {
    QWidget container;
    container.setGeometry(50, 50, 600, 100);
    auto* bar = new ToolBar; // the container takes it over
    bar->SetHWndContainer(&container);
    EXPECT_EQ(bar->parentWidget(), &container);
    bar->setGeometry(0, 0, 300, 30);
    bar->AddButton();
    container.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&container));
    QSignalSpy clicks(bar, &ToolBar::ButtonClick);
    int docked = 0;
    QObject::connect(bar, &ToolBar::DockingToolbar, [&](int32_t&, int32_t&) { ++docked; });
    QTest::mouseMove(bar, QPoint(5, 15));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_TRUE(bar->Interaction().Dragging());
    QCursor::setPos(container.mapToGlobal(QPoint(45, 15)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->CTLLeft() == 40; }, 5000));
    EXPECT_GT(docked, 0);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_FALSE(bar->Interaction().Dragging());
    EXPECT_EQ(clicks.count(), 0);
    QCursor::setPos(0, 0);
}

} // namespace
} // namespace pelmora::test
