#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The formulas of the register, built from the absolute addresses that Range.Address gives ($C$7,
// $E$3:$E$6) and from the configured material kinds.
namespace layout {

// The items of a comma-separated list: the runs between commas, in order; empty runs carry no item.
std::vector<std::u16string> splitItems(std::u16string_view list);

// "from:to", the range spanning two cell addresses.
std::u16string spanning(std::u16string_view from, std::u16string_view to);

// A formula text constant: the text in double quotes, with every double quote inside doubled.
std::u16string quoted(std::u16string_view text);

// A COUNTIF criterion that counts the cells equal to the text: the wildcards * and ? (and their escape
// ~) escaped, and an explicit "=" before a text that begins with a comparison operator, so that its
// first character is not read as the operator.
std::u16string literalCriterion(std::u16string_view text);

// Entry row, column E: empty text while the quantity or the unit price is below 1, else their product.
std::u16string amountFormula(std::u16string_view quantity, std::u16string_view price);

// The row whose quantity and price an amount formula multiplies, as amountFormula writes it with the
// absolute addresses of one row's C and D cells; nothing for any other text.
std::optional<long> amountFormulaRow(std::u16string_view formula);

// Unit row, column C: the sum of the amounts in the given cell or range of column E.
std::u16string totalFormula(std::u16string_view amounts);

// The longest formula the spreadsheet takes: 8,192 characters after its "=".
inline constexpr std::size_t maxFormulaLength = 8192;

// Unit row, column B: the kinds that no material name in the given cell or range of column B equals,
// separated by "、". Each kind is one IF(COUNTIF(…)) term joined by "&"; with no kinds at all the
// formula still stands and shows empty text. When the kinds make it longer than the spreadsheet takes,
// the cell says instead that they cannot be listed (missingKindsUnlisted).
std::u16string missingKindsFormula(std::u16string_view materials, std::u16string_view kinds);
inline constexpr std::u16string_view missingKindsUnlisted = u"（征订资料种类太长，无法列出缺订资料）";

// Whether the missing-kinds formula of the kinds stands as a formula over any range of the sheet.
bool missingKindsFit(std::u16string_view kinds);

// An advanced-filter criterion that accepts exactly the given text: a formula giving "=" and the text,
// with the filter's wildcards * and ? (and its escape ~) escaped so they match themselves. Empty text
// stays empty, which accepts every row.
std::u16string exactCriterion(std::u16string_view text);

} // namespace layout
