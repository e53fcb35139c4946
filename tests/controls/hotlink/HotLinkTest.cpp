#include "controls/hotlink/HotLink.h"
#include "controls/hotlink/HotLinkPointer.h"

#include <QApplication>
#include <QBitmap>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace pelmora {
namespace {

QColor TextColor(const HotLink& link) {
    return link.CaptionLabel()->palette().color(QPalette::WindowText);
}

QJsonObject Saved(HotLink& link) {
    PropertyBag bag;
    link.SaveDesign(bag);
    return bag.ToObject();
}

// A shown host window with one hyperlink label in its top-left area and room around
// it, so the pointer can leave the label while staying in the window.
class HotLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(400, 200);
        link = new HotLink(host.get());
        link->move(50, 50);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        // The window system drops a movement to where the pointer already is, and an
        // earlier test may have left it on a point this test moves to first: every test
        // starts with the pointer on a corner of the host that no test moves to.
        MoveTo(QPoint(4, 4));
        MoveTo(QPoint(5, 5));
    }
    void TearDown() override {
        if (QWidget::mouseGrabber() != nullptr) {
            QWidget::mouseGrabber()->releaseMouse();
        }
    }

    QWindow* Window() const { return host->windowHandle(); }
    // A real pointer movement through the window system, at a point of the host.
    void MoveTo(QPoint hostPoint) { QTest::mouseMove(Window(), hostPoint); }
    float TwipsX() const { return 1440.0f / static_cast<float>(link->logicalDpiX()); }

    std::unique_ptr<QWidget> host;
    HotLink* link = nullptr;
};

TEST_F(HotLinkTest, LoadedWithoutKeysShowsDefaultAddressInBlackAndTurnsBlueOnHover) {
    link->LoadDesign(PropertyBag());
    EXPECT_EQ(link->CaptionLabel()->text(), HotLink::kDefaultCaption);
    EXPECT_EQ(TextColor(*link), QColor(Qt::black));
    EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link->cursor().bitmap().size(), QSize(kHotLinkPointerSize, kHotLinkPointerSize));
    EXPECT_EQ(link->CaptionLabel()->cursor().shape(), Qt::BitmapCursor);

    // The margin left of the label belongs to the control itself.
    MoveTo(link->pos() + QPoint(1, 1));
    EXPECT_EQ(TextColor(*link), QColor(0, 0, 255));
    EXPECT_EQ(QWidget::mouseGrabber(), link);
}

TEST_F(HotLinkTest, PointerWithoutOwnPictureUsesTheDefault) {
    link->LoadDesign(PropertyBag(QJsonObject{{"MouseP", false}}));
    EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(link->CaptionLabel()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(HotLinkTest, EdgesOfTheControlCountAsInside) {
    QSignalSpy enter(link, &HotLink::MouseEnter);
    QSignalSpy exist(link, &HotLink::MouseExist);
    const float w = static_cast<float>(link->width()) * TwipsX();
    const float h = static_cast<float>(link->height()) * TwipsX();

    link->HandleMouseMove(0, 0, w, h);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(exist.count(), 0);
    EXPECT_TRUE(link->HoverFlag());
    link->HandleMouseMove(0, 0, 0, 0);
    EXPECT_EQ(enter.count(), 1) << "a second movement inside raises nothing new";

    link->HandleMouseMove(0, 0, -1, 0);
    EXPECT_EQ(exist.count(), 1);
    EXPECT_FALSE(link->HoverFlag());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(TextColor(*link), QColor(Qt::black));

    link->HandleMouseMove(0, 0, w, h + 1);
    EXPECT_EQ(exist.count(), 2);
}

TEST_F(HotLinkTest, LookChangesOnlyWhenTheCaptureWasFree) {
    QWidget other(host.get());
    other.setGeometry(300, 100, 20, 20);
    other.show();
    other.grabMouse();
    QSignalSpy enter(link, &HotLink::MouseEnter);

    link->HandleMouseMove(0, 0, 30, 30);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(TextColor(*link), QColor(Qt::black));
    EXPECT_EQ(QWidget::mouseGrabber(), link) << "the control takes the capture anyway";

    // Holding the capture now, leaving restores the normal look; entering again with
    // the capture free shows the hover look.
    link->HandleMouseMove(0, 0, -1, -1);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    link->HandleMouseMove(0, 0, 30, 30);
    EXPECT_EQ(TextColor(*link), QColor(0, 0, 255));
}

TEST_F(HotLinkTest, LeavingWithoutTheCaptureKeepsTheLook) {
    link->HandleMouseMove(0, 0, 30, 30);
    ASSERT_EQ(TextColor(*link), QColor(0, 0, 255));
    link->releaseMouse();
    QSignalSpy exist(link, &HotLink::MouseExist);
    link->HandleMouseMove(0, 0, -15, 30);
    EXPECT_EQ(exist.count(), 1);
    EXPECT_EQ(TextColor(*link), QColor(0, 0, 255));
}

TEST_F(HotLinkTest, RealPointerLeavingTheControlRestoresTheNormalLook) {
    QFont hoverFont = link->DefFont();
    hoverFont.setUnderline(true);
    link->SetHoverFont(hoverFont);
    QSignalSpy exist(link, &HotLink::MouseExist);
    QList<float> moveX;
    QObject::connect(link, &HotLink::MouseMove, link,
                     [&](short&, short&, float& x, float&) { moveX.append(x); });

    MoveTo(link->pos() + QPoint(1, 1));
    EXPECT_TRUE(link->CaptionLabel()->font().underline());
    // Over the label, the capture sends the movement to the control.
    MoveTo(link->pos() + link->CaptionLabel()->geometry().center());
    EXPECT_EQ(exist.count(), 0);
    MoveTo(QPoint(10, 10));
    EXPECT_EQ(exist.count(), 1);
    ASSERT_EQ(moveX.size(), 3);
    EXPECT_FLOAT_EQ(moveX.last(), -40 * TwipsX()) << "X of a point left of the control";
    EXPECT_FALSE(link->CaptionLabel()->font().underline());
    EXPECT_EQ(TextColor(*link), QColor(Qt::black));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HotLinkTest, MovementsOverTheLabelAloneRaiseNothing) {
    int moves = 0;
    QObject::connect(link, &HotLink::MouseMove, link, [&] { ++moves; });
    MoveTo(link->pos() + link->CaptionLabel()->geometry().center());
    EXPECT_EQ(moves, 0);
    EXPECT_FALSE(link->HoverFlag());
}

TEST_F(HotLinkTest, HoverTimerClearsTheFlagSoEnterIsRaisedAgain) {
    QSignalSpy enter(link, &HotLink::MouseEnter);
    link->HandleMouseMove(0, 0, 30, 30);
    ASSERT_TRUE(link->HoverFlag());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link->HoverFlag(); }, 2000));
    EXPECT_EQ(TextColor(*link), QColor(0, 0, 255)) << "the timer never changes the look";
    link->HandleMouseMove(0, 0, 30, 30);
    EXPECT_EQ(enter.count(), 2);
}

