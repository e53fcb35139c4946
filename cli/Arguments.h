#pragma once
// The program's command line as a list of tokens: switch tests and values, the usage
// text, and the expansion of file arguments (with wildcard patterns) into source files.

#include "engine/FileSearch.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace pelmora {

/// Splits a raw command-line string into tokens the way a Windows command line is
/// read: double quotes group, a doubled quote is a literal one, and outside quotes
/// every "/" and "-" begins a new token. Tokens keep their quotes.
std::vector<std::string> ParseCommandLine(const std::string& rawCommandLine);

/// text without its surrounding double quotes and with each doubled quote made
/// single; text unchanged unless it both begins and ends with a double quote.
std::string Unquote(const std::string& text);

/// Writes the usage text, line for line, to out.
void ShowUsage(std::ostream& out);

/// The one line (without line end) that tells which patterns of a file list found
/// nothing: pelmora: nothing matches "*.doc" "in/*.rtf".
std::string NothingMatchesLine(const std::vector<std::string>& patterns);

/// The tokens of one command line and the questions the batch run asks of them.
class CommandLineArguments {
public:
    /// Tokens from a process's arguments: each element after the program name is one
    /// token, already unquoted by the shell. Only "-" begins a switch; "--name" is a
    /// long option when name is one (LongOptions), else an unknown option (read as
    /// "-name" by the switch tests). A switch's value may also be the next token.
    CommandLineArguments(int argc, const char* const* argv);

    /// Tokens from a raw command-line string (ParseCommandLine): "/" and "-" begin
    /// switches, tokens keep their quotes, and the file list ends at the first token
    /// that begins with "/".
    static CommandLineArguments FromRawCommandLine(const std::string& rawCommandLine);

    /// Number of tokens; 0 for an empty command line.
    int ArgumentCount() const;

    /// Token number index (1-based), passed through Unquote when unquote is set;
    /// empty when out of range.
    std::string GetArgument(int index, bool unquote) const;

    /// True when a switch whose name begins with name (without regard to case) is
    /// present; with valueRequired only when the first such token is longer than two
    /// characters ("-f1" but not "-f").
    bool HasSwitch(const std::string& name, bool valueRequired = false) const;

    /// The text after name in the first matching switch (a leading "=" dropped,
    /// trimmed); for shell arguments, the next token when that text is empty and the
    /// next token is not a switch. Empty when the switch is absent.
    std::string GetSwitchValue(const std::string& name, bool unquote) const;

    /// The folder or file named by switch name as the batch run reads it ("-l:/tmp/a.log",
    /// "-l /tmp/a.log", "-l: /tmp/a.log"): GetSwitchValue without a leading ":" (and,
    /// for a raw command line, without double quotes), trimmed; for shell arguments a
    /// lone ":" takes the next token. Empty when none is given.
    std::string GetSwitchPath(const std::string& name) const;

    /// True when the long option name (without "--") is given, with or without a value.
    bool HasLongOption(const std::string& name) const;

    /// The value of the long option name: the text after its "=" ("--dest=out"), or
    /// else the next token when that is not a switch ("--dest out"). Empty when the
    /// option is absent or has no value.
    std::string GetLongOptionValue(const std::string& name) const;

    /// Appends the source files named before the first switch to list: plain paths as
    /// written, wildcard patterns searched in their folder (with includeSubfolders
    /// also in every folder below it). A pattern without a folder is searched in the
    /// working folder (its files come as "./name"). Each pattern that finds nothing
    /// is appended to unmatched when that is given; found, when given, is called each
    /// time the list has grown. Subfolders the search cannot read are appended to
    /// skipped when that is given.
    void ExpandFileList(std::vector<std::string>& list, bool includeSubfolders,
                        std::vector<std::string>* unmatched = nullptr,
                        const std::function<void()>& found = {},
                        std::vector<SkippedFolder>* skipped = nullptr) const;

    /// The tokens that begin with "--" but name no long option ("--dry-run"), in order.
    const std::vector<std::string>& UnknownLongOptions() const { return unknownLongOptions_; }

    /// True when the first token is a switch, so that the file list is empty.
    bool BeginsWithSwitch() const;

    /// For shell arguments, the tokens after the first switch that are neither switches
    /// nor a switch's value ("b.doc" of "a.doc -o b.doc"): they are not converted.
    std::vector<std::string> StrayTokens() const;

private:
    CommandLineArguments(std::vector<std::string> tokens, bool fromShell);

    bool TakesNextToken(const std::string& token) const;

    bool IsSwitch(const std::string& token) const;
    int FindSwitch(const std::string& name) const;
    int FindLongOptionToken(const std::string& name) const;
    std::string NextValueToken(int at) const;

    std::vector<std::string> tokens_;
    std::vector<std::string> unknownLongOptions_;
    bool fromShell_ = true;
};

} // namespace pelmora
