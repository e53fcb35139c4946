#include "tests/support/RecordingConverter.h"

#include "engine/PathHelpers.h"
#include "tests/support/TempFolder.h"

#include <algorithm>

namespace pelmora::test {

class RecordingDocument : public ConverterDocument {
public:
    explicit RecordingDocument(std::shared_ptr<ConverterScript> script)
        : script_(std::move(script)) {}

    void SaveAsPage(const std::string& folder, const std::string& fileName) override {
        std::lock_guard lock(script_->mutex_);
        script_->folder_ = folder;
        script_->Record("SaveAsPage(" + fileName + ")");
        const std::string page = folder + fileName;
        if (!script_->failSave_.empty()) {
            WriteFile(page, "<html><p>half");
            throw ConverterError(script_->failSave_);
        }
        if (script_->writePage_) {
            WriteFile(page, script_->page_);
            if (!script_->picture_.empty()) {
                WriteFile(folder + ChangeExtension(fileName, ".files") + "/image001.png",
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

class RecordingSession : public ConverterSession {
public:
    explicit RecordingSession(std::shared_ptr<ConverterScript> script)
        : script_(std::move(script)) {}

    void Quit() override { Record("Quit"); }

    std::unique_ptr<ConverterDocument> Open(const std::string& fileName,
                                            const std::string& password) override {
        std::function<void(const std::string&)> onOpen;
        {
            std::lock_guard lock(script_->mutex_);
            script_->opened_.push_back(fileName);
            script_->passwords_.push_back(password);
            script_->Record("Open(" + fileName + ", [" + password + "])");
            onOpen = script_->onOpen_;
        }
        // Outside the lock: a test may stop the run or ask the script from here.
        if (onOpen) {
            onOpen(fileName);
        }
        std::lock_guard lock(script_->mutex_);
        if (!script_->failOpen_.empty()) {
            throw ConverterError(script_->failOpen_);
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

RecordingConverter::RecordingConverter() : script_(std::make_shared<ConverterScript>()) {}

std::unique_ptr<ConverterSession>
RecordingConverter::OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) {
    std::lock_guard lock(script_->mutex_);
    if (script_->failStart_ || script_->failNextStarts_ > 0) {
        script_->failNextStarts_ = std::max(0, script_->failNextStarts_ - 1);
        throw ConverterError("no converter here");
    }
    ++script_->started_;
    if (documentTimeLimit) {
        script_->Record("DocumentTimeLimit=" + std::to_string(documentTimeLimit->count()) + "ms");
    }
    return std::make_unique<RecordingSession>(script_);
}

} // namespace pelmora::test
