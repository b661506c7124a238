#pragma once

#include <string>
#include <string_view>

// The drop-down lists of an entry row. Year is the current calendar year when the list is made.
namespace layout {

// The digits of a number, as "%d" writes them.
std::u16string decimal(long value);

// One year's magazine: the year's digits, "年度", then the name.
std::u16string yearItem(int year, std::u16string_view magazine);

// Column A: the previous year and this year.
std::u16string yearList(int year);

// Column B: the configured kinds, as stored, then this year's and next year's magazine. A list longer
// than a validation can hold keeps the two magazine items and as many whole kinds from the start as
// fit, so the list is never refused.
std::u16string materialList(std::u16string_view kinds, std::u16string_view magazine, int year);

// Whether the kinds and the magazine items fit into one validation list as they are.
bool materialListFits(std::u16string_view kinds, std::u16string_view magazine, int year);

} // namespace layout
