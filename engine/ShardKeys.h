#pragma once
// How a batch's split over machines picks the part of a document: a key from its page
// and a hash that never changes between versions. Used inside the engine.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

/// A stable 64-bit hash of the bytes of text: FNV-1a, then a final bit mix so that
/// every bit of the result depends on every bit of the input. Never changes between
/// versions: shards run by different builds must still agree.
std::uint64_t StableHash(std::string_view text);

/// What decides the part of source: the page it is written to. With an output folder
/// every page lands in that folder, so the page's file name alone (machines may mount
/// the folder under different paths); without one, the page path beside the source.
/// Sources that share a page share a key.
std::string ShardKey(const std::string& source, const std::string& outputFolder,
                     const std::string& pageExtension);

/// The part (1 to count) that key falls in; 1 when count is below 2.
int ShardOf(std::string_view key, int count);

} // namespace pelmora
