#pragma once
// Cutting the Office-only markup out of a saved HTML page. The page is handled as
// bytes: whatever its encoding, bytes the rules do not touch come out unchanged.

#include <functional>
#include <string>
#include <string_view>

namespace pelmora {

/// Called between long steps so a window can stay responsive; may be empty.
using YieldHook = std::function<void()>;

/// Cuts from page, again and again, the first occurrence of start up to and
/// including the first occurrence of end that begins after start's first character,
/// until no such pair is left. Yields between cuts (at most every few milliseconds).
void RemoveBlocks(std::string& page, std::string_view start, std::string_view end,
                  const YieldHook& yield = {});

/// Applies every compaction rule, in order, to the page text.
void CompactHtmlText(std::string& page, const YieldHook& yield = {});

/// Compacts the page file at path: the result is written to a new file that then
/// replaces the old one. Throws std::runtime_error with the reason on failure.
void CompactHtml(const std::string& path, const YieldHook& yield = {});

} // namespace pelmora
