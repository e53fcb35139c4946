#pragma once
// Writing a whole buffer to a file descriptor, as write(2) may take less than asked.

#include <string_view>

namespace pelmora {

/// Writes all of data to fd, retrying after interruptions and short writes. Returns 0
/// when everything was written, else the errno of the failure (EIO when the file took
/// nothing without saying why).
int WriteAll(int fd, std::string_view data);

} // namespace pelmora
