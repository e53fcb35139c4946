// The item record, the tree links and the stored design, without any window.
#include "controls/design/StoredPicture.h"
#include "controls/menu/MenuDesign.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/MenuItemList.h"
#include "controls/paint/ControlError.h"

#include <QJsonArray>
#include <array>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

MenuItem item(const QString& name, int ident, const QString& caption = "x") {
    MenuItem m;
    m.SetName(name);
    m.SetIdent(ident);
    m.SetCaption(caption);
    return m;
}

TEST(MenuGeometry, ACellHoldsAllFourEdgesAndTheFirstPlacedWins) {
    MenuGeometry g;
    g.Place(2, QRect(QPoint(10, 20), QPoint(30, 40)), QPointF(12, 24));
    EXPECT_EQ(g.ItemAt({10, 20}), 2);
    EXPECT_EQ(g.ItemAt({30, 40}), 2);
    EXPECT_EQ(g.ItemAt({10, 40}), 2);
    EXPECT_EQ(g.ItemAt({9, 30}), 0);
    EXPECT_EQ(g.ItemAt({31, 30}), 0);
    EXPECT_EQ(g.ItemAt({20, 19}), 0);
    EXPECT_EQ(g.ItemAt({20, 41}), 0);
    const QRect r = g.Cell(2);
    EXPECT_EQ((std::array{r.left(), r.top(), r.right(), r.bottom()}), (std::array{10, 20, 30, 40}));
    EXPECT_EQ(g.TextAt(2), QPointF(12, 24));

    // Cells sharing an edge: the one placed first takes it, whatever the indices.
    g.Place(1, QRect(QPoint(30, 20), QPoint(50, 40)), QPointF());
    EXPECT_EQ(g.ItemAt({30, 30}), 2);
    EXPECT_EQ(g.ItemAt({31, 30}), 1);
    // An item never placed, or placed before a Clear, has no cell.
    EXPECT_TRUE(g.Cell(3).isEmpty());
    g.Clear();
    EXPECT_EQ(g.ItemAt({20, 30}), 0);
    EXPECT_TRUE(g.Cell(2).isEmpty());
    // A cell whose right edge lies left of its left edge holds nothing, not its mirror.
    g.Place(1, QRect(QPoint(30, 20), QPoint(10, 40)), QPointF());
    EXPECT_EQ(g.ItemAt({20, 30}), 0);
}

TEST(MenuItemList, LinksChildrenToTheirParentsAndMarksRoots) {
    MenuItemList list;
    list.Add(item("file", 0));   // 1
    list.Add(item("open", 1));   // 2
    list.Add(item("recent", 1)); // 3
    list.Add(item("a", 2));      // 4
    list.Add(item("b", 2));      // 5
    list.Add(item("close", 1));  // 6
    list.Add(item("edit", 0));   // 7
    list.Add(item("undo", 1));   // 8
    list.LinkTree();
    EXPECT_TRUE(list.Item(1).IsRoot());
    EXPECT_FALSE(list.Item(2).IsRoot());
    EXPECT_TRUE(list.Item(3).IsRoot());
    EXPECT_EQ(list.Item(2).RootIndex(), 1);
    EXPECT_EQ(list.Item(3).RootIndex(), 1);
    EXPECT_EQ(list.Item(4).RootIndex(), 3);
    EXPECT_EQ(list.Item(5).RootIndex(), 3);
    EXPECT_EQ(list.Item(6).RootIndex(), 1);
    EXPECT_EQ(list.Item(8).RootIndex(), 7);
    EXPECT_EQ(list.Item(7).RootIndex(), 0);
    // The last item never has children, whatever its level.
    EXPECT_FALSE(list.Item(8).IsRoot());
}

TEST(MenuItemList, ToleratesLevelsThatJumpAndAStartBelowTheBar) {
    MenuItemList list;
    list.Add(item("deep", 2));  // 1: first item below the bar
    list.Add(item("bar", 0));   // 2
    list.Add(item("skip", 2));  // 3: two levels deeper, no parent at level 1
    list.Add(item("child", 1)); // 4
    list.LinkTree();
    EXPECT_EQ(list.Item(1).RootIndex(), 0);
    EXPECT_FALSE(list.Item(1).IsRoot());
    EXPECT_EQ(list.Item(3).RootIndex(), 0);
    EXPECT_EQ(list.Item(4).RootIndex(), 2);
    EXPECT_TRUE(list.Item(2).IsRoot());
}

