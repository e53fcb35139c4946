#pragma once
// Why the temporary folder the offices work in cannot be used, in words.

#include <string>

namespace pelmora {

/// The folder temporary files go to: $TMPDIR, or /tmp when it is unset or empty.
std::string TemporaryFolder();

/// One line for standard error (without line end) naming the temporary folder and
/// why nothing can be written there: missing, not a folder, not writable, full.
/// Empty when a small file can be written there.
std::string TemporaryFolderProblem();

} // namespace pelmora
