#pragma once

#include "engine/formula/program.h"

#include <span>
#include <string>

namespace engine::formula {

// The canonical text of a formula without its leading "=", as Range.Formula reads it back: function
// names as stored, references in capitals with their "$" flags, sheet names (as `sheets` names them)
// quoted where needed, numbers in Excel's general form, parentheses where they were written, no
// spaces. A reference to a sheet that no longer exists reads #REF!. Throws EngineError for tokens that
// do not form one formula.
std::u16string print(std::span<const Token> program, const SheetNames& sheets);

// A sheet name as it stands before "!" in a reference: quoted ('征订 登记') unless plain.
std::u16string quoteSheetName(const std::u16string& name);

} // namespace engine::formula
