#pragma once
// Whole files in one piece: write(2) may take less than asked, and read(2) may give
// less than the file holds.

#include <string>
#include <string_view>

namespace pelmora {

/// Writes all of data to fd, retrying after interruptions and short writes. Returns 0
/// when everything was written, else the errno of the failure (EIO when the file took
/// nothing without saying why).
int WriteAll(int fd, std::string_view data);

/// Reads the whole file at path into data. Returns 0, or the errno of the failure
/// (data then holds what was read before it).
int ReadAll(const std::string& path, std::string& data);

} // namespace pelmora
