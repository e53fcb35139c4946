// The main window as it opens: its controls, their layout, the options and command
// states of the stored designs, resizing, and closing the other windows with it.

#include "app/DesktopDialogs.h"
#include "app/WindowedStartup.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/BatchRunner.h"
#include "tests/app/AppTestSupport.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <cstdlib>

namespace pelmora::test {
namespace {

class MainWindowLookTest : public MainWindowTest {};

TEST_F(MainWindowLookTest, OpensWithItsControlsWhereTheDesignPutsThem) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvel"));
    EXPECT_FALSE(window->windowIcon().isNull());
    // The design's twips at 96 dpi, 15 twips to the pixel.
    ASSERT_EQ(window->logicalDpiY(), 96);
    EXPECT_EQ(window->size(), QSize(703, 526));
    EXPECT_EQ(window->menuBar()->geometry(), QRect(0, 0, 703, 24));
    EXPECT_EQ(window->toolBar()->geometry(), QRect(0, 24, 703, 57));
    EXPECT_EQ(List().geometry(), QRect(0, 82, 701, 317));
    EXPECT_EQ(window->logFrame()->geometry().top(), 400);
    EXPECT_EQ(window->logFrame()->geometry().height(), 103);
    EXPECT_EQ(window->statusPanels()->geometry(), QRect(0, 503, 703, 23));
    EXPECT_EQ(window->logFrame()->title(), QStringLiteral("Conversion Log"));
    EXPECT_TRUE(window->logPane()->toPlainText().isEmpty());
    EXPECT_FALSE(window->progressBar()->isVisible());

    QStringList headers;
    for (int column = 0; column < List().columnCount(); ++column) {
        headers.push_back(List().headerItem()->text(column));
    }
    EXPECT_EQ(headers, (QStringList{"Name", "Folder", "Target File", "File Size", "Modify Date",
                                    "Converted"}));
    // The designed widths are the least ones; the paths take what is left.
    EXPECT_GE(List().columnWidth(ColumnName), 120);
    EXPECT_GE(List().columnWidth(ColumnState), 47);
    EXPECT_EQ(List().selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(List().selectionBehavior(), QAbstractItemView::SelectRows);

    const QList<QLabel*> panels =
        window->statusPanels()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 3);
    EXPECT_EQ(panels[0]->width(), 167);
    EXPECT_GE(panels[1]->width(), 400) << "the middle panel takes the rest";
    EXPECT_EQ(panels[2]->width(), 100);
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 0 File"));
}

TEST_F(MainWindowLookTest, TheColumnsFillTheListShowNameThenFolderAndKeepTheUsersWidths) {
    const QString deep = QString::fromStdString(
        WriteDocument(dir / "a rather long folder name/and another one below it/deeper still/"
                            "the document everyone looks for.doc"));
    ASSERT_TRUE(window->AddFile(deep));
    QHeaderView* header = List().header();
    int total = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        // Every header shows its whole text ("Converted" too).
        EXPECT_GE(List().columnWidth(column), header->sectionSizeHint(column)) << column;
        total += List().columnWidth(column);
    }
    EXPECT_EQ(total, List().viewport()->width());

    // The date keeps its time and has room for it.
    TaskRow* row = List().Row(1);
    const QString date = row->text(ColumnDate);
    EXPECT_TRUE(date.contains(QLatin1Char(':'))) << date.toStdString();
    EXPECT_GT(List().columnWidth(ColumnDate), List().fontMetrics().horizontalAdvance(date));

    // The name comes first and whole, then its folder; rows of the same name in other
    // folders are told apart by the folder, and the tooltip has the whole path.
    EXPECT_EQ(row->text(ColumnName), QStringLiteral("the document everyone looks for.doc"));
    EXPECT_EQ(row->text(ColumnFolder) + QStringLiteral("/") + row->text(ColumnName), deep);
    EXPECT_EQ(row->data(ColumnName, Qt::ToolTipRole).toString(), deep);
    EXPECT_EQ(row->data(ColumnTarget, Qt::ToolTipRole).toString(), row->Target());
    EXPECT_EQ(List().textElideMode(), Qt::ElideLeft) << "a cut path keeps its end";

