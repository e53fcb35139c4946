#pragma once
// LibreOffice's own command-line converter, for making test documents and the
// pages LibreOffice itself exports from them.

#include <string>

namespace pelmora::test {

/// Runs `soffice --headless --convert-to format --outdir outdir files` with the user
/// profile in the folder profile (files: paths separated by blanks, each quoted).
/// Throws std::runtime_error when soffice fails.
void RunOfficeConverter(const std::string& profile, const std::string& format,
                        const std::string& outdir, const std::string& files);

/// path in single quotes for the shell.
std::string ShellQuoted(const std::string& path);

} // namespace pelmora::test