TEST(MenuItemList, RelinkingForgetsOldLinks) {
    MenuItemList list;
    list.Add(item("a", 0));
    list.Add(item("b", 1));
    list.LinkTree();
    list.Item(2).SetIdent(0);
    list.LinkTree();
    EXPECT_FALSE(list.Item(1).IsRoot());
    EXPECT_EQ(list.Item(2).RootIndex(), 0);
}

TEST(MenuItemList, OutOfRangeIndicesGiveNothingOrTheElementError) {
    MenuItemList list;
    list.Add(item("a", 0));
    EXPECT_EQ(list.At(0), nullptr);
    EXPECT_EQ(list.At(2), nullptr);
    EXPECT_EQ(list.At(-5), nullptr);
    try {
        list.Item(2);
        FAIL() << "no error raised";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 35601);
    }
    EXPECT_EQ(list.FindName("A"), 1);
    EXPECT_EQ(list.FindName("b"), 0);
}

QFont containerFont() {
    QFont f("DejaVu Sans");
    f.setPointSizeF(9);
    return f;
}

TEST(MenuDesign, RoundTripKeepsEveryValue) {
    MenuDesign d;
    d.SetSpacing(18);
    d.SetStyle(3);
    d.SetHighLightStyle(5);
    QFont font("DejaVu Serif");
    font.setPointSizeF(11.5);
    font.setBold(true);
    font.setItalic(true);
    d.SetItemsFont(font);
    MenuItem a = item("mnuFile", 0, "&File");
    MenuItem b = item("mnuOpen", 1, "Open...");
    b.SetEnabled(false);
    b.SetChecked(true);
    b.SetUseMaskColor(false);
    b.SetMaskColor(0x00FF00);
    b.SetVisible(false);
    b.SetDescription("Open a file");
    b.SetAPicture(
        StoredPicture::Read(QJsonValue(PELMORA_SOURCE_DIR "/resources/menu/pictures/go-up.png")));
    ASSERT_FALSE(b.APicture(0).isNone());
    d.Items().Add(a);
    d.Items().Add(b);

    const QJsonObject bag = d.ToJson(containerFont());
    const MenuDesign r = MenuDesign::FromJson(bag, containerFont());
    EXPECT_EQ(r.Spacing(), 18);
    EXPECT_EQ(r.Style(), 3);
    EXPECT_EQ(r.HighLightStyle(), 5);
    EXPECT_EQ(r.ItemsFont().family(), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(r.ItemsFont().pointSizeF(), 11.5);
    EXPECT_TRUE(r.ItemsFont().bold());
    EXPECT_TRUE(r.ItemsFont().italic());
    ASSERT_EQ(r.Items().Count(), 2);
    EXPECT_EQ(r.Items().Item(1).Caption(), "&File");
    EXPECT_EQ(r.Items().Item(1).Name(), "mnuFile");
    const MenuItem& rb = r.Items().Item(2);
    EXPECT_EQ(rb.Ident(), 1);
    EXPECT_FALSE(rb.Enabled());
    EXPECT_TRUE(rb.Checked());
    EXPECT_FALSE(rb.UseMaskColor());
    EXPECT_EQ(rb.MaskColor(), 0x00FF00u);
    EXPECT_FALSE(rb.Visible());
    EXPECT_EQ(rb.Description(), "Open a file");
    EXPECT_TRUE(rb.APicture(0) == b.APicture(0));
    // Writing what was read gives the same stored design.
    EXPECT_EQ(r.ToJson(containerFont()), bag);
}

TEST(MenuDesign, DefaultsAreNotStored) {
    MenuDesign d;
    d.SetItemsFont(containerFont());
    d.Items().Add(MenuItem{});
    const QJsonObject bag = d.ToJson(containerFont());
    EXPECT_EQ(bag.keys(), QStringList{"ItemCount"});
    const MenuDesign r = MenuDesign::FromJson(QJsonObject{}, containerFont());
    EXPECT_EQ(r.Spacing(), 12);
    EXPECT_EQ(r.Style(), 0);
    EXPECT_EQ(r.HighLightStyle(), 1);
    EXPECT_EQ(r.Items().Count(), 0);
    EXPECT_EQ(r.ItemsFont(), containerFont());
}

TEST(MenuDesign, BadStoredValuesLoadWithDefaults) {
    QJsonObject bag;
    bag["ItemCount"] = 4; // only item 2 is stored at all
    bag["Spacing"] = "wide";
    bag["Style"] = QJsonArray{1};
    bag["MenuCaption2"] = "Two";
    bag["MenuIdent2"] = -3;
    bag["MenuEnabled2"] = "no";
    bag["MenuMaskColor2"] = -1;
    bag["MenuPicture2"] = ":/no/such/picture.png";
    bag["ItemsFont"] = 12;
    const MenuDesign d = MenuDesign::FromJson(bag, containerFont());
    EXPECT_EQ(d.Spacing(), 12);
    EXPECT_EQ(d.Style(), 0);
    ASSERT_EQ(d.Items().Count(), 4);
    EXPECT_EQ(d.Items().Item(1).Caption(), "");
    EXPECT_TRUE(d.Items().Item(1).Visible());
    EXPECT_EQ(d.Items().Item(2).Caption(), "Two");
    EXPECT_EQ(d.Items().Item(2).Ident(), 0);
    EXPECT_TRUE(d.Items().Item(2).Enabled());
    EXPECT_EQ(d.Items().Item(2).MaskColor(), 0xFF00FFu);
    EXPECT_TRUE(d.Items().Item(2).APicture(0).isNone());
    EXPECT_EQ(d.ItemsFont(), containerFont());
}

TEST(MenuDesign, AnAbsurdItemCountIsCappedAtTheIndexRange) {
    QJsonObject bag;
    bag["ItemCount"] = 1e12;
    EXPECT_EQ(MenuDesign::FromJson(bag, containerFont()).Items().Count(), 0); // unreadable
    bag["ItemCount"] = 2000000000;
    EXPECT_EQ(MenuDesign::FromJson(bag, containerFont()).Items().Count(), MenuDesign::MaxItems);
    bag["ItemCount"] = -7;
    EXPECT_EQ(MenuDesign::FromJson(bag, containerFont()).Items().Count(), 0);
}

TEST(MenuDesign, TheMainWindowDesignHoldsItsThirtySevenItems) {
    MenuDesign d;
    ASSERT_TRUE(MenuDesign::Load(":/menu/main_menu.json", containerFont(), d));
    EXPECT_EQ(d.Spacing(), 18);
    EXPECT_EQ(d.Style(), 1);
    EXPECT_EQ(d.HighLightStyle(), 0);
    EXPECT_EQ(d.ItemsFont().family(), "MS Sans Serif");
    ASSERT_EQ(d.Items().Count(), 37);
    int bar = 0, pictures = 0;
    for (const MenuItem& m : d.Items()) {
        bar += m.Ident() == 0;
        if (!m.APicture(0).isNone()) {
            ++pictures;
            EXPECT_EQ(m.APicture(0).image().size(), QSize(16, 16)) << m.Name().toStdString();
        }
    }
    EXPECT_EQ(bar, 5);
    EXPECT_EQ(pictures, 9);
    EXPECT_EQ(d.Items().Item(5).Caption(), "Remove File                             Del");
    EXPECT_FALSE(d.Items().Item(25).Enabled());
    EXPECT_EQ(d.Items().Item(29).Description(), "Overwrite existing file");
    EXPECT_TRUE(d.Items().Item(27).Checked() && d.Items().Item(28).Checked() &&
                d.Items().Item(29).Checked());
    EXPECT_FALSE(d.Items().Item(30).Checked());
    EXPECT_EQ(d.Items().Item(37).Name(), "mnuAbout");
    EXPECT_FALSE(MenuDesign::Load(":/menu/nothing.json", containerFont(), d));
}

} // namespace
} // namespace pelmora
