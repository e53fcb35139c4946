// The desktop's dialogs as the window asks for them: the open-file dialog's list and
// filter, the folder picker; and the tests' own check-box helpers.

#include "app/DesktopDialogs.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ListChecks.h"

#include <QTreeWidget>

namespace pelmora::test {
namespace {

TEST(DesktopDialogsTest, OpenFilesDialogGivesTheChosenPathsAsAList) {
    ScriptedDesktopSeam seam;
    EXPECT_TRUE(ChooseFiles(seam, nullptr, {}, QStringLiteral("All|*.*"), true, true).isEmpty());

    seam.openFilesAnswers.push_back({QStringLiteral(" /docs/a.doc ")});
    EXPECT_EQ(ChooseFiles(seam, nullptr, {}, {}, true, true),
              QStringList{QStringLiteral("/docs/a.doc")});

    seam.openFilesAnswers.push_back({QStringLiteral("/docs/a.doc"), QStringLiteral("/docs/b.rtf")});
    EXPECT_EQ(ChooseFiles(seam, nullptr, {}, {}, true, true),
              (QStringList{"/docs/a.doc", "/docs/b.rtf"}));

    // Files of different folders keep their own folders.
    seam.openFilesAnswers.push_back(
        {QStringLiteral("/docs/x/a.doc"), QStringLiteral("/docs/y/b.doc")});
    EXPECT_EQ(ChooseFiles(seam, nullptr, {}, {}, true, true),
              (QStringList{"/docs/x/a.doc", "/docs/y/b.doc"}));
    seam.openFilesAnswers.push_back({QStringLiteral("/a.doc"), QStringLiteral("/docs/b.doc")});
    EXPECT_EQ(ChooseFiles(seam, nullptr, {}, {}, false, false),
              (QStringList{"/a.doc", "/docs/b.doc"}));

    ASSERT_EQ(seam.openFilesRequests.size(), 5u);
    EXPECT_EQ(seam.openFilesRequests[0].filter, QStringLiteral("All (*)"));
    EXPECT_TRUE(seam.openFilesRequests[0].multiSelect);
    EXPECT_TRUE(seam.openFilesRequests[0].fileMustExist);
    EXPECT_FALSE(seam.openFilesRequests[4].multiSelect);
    EXPECT_FALSE(seam.openFilesRequests[4].fileMustExist);
}

TEST(DesktopDialogsTest, FiltersBecomeQtFiltersThatAlsoMatchUpperCaseExtensions) {
    EXPECT_EQ(
        FilterForQt(QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml)|*.doc;*.rtf;*.xml|"
                                   "All Files (*.*)|*.*")),
        QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml) (*.doc *.DOC *.rtf *.RTF "
                       "*.xml *.XML);;All Files (*.*) (*)"));
}

TEST(DesktopDialogsTest, FolderPickerHandsBackTheFolderUpToAnyNul) {
    ScriptedDesktopSeam seam;
    EXPECT_EQ(BrowseForFolder(seam, nullptr, QStringLiteral("Select source folder:"), false),
              QString());
    seam.folderAnswers.push_back(QStringLiteral("/out") + QChar(0) + QStringLiteral("junk"));
    EXPECT_EQ(BrowseForFolder(seam, nullptr, QStringLiteral("Select output folder:"), true),
              QStringLiteral("/out"));
    ASSERT_EQ(seam.folderRequests.size(), 2u);
    EXPECT_FALSE(seam.folderRequests[0].resizable);
    EXPECT_TRUE(seam.folderRequests[1].resizable);
}

TEST(ListChecksTest, CheckBoxHelpersUseOneBasedRowsAndIgnoreOthers) {
    QTreeWidget list;
    for (int i = 0; i < 2; ++i) {
        auto* item = new QTreeWidgetItem(&list);
        item->setCheckState(0, Qt::Unchecked);
    }
    SetItemChecked(&list, 2, true);
    SetItemChecked(&list, 3, true);
    SetItemChecked(&list, 0, true);
    EXPECT_FALSE(IsItemChecked(&list, 1));
    EXPECT_TRUE(IsItemChecked(&list, 2));
    EXPECT_FALSE(IsItemChecked(&list, 3));
    list.topLevelItem(0)->setCheckState(0, Qt::PartiallyChecked);
    EXPECT_TRUE(IsItemChecked(&list, 1));
}

} // namespace
} // namespace pelmora::test
