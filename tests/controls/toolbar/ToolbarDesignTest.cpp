// The stored design: the main window's toolbar resource, round trips, defaults and bad
// input, and the life cycle values (handle, orientation, AutoSize with Align).
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include "controls/design/PropertyBag.h"
#include "controls/paint/SharedPaintEffects.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace pelmora::test {
namespace {

QByteArray MainDesign() {
    QFile file(QStringLiteral(":/toolbar/main_toolbar.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

using DesignTest = ToolbarTest;

TEST_F(DesignTest, MainToolbarLoadsWithItsTenButtonsAndSavesBackUnchanged) {
    tb->resize(640, 58);
    const QByteArray design = MainDesign();
    ASSERT_TRUE(tb->LoadDesign(design));
    ASSERT_EQ(tb->ButtonCount(), 10);
    EXPECT_EQ(tb->ButtonCaption(1), " Add ");
    EXPECT_TRUE(tb->ButtonAlwaysShowCaption("add"));
    EXPECT_EQ(tb->ButtonDescription("FOLDER"), "Add folder");
    EXPECT_EQ(tb->ButtonStyle(4), tbbtSeparator);
    EXPECT_EQ(tb->ButtonKey(5), "Extract");
    EXPECT_FALSE(tb->ButtonEnabled("stop"));
    EXPECT_EQ(tb->ButtonToolTipText("home"), "Visit Our Website");
    EXPECT_EQ(tb->Appearance(), ifcaFlat);
    EXPECT_EQ(tb->CaptionAlignment(), ifcaCaptionOnBottom);
    EXPECT_TRUE(tb->DoubleTopBorder());
    EXPECT_EQ(tb->Title(), "xToolbar");
    EXPECT_EQ(tb->FontName(), "MS Sans Serif");
    EXPECT_EQ(tb->PictureWidth(0), 32);
    EXPECT_EQ(tb->PictureHeight(0), 32);
    EXPECT_EQ(tb->ButtonPicture(10).type(), OlePicture::Type::Bitmap);
    EXPECT_EQ(tb->SaveDesign(), design);

    // The picture for looking at the toolbar before the main window exists.
    tb->grab().save(QStringLiteral(PELMORA_BINARY_DIR "/main_toolbar.png"));
}

TEST_F(DesignTest, EverySettingSurvivesARoundTripInTheFixedKeyOrder) {
    AddButtons(3);
    tb->SetButtonCaption(1, "One");
    tb->SetButtonChecked(2, true);
    tb->SetButtonGroupID(2, 7);
    tb->SetButtonPlaceholderWidth(3, 12.5f);
    tb->SetButtonStyle(3, tbbtPlaceholder);
    tb->SetButtonVisible(3, false);
    tb->SetButtonMaskColor(1, 0x123456);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    tb->SetButtonPictureDown(1, OlePicture::icon(image));
    tb->SetBorderStyle(tbbsInsetButton);
    tb->SetButtonGap(5);
    tb->SetBackColor(0xFF);
    tb->SetHotTracking(true);
    tb->SetDockingStyle(0);
    tb->SetTitle("Tools");
    tb->SetBackStyle(0);
    tb->SetFontBold(true);
    tb->SetMousePointer(2);
    tb->setEnabled(false);
    const QByteArray saved = tb->SaveDesign();

    ToolBar copy;
    ASSERT_TRUE(copy.LoadDesign(saved));
    EXPECT_EQ(copy.SaveDesign(), saved);
    EXPECT_EQ(copy.ButtonCount(), 3);
    EXPECT_TRUE(copy.ButtonChecked(2));
    EXPECT_EQ(copy.ButtonGroupID(2), 7);
    EXPECT_FLOAT_EQ(copy.ButtonPlaceholderWidth(3), 12.5f);
    EXPECT_FALSE(copy.ButtonVisible(3));
    EXPECT_EQ(copy.ButtonMaskColor(1), 0x123456u);
    EXPECT_EQ(copy.ButtonPictureDown(1).type(), OlePicture::Type::Icon);
    EXPECT_EQ(copy.ButtonPictureDown(1).image().pixel(1, 1), image.pixel(1, 1));
    EXPECT_EQ(copy.BorderStyle(), tbbsInsetButton);
    EXPECT_EQ(copy.DockingStyle(), 0);
    EXPECT_EQ(copy.BackStyle(), 0);
    EXPECT_TRUE(copy.FontBold());
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.MousePointer(), 2);

    // The keys come in the stored order: control values, then each button's values.
    const QByteArray text = saved;
    EXPECT_LT(text.indexOf("\"FixedSize\"") < 0 ? 0 : text.indexOf("\"FixedSize\""),
              text.indexOf("\"BorderStyle\""));
    EXPECT_LT(text.indexOf("\"BorderStyle\""), text.indexOf("\"BackColor\""));
    EXPECT_LT(text.indexOf("\"ButtonCount\""), text.indexOf("\"DockStyle\""));
    EXPECT_LT(text.indexOf("\"DockStyle\""), text.indexOf("\"BackStyle\""));
    EXPECT_LT(text.indexOf("\"BackStyle\""), text.indexOf("\"ButtonCaption1\""));
    EXPECT_LT(text.indexOf("\"ButtonChecked2\""), text.indexOf("\"ButtonGroupID2\""));
    EXPECT_LT(text.indexOf("\"ButtonGroupID2\""), text.indexOf("\"ButtonWidth3\""));
}

TEST_F(DesignTest, ValuesEqualToTheirDefaultsAreNotWritten) {
    AddButtons(1);
    tb->SetButtonKey(1, "");
    const QJsonObject saved = QJsonDocument::fromJson(tb->SaveDesign()).object();
    // Only the count (always written) and the caption font of a fresh window differ.
    EXPECT_EQ(saved.value("ButtonCount").toInt(), 1);
    EXPECT_FALSE(saved.contains("ButtonCaption1"));
    EXPECT_FALSE(saved.contains("ButtonStyle1"));
    EXPECT_FALSE(saved.contains("ButtonEnabled1"));
    EXPECT_FALSE(saved.contains("BorderStyle"));
    EXPECT_FALSE(saved.contains("Title"));
    EXPECT_FALSE(saved.contains("Font"));
}

TEST_F(DesignTest, AnEmptyDesignGivesAnEmptyToolbarWithEveryDefault) {
    AddButtons(2);
    tb->SetBorderStyle(tbbsFrame);
    ASSERT_TRUE(tb->LoadDesign("{\"ButtonCount\": 0}"));
    EXPECT_EQ(tb->ButtonCount(), 0);
    EXPECT_EQ(tb->BorderStyle(), tbbsRaised);
    EXPECT_TRUE(tb->BorderLeft());
    EXPECT_EQ(tb->CaptionOptions(), iftoShowLabels);
    EXPECT_EQ(tb->CaptionAlignment(), ifcaCaptionOnRight);
    EXPECT_EQ(tb->DockingStyle(), 2);
    EXPECT_EQ(tb->BackColor(), 0x8000000Fu);
    EXPECT_TRUE(tb->PlaySounds());
    EXPECT_TRUE(tb->Enabled());
}

TEST_F(DesignTest, MissingWrongAndOutOfRangeValuesReadAsDefaults) {
    const QByteArray design = R"({
        "ButtonCount": 2, "BorderStyle": 9, "ButtonGap": "wide", "BackColor": -5,
        "AutoSize": 1, "Font": "Arial", "CaptionOptions": 2.5, "Unknown": true,
        "ButtonCaption1": 17, "ButtonEnabled1": "no", "ButtonPicture1": ":/nothing/here.bmp",
        "ButtonStyle2": 3, "ButtonKey2": "second", "ButtonGroupID2": 70000,
        "ButtonPictureOver2": "data:image/png;base64,bm90IGEgcGljdHVyZQ=="
    })";
    ASSERT_TRUE(tb->LoadDesign(design));
    ASSERT_EQ(tb->ButtonCount(), 2);
    EXPECT_EQ(tb->BorderStyle(), tbbsRaised);
    EXPECT_EQ(tb->ButtonGap(), 0);
    EXPECT_EQ(tb->BackColor(), 0x8000000Fu);
    EXPECT_FALSE(tb->AutoSize());
    EXPECT_EQ(tb->CaptionOptions(), iftoShowLabels);
    EXPECT_EQ(tb->ButtonCaption(1), "");
    EXPECT_TRUE(tb->ButtonEnabled(1));
    EXPECT_TRUE(tb->ButtonPicture(1).isNone());
    EXPECT_TRUE(tb->ButtonVisible(1));
    EXPECT_EQ(tb->ButtonStyle(2), tbbtCheck);
    EXPECT_EQ(tb->ButtonGroupID(2), 0);
    EXPECT_TRUE(tb->ButtonPictureOver(2).isNone());
    EXPECT_EQ(tb->KeyToIndex("SECOND"), 2);
}

TEST_F(DesignTest, TextThatIsNoJsonObjectLoadsTheDefaults) {
    AddButtons(4);
    EXPECT_FALSE(tb->LoadDesignFile(":/toolbar/no_such_design.json"));
    EXPECT_EQ(tb->ButtonCount(), 0);
    EXPECT_TRUE(tb->LoadDesignFile(":/toolbar/main_toolbar.json"));
    EXPECT_EQ(tb->ButtonCount(), 10);
    EXPECT_FALSE(tb->LoadDesign("[1, 2"));
    EXPECT_EQ(tb->ButtonCount(), 0);
    AddButtons(4);
    EXPECT_TRUE(tb->LoadDesign("{\"ButtonCount\": 99999}")); // beyond 32,767 buttons
    EXPECT_EQ(tb->ButtonCount(), 0);
}

TEST_F(DesignTest, AnAlignedControlLoadsAutoSizeAsFalseAndRefusesIt) {
    tb->SetAlign(1);
    ASSERT_TRUE(tb->LoadDesign("{\"AutoSize\": true}"));
    EXPECT_FALSE(tb->AutoSize());
    try {
        tb->SetAutoSize(true);
        FAIL() << "AutoSize accepted on an aligned control";
    } catch (const ControlError& e) {
        EXPECT_EQ(static_cast<uint32_t>(e.number()), 0x80040001u);
        EXPECT_EQ(e.description(), "AutoSize property cannot be set to True when Align property "
                                   "is set.");
        EXPECT_TRUE(e.source().endsWith(".xToolbar:AutoSize"));
    }
    EXPECT_FALSE(tb->AutoSize());
}

TEST(ToolbarLifeCycle, HandlesCountCreationsEvenAfterEarlierToolbarsAreGone) {
    auto first = std::make_unique<ToolBar>();
    const int base = first->handle();
    first.reset();
    auto second = std::make_unique<ToolBar>();
    second.reset();
    ToolBar third;
    EXPECT_EQ(third.handle(), base + 2);
}

TEST(ToolbarLifeCycle, TheLastToolbarReleasesTheSharedPaintingObject) {
    {
        ToolBar a;
        a.resize(100, 30);
        ToolBar b;
        b.resize(100, 30);
        a.Refresh();
        EXPECT_NE(SharedPaintEffects(), nullptr);
    }
    EXPECT_EQ(SharedPaintEffects(), nullptr);
}

TEST(ToolbarLifeCycle, SettingVerticalTurnsTheBarAndBack) {
    ToolBar tb;
    tb.resize(300, 30);
    EXPECT_TRUE(tb.Horizontal());
    tb.SetVertical(true);
    EXPECT_EQ(tb.size(), QSize(30, 300));
    EXPECT_TRUE(tb.Vertical());
    tb.SetVertical(true);
    EXPECT_EQ(tb.size(), QSize(30, 300));
    tb.SetVertical(false);
    EXPECT_EQ(tb.size(), QSize(300, 30));
    tb.resize(40, 40);
    EXPECT_FALSE(tb.Horizontal());
    EXPECT_FALSE(tb.Vertical());
}

} // namespace
} // namespace pelmora::test
