#pragma once

#include "engine/formula/program.h"

#include <string_view>

namespace engine::formula {

// Reads a formula as typed after its "=" (the "=" itself is not part of `text`) into its compiled
// form, naming sheets by the ids `sheets` gives. Throws EngineError when the text is not a formula: a
// syntax error, an unknown character, a reference outside the sheet, a sheet the workbook lacks, or a
// known function given too few or too many arguments. Function names are matched without regard to
// case; known ones print in capitals, unknown ones as written.
Program parse(std::u16string_view text, const SheetNames& sheets);

} // namespace engine::formula
