#include "engine/libreoffice/OfficeSupport.h"

#include "engine/Converter.h"

#include <cstdlib>
#include <filesystem>

namespace pelmora {

namespace fs = std::filesystem;

std::string CopySource(const std::string& workFolder, unsigned number,
                       const std::string& fileName) {
    std::error_code error;
    const fs::path source = fs::absolute(fs::path(fileName), error);
    const auto status = fs::status(source, error);
    if (!fs::is_regular_file(status)) {
        throw ConverterError(fs::is_directory(status) ? fileName + " is a folder"
                                                       : fileName + " does not exist");
    }
    // An empty file is no document, whatever the office would make of it.
    if (fs::file_size(source, error) == 0 && !error) {
        throw ConverterError("the file is empty");
    }
    const fs::path folder = fs::path(workFolder) / std::to_string(number);
    const fs::path copy = folder / source.filename();
    fs::create_directories(folder, error);
    if (!error) {
        fs::copy_file(source, copy, fs::copy_options::overwrite_existing, error);
    }
    if (error) {
        const std::string reason = error.message();
        fs::remove_all(folder, error);
        throw ConverterError("cannot read " + fileName + ": " + reason);
    }
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, error);
    return copy.string();
}

std::string DescribeLoadError(const std::string& message) {
    const std::size_t at = message.rfind("0x");
    const unsigned long code =
        at == std::string::npos ? 0 : std::strtoul(message.c_str() + at + 2, nullptr, 16);
    // The error class sits in bits 8 to 12 of LibreOffice's error numbers.
    const char* what = "LibreOffice cannot read this document";
    switch ((code >> 8) & 0x1f) {
    case 3:
        what = "the file does not exist";
        break;
    case 5:
        what = "access to the file was denied";
        break;
    case 10:
        what = "the document's format is not supported";
        break;
    case 11:
        what = "the file cannot be read";
        break;
    case 15:
        what = "the file is damaged or not in a format LibreOffice reads";
        break;
    }
    if (code == 0) {
        return message.empty() ? std::string(what) : std::string(what) + ": " + message;
    }
    return std::string(what) + " (LibreOffice error " + message.substr(at) + ")";
}

std::string DescribeDuration(std::chrono::milliseconds limit) {
    const auto count = limit.count();
    if (count % 60000 == 0) {
        return std::to_string(count / 60000) + (count == 60000 ? " minute" : " minutes");
    }
    if (count % 1000 == 0) {
        return std::to_string(count / 1000) + (count == 1000 ? " second" : " seconds");
    }
    return std::to_string(count) + (count == 1 ? " millisecond" : " milliseconds");
}

} // namespace pelmora
