#pragma once

#include <optional>

// The calendar year of the local clock, which the year lists and the query dialog start from. Tests pin
// it to a year of their choosing; nothing else does.
namespace app {

int currentYear();
void pinCurrentYear(std::optional<int> year);

} // namespace app
