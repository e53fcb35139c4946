#pragma once
// Cutting the Office-only markup out of a saved HTML page. The page is handled as
// bytes: whatever its encoding, bytes the rules do not touch come out unchanged.

#include <string>
#include <string_view>

namespace pelmora {

/// Cuts from page, again and again, the first occurrence of start up to and
/// including the first occurrence of end that begins after start's first character,
/// until no such pair is left.
void RemoveBlocks(std::string& page, std::string_view start, std::string_view end);

/// Compacts the page text: a page that LibreOffice wrote by its own markup's rules
/// (engine/LibreOfficeCompaction.h), any other page by Word's rules, in their order.
/// title names the page when it has no title of its own.
void CompactHtmlText(std::string& page, std::string_view title = {});

/// Compacts the page file at path: the result is written to a new file that then
/// replaces the old one. Throws std::runtime_error with the reason on failure.
void CompactHtml(const std::string& path);

} // namespace pelmora
