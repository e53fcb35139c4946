#pragma once
// Converting one document into one HTML page, reported as one numbered log line.

#include "engine/Converter.h"

#include <string>
#include <vector>

namespace pelmora {

/// How each document is converted; every document of a run may carry its own.
struct DocumentOptions {
    bool overwrite = false;         ///< replace an existing page; off: code 101
    bool keepPictureFolder = false; ///< keep the page's ".files" picture folder
    bool compact = false;           ///< compact the saved page
    std::string password;           ///< for protected documents; empty: none
    /// Tried in turn, after password, on a document that password does not open.
    std::vector<std::string> otherPasswords;
};

/// The numbered outcomes a log line reports.
enum class ConversionCode : int {
    kConverted = 100,            ///< the page was written
    kOutputExists = 101,         ///< the page exists and overwriting is off
    kSourceMissing = 102,        ///< the source document does not exist
    kFailed = 103,               ///< the converter or the file system failed
    kConverterUnavailable = 104, ///< the converter could not be started
};

/// The outcome of one document: its code and the log line that reports it.
struct ConversionResult {
    ConversionCode code = ConversionCode::kFailed;
    std::string line;

    /// True only when the page was written (code 100).
    bool Converted() const { return code == ConversionCode::kConverted; }
    /// True for the codes that count as a failed document (102, 103).
    bool Failed() const {
        return code == ConversionCode::kSourceMissing || code == ConversionCode::kFailed;
    }
};

/// The extension of the pages the window writes.
inline constexpr const char* kWindowPageExtension = ".html";

/// The page a source document becomes: source with extension, moved into
/// outputFolder when that is not empty.
std::string PagePath(const std::string& source, const std::string& outputFolder,
                     const std::string& extension);

/// The log line of code, stamped with the current time: source and output name the
/// document and its page, error is the reason a 103 gives; 104 names neither.
std::string FormatLogLine(ConversionCode code, const std::string& source, const std::string& output,
                          const std::string& error = {});

/// The outcome code with its formatted log line.
ConversionResult MakeConversionResult(ConversionCode code, const std::string& source,
                                      const std::string& output, const std::string& error = {});

/// Converts sourcePath into the page outputPath through session; the result carries
/// the outcome (codes 100 to 103). Without a session every document fails (103).
ConversionResult ConvertDocument(ConverterSession* session, const std::string& sourcePath,
                                 const std::string& outputPath, const DocumentOptions& options);

} // namespace pelmora
