// The stored designs of the three controls, written out as fixed text. A design with every
// key set away from its default must read and write back exactly, so a key that is renamed,
// moved or dropped shows; a design with every key at its documented default must write
// back nothing but the always-written count, so a default that drifts shows.
#include "controls/design/PropertyBag.h"
#include "controls/hotlink/HotLink.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

// The host font is fixed so that the fonts below can be written as text.
#define HOST_FONT                                                                                  \
    R"({"Bold":false,"Italic":false,"Name":"DejaVu Sans","Size":9,"Strikethrough":false,)"         \
    R"("Underline":false})"
#define OTHER_FONT                                                                                 \
    R"({"Bold":true,"Italic":true,"Name":"DejaVu Serif","Size":12,"Strikethrough":true,)"          \
    R"("Underline":true})"

class StoredDesignTest : public ::testing::Test {
protected:
    void SetUp() override { host.setFont(QFont(QStringLiteral("DejaVu Sans"), 9)); }
    QWidget host;
};

const QByteArray kToolbarChanged = "{\n"
                                   "    \"DisabledText3D\": false,\n"
                                   "    \"FixedSize\": 40.5,\n"
                                   "    \"Style\": 1,\n"
                                   "    \"ToolTipFont\": " OTHER_FONT ",\n"
                                   "    \"TextColor\": 255,\n"
                                   "    \"TextDisabledColor\": 65280,\n"
                                   "    \"SolidChecked\": true,\n"
                                   "    \"ButtonGap\": 4,\n"
                                   "    \"BorderStyle\": 4,\n"
                                   "    \"BorderLeft\": false,\n"
                                   "    \"BorderTop\": false,\n"
                                   "    \"BorderRight\": false,\n"
                                   "    \"BorderBottom\": false,\n"
                                   "    \"DoubleTopBorder\": true,\n"
                                   "    \"DoubleBottomBorder\": true,\n"
                                   "    \"BackColor\": 16711680,\n"
                                   "    \"HighlightColor\": 1,\n"
                                   "    \"ShadowColor\": 2,\n"
                                   "    \"HighlightDarkColor\": 3,\n"
                                   "    \"ShadowDarkColor\": 4,\n"
                                   "    \"PlaySounds\": false,\n"
                                   "    \"Font\": " OTHER_FONT ",\n"
                                   "    \"Appearance\": 1,\n"
                                   "    \"ButtonCount\": 1,\n"
                                   "    \"ShowToolTips\": false,\n"
                                   "    \"MousePointer\": 2,\n"
                                   "    \"MouseIcon\": \":/toolbar/add.bmp\",\n"
                                   "    \"Enabled\": false,\n"
                                   "    \"CaptionOptions\": 2,\n"
                                   "    \"ShowSeparators\": true,\n"
                                   "    \"HotTracking\": true,\n"
                                   "    \"HotTrackingColor\": 5,\n"
                                   "    \"BoldOnChecked\": true,\n"
                                   "    \"CaptionAlignment\": 0,\n"
                                   "    \"AutoSize\": true,\n"
                                   "    \"DockStyle\": 1,\n"
                                   "    \"Title\": \"Tools\",\n"
                                   "    \"BackStyle\": 0,\n"
                                   "    \"ButtonEnabled1\": false,\n"
                                   "    \"ButtonChecked1\": true,\n"
                                   "    \"ButtonCaption1\": \"Add\",\n"
                                   "    \"ButtonDescription1\": \"Adds\",\n"
                                   "    \"ButtonKey1\": \"add\",\n"
                                   "    \"ButtonUseMaskColor1\": false,\n"
                                   "    \"ButtonMaskColor1\": 6,\n"
                                   "    \"ButtonPicture1\": \":/toolbar/add.bmp\",\n"
                                   "    \"ButtonPictureOver1\": \":/toolbar/help.bmp\",\n"
                                   "    \"ButtonPictureDown1\": \":/toolbar/stop.bmp\",\n"
                                   "    \"ButtonWidth1\": 12.5,\n"
                                   "    \"ButtonStyle1\": 2,\n"
                                   "    \"ButtonToolTipText1\": \"Tip\",\n"
                                   "    \"ButtonVisible1\": false,\n"
                                   "    \"ButtonAlwaysShowCaption1\": true,\n"
                                   "    \"ButtonGroupID1\": 7\n"
                                   "}\n";

// Colours: window text 8, grey text 17, button face 15, 3-D highlight 20, button shadow 16,
// 3-D light 22, 3-D dark shadow 21, highlight 13 (system colours); magenta for the mask.
const QByteArray kToolbarDefaults = R"({
    "DisabledText3D": true, "FixedSize": 0, "Style": 0, "ToolTipFont": )" HOST_FONT R"(,
    "TextColor": 2147483656, "TextDisabledColor": 2147483665, "SolidChecked": false,
    "ButtonGap": 0, "BorderStyle": 2, "BorderLeft": true, "BorderTop": true,
    "BorderRight": true, "BorderBottom": true, "DoubleTopBorder": false,
    "DoubleBottomBorder": false, "BackColor": 2147483663, "HighlightColor": 2147483668,
    "ShadowColor": 2147483664, "HighlightDarkColor": 2147483670, "ShadowDarkColor": 2147483669,
    "PlaySounds": true, "Font": )" HOST_FONT R"(, "Appearance": 0, "ButtonCount": 1,
    "ShowToolTips": true, "MousePointer": 0, "MouseIcon": "", "Enabled": true,
    "CaptionOptions": 1, "ShowSeparators": false, "HotTracking": false,
    "HotTrackingColor": 2147483661, "BoldOnChecked": false, "CaptionAlignment": 3,
    "AutoSize": false, "DockStyle": 2, "Title": "", "BackStyle": 1,
    "ButtonEnabled1": true, "ButtonChecked1": false, "ButtonCaption1": "",
    "ButtonDescription1": "", "ButtonKey1": "", "ButtonUseMaskColor1": true,
    "ButtonMaskColor1": 16711935, "ButtonPicture1": "", "ButtonPictureOver1": "",
    "ButtonPictureDown1": "", "ButtonWidth1": 0, "ButtonStyle1": 1, "ButtonToolTipText1": "",
    "ButtonVisible1": true, "ButtonAlwaysShowCaption1": false, "ButtonGroupID1": 0
})";

