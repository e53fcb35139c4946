#pragma once
// A log file that takes each line as soon as it is final.

#include <string>

namespace pelmora {

/// Appends lines to one log file, each with a single write on a file opened for
/// appending, so that the lines of runs writing the same file at once never mix
/// inside a line, and a run that is killed keeps every line written before.
class LogFile {
public:
    /// The file at path, opened (created when missing) at the first line.
    explicit LogFile(std::string path) : path_(std::move(path)) {}
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    /// Appends line and a line end. False when the file cannot be opened or written;
    /// the next line tries again.
    bool Append(const std::string& line);

    /// The file's path.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace pelmora
