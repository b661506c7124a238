#pragma once

#include "engine/formula/evaluator.h"

#include <optional>
#include <string_view>

namespace engine::formula {

// A reference written as text, as INDIRECT reads it: "B2", "$A$1:C3", "Sheet2!A1", "'My sheet'!A1:B2",
// or in R1C1 style "R2C3", "R[-1]C[2]", "R1C1:R2C[1]", relative parts counted from (`row`, `col`), or the
// name of cells ("Amounts").
// A sheet not named is `sheet`. Nothing when the text is no reference or names no sheet.
std::optional<RefOperand> readReference(std::u16string_view text, bool a1, EvalContext& context,
                                        SheetId sheet, int row, int col);

} // namespace engine::formula
