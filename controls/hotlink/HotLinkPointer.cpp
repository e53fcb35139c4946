#include "controls/hotlink/HotLinkPointer.h"

#include <QBitmap>
#include <array>

namespace pelmora {

namespace {

// '#' black, '.' white, anything else transparent. Rows shorter than 32 are padded
// with transparent pixels, missing rows too.
constexpr std::array<const char*, 21> kHand = {
    "      ##",          "     #..#",          "     #..#",         "     #..#",
    "     #..#",         "     #..###",        "     #..#..###",    "     #..#..#..##",
    "     #..#..#..#.#", "  ## #..#..#..#..#", " #..##..........#", " #...#..........#",
    "  #..#..........#", "   #............#",  "   #...........#",  "    #..........#",
    "    #.........#",   "     #........#",    "     #........#",   "      #......#",
    "      ########",
};

constexpr int kHotX = 6;
constexpr int kHotY = 0;

} // namespace

QCursor HotLinkPointer() {
    constexpr int bytesPerRow = kHotLinkPointerSize / 8;
    std::array<uchar, bytesPerRow * kHotLinkPointerSize> ink{};
    std::array<uchar, bytesPerRow * kHotLinkPointerSize> mask{};
    for (std::size_t y = 0; y < kHand.size(); ++y) {
        const char* row = kHand[y];
        for (int x = 0; row[x] != '\0' && x < kHotLinkPointerSize; ++x) {
            const std::size_t byte = y * bytesPerRow + static_cast<std::size_t>(x / 8);
            const auto bit = static_cast<uchar>(1u << (x % 8));
            if (row[x] == '#') {
                ink[byte] |= bit;
                mask[byte] |= bit;
            } else if (row[x] == '.') {
                mask[byte] |= bit;
            }
        }
    }
    const QSize size(kHotLinkPointerSize, kHotLinkPointerSize);
    return QCursor(QBitmap::fromData(size, ink.data(), QImage::Format_MonoLSB),
                   QBitmap::fromData(size, mask.data(), QImage::Format_MonoLSB), kHotX, kHotY);
}

} // namespace pelmora
