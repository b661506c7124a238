#include "engine/model/palette.h"

#include <array>
#include <limits>

namespace engine {
namespace {

// As 0xRRGGBB, in index order 1 to 56.
constexpr std::array<std::uint32_t, kPaletteSize> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

std::uint32_t swapRedBlue(std::uint32_t c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

} // namespace

std::uint32_t paletteColor(int index) {
    if (index < 1 || index > kPaletteSize)
        return 0;
    return swapRedBlue(kPalette[static_cast<std::size_t>(index - 1)]);
}

int nearestPaletteIndex(std::uint32_t bgr) {
    int best = 1;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 1; i <= kPaletteSize; ++i) {
        std::uint32_t p = paletteColor(i);
        long d = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            long x = static_cast<long>(p >> shift & 0xFF) - static_cast<long>(bgr >> shift & 0xFF);
            d += x * x;
        }
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

} // namespace engine
