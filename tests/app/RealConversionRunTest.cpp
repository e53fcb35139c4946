// Whole runs of the main window with the real converter (a private LibreOffice):
// progress, status texts, row states, the log pane, the day's log file, stopping,
// and closing the window during a run.

#include "app/StatusPanels.h"
#include "engine/PathHelpers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ListChecks.h"
#include "tests/support/LongTable.h"
#include "tests/support/Matchers.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <set>
#include <unistd.h>

namespace pelmora::test {
namespace {

// Every process below this one (the office and anything it started).
std::set<int> Descendants() {
    std::map<int, int> parents;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        int parent = 0;
        rest >> state >> parent;
        if (state != 'Z') {
            parents[std::stoi(name)] = parent;
        }
    }
    std::set<int> below{getpid()};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, parent] : parents) {
            if (below.count(parent) != 0 && below.insert(pid).second) {
                grew = true;
            }
        }
    }
    below.erase(getpid());
    return below;
}

class RealConversionRunTest : public MainWindowTest {
protected:
    void SetUp() override {
        UseRealConverter();
        MainWindowTest::SetUp();
        QObject::connect(window->statusPanels(), &StatusPanels::PanelTextChanged, window.get(),
                         [this](int panel, const QString& text) {
                             if (panel == 1) {
                                 panel1.push_back(text);
                             }
                         });
        QObject::connect(window->progressBar(), &QProgressBar::valueChanged, window.get(),
                         [this](int value) { progress.push_back(value); });
    }

    // A real Word document from the test corpus, copied into the private folder.
    QString AddCorpusDocument(const std::string& corpusName, const std::string& name) {
        fs::copy_file(std::string(PELMORA_TEST_DATA) + "/corpus/" + corpusName, dir / name);
        EXPECT_TRUE(window->AddFile(PathOf(name)));
        return PathOf(name);
    }

    static std::string DayLog() { return ReadFile(DefaultLogPath()); }

    QStringList PaneLines() const {
        return window->logPane()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Runs action once, from the event loop, as soon as the run makes the row at
    // position row current (its document went to a session); fired tells it did.
    void WhenRowStarts(int row, bool& fired, std::function<void()> action) {
        QObject::connect(&List(), &QTreeWidget::currentItemChanged, window.get(),
                         [this, row, &fired, action](QTreeWidgetItem* current) {
                             if (!fired && window->Converting() && current == List().Row(row)) {
                                 fired = true;
                                 QTimer::singleShot(0, window.get(), action);
                             }
                         });
    }

    QStringList panel1;
    std::vector<int> progress;
};

TEST_F(RealConversionRunTest, FourCheckedOfSixConvertWithProgressAndStatusTexts) {
    AddCorpusDocument("simple.doc", "1.doc");
    AddDocument("2.rtf");
    AddDocument("3.rtf");
    AddDocument("4.rtf");
    AddDocument("5.rtf");
    AddCorpusDocument("HeaderFooterUnicode.doc", "6.doc");
    SetItemChecked(&List(), 3, false);
    SetItemChecked(&List(), 5, false);
    window->ChangeFilesState();
    panel1.clear();

    RunToEnd();

    EXPECT_EQ(window->progressBar()->maximum(), 60);
    EXPECT_THAT(progress, ElementsAre(0, 10, 20, 30, 40, 50, 60));
    const QString converting = QStringLiteral("Now Converting ...     %1/4");
    EXPECT_EQ(panel1,
              (QStringList{"Initializing ...", "Now converting ...", converting.arg(1),
                           converting.arg(2), converting.arg(3), converting.arg(4), "Ready!", ""}));
    for (int i : {1, 2, 4, 6}) {
        TaskRow* row = List().Row(i);
        EXPECT_EQ(row->State(), QStringLiteral("Done")) << i;
        EXPECT_EQ(row->Icon(), IconConverted) << i;
        EXPECT_FALSE(row->Checked()) << i;
        EXPECT_TRUE(FileExists(row->Target().toStdString())) << i;
    }
    for (int i : {3, 5}) {
        EXPECT_EQ(List().Row(i)->State(), QStringLiteral("Ready")) << i;
        EXPECT_EQ(List().Row(i)->Icon(), IconPending) << i;
        EXPECT_FALSE(FileExists(List().Row(i)->Target().toStdString())) << i;
    }
    const QStringList lines = PaneLines();
    ASSERT_EQ(lines.size(), 4);
    for (const QString& line : lines) {
        EXPECT_THAT(line.toStdString(), HasSubstr("  100, Successfully convert "));
    }
    // The run's lines reach the day's log file as one block.
    // Each line is appended as it is done; other programs may log between them.
    for (const QString& line : lines) {
        EXPECT_THAT(DayLog(), HasSubstr(line.toStdString() + "\n"));
    }
    EXPECT_FALSE(window->progressBar()->isVisible());
    EXPECT_TRUE(Descendants().empty());

    // A converted row opens its page on a double click.
    const QPoint first = List().visualItemRect(List().Row(1)).center();
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, first);
    EXPECT_THAT(seam.opened, ElementsAre(PathOf("1.html")));
}

