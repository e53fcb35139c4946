// Files and folders dropped on the task list, and the time left a run shows beside its
// status: real drop events with file URLs on the real list, and the estimate on a clock
// the test moves.

#include "app/StatusPanels.h"
#include "app/TimeLeftEstimate.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/Matchers.h"

#include <QDropEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <gmock/gmock.h>

namespace pelmora::test {
namespace {

class DropTest : public MainWindowTest {
protected:
    // Drags urls over the list and drops them; returns whether the list took the drag.
    // dropAction tells what the drag source learns.
    bool Drop(const QList<QUrl>& urls, Qt::DropAction* dropAction = nullptr) {
        QMimeData data;
        data.setUrls(urls);
        window->SetPanelText(2, QString());
        QWidget* target = List().viewport();
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        const bool taken = enter.isAccepted();
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        if (dropAction != nullptr) {
            *dropAction = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
        }
        // Folders are searched beside the window; the drop is taken once it says so.
        if (drop.isAccepted()) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return window->PanelText(2).contains(QStringLiteral(" added, ")); }));
        }
        return taken;
    }
    QUrl Url(const std::string& name) const { return QUrl::fromLocalFile(PathOf(name)); }
};

TEST_F(DropTest, DroppedFilesAndFoldersAreAddedAsAddDoesAndCounted) {
    const QString listed = AddDocument("listed.doc");
    window->SetOutputDir(PathOf("out"));
    window->SetPassword(QStringLiteral("pw"));
    WriteDocument(dir / "one.doc");
    WriteDocument(dir / "two.rtf");
    WriteDocument(dir / "folder/a.doc");
    WriteDocument(dir / "folder/notes.txt");
    WriteDocument(dir / "folder/sub/b.rtf");
    WriteDocument(dir / "folder/sub/deeper/c.xml");
    WriteDocument(dir / "folder/.hidden/d.doc");
    fs::create_symlink(dir / "one.doc", dir / "link.doc");

    EXPECT_TRUE(Drop({Url("one.doc"), Url("two.rtf"), Url("folder"), Url("link.doc"),
                      Url("missing.doc"), QUrl::fromLocalFile(listed), Url("one.doc"),
                      QUrl(QStringLiteral("https://example.com/remote.doc"))}));

    EXPECT_THAT(Sources(),
                ElementsAre(listed, PathOf("one.doc"), PathOf("two.rtf"), PathOf("folder/a.doc"),
                            PathOf("folder/sub/b.rtf"), PathOf("folder/sub/deeper/c.xml")));
    // The link, the missing file, the listed file, the second one.doc and the web address.
    EXPECT_EQ(window->PanelText(2), QStringLiteral("5 added, 5 skipped"));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 6 Files"));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("6 Selected file(s)  "));
    TaskRow* one = List().Row(2);
    EXPECT_EQ(one->Target(), PathOf("out/one.html"));
    EXPECT_EQ(one->Password(), QStringLiteral("pw"));
    EXPECT_EQ(one->State(), QStringLiteral("Ready"));
    EXPECT_TRUE(one->Checked());
    EXPECT_EQ(List().Row(6)->Target(), PathOf("out/c.html"));
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(DropTest, RefusedDropsSayWhyAndTellTheDragSourceNothingWasTaken) {
    WriteDocument(dir / "one.doc");
    WriteFile(dir / "picture.png", "not a document");
    QMimeData text;
    text.setText(QStringLiteral("just words"));
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(List().viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());

    // A picture is no document: refused, and the status bar says so.
    Qt::DropAction action = Qt::CopyAction;
    EXPECT_FALSE(Drop({Url("picture.png")}, &action));
    EXPECT_EQ(action, Qt::IgnoreAction);
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window->PanelText(2),
              QStringLiteral("Only .doc, .rtf and .xml documents and folders can be added"));
    // Beside a document it is skipped and counted.
    EXPECT_TRUE(Drop({Url("picture.png"), Url("one.doc")}, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("one.doc")));
    EXPECT_EQ(window->PanelText(2), QStringLiteral("1 added, 1 skipped"));
    List().RemoveAllRows();

    // During a run nothing is taken, and the progress bar says why.
    window->runView()->EnterRunState(1);
    EXPECT_FALSE(Drop({Url("one.doc")}, &action));
    EXPECT_EQ(action, Qt::IgnoreAction);
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window->progressBar()->format(),
              QStringLiteral("Nothing can be added while documents convert"));
    window->runView()->LeaveRunState();

    Drop({Url("one.doc")});
    EXPECT_THAT(Sources(), ElementsAre(PathOf("one.doc")));
    EXPECT_EQ(window->PanelText(2), QStringLiteral("1 added, 0 skipped"));
}

TEST(TimeLeftEstimateTest, ShowsTheRunsEstimateCountedDownAtMostOnceASecond) {
    qint64 now = 0;
    TimeLeftEstimate estimate([&now] { return now; });
    estimate.Start();
    now = 3000;
    EXPECT_EQ(estimate.Text(), QString());
    EXPECT_FALSE(estimate.TakeUpdate()); // the run has not estimated anything yet
    estimate.Estimated(24);
    EXPECT_EQ(estimate.Text(), QStringLiteral("About 0:00:24 left"));
    EXPECT_TRUE(estimate.TakeUpdate());
    // Between estimates the last one counts down, rounded up to whole seconds.
    now = 3500;
    EXPECT_EQ(estimate.Text(), QStringLiteral("About 0:00:24 left"));
    EXPECT_FALSE(estimate.TakeUpdate());
    now = 4000;
    EXPECT_TRUE(estimate.TakeUpdate());
    EXPECT_EQ(estimate.Text(), QStringLiteral("About 0:00:23 left"));
    // A longer estimate replaces a shorter one: the run learned its work costs more.
    estimate.Estimated(3 * 3600);
    EXPECT_EQ(estimate.Text(), QStringLiteral("About 3:00:00 left"));
    now += 4 * 3600 * 1000;
    EXPECT_EQ(estimate.Text(), QStringLiteral("About 0:00:00 left"));

    estimate.Start();
    EXPECT_EQ(estimate.Text(), QString());
}

TEST_F(DropTest, TheRunShowsItsTimeLeftBesideItsStatus) {
    qint64 now = 0;
    window->runView()->timeLeft() = TimeLeftEstimate([&now] { return now; });
    window->runView()->EnterRunState(4);
    window->runView()->ShowRunStatus(QStringLiteral("Now Converting ...     1/4"));
    EXPECT_EQ(window->statusPanels()->TimeLeft(), QString());
    now = 4000;
    window->runView()->TimeLeftEstimated(4);
    EXPECT_EQ(window->statusPanels()->TimeLeft(), QStringLiteral("About 0:00:04 left"));
    EXPECT_TRUE(window->progressBar()->isTextVisible());
    EXPECT_EQ(window->PanelText(1), QStringLiteral("Now Converting ...     1/4"));
    window->runView()->LeaveRunState();
    EXPECT_EQ(window->statusPanels()->TimeLeft(), QString());
}

} // namespace
} // namespace pelmora::test
