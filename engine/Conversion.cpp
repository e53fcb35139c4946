#include "engine/Conversion.h"

#include "engine/Compaction.h"
#include "engine/FolderHelpers.h"
#include "engine/PathHelpers.h"
#include "engine/StagingFolder.h"

#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

std::runtime_error PathError(const std::string& what, const std::string& path,
                             const std::error_code& error) {
    return std::runtime_error(what + " " + path + ": " + error.message());
}

// The page appeared while its document was converted, and is not to be replaced.
struct OutputAppeared : std::exception {};

// Moves the folder from into to; an existing folder to receives the entries, each
// replacing one of the same name, as a converter saving into it would.
void MoveFolderInto(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const fs::file_status target = fs::symlink_status(to, ec);
    if (!fs::exists(target)) {
        fs::rename(from, to, ec);
        if (ec) {
            throw PathError("Cannot move the picture folder to", to.string(), ec);
        }
        return;
    }
    if (!fs::is_directory(target)) {
        throw PathError("Cannot move the pictures into", to.string(),
                        std::make_error_code(std::errc::file_exists));
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
        const fs::path destination = to / entry.path().filename();
        std::error_code kind;
        if (entry.is_directory(kind) && !entry.is_symlink(kind)) {
            MoveFolderInto(entry.path(), destination);
            continue;
        }
        std::error_code moved;
        fs::rename(entry.path(), destination, moved);
        if (moved) {
            throw PathError("Cannot move the picture to", destination.string(), moved);
        }
    }
    if (ec) {
        throw PathError("Cannot read the picture folder", from.string(), ec);
    }
}

// True when the file path lies directly in folder: that folder holds documents and
// is no picture folder to be emptied.
bool LiesIn(const std::string& path, const std::string& folder) {
    std::error_code ec;
    const fs::path parent = fs::absolute(path, ec).parent_path();
    return !ec && fs::equivalent(parent, folder, ec) && !ec;
}

// Opens sourcePath with the password, then with each other password while the one
// before is refused; a blank stands for no password.
std::unique_ptr<ConverterDocument> OpenWithPasswords(ConverterSession& session,
                                                     const std::string& sourcePath,
                                                     const DocumentOptions& options) {
    std::string password = options.password.empty() ? " " : options.password;
    std::unique_ptr<ConverterDocument> document;
    for (std::size_t next = 0;; ++next) {
        try {
            document = session.Open(sourcePath, password);
            break;
        } catch (const ConverterPasswordError&) {
            if (next >= options.otherPasswords.size()) {
                throw;
            }
            password = options.otherPasswords[next];
        }
    }
    if (!document) {
        throw std::runtime_error("The converter opened no document");
    }
    return document;
}

// The page saved into staging goes to outputPath, compacted if asked, with or without
// its picture folder.
void PlaceStagedPage(const StagingFolder& staging, const std::string& folder,
                     const std::string& name, const std::string& sourcePath,
                     const std::string& outputPath, const DocumentOptions& options) {
    const std::string companionName = ChangeExtension(name, ".files");
    const std::string stagedPage = staging.Path() + kPathSeparator + name;
    if (!FileExists(stagedPage)) {
        throw std::runtime_error("The converter wrote no page " + name);
    }
    if (options.compact) {
        CompactHtml(stagedPage);
    }
    const std::string companion = folder + companionName;
    const fs::path stagedCompanion = fs::path(staging.Path()) / companionName;
    // Another run may have written the page meanwhile; without overwriting it stays,
    // and so do its pictures.
    if (!options.overwrite && FileExists(outputPath)) {
        throw OutputAppeared();
    }
    std::error_code ec;
    if (options.keepPictureFolder && fs::is_directory(fs::symlink_status(stagedCompanion, ec))) {
        MoveFolderInto(stagedCompanion, companion);
    }
    if (!staging.MoveOut(name, outputPath, options.overwrite)) {
        throw OutputAppeared();
    }
    // A picture folder of the same name left from an earlier conversion goes too, so
    // the page stands alone; a folder holding the source itself is not touched.
    if (!options.keepPictureFolder && !LiesIn(sourcePath, companion)) {
        DeleteFolder(companion);
    }
}

