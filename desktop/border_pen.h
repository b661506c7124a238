#pragma once

#include "engine/model/format.h"

#include <QPen>

namespace desktop {

// The pen a cell border is drawn with, on the screen and on paper alike: its colour from the workbook's
// palette (black when automatic), its weight and its dash pattern.
QPen borderPen(const engine::Border& border);

} // namespace desktop