    // A wider window gives the paths the new room...
    const int before = List().columnWidth(ColumnName) + List().columnWidth(ColumnFolder) +
                       List().columnWidth(ColumnTarget);
    window->resize(window->width() + 200, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(List().columnWidth(ColumnName) + List().columnWidth(ColumnFolder) +
                  List().columnWidth(ColumnTarget),
              before + 200);
    // ...until the user sizes a column: wider than the list, and back, it stays.
    for (const int width : {900, 40}) {
        header->resizeSection(ColumnFolder, width);
        QCoreApplication::processEvents();
        EXPECT_EQ(List().columnWidth(ColumnFolder), width);
        window->resize(window->width() - 50, window->height());
        QCoreApplication::processEvents();
        EXPECT_EQ(List().columnWidth(ColumnFolder), width);
    }
}

TEST_F(MainWindowLookTest, ANameOfUsualLengthShowsWholeInANarrowWindow) {
    ASSERT_TRUE(window->AddFile(QString::fromStdString(
        WriteDocument(dir / "a folder of reports/Quarterly report 2026-03.doc"))));
    window->resize(800, window->height());
    QCoreApplication::processEvents();
    // The paths give way, as they keep their ends and their tooltips...
    const int fitted = List().columnWidth(ColumnName);
    EXPECT_GT(fitted, List().columnWidth(ColumnFolder));
    EXPECT_GT(fitted, List().columnWidth(ColumnTarget));
    // ...and check box, icon and the whole name fit.
    List().resizeColumnToContents(ColumnName);
    EXPECT_GE(fitted, List().columnWidth(ColumnName));
}

TEST_F(MainWindowLookTest, StatusTextsAreNeverCutTheMiddlePanelGivesWay) {
    const QList<QLabel*> panels =
        window->statusPanels()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 3);
    const QString run = QStringLiteral("Now Converting ...     12/431, 2 at once");
    window->SetPanelText(1, run);
    window->SetPanelText(3, QStringLiteral("Total 123456 Files"));
    QCoreApplication::processEvents();
    for (const int panel : {0, 2}) {
        const QLabel* label = panels[panel];
        EXPECT_GE(label->contentsRect().width(),
                  label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
    EXPECT_LE(panels[2]->geometry().right(), window->statusPanels()->width());
    // A short text again: back to the designed width.
    window->SetPanelText(1, QStringLiteral("Ready!"));
    EXPECT_EQ(panels[0]->width(), 167);
}

TEST_F(MainWindowLookTest, TheWindowShowsTheProgramsIcon) {
    const QImage program = QIcon(QStringLiteral(":/about/pelmora.png")).pixmap(32).toImage();
    ASSERT_FALSE(program.isNull());
    EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), program);
}

TEST_F(MainWindowLookTest, TheConvertPictureLooksPlainlyDifferentWhenDisabled) {
    ToolBar* bar = window->toolBar();
    const QString key = QStringLiteral("Extract");
    const QRect button(bar->ButtonClientLeft(key), bar->ButtonClientTop(key),
                       bar->ButtonClientWidth(key), bar->ButtonClientHeight(key));
    ASSERT_FALSE(button.isEmpty());
    const QImage enabled = bar->Surface().copy(button);
    window->SetToolbarButtonEnabled(key, false);
    const QImage disabled = bar->Surface().copy(button);
    // Pixels that change by more than a third of the scale in some colour: the picture
    // itself must change, not only its caption.
    int changed = 0;
    for (int y = 0; y < button.height(); ++y) {
        for (int x = 0; x < button.width(); ++x) {
            const QColor a = enabled.pixelColor(x, y);
            const QColor b = disabled.pixelColor(x, y);
            const int difference =
                std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                          std::abs(a.blue() - b.blue())});
            changed += difference > 85 ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 200);
}

