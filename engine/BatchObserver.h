#pragma once
// What a batch run tells its front end while it converts: which document a converter
// session took up, and each outcome in list order.

#include "engine/Conversion.h"

#include <cstddef>
#include <string>

namespace pelmora {

/// One document of a batch as the run hands it to a converter session.
struct BatchDocument {
    std::string source;      ///< the source document, as the list gives it
    std::string page;        ///< the page it becomes
    DocumentOptions options; ///< how it is converted
};

/// The outcome of one document of a batch.
struct DocumentOutcome {
    ConversionResult result; ///< code and log line
    double seconds = 0;      ///< wall time the document took in its session
};

/// Receives a run's events, always on the thread that started the run.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    /// The run knows how many documents it has (called once, before any other event).
    virtual void RunStarted(std::size_t documentCount) { (void)documentCount; }
    /// A session started converting the document at position index.
    virtual void DocumentStarted(std::size_t index, const BatchDocument& document) {
        (void)index, (void)document;
    }
    /// The document at position index is done; called in list order, as soon as it and
    /// every document before it are done.
    virtual void DocumentFinished(std::size_t index, const BatchDocument& document,
                                  const DocumentOutcome& outcome) {
        (void)index, (void)document, (void)outcome;
    }
    /// The run's estimate of the seconds it has left, from the expected cost of the
    /// documents not yet done: told once a document has finished, after each finished
    /// document and a few times a second.
    virtual void TimeLeft(double seconds) { (void)seconds; }
    /// The run is over (also when it was stopped).
    virtual void RunFinished() {}
};

} // namespace pelmora