TEST_F(RealConversionRunTest, AStopDuringTheSecondTaskFinishesItAndEndsTheRun) {
    for (const char* name : {"1.rtf", "2.rtf", "3.rtf", "4.rtf"}) {
        AddDocument(name);
    }
    // The second takes a second or two: the click lands while it converts.
    WriteFile(dir / "2.rtf", test::LongTableRtf(6000));
    window->ChangeFilesState();
    bool stopped = false;
    // Clicked while the second document converts.
    WhenRowStarts(2, stopped, [this] { window->StopConversion(); });
    RunToEnd();

    ASSERT_TRUE(stopped);
    EXPECT_EQ(List().Row(1)->State(), QStringLiteral("Done"));
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Done"));
    EXPECT_THAT(Checks(), ElementsAre(false, false, true, true));
    EXPECT_EQ(List().Row(3)->State(), QStringLiteral("Ready"));
    EXPECT_EQ(List().Row(4)->State(), QStringLiteral("Ready"));
    EXPECT_TRUE(panel1.contains(QStringLiteral("Stopping...")));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("2 Selected file(s)  "));
    EXPECT_EQ(progress.back(), 60);
    const QStringList lines = PaneLines();
    ASSERT_EQ(lines.size(), 2);
    // Each line is appended as it is done; other programs may log between them.
    for (const QString& line : lines) {
        EXPECT_THAT(DayLog(), HasSubstr(line.toStdString() + "\n"));
    }
    EXPECT_THAT(DayLog(), ::testing::Not(HasSubstr(PathOf("3.rtf").toStdString())));
}

TEST_F(RealConversionRunTest, TwoRunsAppendTwoBlocksAndNoBlockWithTheLogOptionOff) {
    AddDocument("first.rtf");
    window->ChangeFilesState();
    RunToEnd();
    AddDocument("second.rtf");
    window->ChangeFilesState();
    RunToEnd();

    const QStringList lines = PaneLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_THAT(lines[0].toStdString(), HasSubstr(PathOf("first.rtf").toStdString()));
    EXPECT_THAT(lines[1].toStdString(), HasSubstr(PathOf("second.rtf").toStdString()));
    const std::string log = DayLog();
    const std::size_t first = log.find(lines[0].toStdString() + "\n");
    const std::size_t second = log.find(lines[1].toStdString() + "\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    // Each line once: the first run's line is not written again by the second run.
    EXPECT_EQ(log.find(PathOf("first.rtf").toStdString(), first + lines[0].size()),
              std::string::npos);

    window->SetMenuItemChecked(QStringLiteral("mnuLogfile"), false);
    AddDocument("third.rtf");
    window->ChangeFilesState();
    RunToEnd();
    EXPECT_EQ(List().Row(3)->State(), QStringLiteral("Done"));
    EXPECT_THAT(DayLog(), ::testing::Not(HasSubstr(PathOf("third.rtf").toStdString())));
}

TEST_F(RealConversionRunTest, FailedTasksKeepThePendingIconAndPasswordsComeFromTheirTask) {
    const QString gone = AddDocument("gone.rtf");
    fs::remove(gone.toStdString());
    AddCorpusDocument("password_password_cryptoapi.doc", "locked.doc");
    window->SetPassword(QStringLiteral("password"));
    AddCorpusDocument("password_password_cryptoapi.doc", "opened.doc");
    window->ChangeFilesState();
    RunToEnd();

    const QStringList lines = PaneLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_THAT(lines[0].toStdString(), HasSubstr("  102, "));
    EXPECT_THAT(lines[1].toStdString(), HasSubstr("  103, "));
    EXPECT_THAT(lines[2].toStdString(), HasSubstr("  100, "));
    for (int i : {1, 2}) {
        EXPECT_EQ(List().Row(i)->State(), QStringLiteral("Failure")) << i;
        EXPECT_EQ(List().Row(i)->Icon(), IconPending) << i;
        EXPECT_FALSE(List().Row(i)->Checked()) << i;
    }
    EXPECT_EQ(List().Row(3)->State(), QStringLiteral("Done"));
    EXPECT_EQ(List().Row(3)->Icon(), IconConverted);
}

TEST_F(RealConversionRunTest, ClosingDuringARunLeavesNoOfficeBehind) {
    for (const char* name : {"1.rtf", "2.rtf", "3.rtf"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    bool closed = false;
    WhenRowStarts(1, closed, [this] {
        EXPECT_FALSE(Descendants().empty()); // the office is running
        seam.messageAnswers.push_back(QMessageBox::Ok);
        window->close();
    });
    RunToEnd();

    ASSERT_TRUE(closed);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Converting());
    // The task in progress finishes; nothing more is handed out.
    EXPECT_NE(List().Row(1)->State(), QStringLiteral("Failure"));
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Ready"));
    EXPECT_FALSE(FileExists(PathOf("2.html").toStdString()));
    EXPECT_TRUE(Descendants().empty());
}

// How many log pane lines name source.
int LinesNaming(const QStringList& lines, const QString& source) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const QString& line) {
        return line.contains(QLatin1Char(' ') + source + QLatin1Char(' '));
    }));
}

