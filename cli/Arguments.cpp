#include "cli/Arguments.h"

#include "cli/LongOptions.h"
#include "engine/FileSearch.h"
#include "engine/PathHelpers.h"
#include "engine/TextLines.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace pelmora {

namespace {

// Stand-ins for characters inside quoted runs while the line is cut, so that the
// cuts at spaces, "/" and "-" only happen outside quotes.
constexpr char kEscapedQuote = '\x01';
constexpr char kQuotedSpace = '\x02';
constexpr char kQuotedSlash = '\x03';
constexpr char kQuotedDash = '\x04';

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    std::string::size_type at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

bool EqualsIgnoringCase(const std::string& a, std::string::size_type offset, const std::string& b) {
    if (a.size() - offset < b.size()) {
        return false;
    }
    for (std::string::size_type i = 0; i < b.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[offset + i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Segments alternate between outside and inside quotes; inside, the characters that
// would split a token stand masked. An unclosed quote makes the rest of the line one
// quoted run.
std::string MaskQuotedRuns(const std::string& text) {
    std::string joined;
    std::string::size_type start = 0;
    bool quoted = false;
    while (true) {
        const auto quote = text.find('"', start);
        std::string segment =
            text.substr(start, quote == std::string::npos ? std::string::npos : quote - start);
        if (quoted) {
            for (char& c : segment) {
                if (c == ' ') {
                    c = kQuotedSpace;
                } else if (c == '/') {
                    c = kQuotedSlash;
                } else if (c == '-') {
                    c = kQuotedDash;
                }
            }
            joined += '"' + segment + '"';
        } else {
            joined += segment;
        }
        if (quote == std::string::npos) {
            return joined;
        }
        start = quote + 1;
        quoted = !quoted;
    }
}

// A space before every switch character, so that each switch becomes a token.
std::string CutBeforeSwitches(const std::string& joined) {
    std::string cut;
    cut.reserve(joined.size() * 2);
    for (char c : joined) {
        if (c == '/' || c == '-') {
            cut += ' ';
        }
        cut += c;
    }
    return cut;
}

// The piece with its masked characters back.
std::string Unmasked(const std::string& piece) {
    std::string token;
    for (char c : piece) {
        switch (c) {
        case kEscapedQuote:
            token += "\"\"";
            break;
        case kQuotedSpace:
            token += ' ';
            break;
        case kQuotedSlash:
            token += '/';
            break;
        case kQuotedDash:
            token += '-';
            break;
        default:
            token += c;
        }
    }
    return token;
}

} // namespace

std::vector<std::string> ParseCommandLine(const std::string& rawCommandLine) {
    std::vector<std::string> tokens;
    const std::string raw = TrimSpaces(rawCommandLine);
    if (raw.empty()) {
        return tokens;
    }

    const std::string text = " " + ReplaceAll(raw, "\"\"", std::string(1, kEscapedQuote)) + " ";

    const std::string joined = TrimSpaces(MaskQuotedRuns(text));
    for (const std::string& piece : SplitAt(CutBeforeSwitches(joined), ' ')) {
        if (!piece.empty()) {
            tokens.push_back(Unmasked(piece));
        }
    }
    return tokens;
}

std::string Unquote(const std::string& text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
        return text;
    }
    const std::string single = ReplaceAll(text, "\"\"", "\"");
    // "" alone collapses to one quote: nothing is left between the quotes.
    if (single.size() < 2) {
        return {};
    }
    return single.substr(1, single.size() - 2);
}

void ShowUsage(std::ostream& out) {
    out << "pelmora <File List> [-d:Dest Path] [-s] [-o] [-l:[LogFile]] [-c] [-f] [-?]\n"
        << "\n"
        << "<File List>\tFile list want to be converted, Example: /home/ann/abc.doc /srv/*.doc\n"
        << "[-d:Dest Path]\tDestination path, Default: Same as input file;\n"
        << "[-s]\t\tInclude subfolders;\n"
        << "[-o]\t\tOverwrite existing output files;\n"
        << "[-l:[LogFile]]\tCreate a .log File, if doesn't specify, will be create in app path;"
        << std::string(15, ' ') << "\n"
        << "[-c]\t\tCompress HTML files;\n"
        << "[-f]\t\tCreate the XXX.files Dir;\n"
        << "[-?]\t\tShow this message box.\n"
        << "\n"
        << "Example: Convert /home/ann/test.doc and all doc files in /tmp/docs to HTML files, "
           "save logs to /tmp/abc.log\n"
        << "pelmora /home/ann/test.doc /tmp/docs/*.doc -l:/tmp/abc.log\n";
}

std::string NothingMatchesLine(const std::vector<std::string>& patterns) {
    std::string line = "pelmora: nothing matches";
    for (const std::string& pattern : patterns) {
        line += " \"" + EscapeControlCharacters(pattern) + "\"";
    }
    return line;
}

CommandLineArguments::CommandLineArguments(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        std::string token = argv[i] ? argv[i] : "";
        if (token.size() >= 2 && token[0] == '-' && token[1] == '-' &&
            !FindLongOption(token.substr(2, token.find('=') - 2))) {
            // Not one of ours: an error, which ReadRunChoices reports.
            unknownLongOptions_.push_back(token);
            token.erase(0, 1);
        }
        tokens_.push_back(std::move(token));
    }
}

CommandLineArguments::CommandLineArguments(std::vector<std::string> tokens, bool fromShell)
    : tokens_(std::move(tokens)), fromShell_(fromShell) {}

CommandLineArguments CommandLineArguments::FromRawCommandLine(const std::string& rawCommandLine) {
    return CommandLineArguments(ParseCommandLine(rawCommandLine), false);
}

int CommandLineArguments::ArgumentCount() const {
    return static_cast<int>(tokens_.size());
}

std::string CommandLineArguments::GetArgument(int index, bool unquote) const {
    if (index < 1 || index > ArgumentCount()) {
        return {};
    }
    const std::string& token = tokens_[static_cast<std::size_t>(index - 1)];
    // The shell has taken its quotes away already; a quote left in a shell argument
    // is part of the file name.
    return unquote && !fromShell_ ? Unquote(token) : token;
}

bool CommandLineArguments::IsSwitch(const std::string& token) const {
    if (token.empty()) {
        return false;
    }
    // "/" begins every absolute path on this platform, so only a raw Windows-style
    // command line uses it as a switch character.
    return token[0] == '-' || (!fromShell_ && token[0] == '/');
}

int CommandLineArguments::FindSwitch(const std::string& name) const {
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
        if (IsSwitch(tokens_[i]) && EqualsIgnoringCase(tokens_[i], 1, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CommandLineArguments::HasSwitch(const std::string& name, bool valueRequired) const {
    const int at = FindSwitch(name);
    if (at < 0) {
        return false;
    }
    return !valueRequired || TrimSpaces(tokens_[static_cast<std::size_t>(at)]).size() > 2;
}

std::string CommandLineArguments::GetSwitchValue(const std::string& name, bool unquote) const {
    const int at = FindSwitch(name);
    if (at < 0) {
        return {};
    }
    const std::string& token = tokens_[static_cast<std::size_t>(at)];
    std::string rest = token.substr(std::min(token.size(), 1 + name.size()));
    if (unquote && !fromShell_) {
        rest = Unquote(rest);
    }
    if (!rest.empty() && rest[0] == '=') {
        rest.erase(0, 1);
    }
    rest = TrimSpaces(rest);
    return rest.empty() ? NextValueToken(at) : rest;
}

std::string CommandLineArguments::NextValueToken(int at) const {
    if (!fromShell_ || at < 0 || at + 1 >= ArgumentCount()) {
        return {};
    }
    const std::string& next = tokens_[static_cast<std::size_t>(at + 1)];
    return IsSwitch(next) ? std::string() : next;
}

int CommandLineArguments::FindLongOptionToken(const std::string& name) const {
    if (!fromShell_) {
        return -1;
    }
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
        const std::string& token = tokens_[i];
        if (token.size() >= 2 + name.size() && token.compare(0, 2, "--") == 0 &&
            token.compare(2, name.size(), name) == 0 &&
            (token.size() == 2 + name.size() || token[2 + name.size()] == '=')) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CommandLineArguments::HasLongOption(const std::string& name) const {
    return FindLongOptionToken(name) >= 0;
}

std::string CommandLineArguments::GetLongOptionValue(const std::string& name) const {
    const int at = FindLongOptionToken(name);
    if (at < 0) {
        return {};
    }
    const std::string& token = tokens_[static_cast<std::size_t>(at)];
    if (token.size() > 2 + name.size()) {
        return token.substr(3 + name.size());
    }
    return NextValueToken(at);
}

std::string CommandLineArguments::GetSwitchPath(const std::string& name) const {
    std::string value = GetSwitchValue(name, true);
    // Only the ":" of "-d:" is dropped: "-d=/out" has lost its "=" already and must
    // keep its "/".
    if (!value.empty() && value[0] == ':') {
        value.erase(0, 1);
        // "-d: /srv/out": the colon stands alone and the folder is the next token.
        if (TrimSpaces(value).empty()) {
            value = NextValueToken(FindSwitch(name));
        }
    }
    if (!fromShell_) {
        value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    }
    return TrimSpaces(value);
}

bool CommandLineArguments::BeginsWithSwitch() const {
    return !tokens_.empty() && IsSwitch(tokens_.front());
}

bool CommandLineArguments::TakesNextToken(const std::string& token) const {
    if (token.compare(0, 2, "--") == 0) {
        if (token.find('=') != std::string::npos) {
            return false;
        }
        const LongOption* option = FindLongOption(token.substr(2));
        return option != nullptr && option->value != LongOptionValue::kNone;
    }
    // The short switches with a value: "-d", "-l", "-j", alone or with "=" or ":".
    const char letter = token.size() > 1
                            ? static_cast<char>(std::tolower(static_cast<unsigned char>(token[1])))
                            : '\0';
    const std::string rest = token.size() > 2 ? TrimSpaces(token.substr(2)) : std::string();
    return (letter == 'd' || letter == 'l' || letter == 'j') &&
           (rest.empty() || rest == "=" || rest == ":");
}

std::vector<std::string> CommandLineArguments::StrayTokens() const {
    std::vector<std::string> stray;
    if (!fromShell_) {
        return stray;
    }
    bool afterSwitch = false;
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
        if (IsSwitch(tokens_[i])) {
            afterSwitch = true;
            if (TakesNextToken(tokens_[i]) && i + 1 < tokens_.size() && !IsSwitch(tokens_[i + 1])) {
                ++i;
            }
        } else if (afterSwitch) {
            stray.push_back(tokens_[i]);
        }
    }
    return stray;
}

void CommandLineArguments::ExpandFileList(std::vector<std::string>& list, bool includeSubfolders,
                                          std::vector<std::string>* unmatched,
                                          const std::function<void()>& found,
                                          std::vector<SkippedFolder>* skipped) const {
    for (int index = 1; index <= ArgumentCount(); ++index) {
        std::string a = GetArgument(index, true);
        if (!fromShell_) {
            a.erase(std::remove(a.begin(), a.end(), '"'), a.end());
        }
        if (fromShell_ ? IsSwitch(a) : (!a.empty() && a[0] == '/')) {
            return;
        }
        if (a.find_first_of("*?") == std::string::npos) {
            list.push_back(a);
            if (found) {
                found();
            }
            continue;
        }
        const auto slash = a.rfind(kPathSeparator);
        const std::vector<std::string> matches =
            slash == std::string::npos
                ? FindFiles(std::string(".") + kPathSeparator, a, includeSubfolders, false, skipped)
                : FindFiles(a.substr(0, slash + 1), a.substr(slash + 1), includeSubfolders, false,
                            skipped);
        if (matches.empty() && unmatched != nullptr) {
            unmatched->push_back(a);
        }
        list.insert(list.end(), matches.begin(), matches.end());
        if (found && !matches.empty()) {
            found();
        }
    }
}

} // namespace pelmora
