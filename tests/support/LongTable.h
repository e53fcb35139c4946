#pragma once
// A document that keeps LibreOffice busy for as long as a test needs.

#include <string>

namespace pelmora::test {

/// An RTF document holding one table of rows two-cell rows. LibreOffice's time grows
/// faster than the rows: 6,000 take a second or two, 20,000 take minutes.
inline std::string LongTableRtf(int rows) {
    std::string rtf = "{\\rtf1\\ansi\n";
    for (int i = 0; i < rows; ++i) {
        rtf += "\\trowd\\cellx2000\\cellx4000 a" + std::to_string(i) + "\\cell b\\cell\\row\n";
    }
    return rtf + "}";
}

} // namespace pelmora::test
