#include "cli/LongOptions.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace pelmora {

namespace {

constexpr std::array kLongOptions{
    LongOption{"dest", LongOptionValue::kRequired, "d", "--dest=DIR, -d DIR",
               "write every page into DIR (default: beside its source)"},
    LongOption{"log", LongOptionValue::kOptional, "l", "--log[=FILE], -l FILE",
               "append the run's lines to FILE (default: the day's log in the state folder)"},
    LongOption{"subfolders", LongOptionValue::kNone, "s", "--subfolders, -s",
               "search patterns in every subfolder too"},
    LongOption{"overwrite", LongOptionValue::kNone, "o", "--overwrite, -o",
               "replace existing pages (default: skip them, code 101)"},
    LongOption{"compact", LongOptionValue::kNone, "c", "--compact, -c",
               "compact every written page"},
    LongOption{"keep-files", LongOptionValue::kNone, "f", "--keep-files, -f1",
               "keep each page's .files folder of pictures"},
    LongOption{"jobs", LongOptionValue::kRequired, "j", "--jobs=N, -j N",
               "convert with N offices at once"},
    LongOption{"json", LongOptionValue::kNone, "", "--json",
               "print one JSON object per document instead of the text lines"},
    LongOption{"password-file", LongOptionValue::kRequired, "", "--password-file=FILE",
               "try each line of FILE as the password of protected documents"},
    LongOption{"shard", LongOptionValue::kRequired, "", "--shard=K/N",
               "convert only the K-th of N equal parts of the file list"},
    LongOption{"timeout", LongOptionValue::kRequired, "", "--timeout=SECONDS",
               "give up on a document after SECONDS (default: 300)"},
    LongOption{"recycle-after", LongOptionValue::kRequired, "", "--recycle-after=N",
               "start each office afresh after N documents (default: 200)"},
    LongOption{"office-memory", LongOptionValue::kRequired, "", "--office-memory=MB",
               "start an office afresh once it holds more than MB megabytes (default: 1536)"},
    LongOption{"memory-limit", LongOptionValue::kRequired, "", "--memory-limit=MB",
               "end an office that holds more than MB megabytes while it converts; its "
               "document fails (default: twice --office-memory)"},
    LongOption{"sandbox", LongOptionValue::kRequired, "", "--sandbox=auto|on|off",
               "run each office in a bubblewrap sandbox: auto where it works, on or refuse to "
               "run (status 69), off (default: auto)"},
    LongOption{"quiet", LongOptionValue::kNone, "", "--quiet",
               "draw no progress line on a terminal"},
    LongOption{"help", LongOptionValue::kNone, "?", "--help, -?", "show this text"},
    LongOption{"version", LongOptionValue::kNone, "", "--version", "print the program's version"},
};

} // namespace

std::span<const LongOption> LongOptions() {
    return kLongOptions;
}

const LongOption* FindLongOption(const std::string& name) {
    for (const LongOption& option : kLongOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

void ShowLongOptions(std::ostream& out) {
    out << "\nLong options:\n";
    for (const LongOption& option : kLongOptions) {
        std::string synopsis = option.synopsis;
        // Pad to one column; a synopsis longer than it still gets two spaces.
        synopsis.resize(std::max<std::size_t>(synopsis.size() + 2, 24), ' ');
        out << "  " << synopsis << option.help << '\n';
    }
}

void ShowVersion(std::ostream& out) {
    out << "pelmora " << PELMORA_VERSION << '\n';
}

} // namespace pelmora
