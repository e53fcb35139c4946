// The main window's stored menu design, loaded into a real bar.
#include "tests/controls/menu/MenuTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

using namespace menutest;

TEST(MainMenu, LoadsWithItsBarItemsAndOpensEveryMenu) {
    BarWindow w;
    ASSERT_TRUE(w.bar->LoadDesign(":/menu/main_menu.json"));
    w.Show();
    EXPECT_EQ(w.bar->Spacing(), 18);
    EXPECT_EQ(w.bar->Style(), 1);
    EXPECT_EQ(w.bar->HighLightStyle(), 0);
    const QStringList bar{"mnuFile", "mnuedit", "mnuAction", "mnuOptions", "mnuhelp"};
    const std::vector<int> sizes{10, 9, 3, 4, 6};
    int x = 9; // Spacing / 2
    for (int i = 0; i < bar.size(); ++i) {
        const int index = w.bar->KeyToIndex(bar[i]);
        const QRect item = w.bar->Geometry().Cell(index);
        EXPECT_EQ(item.left(), x) << bar[i].toStdString();
        x = item.right();
        Press(w.bar, w.Centre(index));
        ASSERT_NE(w.bar->Popup(), nullptr);
        EXPECT_EQ(w.bar->Popup()->Items().size(), static_cast<size_t>(sizes[i]));
        Press(w.bar, w.Centre(index));
        EXPECT_EQ(w.bar->Popup(), nullptr);
    }
    EXPECT_FALSE(w.bar->MenuTree().Item(w.bar->KeyToIndex("mnuStop")).Enabled());
    EXPECT_TRUE(w.bar->ItemChecked("mnulogfile"));
    EXPECT_TRUE(w.bar->ItemChecked("MNUCREATEDIR"));
    EXPECT_TRUE(w.bar->ItemChecked("mnuoverwrite"));
    EXPECT_FALSE(w.bar->ItemChecked("mnuCompress"));
}

TEST(MainMenu, TheOptionsMenuShowsTicksAndReportsTheCompressItem) {
    BarWindow w;
    ASSERT_TRUE(w.bar->LoadDesign(":/menu/main_menu.json"));
    w.Show();
    QSignalSpy clicks(w.bar, &MenuBar::ItemClick);
    QSignalSpy descriptions(w.bar, &MenuBar::ItemDescription);
    Press(w.bar, w.Centre(w.bar->KeyToIndex("mnuOptions")));
    PopupMenu* p = w.bar->Popup();
    ASSERT_NE(p, nullptr);
    // A checked item carries a dark-grey tick in its left strip; an unchecked one does not.
    auto tickPixels = [&](int index) {
        const QRect it = p->Geometry().Cell(index);
        int n = 0;
        for (int y = it.top(); y <= it.bottom(); ++y) {
            for (int x = it.left() + 4; x <= it.left() + 18; ++x) {
                n += p->Surface().pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
            }
        }
        return n;
    };
    EXPECT_GT(tickPixels(w.bar->KeyToIndex("mnuLogfile")), 10);
    EXPECT_EQ(tickPixels(w.bar->KeyToIndex("mnuCompress")), 0);
    const int overwrite = w.bar->KeyToIndex("mnuOverwrite");
    Move(p, RowCentre(p, overwrite));
    EXPECT_EQ(descriptions.last().at(0).toString(), "Overwrite existing file");
    Press(p, RowCentre(p, w.bar->KeyToIndex("mnuCompress")));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), "mnuCompress");
}

} // namespace
} // namespace pelmora
