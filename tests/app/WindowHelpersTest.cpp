// The window-side helpers: the open-file dialog's result layout and filter, the
// folder picker, and the list check-box helpers.

#include "app/WindowHelpers.h"
#include "tests/app/AppTestSupport.h"

#include <QTreeWidget>

namespace pelmora::test {
namespace {

QStringList Parts(const QString& files) {
    return files.split(QChar(0));
}

TEST(WindowHelpersTest, OpenFilesDialogLaysOutOneOrSeveralFilesAsTheCallerParsesThem) {
    ScriptedDesktopSeam seam;
    QString files = QStringLiteral("stale");
    EXPECT_FALSE(ShowOpenFilesDialog(seam, files, true, true, QStringLiteral("All|*.*"), {}, {}, {},
                                     nullptr));
    EXPECT_TRUE(files.isEmpty());

    seam.openFilesAnswers.push_back({QStringLiteral("/docs/a.doc")});
    ASSERT_TRUE(ShowOpenFilesDialog(seam, files, true, true, {}, {}, {}, {}, nullptr));
    EXPECT_EQ(files, QStringLiteral("/docs/a.doc"));

    seam.openFilesAnswers.push_back({QStringLiteral("/docs/a.doc"), QStringLiteral("/docs/b.rtf")});
    ASSERT_TRUE(ShowOpenFilesDialog(seam, files, true, true, {}, {}, {}, {}, nullptr));
    EXPECT_EQ(Parts(files), (QStringList{"/docs", "a.doc", "b.rtf", "", ""}));

    // Files of different folders are named from the folder they share.
    seam.openFilesAnswers.push_back(
        {QStringLiteral("/docs/x/a.doc"), QStringLiteral("/docs/y/b.doc")});
    ASSERT_TRUE(ShowOpenFilesDialog(seam, files, true, true, {}, {}, {}, {}, nullptr));
    EXPECT_EQ(Parts(files), (QStringList{"/docs", "x/a.doc", "y/b.doc", "", ""}));
    seam.openFilesAnswers.push_back({QStringLiteral("/a.doc"), QStringLiteral("/docs/b.doc")});
    ASSERT_TRUE(ShowOpenFilesDialog(seam, files, true, true, {}, {}, {}, {}, nullptr));
    EXPECT_EQ(Parts(files), (QStringList{"/", "a.doc", "docs/b.doc", "", ""}));
}

TEST(WindowHelpersTest, FiltersBecomeQtFiltersThatAlsoMatchUpperCaseExtensions) {
    EXPECT_EQ(
        FilterForQt(QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml)|*.doc;*.rtf;*.xml|"
                                   "All Files (*.*)|*.*")),
        QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml) (*.doc *.DOC *.rtf *.RTF "
                       "*.xml *.XML);;All Files (*.*) (*)"));
}

TEST(WindowHelpersTest, FolderPickerHandsBackTheFolderUpToAnyNul) {
    ScriptedDesktopSeam seam;
    EXPECT_EQ(BrowseForFolder(seam, nullptr, QStringLiteral("Select source folder:"), 0),
              QString());
    seam.folderAnswers.push_back(QStringLiteral("/out") + QChar(0) + QStringLiteral("junk"));
    EXPECT_EQ(BrowseForFolder(seam, nullptr, QStringLiteral("Select output folder:"), 64),
              QStringLiteral("/out"));
    ASSERT_EQ(seam.folderRequests.size(), 2u);
    EXPECT_FALSE(seam.folderRequests[0].resizable);
    EXPECT_TRUE(seam.folderRequests[1].resizable);
}

TEST(WindowHelpersTest, CheckBoxHelpersUseOneBasedRowsAndIgnoreOthers) {
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
