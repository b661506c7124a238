#pragma once

#include "engine/core/address.h"
#include "engine/formula/excel_functions.h"
#include "engine/formula/program.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Formulas as BIFF8 token streams (postfix "ptg" tokens) and the engine's compiled form (program.h).
namespace engine::xls {

using formula::BiffFunction;
using formula::biffFunctionByIndex;
using formula::biffFunctionByName;
using formula::biffFunctionOf;
using formula::engineFunction;
using formula::OperandClass;

// A formula that is well formed but uses what the engine cannot hold (unions,
// defined names, links to other workbooks): the reader keeps the cell's last value instead.
class UnsupportedFormula : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the tokens of one workbook refer to outside themselves.
struct TokenContext {
    struct Sheet {
        std::u16string name;
        formula::SheetId id; // the sheet's id in the workbook being read
    };
    // The sheet of each EXTERNSHEET entry, or nothing when the entry points outside the workbook.
    std::vector<std::optional<Sheet>> externSheets;
    // Names of add-in functions, per EXTERNSHEET entry, in the order of their EXTERNNAME records.
    std::vector<std::vector<std::u16string>> externNames;
    // The workbook's defined names in the order of their NAME records (tName counts them from 1).
    std::vector<std::u16string> names;

    // The names of the sheets above by their ids, for printing what was read.
    formula::SheetNames sheetNames() const;
};

// Token stream to the engine's compiled form, exactly what formula::parse makes of the formula's text,
// into `out` (its storage is reused: a reader translates tens of thousands of formulas). `row` and
// `col` place the cell, for the relative tokens of shared formulas. Raises FormatError for a malformed
// stream and UnsupportedFormula as above.
// `extra` is what follows the tokens in a cell's record: the values of its array constants.
void decodeProgram(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col,
                   formula::Program& out, std::span<const uint8_t> extra = {});

// Compiled form to token stream. Raises FormatError when the formula cannot be stored (a text constant
// over 255 characters, a call with more arguments than Excel 97 takes).
struct FormulaEncoder {
    // The EXTERNSHEET entry of a sheet by its id; nothing when the sheet is gone, and the reference is
    // then written as #REF!.
    std::function<std::optional<uint16_t>(formula::SheetId)> sheetIndex;
    // Called for a function outside the built-in table; returns its EXTERNSHEET entry and name index.
    std::function<std::pair<uint16_t, uint16_t>(const std::u16string&)> addInFunction;
    // The NAME record (from 1) of a defined name, for the formula being encoded; nothing when the
    // workbook does not define it.
    std::function<std::optional<uint16_t>(const std::u16string&)> definedName;

    // With an `origin`, relative references to the formula's own sheet are written as offsets from
    // that cell, as conditional formats store them.
    void encode(std::span<const formula::Token> program, std::vector<uint8_t>& out, OperandClass rootClass,
                std::optional<CellAddress> origin = std::nullopt) const;
    // A cell's formula, which may hold array constants: their values go to `arrays`, which a FORMULA
    // or ARRAY record holds after the tokens. Other formulas refuse them (FormatError). An array
    // formula's tokens take the array class.
    void encodeCell(std::span<const formula::Token> program, std::vector<uint8_t>& out,
                    std::vector<uint8_t>& arrays, OperandClass rootClass = OperandClass::Value) const;

    // A defined name's formula, whose relative parts are offsets from the cell using the name.
    void encodeName(std::span<const formula::Token> program, std::vector<uint8_t>& out) const;

    // Storage reused from formula to formula.
    struct Scratch {
        std::vector<uint32_t> items, firstArg, args, pending;
    };
    mutable Scratch scratch_;
};

} // namespace engine::xls
