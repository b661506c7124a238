#pragma once

#include "engine/formula/evaluator.h"

#include <optional>
#include <span>
#include <variant>

// Helpers shared by the interpreter and the worksheet functions: how operands become values.
namespace engine::formula {

// Where a formula is being computed.
struct CallSite {
    EvalContext& context;
    SheetId sheet;
    int row;
    int col;
};

inline bool isMissing(const Operand& o) {
    return std::holds_alternative<Value>(o) && std::get<Value>(o).isEmpty();
}

// The single value an operand stands for: a reference to one cell gives that cell's value (Empty for an
// empty cell); a larger area gives the cell in the formula's own row or column (#VALUE! without one).
Value scalarOf(const Operand& operand, CallSite& site);

// How many rows and columns an operand spans: a single value is one by one.
struct Shape {
    int rows = 1;
    int columns = 1;
};
Shape shapeOf(const Operand& operand);
// Whether an operand is taken element by element where a single value is expected: an array always,
// a range of more than one cell in an array formula.
bool spreads(const Operand& operand, bool arrayFormula);
// The element at (`row`, `col`) of an operand seen as an array, as Excel spreads one over a larger
// range: a single row (column) repeats down (across), a single value everywhere, and places beyond a
// larger operand's rows or columns are #N/A.
Value elementOf(const Operand& operand, int row, int col, CallSite& site);

// A number as arithmetic sees it: empty is 0, booleans 1 and 0, numeric text its number; other text is
// #VALUE!. An error comes back as is.
std::variant<double, ErrorCode> toNumber(const Value& v);
// The same, where a text that reads as a date or a time (date_text.h) is its serial number in `system`.
std::variant<double, ErrorCode> toNumber(const Value& v, DateSystem system);
// A truth value: numbers are true when not 0, "TRUE"/"FALSE" texts as such, other text #VALUE!.
std::variant<bool, ErrorCode> toBoolean(const Value& v);

// -1, 0, 1 comparing two values as Excel's comparison operators do: numbers below texts below
// booleans, texts without regard to case, an empty value as 0, "" or FALSE according to the other side.
int compareValues(const Value& a, const Value& b);

} // namespace engine::formula
