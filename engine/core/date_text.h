#pragma once

#include "engine/core/calendar.h"

#include <optional>
#include <string_view>

namespace engine {

// A text that reads as a date, a time of day or a date and a time, as a cell of a workbook in the
// United States locale takes what is typed into it: 2024-01-15, 2024/1/15, 1/15/2024, 1/15/24,
// 15-Jan-2024, 15 January 2024, Jan 15, 2024, January 2024 (its first day), 12:30, 12:30:45.5, 2:30 PM,
// 2 PM, and a date followed by a time. Two-digit years up to 29 are of this century, from 30 of the
// last. Its serial number in `system` (a time alone is a fraction of day 0), or nothing.
std::optional<double> readDateTime(std::u16string_view text, DateSystem system);

} // namespace engine
