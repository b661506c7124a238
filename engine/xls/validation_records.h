#pragma once

#include "engine/model/properties.h"
#include "engine/xls/formula_tokens.h"

#include <optional>
#include <span>
#include <vector>

namespace engine::xls {

// A DV record: one data validation rule and the cells it covers.
struct ReadValidation {
    std::optional<ValidationRule> rule; // nothing when the rule cannot be kept
    std::vector<Area> areas;
    const char* unkept = nullptr; // what of it is not kept, for the caller's list
};

ReadValidation readValidation(std::span<const uint8_t> body, const TokenContext& tokens);

// Vertically adjacent areas of the same columns become one, so that a rule set row by row (as the
// register's drop-down lists are) is kept as a few ranges.
std::vector<Area> coalesceAreas(std::vector<Area> areas);

// Raises FormatError when the rule cannot be stored (a list longer than 255 characters). Formulas of
// the rule name sheets as `sheets` does.
void putValidation(std::vector<uint8_t>& out, const ValidationRule& rule, std::span<const Area> areas,
                   const FormulaEncoder& encoder, const formula::SheetNames& sheets);

} // namespace engine::xls
