#pragma once
// Splitting one batch over several machines: every machine is given the same file list
// and a part number, and keeps only the documents of its part. The choice depends on
// nothing but the path, so machines that never talk to each other still agree.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

/// The files of part index (1-based) of count, in list order. Part 1 of 1 is the
/// whole list.
std::vector<std::string> FilesOfShard(const std::vector<std::string>& files, int index, int count,
                                      const std::string& outputFolder,
                                      const std::string& pageExtension);

} // namespace pelmora