// The steps after the checks; every failure throws with its description.
void Convert(ConverterSession* session, const std::string& sourcePath,
             const std::string& outputPath, const DocumentOptions& options) {
    if (session == nullptr) {
        throw std::runtime_error("The document converter is not running");
    }
    const std::size_t slash = outputPath.rfind(kPathSeparator);
    const std::string folder = slash == std::string::npos ? "" : outputPath.substr(0, slash + 1);
    const std::string name = outputPath.substr(folder.size());
    if (name.empty() || name == "." || name == "..") {
        throw std::runtime_error("The output path " + outputPath + " names no file");
    }
    std::unique_ptr<ConverterDocument> document = OpenWithPasswords(*session, sourcePath, options);
    if (!folder.empty() && !FolderExists(folder)) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) {
            throw PathError("Cannot create folder", folder, ec);
        }
    }
    const StagingFolder staging(folder, name);
    document->SaveAsPage(staging.Path() + kPathSeparator, name);
    document->Close();
    document.reset();
    PlaceStagedPage(staging, folder, name, sourcePath, outputPath, options);
}

// The current time of day as it starts every log line (24-hour hh:mm:ss).
std::string LogTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = {};
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(text, sizeof text, "%H:%M:%S", &local) == 0) {
        return "00:00:00";
    }
    return text;
}

} // namespace

std::string PagePath(const std::string& source, const std::string& outputFolder,
                     const std::string& extension) {
    const std::string page = ChangeExtension(source, extension);
    return outputFolder.empty() ? page : ChangeFolder(page, outputFolder);
}

std::string FormatLogLine(ConversionCode code, const std::string& source, const std::string& output,
                          const std::string& error) {
    std::string text;
    switch (code) {
    case ConversionCode::kConverted:
        text = "100, Successfully convert " + source + " to " + output;
        break;
    case ConversionCode::kOutputExists:
        text = "101, Output file " + output + " exists, Ignore!";
        break;
    case ConversionCode::kSourceMissing:
        text = "102, Source file " + source + " doesn't exist, Convert failure!";
        break;
    case ConversionCode::kFailed:
        text = "103, Convert " + source + " failure, the error message is " + error;
        break;
    case ConversionCode::kConverterUnavailable:
        text = "104, Can not load Microsoft Word, Terminate!";
        break;
    }
    return LogTime() + "  " + text;
}

ConversionResult MakeConversionResult(ConversionCode code, const std::string& source,
                                      const std::string& output, const std::string& error) {
    return ConversionResult{code, FormatLogLine(code, source, output, error)};
}

ConversionResult ConvertDocument(ConverterSession* session, const std::string& sourcePath,
                                 const std::string& outputPath, const DocumentOptions& options) {
    if (!options.overwrite && FileExists(outputPath)) {
        return MakeConversionResult(ConversionCode::kOutputExists, sourcePath, outputPath);
    }
    if (!FileExists(sourcePath)) {
        return MakeConversionResult(ConversionCode::kSourceMissing, sourcePath, outputPath);
    }
    std::string failure;
    try {
        std::error_code ec;
        if (fs::equivalent(sourcePath, outputPath, ec) && !ec) {
            // Replacing the source by its own page would destroy the document.
            throw std::runtime_error("The output file " + outputPath + " is the source document");
        }
        Convert(session, sourcePath, outputPath, options);
        return MakeConversionResult(ConversionCode::kConverted, sourcePath, outputPath);
    } catch (const OutputAppeared&) {
        return MakeConversionResult(ConversionCode::kOutputExists, sourcePath, outputPath);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unknown error";
    }
    return MakeConversionResult(ConversionCode::kFailed, sourcePath, outputPath, failure);
}

} // namespace pelmora
