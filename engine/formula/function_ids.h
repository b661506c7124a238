#pragma once

#include <cstdint>

namespace engine::formula {

// Ids of the functions in the engine's table (function_table.cpp keeps the same order).
enum class Fn : std::uint16_t {
    If,
    And,
    Or,
    Not,
    IsError,
    IsBlank,
    IsNumber,
    IsText,
    Sum,
    Product,
    Count,
    CountA,
    CountBlank,
    CountIf,
    SumIf,
    Average,
    Min,
    Max,
    Round,
    Int,
    Abs,
    Mod,
    Len,
    Left,
    Right,
    Mid,
    Trim,
    Substitute,
    Upper,
    Lower,
    Concatenate,
    ValueOf,
    Today,
    Year,
};

} // namespace engine::formula
