#include "tests/app/AppTestSupport.h"

#include "app/ConversionRun.h"
#include "engine/PathHelpers.h"

#include <QAbstractButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <thread>

namespace pelmora::test {

std::string WriteDocument(const std::string& path, const std::string& text) {
    WriteFile(path, "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 " + text +
                        "\\par}\n");
    return path;
}

void ClickButton(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

void MainWindowTest::SetUp() {
    window = std::make_unique<MainWindow>(seam, chosenConverter);
    // The one-session run unless a test asks for a pool.
    window->SetRunSessions(1);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void MainWindowTest::TearDown() {
    window.reset();
}

QString MainWindowTest::AddDocument(const std::string& name) {
    const QString path = QString::fromStdString(WriteDocument(dir / name));
    EXPECT_TRUE(window->AddFile(path)) << name;
    return path;
}

void MainWindowTest::RunToEnd(int timeoutMs) {
    window->RunConversion();
    // The run works on a thread of its own; the window's events go on meanwhile.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->run() == nullptr; }, timeoutMs));
    QCoreApplication::processEvents();
}

void MainWindowTest::HoldConversions(std::vector<std::string> names) {
    converter.Script().SetOnOpen([this, names](const std::string& file) {
        if (!names.empty() && std::none_of(names.begin(), names.end(),
                                           [&](const auto& name) { return file == dir / name; })) {
            return;
        }
        heldStarted_ = true;
        // Ten seconds at the most: a test that failed before releasing still ends.
        for (int i = 0; i < 1000 && !heldReleased_; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(heldReleased_) << "the held document " << file << " was never let go";
    });
}

QStringList MainWindowTest::Sources() const {
    QStringList sources;
    for (int i = 1; i <= List().RowCount(); ++i) {
        sources.push_back(List().Row(i)->Source());
    }
    return sources;
}

std::vector<bool> MainWindowTest::Checks() const {
    std::vector<bool> checks;
    for (int i = 1; i <= List().RowCount(); ++i) {
        checks.push_back(List().Row(i)->Checked());
    }
    return checks;
}

} // namespace pelmora::test