// Two offices, and the user reorders and removes rows while they convert: every task
// still checked is converted once, a removed one never, an unchecked one never.
TEST_F(RealConversionRunTest, TwoOfficesConvertEveryCheckedTaskOnceWhileRowsMoveAndGo) {
    window->SetRunSessions(2);
    for (int i = 1; i <= 10; ++i) {
        AddDocument(std::to_string(i) + ".rtf");
    }
    // The first takes a second or two, so that the second office comes up beside it.
    WriteFile(dir / "1.rtf", test::LongTableRtf(6000));
    SetItemChecked(&List(), 9, false);
    window->ChangeFilesState();
    // Whether a task started while another was still converting: then the status says so.
    std::vector<QString> started;
    bool overlapped = false;
    QObject::connect(
        &List(), &QTreeWidget::currentItemChanged, window.get(), [&](QTreeWidgetItem* current) {
            if (!window->Converting() || current == nullptr) {
                return;
            }
            for (int i = 1; i <= List().RowCount(); ++i) {
                const TaskRow* row = List().Row(i);
                overlapped =
                    overlapped || (row != current &&
                                   std::count(started.begin(), started.end(), row->Source()) != 0 &&
                                   row->State() == QStringLiteral("Ready"));
            }
            started.push_back(static_cast<TaskRow*>(current)->Source());
        });
    bool changed = false;
    WhenRowStarts(2, changed, [this] {
        // The last row to the top, the eighth one up, the seventh removed.
        List().setCurrentItem(List().Row(10));
        for (int i = 0; i < 9; ++i) {
            window->MoveTaskUp();
        }
        List().setCurrentItem(List().Row(8));
        window->MoveTaskUp();
        for (int i = 1; i <= List().RowCount(); ++i) {
            List().Row(i)->setSelected(List().Row(i)->Source() == PathOf("7.rtf"));
        }
        window->RemoveSelectedTasks();
    });
    RunToEnd();

    ASSERT_TRUE(changed);
    EXPECT_EQ(List().RowCount(), 9);
    EXPECT_EQ(List().Row(1)->Source(), PathOf("10.rtf"));
    const QStringList lines = PaneLines();
    for (const int i : {1, 2, 3, 4, 5, 6, 8, 10}) {
        const QString source = PathOf(std::to_string(i) + ".rtf");
        EXPECT_EQ(LinesNaming(lines, source), 1) << i;
        EXPECT_TRUE(FileExists(PathOf(std::to_string(i) + ".html").toStdString())) << i;
    }
    for (const int i : {7, 9}) {
        EXPECT_EQ(LinesNaming(lines, PathOf(std::to_string(i) + ".rtf")), 0) << i;
        EXPECT_FALSE(FileExists(PathOf(std::to_string(i) + ".html").toStdString())) << i;
    }
    EXPECT_EQ(lines.size(), 8);
    for (int i = 1; i <= List().RowCount(); ++i) {
        const bool skipped = List().Row(i)->Source() == PathOf("9.rtf");
        EXPECT_EQ(List().Row(i)->State(),
                  skipped ? QStringLiteral("Ready") : QStringLiteral("Done"))
            << i;
        EXPECT_FALSE(List().Row(i)->Checked()) << i;
    }
    EXPECT_EQ(overlapped, std::any_of(panel1.begin(), panel1.end(), [](const QString& text) {
                  return text.endsWith(QStringLiteral(", 2 at once"));
              }));
    EXPECT_TRUE(Descendants().empty());
}

// Stop with two offices: the tasks in progress finish, nothing more is handed out,
// and no office is left.
TEST_F(RealConversionRunTest, AStopWithTwoOfficesFinishesTheTasksInProgressAndEndsThem) {
    window->SetRunSessions(2);
    for (int i = 1; i <= 8; ++i) {
        AddDocument(std::to_string(i) + ".rtf");
    }
    window->ChangeFilesState();
    bool stopped = false;
    WhenRowStarts(2, stopped, [this] { window->StopConversion(); });
    RunToEnd();

    ASSERT_TRUE(stopped);
    EXPECT_FALSE(window->Converting());
    int done = 0;
    for (int i = 1; i <= 8; ++i) {
        const QString state = List().Row(i)->State();
        EXPECT_NE(state, QStringLiteral("Failure")) << i;
        if (state == QStringLiteral("Done")) {
            ++done;
            EXPECT_FALSE(List().Row(i)->Checked()) << i;
        } else {
            EXPECT_TRUE(List().Row(i)->Checked()) << i;
        }
    }
    // The two in progress at the stop, and at most one handed out before it was seen.
    EXPECT_GE(done, 2);
    EXPECT_LE(done, 3);
    EXPECT_EQ(PaneLines().size(), done);
    EXPECT_EQ(List().Row(8)->State(), QStringLiteral("Ready"));
    EXPECT_TRUE(Descendants().empty());
}

} // namespace
} // namespace pelmora::test
