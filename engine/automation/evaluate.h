#pragma once

#include "engine/formula/ast.h"
#include "engine/model/sheet.h"

// A formula that lives in no cell, computed as if it stood at (row, col) of `sheet`: references without
// a sheet name read that sheet. What the advanced filter needs for its computed criteria.
namespace engine::automation {

Value evaluateAt(const Sheet& sheet, const formula::Node& tree, int row, int col);

} // namespace engine::automation
