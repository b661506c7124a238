#pragma once

#include "varnel/excel/constants.h"

#include <array>
#include <string_view>

// The register's layout: a heading row, then one unit block per subscribing unit. A block is its unit
// row (outline level 1), the column-header row and one or more entry rows (level 2, grouped under the
// unit row), and ends at the next row of level 1, the separator row or the next unit row.
namespace layout {

inline constexpr std::u16string_view registerSheet = u"征订登记";
// Scratch space of the status output: the criterion goes to B2, the filtered rows to A3.
inline constexpr std::u16string_view scratchSheet = u"Sheet2";

// The bottom of a column in an Excel 97-2003 sheet; the last used cell is found by End(xlUp) from it.
inline constexpr std::u16string_view bottomOfColumnA = u"A65536";
inline constexpr std::u16string_view bottomOfColumnB = u"B65536";
inline constexpr std::u16string_view bottomOfColumnE = u"E65536";
// Row 1 holds the field names of columns A to G, which the advanced filters use as their titles.
inline constexpr long headingRow = 1;
inline constexpr long firstUnitRow = 2;
inline constexpr std::u16string_view titles = u"A1:G1";

inline constexpr long unitLevel = 1;  // unit rows and separator rows
inline constexpr long entryLevel = 2; // column-header rows and entry rows

// Column offsets from column A, as Range.Offset takes them.
namespace column {
inline constexpr long year = 0;     // A 征订年度
inline constexpr long material = 1; // B 资料名称; the missing kinds in a unit row
inline constexpr long quantity = 2; // C 征订数量; the unit total in a unit row
inline constexpr long price = 3;    // D 单价
inline constexpr long amount = 4;   // E 金额
inline constexpr long receipt = 5;  // F 票据号
inline constexpr long unit = 6;     // G 征订单位
} // namespace column

inline constexpr std::array<std::u16string_view, 7> headerTexts = {
    u"征订年度", u"资料名称", u"征订数量", u"单价", u"金额", u"票据号", u"征订单位",
};

// Formats of the column-header row and the entry rows, as whole rows.
inline constexpr long entryBorderStyle = Excel::xlDash;
inline constexpr long entryBorderWeight = Excel::xlThin;
inline constexpr long entryFill = 34;
inline constexpr long entryFont = 5;
inline constexpr long headerFont = 10;

// The list text of a validation is stored in the file as one string of at most 255 characters.
inline constexpr std::size_t maxListLength = 255;

} // namespace layout
