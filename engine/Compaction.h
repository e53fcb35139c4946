#pragma once
// Cutting the Office-only markup out of a saved HTML page. The page is handled as
// bytes: whatever its encoding, bytes the rules do not touch come out unchanged.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pelmora {

/// Called between long steps so a window can stay responsive; may be empty.
using YieldHook = std::function<void()>;

/// Bytes of work (text searched or copied; a cut counts as kCutWork) between two
/// calls of the yield hook. Counted, not timed, so a page always yields alike.
inline constexpr std::size_t kYieldWork = std::size_t{1} << 20;

/// The work one cut counts for: moving the text and starting the next search.
inline constexpr std::size_t kCutWork = 64;

/// Cuts from page, again and again, the first occurrence of start up to and
/// including the first occurrence of end that begins after start's first character,
/// until no such pair is left. Yields between cuts, once per kYieldWork of work.
void RemoveBlocks(std::string& page, std::string_view start, std::string_view end,
                  const YieldHook& yield = {});

/// Compacts the page text: a page that LibreOffice wrote by its own markup's rules
/// (engine/LibreOfficeCompaction.h), any other page by Word's rules, in their order.
/// title names the page when it has no title of its own.
void CompactHtmlText(std::string& page, const YieldHook& yield = {}, std::string_view title = {});

/// Compacts the page file at path: the result is written to a new file that then
/// replaces the old one. Throws std::runtime_error with the reason on failure.
void CompactHtml(const std::string& path, const YieldHook& yield = {});

} // namespace pelmora
