#include "engine/ShardKeys.h"

#include "engine/Conversion.h"
#include "engine/PathHelpers.h"

namespace pelmora {

std::uint64_t StableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    // FNV-1a's low bits depend only on the low bits of the bytes (its lowest bit is the
    // parity of the bytes' lowest bits), and a remainder by a small count reads mostly
    // those: mix the high bits down (the finalizer of MurmurHash3).
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    hash *= 0xc4ceb9fe1a85ec53ULL;
    hash ^= hash >> 33;
    return hash;
}

std::string ShardKey(const std::string& source, const std::string& outputFolder,
                     const std::string& pageExtension) {
    const std::string page = PagePath(source, outputFolder, pageExtension);
    if (outputFolder.empty()) {
        return page;
    }
    return page.substr(page.rfind(kPathSeparator) + 1);
}

int ShardOf(std::string_view key, int count) {
    if (count < 2) {
        return 1;
    }
    return static_cast<int>(StableHash(key) % static_cast<std::uint64_t>(count)) + 1;
}

} // namespace pelmora
