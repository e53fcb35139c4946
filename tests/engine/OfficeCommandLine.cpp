#include "tests/engine/OfficeCommandLine.h"

#include <cstdlib>
#include <stdexcept>

namespace pelmora::test {

void RunOfficeConverter(const std::string& profile, const std::string& format,
                        const std::string& outdir, const std::string& files) {
    const std::string command = "soffice -env:UserInstallation=file://" + profile +
                                " --headless --norestore --convert-to " + ShellQuoted(format) +
                                " --outdir " + ShellQuoted(outdir) + " " + files +
                                " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("LibreOffice could not convert: " + command);
    }
}

std::string ShellQuoted(const std::string& path) {
    std::string quoted = "'";
    for (const char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace pelmora::test
