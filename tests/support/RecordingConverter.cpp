#include "tests/support/RecordingConverter.h"

#include "engine/PathHelpers.h"
#include "engine/WordAutomation.h"
#include "tests/support/TempFolder.h"

#include <algorithm>

namespace pelmora::test {

class RecordingDocument : public AutomationDocument {
public:
    // Saves into the folder the script holds at SaveAs: the application's folder is
    // set after the document opens.
    explicit RecordingDocument(std::shared_ptr<ConverterScript> script)
        : script_(std::move(script)) {}

    void SaveAs(const std::string& fileName, std::int16_t fileFormat) override {
        std::lock_guard lock(script_->mutex_);
        script_->Record("SaveAs(" + fileName + ", " + std::to_string(fileFormat) + ")");
        const std::string page = script_->folder_ + fileName;
        if (!script_->failSave_.empty()) {
            WriteFile(page, "<html><p>half");
            throw AutomationError(script_->failSave_);
        }
        if (script_->writePage_) {
            WriteFile(page, script_->page_);
            if (!script_->picture_.empty()) {
                WriteFile(script_->folder_ + ChangeExtension(fileName, ".files") + "/image001.png",
                          script_->picture_);
            }
        }
    }
    void Close() override {
        std::lock_guard lock(script_->mutex_);
        script_->Record("Close()");
    }

private:
    std::shared_ptr<ConverterScript> script_;
};

class RecordingApplication : public AutomationApplication, AutomationOptions, AutomationDocuments {
public:
    explicit RecordingApplication(std::shared_ptr<ConverterScript> script)
        : script_(std::move(script)) {}

    void SetDisplayAlerts(std::int16_t value) override {
        Record("DisplayAlerts=" + std::to_string(value));
    }
    AutomationOptions& Options() override { return *this; }
    AutomationDocuments& Documents() override { return *this; }
    void ChangeFileOpenDirectory(const std::string& folder) override {
        std::lock_guard lock(script_->mutex_);
        script_->folder_ = folder;
        script_->Record("ChangeFileOpenDirectory");
    }
    void SetDocumentTimeLimit(std::chrono::milliseconds limit) override {
        Record("DocumentTimeLimit=" + std::to_string(limit.count()) + "ms");
    }
    void Quit() override { Record("Quit"); }

    void SetConfirmConversions(bool value) override {
        Record(std::string("ConfirmConversions=") + (value ? "true" : "false"));
    }
    void SetSaveNormalPrompt(bool value) override {
        Record(std::string("SaveNormalPrompt=") + (value ? "true" : "false"));
    }
    void SetSavePropertiesPrompt(bool value) override {
        Record(std::string("SavePropertiesPrompt=") + (value ? "true" : "false"));
    }

    std::unique_ptr<AutomationDocument> Open(const std::string& fileName,
                                             std::optional<bool> confirmConversions, bool readOnly,
                                             bool addToRecentFiles,
                                             const std::string& passwordDocument) override {
        std::function<void(const std::string&)> onOpen;
        {
            std::lock_guard lock(script_->mutex_);
            script_->opened_.push_back(fileName);
            script_->passwords_.push_back(passwordDocument);
            script_->Record("Open(" + fileName + ", " + (confirmConversions ? "given" : "omitted") +
                            ", " + std::to_string(readOnly) + ", " +
                            std::to_string(addToRecentFiles) + ", [" + passwordDocument + "])");
            onOpen = script_->onOpen_;
        }
        // Outside the lock: a test may stop the run or ask the script from here.
        if (onOpen) {
            onOpen(fileName);
        }
        std::lock_guard lock(script_->mutex_);
        if (!script_->failOpen_.empty()) {
            throw AutomationError(script_->failOpen_);
        }
        return std::make_unique<RecordingDocument>(script_);
    }

private:
    void Record(const std::string& call) {
        std::lock_guard lock(script_->mutex_);
        script_->Record(call);
    }

    std::shared_ptr<ConverterScript> script_;
};

RecordingConverter::RecordingConverter(std::string progId)
    : progId_(std::move(progId)), script_(std::make_shared<ConverterScript>()) {
    previous_ = RegisterAutomationFactory(
        progId_, [script = script_]() -> std::unique_ptr<AutomationApplication> {
            {
                std::lock_guard lock(script->mutex_);
                if (script->failStart_ || script->failNextStarts_ > 0) {
                    script->failNextStarts_ = std::max(0, script->failNextStarts_ - 1);
                    throw AutomationError("no converter here");
                }
                ++script->started_;
            }
            return std::make_unique<RecordingApplication>(script);
        });
}

RecordingConverter::~RecordingConverter() {
    RegisterAutomationFactory(progId_, std::move(previous_));
}

} // namespace pelmora::test