TEST_F(HotLinkTest, NormalColorAppliesAtOnceHoverValuesAtTheNextHover) {
    link->SetNormalColor(0x0000FF); // red
    EXPECT_EQ(TextColor(*link), QColor(255, 0, 0));
    link->SetNormalColor(0x800000FF); // no such system colour: the text keeps its colour
    EXPECT_EQ(TextColor(*link), QColor(255, 0, 0));
    link->SetNormalColor(0x0000FF);

    QFont big = link->DefFont();
    big.setPointSizeF(big.pointSizeF() * 2);
    link->SetHoverColor(0x00FF00);
    link->SetHoverFont(big);
    EXPECT_EQ(TextColor(*link), QColor(255, 0, 0));
    EXPECT_NE(link->CaptionLabel()->font(), big);

    link->HandleMouseMove(0, 0, 30, 30);
    EXPECT_EQ(TextColor(*link), QColor(0, 255, 0));
    EXPECT_EQ(link->CaptionLabel()->font(), big);
    link->HandleMouseMove(0, 0, -1, 0);
    EXPECT_EQ(TextColor(*link), QColor(255, 0, 0));
}

TEST_F(HotLinkTest, ClicksOnLabelAndControlAndMouseEvents) {
    QSignalSpy click(link, &HotLink::Click);
    QList<float> downX;
    short downButton = 0;
    QObject::connect(link, &HotLink::MouseDown, link, [&](short& button, short&, float& x, float&) {
        downButton = button;
        downX.append(x);
    });
    QSignalSpy up(link, &HotLink::MouseUp);

    const QPoint onLabel = link->pos() + link->CaptionLabel()->geometry().center();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, onLabel);
    EXPECT_EQ(click.count(), 1);
    EXPECT_TRUE(downX.isEmpty()) << "the label raises no MouseDown";

    const QPoint onControl = link->pos() + QPoint(1, 1);
    QTest::mouseClick(Window(), Qt::LeftButton, {}, onControl);
    EXPECT_EQ(click.count(), 2);
    ASSERT_EQ(downX.size(), 1);
    EXPECT_EQ(downButton, 1);
    EXPECT_FLOAT_EQ(downX.first(), TwipsX());
    EXPECT_EQ(up.count(), 1);
}

// The window system's double click is a press, a release, a double click and a release; the
// double click counts as a second press, so the control raises MouseDown and Click twice.
// Disabled, it raises nothing.
TEST_F(HotLinkTest, ADoubleClickOnTheControlClicksTwiceUnlessDisabled) {
    QSignalSpy click(link, &HotLink::Click);
    QSignalSpy down(link, &HotLink::MouseDown);
    QSignalSpy up(link, &HotLink::MouseUp);
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        const QPointF at(1, 1);
        QMouseEvent event(type, at, link->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(link, &event);
    };
    const auto doubleClick = [&] {
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    };
    doubleClick();
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(click.count(), 2);

    link->SetEnabled(false);
    doubleClick();
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(click.count(), 2);
}

