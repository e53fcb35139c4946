// What each setter triggers, as one table: the name it reports to the host, whether the
// control is painted anew, and whether an auto-sized bar that the user resized snaps back
// to the length its buttons need (only the gap and changes of the buttons' own sizes let
// AutoSize act again). Setting the value a property has does nothing.
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include <QSignalSpy>
#include <functional>

namespace pelmora::test {
namespace {

struct SetterEffect {
    const char* what;
    std::function<void(ToolBar&)> set;
    const char* notices; ///< the names reported, in order, separated by spaces
    bool repaints;
    bool sizesItselfAgain;
    bool everyCallChanges = false; ///< a button picture is an object, set anew by each call
};

OlePicture Square() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return OlePicture::bitmap(image);
}

const QFont kTipFont(QStringLiteral("DejaVu Serif"), 14);

// Button 1 is checked and button 2 disabled; both have captions. Every side is on, so
// turning on a double border changes only itself.
const SetterEffect kEffects[] = {
    {"DisabledText3D", [](ToolBar& t) { t.SetDisabledText3D(false); }, "DisabledText3D", true,
     false},
    {"FixedSize", [](ToolBar& t) { t.SetFixedSize(60); }, "FixedSize", true, false},
    {"Style", [](ToolBar& t) { t.SetStyle(tbtsFixed); }, "Style", true, false},
    {"ToolTipFont", [](ToolBar& t) { t.SetToolTipFont(&kTipFont); }, "ToolTipFont", false, false},
    {"TextColor", [](ToolBar& t) { t.SetTextColor(0xFF); }, "TextColor", true, false},
    {"TextDisabledColor", [](ToolBar& t) { t.SetTextDisabledColor(0xFF); }, "TextDisabledColor",
     true, false},
    {"SolidChecked", [](ToolBar& t) { t.SetSolidChecked(true); }, "SolidChecked", true, false},
    {"ButtonGap", [](ToolBar& t) { t.SetButtonGap(6); }, "ButtonGap", true, true},
    {"BorderStyle", [](ToolBar& t) { t.SetBorderStyle(tbbsInset); }, "BorderStyle", true, false},
    {"BorderLeft", [](ToolBar& t) { t.SetBorderLeft(false); }, "BorderLeft", true, false},
    {"BorderTop", [](ToolBar& t) { t.SetBorderTop(false); }, "BorderTop", true, false},
    {"BorderRight", [](ToolBar& t) { t.SetBorderRight(false); }, "BorderRight", true, false},
    {"BorderBottom", [](ToolBar& t) { t.SetBorderBottom(false); }, "BorderBottom", true, false},
    {"DoubleTopBorder", [](ToolBar& t) { t.SetDoubleTopBorder(true); }, "DoubleTopBorder", true,
     false},
    {"DoubleBottomBorder", [](ToolBar& t) { t.SetDoubleBottomBorder(true); }, "DoubleBottomBorder",
     true, false},
    {"BackColor", [](ToolBar& t) { t.SetBackColor(0xFF); }, "BackColor", true, false},
    {"HighlightColor", [](ToolBar& t) { t.SetHighlightColor(0xFF); }, "HighlightColor", true,
     false},
    {"ShadowColor", [](ToolBar& t) { t.SetShadowColor(0xFF); }, "ShadowColor", true, false},
    {"HighlightDarkColor", [](ToolBar& t) { t.SetHighlightDarkColor(0xFF); }, "HighlightDarkColor",
     true, false},
    {"ShadowDarkColor", [](ToolBar& t) { t.SetShadowDarkColor(0xFF); }, "ShadowDarkColor", true,
     false},
    {"PlaySounds", [](ToolBar& t) { t.SetPlaySounds(false); }, "PlaySounds", false, false},
    {"FontBold", [](ToolBar& t) { t.SetFontBold(true); }, "Font", true, false},
    {"FontSize", [](ToolBar& t) { t.SetFontSize(15); }, "Font", true, false},
    {"Appearance", [](ToolBar& t) { t.SetAppearance(ifcaFlat); }, "Appearance", true, false},
    {"ShowToolTips", [](ToolBar& t) { t.SetShowToolTips(false); }, "ShowToolTips", false, false},
    {"MousePointer", [](ToolBar& t) { t.SetMousePointer(2); }, "MousePointer", false, false},
    {"MouseIcon", [](ToolBar& t) { t.SetMouseIcon(Square()); }, "MouseIcon", false, false},
    {"Enabled", [](ToolBar& t) { t.setEnabled(false); }, "State", true, false},
    {"CaptionOptions", [](ToolBar& t) { t.SetCaptionOptions(iftoNoLabels); }, "TextOptions", true,
     false},
    {"ShowSeparators while standard", [](ToolBar& t) { t.SetShowSeparators(true); },
     "ShowSeparators", false, false},
    {"HotTracking", [](ToolBar& t) { t.SetHotTracking(true); }, "HotTracking", false, false},
    {"HotTrackingColor", [](ToolBar& t) { t.SetHotTrackingColor(0xFF); }, "HotTrackingColor", false,
     false},
    {"BoldOnChecked", [](ToolBar& t) { t.SetBoldOnChecked(true); }, "BoldOnChecked", true, false},
    {"CaptionAlignment", [](ToolBar& t) { t.SetCaptionAlignment(ifcaCaptionOnTop); },
     "CaptionAlignment", true, false},
    {"DockingStyle", [](ToolBar& t) { t.SetDockingStyle(0); }, "DockingStyle", true, false},
    {"Title", [](ToolBar& t) { t.SetTitle("Tools"); }, "Title", false, false},
    {"BackStyle", [](ToolBar& t) { t.SetBackStyle(0); }, "BackStyle", true, false},
    {"ButtonCaption", [](ToolBar& t) { t.SetButtonCaption(1, "Longer caption"); }, "ButtonCaption",
     true, true},
    {"ButtonEnabled", [](ToolBar& t) { t.SetButtonEnabled(1, false); }, "ButtonEnabled", true,
     false},
    {"ButtonChecked", [](ToolBar& t) { t.SetButtonChecked(2, true); }, "ButtonChecked2", true,
     false},
    {"ButtonVisible", [](ToolBar& t) { t.SetButtonVisible(1, false); }, "ButtonVisible", true,
     true},
    {"ButtonStyle", [](ToolBar& t) { t.SetButtonStyle(1, tbbtSeparator); }, "ButtonStyle", true,
     true},
    {"ButtonMaskColor", [](ToolBar& t) { t.SetButtonMaskColor(1, 0xFF); }, "ButtonMaskColor", true,
     false},
    {"ButtonPicture", [](ToolBar& t) { t.SetButtonPicture(1, Square()); }, "ButtonPicture", true,
     false, true},
    {"ButtonPictureOver", [](ToolBar& t) { t.SetButtonPictureOver(1, Square()); },
     "ButtonPictureOver1", true, false, true},
    {"ButtonToolTipText", [](ToolBar& t) { t.SetButtonToolTipText(1, "Tip"); }, "ButtonToolTipText",
     false, false},
    {"ButtonKey", [](ToolBar& t) { t.SetButtonKey(1, "k"); }, "ButtonKey", false, false},
    {"ButtonDescription", [](ToolBar& t) { t.SetButtonDescription(1, "d"); }, "ButtonDescription",
     false, false},
    {"ButtonGroupID", [](ToolBar& t) { t.SetButtonGroupID(1, 3); }, "ButtonGroupID", false, false},
};

TEST_F(ToolbarTest, EachSetterReportsRepaintsAndLaysOutAsItsRowSays) {
    for (const SetterEffect& row : kEffects) {
        SCOPED_TRACE(row.what);
        tb = std::make_unique<ToolBar>();
        tb->setGeometry(100, 100, 400, 30);
        tb->show();
        AddButtons(2);
        tb->SetButtonCaption(1, "One");
        tb->SetButtonCaption(2, "Two");
        tb->SetButtonChecked(1, true);
        tb->SetButtonEnabled(2, false);
        tb->SetAutoSize(true);
        const int needed = tb->width();
        tb->resize(needed + 100, 30); // the user widens the bar; it keeps that width
        ASSERT_EQ(tb->width(), needed + 100);

        QSignalSpy changed(tb.get(), &ToolBar::PropertyChanged);
        const qint64 before = tb->Surface().cacheKey();
        row.set(*tb);
        QStringList names;
        for (const QList<QVariant>& call : changed) {
            names << call.at(0).toString();
        }
        EXPECT_EQ(names.join(u' '), QString::fromLatin1(row.notices));
        EXPECT_EQ(tb->Surface().cacheKey() != before, row.repaints);
        EXPECT_EQ(tb->width() != needed + 100, row.sizesItselfAgain);

        // The same value again changes nothing, so it reports and paints nothing.
        changed.clear();
        const qint64 after = tb->Surface().cacheKey();
        row.set(*tb);
        EXPECT_EQ(changed.count(), row.everyCallChanges ? 1 : 0);
        EXPECT_EQ(tb->Surface().cacheKey() != after, row.everyCallChanges);
    }
}

// Counts the requests to lay a widget out again.
class LayoutRequests : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::LayoutRequest ? 1 : 0;
        return false;
    }
    int count = 0;
};

// Besides the bar's own answer, a new font still reaches QWidget, which asks the host to lay
// its children out again.
TEST(ToolbarFont, ANewFontIsReportedAndTheHostLaysOutAgain) {
    QWidget host;
    host.resize(500, 100);
    auto* bar = new ToolBar(&host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QCoreApplication::processEvents();
    LayoutRequests requests;
    host.installEventFilter(&requests);
    QSignalSpy changed(bar, &ToolBar::PropertyChanged);

    bar->SetFontSize(bar->FontSize() + 6);
    QCoreApplication::processEvents();
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.first().at(0).toString(), "Font");
    EXPECT_GE(requests.count, 1);
}

} // namespace
} // namespace pelmora::test
