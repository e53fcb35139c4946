#pragma once
// The parts of the LibreOffice converter that need no UNO: the private copy of a
// source document, and the converter's failures in words.

#include <chrono>
#include <string>

namespace pelmora {

/// Copies fileName into workFolder/number/ under its own name, or under a short name
/// of plain letters with the same extension ("document.doc") when its name is not
/// UTF-8 or long, writable by us, and
/// returns the copy's path. The office reads only such copies, so it can neither
/// lock nor change a source. Throws ConverterError when fileName is missing, a
/// folder, empty or unreadable.
std::string CopySource(const std::string& workFolder, unsigned number, const std::string& fileName);

/// Moves every file and folder in the folder from into the folder to, replacing what
/// is there under those names. Throws ConverterError with the file system's reason
/// when it cannot.
void MoveFiles(const std::string& from, const std::string& to);

/// A load failure reported by LibreOffice (a message ending in its error number,
/// "... 0xf26") in words, the number kept for reference.
std::string DescribeLoadError(const std::string& message);

/// A file system with less free space than this is full for a page and its pictures.
inline constexpr unsigned long long kNearlyFullBytes = 64ULL << 20;

/// A failure to write a page into folder, as LibreOffice reports it (a message with
/// its error number, "... 0x507(Error Area:Io Class:Access Code:7) ..."), in words,
/// the number kept for reference: "no space left on device (LibreOffice error 0x11b)".
std::string DescribeStoreError(const std::string& message, const std::string& folder);

/// A time limit in words: "5 minutes", "3 seconds", "1500 milliseconds".
std::string DescribeDuration(std::chrono::milliseconds limit);

} // namespace pelmora
