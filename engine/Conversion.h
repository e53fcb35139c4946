#pragma once
// Converting one document into one HTML page, reported as one numbered log line.

#include "engine/Compaction.h"
#include "engine/WordSession.h"

#include <string>

namespace pelmora {

/// The settings of one conversion run.
struct ConversionOptions {
    std::string OutputDir;       ///< folder of every page; empty: beside each source
    bool Overwrite = false;      ///< replace an existing page; off: code 101
    bool CreateFilesDir = false; ///< keep the page's ".files" picture folder
    bool Compress = false;       ///< compact the saved page
    std::string Password;        ///< for protected documents; empty: none
    std::string LogFile;         ///< where the caller appends the run's lines
};

/// The current time of day as it starts every log line (24-hour hh:mm:ss).
std::string LogTime();

/// Converts sourcePath into the page outputPath through the open session. logLine
/// always receives the outcome (codes 100 to 103); true only for 100.
bool ConvertDocument(WordSession& session, const std::string& sourcePath,
                     const std::string& outputPath, std::string& logLine,
                     const ConversionOptions& options, const YieldHook& yield = {});

} // namespace pelmora