// The control itself takes the label's size plus the margin. Setting only its inner
// coordinate extent would change no pixel on screen and leave a grown label clipped, so the
// size is what follows the label.
TEST_F(HotLinkTest, AutoSizeFitsTheControlAroundTheLabel) {
    link->SetCaption(QStringLiteral("a much longer caption than the default one"));
    const QRect label = link->CaptionLabel()->geometry();
    EXPECT_EQ(label.topLeft(), QPoint(qRound(30 / TwipsX()), qRound(30 / TwipsX())));
    EXPECT_EQ(link->width(), label.width() + qRound(40 / TwipsX()));
    EXPECT_EQ(link->height(), label.height() + qRound(40 / TwipsX()));

    link->SetAutoSize(false);
    link->resize(30, 40);
    EXPECT_EQ(link->size(), QSize(30, 40));
}

TEST_F(HotLinkTest, BackColorReachesTheLabelOnlyAtTheNextLoad) {
    const QColor labelBack = link->CaptionLabel()->palette().color(QPalette::Window);
    ASSERT_NE(labelBack, QColor(Qt::white));
    link->SetBackColor(0xFFFFFF);
    EXPECT_EQ(link->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(link->CaptionLabel()->palette().color(QPalette::Window), labelBack);
    PropertyBag bag;
    link->SaveDesign(bag);
    link->LoadDesign(PropertyBag(bag.ToObject()));
    EXPECT_EQ(link->CaptionLabel()->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(HotLinkTest, StoredDesignRoundTripAndDefaults) {
    EXPECT_TRUE(Saved(*link).isEmpty()) << "defaults are not stored";

    QFont font(QStringLiteral("DejaVu Sans"), 14);
    font.setBold(true);
    link->SetCaption(QStringLiteral("mail@example.org"));
    link->SetNormalColor(0x123456);
    link->SetHoverColor(0x80000012);
    link->SetBackColor(0xFFFFFF);
    link->SetDefFont(font);
    link->SetHoverFont(font);
    link->SetAutoSize(false);
    link->SetEnabled(false);
    link->SetMouseP(false);
    EXPECT_TRUE(link->DesignChanged());
    PropertyBag bag;
    link->SaveDesign(bag);
    const QJsonObject stored = bag.ToObject();
    EXPECT_FALSE(link->DesignChanged());
    EXPECT_EQ(stored.size(), 9);

    HotLink copy(host.get());
    copy.LoadDesign(PropertyBag(stored));
    EXPECT_EQ(copy.Caption(), QStringLiteral("mail@example.org"));
    EXPECT_EQ(copy.CaptionLabel()->text(), QStringLiteral("mail@example.org"));
    EXPECT_EQ(copy.NormalColor(), 0x123456u);
    EXPECT_EQ(copy.HoverColor(), 0x80000012u);
    EXPECT_EQ(copy.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(copy.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(copy.CaptionLabel()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(copy.DefFont(), font);
    EXPECT_EQ(copy.CaptionLabel()->font(), font);
    EXPECT_EQ(copy.HoverFont(), font);
    EXPECT_FALSE(copy.AutoSize());
    EXPECT_FALSE(copy.Enabled());
    EXPECT_FALSE(copy.MouseP());
    EXPECT_FALSE(copy.DesignChanged());
    EXPECT_EQ(Saved(copy), stored);
    EXPECT_TRUE(bag.ToJson().startsWith("{\n    \"Enabled\": false,\n    \"BackColor\""))
        << "written in the key order";
}

TEST_F(HotLinkTest, WronglyTypedStoredValuesTakeTheirDefaults) {
    link->LoadDesign(PropertyBag(QJsonObject{{"Caption", 5},
                                             {"NormalColor", "red"},
                                             {"HoverColor", -4},
                                             {"BackColor", 1.5},
                                             {"DefFont", "Arial"},
                                             {"AutoSize", "yes"},
                                             {"Extra", true}}));
    EXPECT_EQ(link->Caption(), HotLink::kDefaultCaption);
    EXPECT_EQ(link->NormalColor(), 0u);
    EXPECT_EQ(link->HoverColor(), HotLink::kDefaultHoverColor);
    EXPECT_EQ(link->BackColor(), HotLink::kDefaultBackColor);
    EXPECT_EQ(link->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(link->DefFont(), host->font());
    EXPECT_TRUE(link->AutoSize());
    EXPECT_TRUE(Saved(*link).isEmpty());
}

TEST_F(HotLinkTest, ShellHandsTheTargetToTheOpener) {
    QStringList opened;
    link->SetOpener([&](const QString& target) { opened.append(target); });
    link->Shell(QStringLiteral("mailto:someone@example.org"), QString(), QStringLiteral("/"), 1);
    link->Shell(QStringLiteral("http://www.example.org/"), QString(), QStringLiteral("/"), 1);
    link->Shell(QStringLiteral("help.html"), QString(), QStringLiteral("/opt/app"), 1);
    link->Shell(QStringLiteral("/tmp/a.html"), QString(), QStringLiteral("/opt/app"), 1);
    EXPECT_EQ(opened, QStringList({"mailto:someone@example.org", "http://www.example.org/",
                                   "/opt/app/help.html", "/tmp/a.html"}));
}

} // namespace
} // namespace pelmora
