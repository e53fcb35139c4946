#pragma once
// A small reader of flat JSON objects, for checking what pelmora writes with --json.

#include <map>
#include <optional>
#include <string>

namespace pelmora::test {

/// One value of a flat object: a string or a number.
struct JsonValue {
    bool isString = false;
    std::string text; ///< the string's bytes; lone "\udcXX" escapes become byte XX
    double number = 0;
};

/// Reads one object of strings and numbers (no nesting) that fills the whole line;
/// nullopt when line is not exactly that.
std::optional<std::map<std::string, JsonValue>> ReadFlatJsonObject(const std::string& line);

} // namespace pelmora::test
