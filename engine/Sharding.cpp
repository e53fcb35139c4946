#include "engine/Sharding.h"

#include "engine/ShardKeys.h"

namespace pelmora {

std::vector<std::string> FilesOfShard(const std::vector<std::string>& files, int index, int count,
                                      const std::string& outputFolder,
                                      const std::string& pageExtension) {
    if (count < 2) {
        return files;
    }
    std::vector<std::string> kept;
    for (const std::string& file : files) {
        if (ShardOf(ShardKey(file, outputFolder, pageExtension), count) == index) {
            kept.push_back(file);
        }
    }
    return kept;
}

} // namespace pelmora
