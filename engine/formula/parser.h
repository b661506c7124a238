#pragma once

#include "engine/formula/ast.h"

#include <string_view>

namespace engine::formula {

// Reads a formula as typed after its "=" (the "=" itself is not part of `text`). Throws EngineError when
// the text is not a formula: a syntax error, an unknown character, a reference outside the sheet, or a
// known function given too few or too many arguments. Function names are matched without regard to
// case; known ones come back in capitals, unknown ones as written.
Node parse(std::u16string_view text);

} // namespace engine::formula
