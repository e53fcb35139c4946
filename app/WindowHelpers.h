#pragma once
// Small helpers only the window uses: where its help page is, how its size column
// writes a size, and a dialog's answer cut at its first NUL. They never throw.

#include "engine/PathHelpers.h"

#include <cstdint>
#include <string>

namespace pelmora {

/// The help page of the program in programFolder (ending with the separator):
/// "../share/doc/pelmora/help.html" from it once installed, else "help.html" beside
/// the program, as in the build tree.
std::string HelpFilePath(const std::string& programFolder = AppFolder());
/// A file size as the task list shows it ("1,000", "1.00KB", "0.98MB", "1.00GB"),
/// with the user's locale separators.
std::string FormatFileSize(std::int64_t bytes);
/// FormatFileSize with the given separators instead of the user's.
std::string FormatFileSize(std::int64_t bytes, const std::string& thousandsSeparator,
                           const std::string& decimalSeparator);
/// text before its first NUL character.
std::string TrimAtNul(const std::string& text);

} // namespace pelmora
