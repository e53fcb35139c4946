#pragma once
// Splitting one batch over several machines: every machine is given the same file list
// and a part number, and keeps only the documents of its part. The choice depends on
// nothing but the path, so machines that never talk to each other still agree.

#include <string>
#include <vector>

namespace pelmora {

/// The files of part index (1-based) of count, in list order. Part 1 of 1 is the
/// whole list.
std::vector<std::string> FilesOfShard(const std::vector<std::string>& files, int index, int count,
                                      const std::string& outputFolder,
                                      const std::string& pageExtension);

} // namespace pelmora
