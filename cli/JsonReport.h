#pragma once
// The machine-readable report of a command-line run: one JSON object a document, one
// object a line, so that the output of several runs can simply be joined.

#include "cli/DocumentReport.h"

#include <cstddef>
#include <string>

namespace pelmora {

/// Writes {"source", "page", "code", "message", "seconds", "pictures"} for each
/// finished document, in list order.
class JsonReport : public DocumentReport {
public:
    using DocumentReport::DocumentReport;

    /// One object from its parts, with its line end; message is the log line without its
    /// time.
    static std::string Object(const std::string& source, const std::string& page, int code,
                              const std::string& message, double seconds, std::size_t pictures);

    /// text as a JSON string with its quotes. Valid UTF-8 is kept as it is; each byte
    /// that is not part of valid UTF-8 becomes the escape of the lone surrogate
    /// U+DC00 + byte ("\udcff" for 0xFF), as Python's "surrogateescape" reads it, so
    /// that any path comes back byte for byte.
    static std::string Quote(const std::string& text);

    /// The log line without its leading "hh:mm:ss  " time.
    static std::string MessageOf(const std::string& logLine);

    /// The number of files in the picture folder of page (its ".files" folder and the
    /// folders below it); 0 when it does not exist.
    static std::size_t CountPictures(const std::string& page);

protected:
    /// The document's object.
    std::string Record(const BatchDocument& document,
                       const DocumentOutcome& outcome) const override;
};

} // namespace pelmora
