#pragma once

#include "engine/formula/ast.h"

#include <string>

namespace engine::formula {

// The canonical text of a formula without its leading "=", as Range.Formula reads it back: function
// names as stored, references in capitals with their "$" flags, sheet names quoted where needed,
// numbers in Excel's general form, parentheses where they were written, no spaces.
std::u16string print(const Node& node);

// A sheet name as it stands before "!" in a reference: quoted ('征订 登记') unless plain.
std::u16string quoteSheetName(const std::u16string& name);

} // namespace engine::formula
