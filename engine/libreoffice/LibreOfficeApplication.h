#pragma once
// The "Word.Application" that LibreOffice stands in for: a private headless office
// process driven over UNO. This header shows no UNO; only its .cpp does.

#include "engine/AutomationRegistry.h"
#include "engine/WordAutomation.h"

#include <chrono>
#include <memory>
#include <string>

namespace pelmora {

/// How the LibreOffice converter is started and watched.
struct LibreOfficeSettings {
    /// LibreOffice's program folder (soffice.bin, fundamentalrc); empty: the one the
    /// program was built against.
    std::string programFolder;
    /// How long one document may take from Documents.Open to Close before the office
    /// is killed and the call fails.
    std::chrono::milliseconds documentTimeLimit = std::chrono::minutes(5);
    /// How long starting the office and connecting to it may take.
    std::chrono::milliseconds startTimeLimit = std::chrono::seconds(60);
};

/// The automation application backed by a private headless LibreOffice. The office
/// is started by the constructor (throwing AutomationError when it cannot be) and
/// replaced transparently by the next Documents.Open after it crashed or was killed.
/// Use one object from one thread: an office ends with the thread that started it,
/// so that no office outlives a program that died.
class LibreOfficeApplication final : public AutomationApplication {
public:
    explicit LibreOfficeApplication(LibreOfficeSettings settings = {});
    /// Quits the office if Quit was not called.
    ~LibreOfficeApplication() override;

    void SetDisplayAlerts(std::int16_t value) override;
    AutomationOptions& Options() override;
    AutomationDocuments& Documents() override;
    void ChangeFileOpenDirectory(const std::string& folder) override;
    void SetDocumentTimeLimit(std::chrono::milliseconds limit) override;
    void Quit() override;

    int OfficeProcessId() const override;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

/// A factory for the automation registry that makes LibreOfficeApplication objects.
AutomationFactory LibreOfficeFactory(LibreOfficeSettings settings = {});

/// Registers LibreOffice as "Word.Application", with the cleanup that stops its
/// offices at once and removes what they leave behind.
void RegisterLibreOffice(LibreOfficeSettings settings = {});

} // namespace pelmora
