#pragma once
// Text that names files, made safe for a line of a log or a terminal.

#include <string>

namespace pelmora {

/// text with each control character written as an escape, so that a file name can
/// neither break a line nor reach the terminal as a command: "\n", "\r", "\t", and
/// "\x1b" for the others (DEL, and the UTF-8 forms of U+0080 to U+009F, too). All
/// other bytes, also those that are not UTF-8, stay as they are.
std::string EscapeControlCharacters(const std::string& text);

} // namespace pelmora
