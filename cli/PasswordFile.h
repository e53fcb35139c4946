#pragma once
// The passwords a command-line run tries on protected documents, read from a file so
// that none of them ever appears in the process list.

#include <iosfwd>
#include <string>
#include <vector>

namespace pelmora {

/// Reads path, one password a line (a trailing "\r" and empty lines dropped), into
/// passwords in file order. A file that its group or other users may read gets one
/// warning line on warnings. False, with problem set to one line for standard
/// error, when the file cannot be read.
bool ReadPasswordFile(const std::string& path, std::vector<std::string>& passwords,
                      std::ostream& warnings, std::string& problem);

} // namespace pelmora
