#pragma once

#include "engine/core/value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The worksheet function cases of one group, as scripts/function-cases describes their file: each a
// formula over a few cells, with the result LibreOffice computes and, where Excel's function reference
// documents another, Excel's result and why they differ.
namespace engine::cases {

struct CellValue {
    std::u16string cell;  // "A1", or "hidden" with the number of a hidden row as its value
    std::u16string value; // as the file writes it: a value, or "=" and a formula
};

struct Case {
    int line; // in the file, from 1
    std::u16string function;
    std::u16string formula;
    std::vector<CellValue> cells;
    std::string libreOffice;
    std::string excel;
    std::string note;
};

std::vector<Case> readCases(const std::filesystem::path& file);

// A value as a case file writes it: a number, "text", TRUE, FALSE, #DIV/0! and the other errors, or
// nothing for Empty. Nothing comes back for anything else (LibreOffice's own error codes among them).
std::optional<Value> parseValue(std::u16string_view text);

} // namespace engine::cases
