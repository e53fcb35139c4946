#pragma once
// The GNU-style long options of the command line: their names, whether they take a
// value, and the one help line each. The table drives the reading of the tokens and
// the help text, so the two never disagree.

#include <iosfwd>
#include <span>
#include <string>

namespace pelmora {

/// Whether a long option takes a value, and how.
enum class LongOptionValue {
    kNone,     ///< a flag: "--json"
    kRequired, ///< "--name=value" or "--name value"
    kOptional, ///< "--log", "--log=FILE" or "--log FILE"
};

/// One long option.
struct LongOption {
    const char* name;        ///< without the leading "--"
    LongOptionValue value;   ///< whether a value follows
    const char* shortSwitch; ///< the short switch it stands for ("d", "j"), or "" for none
    const char* synopsis;    ///< how it is written in the help: "--dest=DIR"
    const char* help;        ///< what it does, one line
};

/// Every long option, in the order the help lists them.
std::span<const LongOption> LongOptions();

/// The long option named name (the text after "--" up to any "="), or nullptr when
/// it is not one: such a token is an unknown option.
const LongOption* FindLongOption(const std::string& name);

/// Writes one line per long option to out, after a heading line.
void ShowLongOptions(std::ostream& out);

/// Writes "pelmora X.Y", the project's version, and a line end to out.
void ShowVersion(std::ostream& out);

} // namespace pelmora
