#pragma once

#include <cstdint>

// Excel's default 56-colour palette. Colours are 0xBBGGRR, as Excel's Color properties give them.
namespace engine {

inline constexpr int kPaletteSize = 56;

// The colour of index 1 to 56.
std::uint32_t paletteColor(int index);
// The index of the palette colour nearest to `rgb` (0xBBGGRR): what Excel 97 keeps when a colour is set.
int nearestPaletteIndex(std::uint32_t rgb);

} // namespace engine
