#pragma once

#include "engine/core/address.h"
#include "engine/formula/ast.h"
#include "engine/formula/program.h"
#include "engine/xls/function_table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Formulas as BIFF8 token streams (postfix "ptg" tokens) and back to the engine's syntax trees.
namespace engine::xls {

// A formula that is well formed but uses what the engine cannot hold (array constants, unions,
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
};

// Token stream to the engine's compiled form, exactly what formula::compile makes of the formula's
// tree, into `out` (its storage is reused: a reader translates tens of thousands of formulas). `row`
// and `col` place the cell, for the relative tokens of shared formulas. Raises FormatError for a
// malformed stream and UnsupportedFormula as above.
void decodeProgram(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col,
                   formula::Program& out);
// The same as a tree.
formula::Node decodeFormula(std::span<const uint8_t> tokens, const TokenContext& context, int row = 0,
                            int col = 0);

// Tree to token stream. `sheetIndex` gives the EXTERNSHEET entry of a named sheet, nothing when the
// workbook has no such sheet. Raises XlsError-worthy FormatError when the formula cannot be stored
// (a text constant over 255 characters, a function Excel 97 does not know).
struct FormulaEncoder {
    std::function<std::optional<uint16_t>(const std::u16string&)> sheetIndex;
    // Called for a function outside the built-in table; returns its EXTERNSHEET entry and name index.
    std::function<std::pair<uint16_t, uint16_t>(const std::u16string&)> addInFunction;

    // Names the sheets of compiled formulas by their ids.
    const formula::SheetNames* sheetNames = nullptr;

    void encode(const formula::Node& root, std::vector<uint8_t>& out, OperandClass rootClass) const;
    // The same from a formula's compiled form, byte for byte what encoding formula::decompile's tree of
    // it gives, without building the tree.
    void encode(std::span<const formula::Token> program, std::vector<uint8_t>& out,
                OperandClass rootClass) const;

    // Storage reused from formula to formula.
    struct Scratch {
        std::vector<uint32_t> items, firstArg, args, pending;
        std::vector<std::optional<const BiffFunction*>> builtIns; // by engine function id
        std::u16string sheetName;
    };
    mutable Scratch scratch_;
};

} // namespace engine::xls
