#pragma once
// The automation model of the document converter: the objects and calls a batch
// conversion makes, in the shape of the "Word.Application" object. The real
// implementation drives LibreOffice; tests register recording fakes.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace pelmora {

/// A failed automation call; what() is the description that log line 103 repeats.
class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An Open refused because the password is wrong or missing; another password may work.
class AutomationPasswordError : public AutomationError {
public:
    using AutomationError::AutomationError;
};

/// One document opened by the converter.
class AutomationDocument {
public:
    virtual ~AutomationDocument() = default;
    /// Writes the document as fileName (no folder) into the folder last given to
    /// ChangeFileOpenDirectory; fileFormat 8 is the HTML page.
    virtual void SaveAs(const std::string& fileName, std::int16_t fileFormat) = 0;
    /// Closes the document without saving.
    virtual void Close() = 0;
};

/// The prompts of the converter that a batch run switches off.
class AutomationOptions {
public:
    virtual ~AutomationOptions() = default;
    virtual void SetConfirmConversions(bool value) = 0;
    virtual void SetSaveNormalPrompt(bool value) = 0;
    virtual void SetSavePropertiesPrompt(bool value) = 0;
};

/// The document collection: opening a source document.
class AutomationDocuments {
public:
    virtual ~AutomationDocuments() = default;
    /// Opens fileName; confirmConversions empty means the argument is omitted. Never
    /// prompts: a wrong or missing password throws AutomationPasswordError.
    virtual std::unique_ptr<AutomationDocument> Open(const std::string& fileName,
                                                     std::optional<bool> confirmConversions,
                                                     bool readOnly, bool addToRecentFiles,
                                                     const std::string& passwordDocument) = 0;
};

/// The application object that CreateObject("Word.Application") returns.
class AutomationApplication {
public:
    virtual ~AutomationApplication() = default;
    virtual void SetDisplayAlerts(std::int16_t value) = 0;
    virtual AutomationOptions& Options() = 0;
    virtual AutomationDocuments& Documents() = 0;
    /// The folder SaveAs writes into; it ends with the path separator.
    virtual void ChangeFileOpenDirectory(const std::string& folder) = 0;
    /// How long one document may take from Documents.Open to Close before the
    /// converter gives up on it; applies to documents opened from now on.
    virtual void SetDocumentTimeLimit(std::chrono::milliseconds limit) = 0;
    /// Ends the converter; the object is unusable afterwards.
    virtual void Quit() = 0;
    /// The process id of the converter's office now running; 0 when none runs or the
    /// converter has no process of its own.
    virtual int OfficeProcessId() const { return 0; }
};

} // namespace pelmora
