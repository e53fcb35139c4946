#include "tests/app/AppTestSupport.h"

#include "engine/AutomationRegistry.h"
#include "engine/PathHelpers.h"
#include "engine/WordAutomation.h"

#include <QAbstractButton>
#include <QTest>

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

std::vector<std::string> ConverterScript::Opened() {
    std::lock_guard lock(mutex);
    std::vector<std::string> files;
    for (const std::string& call : calls) {
        if (call.rfind("Open ", 0) == 0) {
            files.push_back(call.substr(5, call.rfind(" [") - 5));
        }
    }
    return files;
}

namespace {

class FakeDocument : public AutomationDocument {
public:
    // folder is the application's save folder, which is set after the document opens.
    FakeDocument(std::shared_ptr<ConverterScript> script, const std::string& folder)
        : m_script(std::move(script)), m_folder(folder) {}
    void SaveAs(const std::string& fileName, std::int16_t) override {
        {
            std::lock_guard lock(m_script->mutex);
            m_script->calls.push_back("SaveAs " + fileName);
        }
        WriteFile(m_folder + fileName, "<html><body><p>page</p></body></html>\n");
    }
    void Close() override {}

private:
    std::shared_ptr<ConverterScript> m_script;
    const std::string& m_folder;
};

class FakeApplication : public AutomationApplication, AutomationOptions, AutomationDocuments {
public:
    explicit FakeApplication(std::shared_ptr<ConverterScript> script)
        : m_script(std::move(script)) {}
    void SetDisplayAlerts(std::int16_t) override {}
    void SetConfirmConversions(bool) override {}
    void SetSaveNormalPrompt(bool) override {}
    void SetSavePropertiesPrompt(bool) override {}
    AutomationOptions& Options() override { return *this; }
    AutomationDocuments& Documents() override { return *this; }
    std::unique_ptr<AutomationDocument> Open(const std::string& fileName, std::optional<bool>, bool,
                                             bool, const std::string& password) override {
        std::function<void(const std::string&)> onOpen;
        {
            std::lock_guard lock(m_script->mutex);
            m_script->calls.push_back("Open " + fileName + " [" + password + "]");
            m_script->passwords.push_back(password);
            onOpen = m_script->onOpen;
        }
        if (onOpen) {
            onOpen(fileName);
        }
        return std::make_unique<FakeDocument>(m_script, m_folder);
    }
    void ChangeFileOpenDirectory(const std::string& folder) override { m_folder = folder; }
    void Quit() override {
        std::lock_guard lock(m_script->mutex);
        m_script->calls.push_back("Quit");
    }

private:
    std::shared_ptr<ConverterScript> m_script;
    std::string m_folder;
};

} // namespace

RecordingConverter::RecordingConverter() : m_script(std::make_shared<ConverterScript>()) {
    RegisterAutomationFactory("Word.Application",
                              [script = m_script]() -> std::unique_ptr<AutomationApplication> {
                                  if (script->failStart) {
                                      throw AutomationError("no converter here");
                                  }
                                  return std::make_unique<FakeApplication>(script);
                              });
}

RecordingConverter::~RecordingConverter() {
    UseRealConverter();
}

void MainWindowTest::SetUp() {
    window = std::make_unique<MainWindow>(seam);
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

namespace pelmora::test {

void UseRealConverter() {
    RegisterAutomationFactory("Word.Application", {});
}

} // namespace pelmora::test