TEST_F(MainWindowLookTest, OptionsAndCommandStatesStartFromTheStoredDesigns) {
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuLogfile")));
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuCreateDir")));
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuoverwrite")));
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuCompress")));
    EXPECT_FALSE(window->MenuItemEnabled(QStringLiteral("mnuStop")));
    EXPECT_TRUE(window->MenuItemEnabled(QStringLiteral("mnuConverter")));
    EXPECT_TRUE(window->ToolbarButtonEnabled(QStringLiteral("Extract")));
    EXPECT_FALSE(window->ToolbarButtonEnabled(QStringLiteral("stop")));
    EXPECT_EQ(window->menuBar()->MenuTree().Count(), 37);

    // The options live in the menu's check marks; flipping twice restores them.
    window->SetMenuItemChecked(QStringLiteral("MNUCOMPRESS"), true);
    EXPECT_TRUE(window->menuBar()->ItemChecked(QStringLiteral("mnuCompress")));
    window->SetMenuItemChecked(QStringLiteral("mnuCompress"), false);
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuCompress")));
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuNoSuchItem")));
}

TEST_F(MainWindowLookTest, TheListAndTheLogPaneGrowWithTheWindowTheBarsDoNot) {
    window->resize(1000, 800);
    QTest::qWait(0);
    EXPECT_EQ(window->menuBar()->height(), 24);
    EXPECT_EQ(window->toolBar()->height(), 57);
    EXPECT_EQ(window->toolBar()->width(), 1000);
    EXPECT_EQ(window->statusPanels()->geometry(), QRect(0, 777, 1000, 23));
    EXPECT_GT(List().height(), 317 + 150);
    EXPECT_GT(window->logFrame()->height(), 103 + 40);
    EXPECT_EQ(List().width(), 998);
    EXPECT_LE(window->logFrame()->geometry().bottom(), window->statusPanels()->geometry().top());
    EXPECT_LT(List().geometry().bottom(), window->logFrame()->geometry().top());
}

TEST_F(MainWindowLookTest, ClosingTheWindowClosesTheProgramsOtherWindows) {
    QWidget other;
    other.setObjectName(QStringLiteral("frmAbout"));
    other.show();
    window->close();
    EXPECT_FALSE(other.isVisible());
}

TEST(WindowedStartupTest, TheConverterIsStartedOnceAndQuitBeforeTheWindowOpens) {
    RecordingConverter converter;
    ScriptedDesktopSeam seam;
    EXPECT_TRUE(ConverterStartsUp(seam, converter));
    EXPECT_EQ(converter.Script().Started(), 1);
    EXPECT_EQ(converter.Script().Calls(), (std::vector<std::string>{"Quit"}));
    EXPECT_TRUE(seam.messages.empty());

    converter.Script().SetFailStart(true);
    EXPECT_FALSE(ConverterStartsUp(seam, converter));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              QStringLiteral("Can not load LibreOffice Writer, you must install LibreOffice "
                             "Writer 7.4 or higher, please try again!"));
    EXPECT_EQ(seam.messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(seam.messages[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(seam.messages[0].title, kApplicationTitle);
}

TEST(WindowedStartupTest, TheWindowSandboxesWhereItCanAndWarnsWhereItCannot) {
    // Only confined here, never started.
    struct Refusing : ConverterFactory {
        std::unique_ptr<ConverterSession>
        OpenSession(std::optional<std::chrono::milliseconds>) override {
            return nullptr;
        }
        std::string Confine(SandboxMode mode, std::uint64_t ceiling) override {
            modes.push_back(mode);
            ceilings.push_back(ceiling);
            return problem;
        }
        std::string problem;
        std::vector<SandboxMode> modes;
        std::vector<std::uint64_t> ceilings;
    } converter;
    EXPECT_TRUE(ConfineConverter(converter).isEmpty());
    converter.problem = "no bwrap here";
    EXPECT_EQ(ConfineConverter(converter),
              QStringLiteral("Warning: converting without the sandbox: no bwrap here"));
    EXPECT_EQ(converter.modes, (std::vector<SandboxMode>{SandboxMode::kAuto, SandboxMode::kAuto}));
    EXPECT_EQ(converter.ceilings.at(0), 2 * PoolSettings{}.officeMemoryLimit);
}

TEST(WindowedStartupTest, TheRealConverterStarts) {
    LibreOfficeConverter converter;
    ScriptedDesktopSeam seam;
    EXPECT_TRUE(ConverterStartsUp(seam, converter));
    EXPECT_TRUE(seam.messages.empty());
}

} // namespace
} // namespace pelmora::test
