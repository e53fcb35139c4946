#include "engine/libreoffice/OfficeSupport.h"

#include "engine/Converter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sys/statvfs.h>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// Names up to this length leave room for what the office makes of them.
constexpr std::size_t kLongestCopyName = 160;

// True when name is valid UTF-8 without control characters.
bool PlainUtf8(const std::string& name) {
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
        if (byte < 0x20 || byte == 0x7f || (byte >= 0x80 && byte < 0xc2) || byte > 0xf4 ||
            i + length > name.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(name[i + k]) & 0xc0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// The office takes names as UTF-8 and makes longer ones from them. A source name it
// cannot take is replaced by a short one of plain letters; only the extension, which
// tells the office the format, is kept, and only when it is plain letters and digits.
std::string CopyName(const std::string& sourceName) {
    if (sourceName.size() <= kLongestCopyName && PlainUtf8(sourceName)) {
        return sourceName;
    }
    const std::size_t dot = sourceName.rfind('.');
    std::string extension = dot == std::string::npos ? "" : sourceName.substr(dot);
    const bool plain =
        extension.size() >= 2 && extension.size() <= 8 &&
        std::all_of(extension.begin() + 1, extension.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
    return "document" + (plain ? extension : std::string());
}

} // namespace

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
    const fs::path copy = folder / CopyName(source.filename().string());
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

namespace {

// The office's error number in message ("... 0x507(Error Area:Io ...) at ..." or
// "... 0x0xf26"): the last "0x" with hex digits after it. Empty when there is none.
std::string ErrorNumber(const std::string& message) {
    std::string found;
    for (std::size_t at = message.find("0x"); at != std::string::npos;
         at = message.find("0x", at + 1)) {
        std::size_t end = at + 2;
        while (end < message.size() && std::isxdigit(static_cast<unsigned char>(message[end]))) {
            ++end;
        }
        if (end > at + 2) {
            found = message.substr(at, end - at);
        }
    }
    return found;
}

// The office's input/output errors that say more than their class.
const char* IoErrorWords(unsigned long code) {
    switch (code) {
    case 0x11b:
        return "the writing was aborted";
    case 0x507:
    case 0x518:
        return "access to the file was denied";
    case 0x909:
        return "no space left on device";
    case 0x911:
        return "out of memory";
    case 0xc10:
        return "the file cannot be written";
    case 0x81f:
        return "the file name is too long";
    case 0x1019:
        return "the file cannot be created";
    case 0x31c:
        return "the folder does not exist";
    case 0x525:
        return "the device is write-protected";
    default:
        return nullptr;
    }
}

// Words for the office's error number by its class, which sits in bits 8 to 12.
const char* ClassWords(unsigned long code, const char* otherwise) {
    switch ((code >> 8) & 0x1f) {
    case 3:
        return "the file does not exist";
    case 5:
        return "access to the file was denied";
    case 10:
        return "the document's format is not supported";
    case 11:
        return "the file cannot be read";
    case 12:
        return "the file cannot be written";
    case 15:
        return "the file is damaged or not in a format LibreOffice reads";
    default:
        return otherwise;
    }
}

std::string Describe(const std::string& message, const char* otherwise, bool diskFull) {
    const std::string number = ErrorNumber(message);
    const unsigned long code = number.empty() ? 0 : std::strtoul(number.c_str() + 2, nullptr, 16);
    if (code == 0) {
        return message.empty() ? std::string(otherwise) : std::string(otherwise) + ": " + message;
    }
    const char* words = IoErrorWords(code);
    // An aborted write on a full disk is the disk's fault.
    if (code == 0x11b && diskFull) {
        words = "no space left on device";
    }
    return std::string(words != nullptr ? words : ClassWords(code, otherwise)) +
           " (LibreOffice error " + number + ")";
}

} // namespace

std::string DescribeLoadError(const std::string& message) {
    return Describe(message, "LibreOffice cannot read this document", false);
}

std::string DescribeStoreError(const std::string& message, const std::string& folder) {
    struct statvfs space {};
    const bool diskFull =
        ::statvfs(folder.c_str(), &space) == 0 &&
        static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < kNearlyFullBytes;
    return Describe(message, "LibreOffice cannot write the page", diskFull);
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

void MoveFiles(const std::string& from, const std::string& to) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(from, error)) {
        const fs::path target = fs::path(to) / entry.path().filename();
        fs::rename(entry.path(), target, error);
        if (error) {
            // Another file system (the sandbox's own): copied, then removed.
            error.clear();
            fs::copy(entry.path(), target,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
            if (!error) {
                fs::remove_all(entry.path(), error);
            }
        }
        if (error) {
            throw ConverterError("cannot move " + entry.path().filename().string() + " into " + to +
                                 ": " + error.message());
        }
    }
}

} // namespace pelmora