TEST_F(StoredDesignTest, ToolbarKeysOrderAndDefaults) {
    ToolBar fresh(&host);
    EXPECT_EQ(fresh.SaveDesign(), "{\n    \"ButtonCount\": 0\n}\n");

    ToolBar tb(&host);
    ASSERT_TRUE(tb.LoadDesign(kToolbarChanged));
    EXPECT_EQ(tb.SaveDesign(), kToolbarChanged);
    ASSERT_TRUE(tb.LoadDesign(kToolbarDefaults));
    EXPECT_EQ(tb.SaveDesign(), "{\n    \"ButtonCount\": 1\n}\n");
}

// The menu's design is an object: its keys are pinned, their order is not kept.
const QByteArray kMenuChanged = R"({
    "Spacing": 18, "Style": 2, "HighLightStyle": 4, "ItemCount": 2,
    "ItemsFont": {"Bold":true,"Charset":0,"Italic":true,"Name":"DejaVu Serif","Size":12,
                  "Strikethrough":true,"Underline":true,"Weight":700},
    "MenuEnabled1": false, "MenuChecked1": true, "MenuIdent1": 1, "MenuCaption1": "&Open",
    "MenuName1": "mnuOpen", "MenuUseMaskColor1": false, "MenuMaskColor1": 255,
    "MenuPicture1": ":/toolbar/add.bmp", "MenuVisible1": false, "MenuDescription1": "Opens",
    "MenuCaption2": "-"
})";

const QByteArray kMenuDefaults = R"({
    "Spacing": 12, "Style": 0, "HighLightStyle": 1, "ItemCount": 1,
    "MenuEnabled1": true, "MenuChecked1": false, "MenuIdent1": 0, "MenuCaption1": "",
    "MenuName1": "", "MenuUseMaskColor1": true, "MenuMaskColor1": 16711935,
    "MenuPicture1": "", "MenuVisible1": true, "MenuDescription1": ""
})";

QJsonObject Object(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object();
}

TEST_F(StoredDesignTest, MenuKeysAndDefaults) {
    MenuBar bar(&host);
    EXPECT_EQ(bar.Spacing(), 12);
    EXPECT_FALSE(bar.ItemsFont().bold());
    bar.ReadProperties(Object(kMenuChanged));
    EXPECT_EQ(bar.WriteProperties(), Object(kMenuChanged));
    bar.ReadProperties(Object(kMenuDefaults));
    EXPECT_EQ(bar.WriteProperties(), QJsonObject({{"ItemCount", 1}}));
    EXPECT_EQ(bar.ItemsFont(), host.font()) << "a missing font is the container's";
}

const QByteArray kHotLinkChanged = "{\n"
                                   "    \"Enabled\": false,\n"
                                   "    \"BackColor\": 255,\n"
                                   "    \"HoverColor\": 65280,\n"
                                   "    \"HoverFont\": " OTHER_FONT ",\n"
                                   "    \"DefFont\": " OTHER_FONT ",\n"
                                   "    \"Caption\": \"mailto:someone@example.org\",\n"
                                   "    \"AutoSize\": false,\n"
                                   "    \"NormalColor\": 128,\n"
                                   "    \"MouseP\": false\n"
                                   "}\n";

// The default caption is this program's own choice of web address.
const QByteArray kHotLinkDefaults = R"({
    "MouseP": true, "Enabled": true, "HoverColor": 16711680, "BackColor": 2147483663,
    "Caption": "http://www.example.org/", "AutoSize": true, "NormalColor": 0,
    "HoverFont": )" HOST_FONT R"(, "DefFont": )" HOST_FONT R"(
})";

QByteArray Saved(HotLink& link) {
    PropertyBag bag;
    link.SaveDesign(bag);
    return bag.ToJson();
}

TEST_F(StoredDesignTest, HotLinkKeysOrderAndDefaults) {
    HotLink link(&host);
    EXPECT_EQ(Saved(link), "{}\n");
    PropertyBag changed;
    ASSERT_TRUE(changed.Parse(kHotLinkChanged));
    link.LoadDesign(changed);
    EXPECT_EQ(Saved(link), kHotLinkChanged);
    PropertyBag defaults;
    ASSERT_TRUE(defaults.Parse(kHotLinkDefaults));
    link.LoadDesign(defaults);
    EXPECT_EQ(Saved(link), "{}\n");
}

} // namespace
} // namespace pelmora
